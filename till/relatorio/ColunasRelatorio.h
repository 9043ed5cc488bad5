#pragma once
// The report's columns, one definition for the terminal's text and the
// screen's tables: their titles, which are numbers, and the text of a cell.
#include <QLocale>
#include <QString>

#include "Cancelamentos.h"

namespace ColunasRelatorio {

enum Linha { Momento, Comanda, Mesa, Produto, NomeProduto, Quantidade, Valor, Operador, Autorizador, Motivo, Linhas };
enum Total { Chave, Itens, QuantidadeTotal, ValorTotal, Totais };

QString Titulo(Linha coluna);
bool Numerica(Linha coluna);
QString Texto(const TCancelamento& c, Linha coluna, const QLocale& locale);

// `chave` titles the first column ("Motivo", "Operador").
QString Titulo(Total coluna, const QString& chave);
bool Numerica(Total coluna);
QString Texto(const TTotalCancelamentos& t, Total coluna, const QLocale& locale);

} // namespace ColunasRelatorio
