#pragma once
// The till's operator dialogs behind the procedure variables of Wdc00002,
// with the argument lists the cancellation package calls them with.
#include <QString>
#include <QVariantList>

// The operator acts under the access code when the access file grants it to
// them; otherwise a supervisor authorises with code and PIN. Writes back who
// authorised. Three wrong PINs refuse, and the access log says so.
bool VerificaAcessoTill(int codigo, const QString& operador, QString& autorizador);

// dados: 'S', 'CP', product code, product name, ''. Writes back the chosen
// reason's group in resultado[0] and its text; an empty text when the
// operator gave up, "erro" when no reason could be offered (the operator was told why).
void ObservacaoTill(const QVariantList& dados, QVariantList& resultado, QString& texto);

// The value typed, in the locale's decimal format; false when the operator gave up.
bool TecladoNumericoTill(QString& valor, const QString& titulo, const QString& pergunta, const QString& vazio,
                         int tamanho, int, bool decimais, int, int, int);

void RelFiscaisTill();
