#include "ColunasRelatorio.h"

namespace ColunasRelatorio {

QString Titulo(Linha coluna)
{
    switch (coluna) {
    case Momento: return QStringLiteral("Data/hora");
    case Comanda: return QStringLiteral("Comanda");
    case Mesa: return QStringLiteral("Mesa");
    case Produto: return QStringLiteral("Código");
    case NomeProduto: return QStringLiteral("Produto");
    case Quantidade: return QStringLiteral("Qtde");
    case Valor: return QStringLiteral("Valor");
    case Operador: return QStringLiteral("Operador");
    case Autorizador: return QStringLiteral("Autorizador");
    case Motivo: return QStringLiteral("Motivo");
    case Linhas: break;
    }
    return QString();
}

bool Numerica(Linha coluna)
{
    return coluna == Quantidade || coluna == Valor;
}

QString Texto(const TCancelamento& c, Linha coluna, const QLocale& locale)
{
    switch (coluna) {
    case Momento: return c.Momento.isValid() ? locale.toString(c.Momento, QLocale::ShortFormat) : QStringLiteral("-");
    case Comanda: return c.Comanda;
    case Mesa: return c.Mesa;
    case Produto: return c.Produto;
    case NomeProduto: return c.NomeProduto;
    case Quantidade: return TextoQuantidade(c.QuantidadeMilesimos, locale);
    case Valor: return TextoValor(c.ValorCentavos, locale);
    case Operador: return c.Operador;
    case Autorizador: return c.Autorizador;
    case Motivo: return c.Motivo;
    case Linhas: break;
    }
    return QString();
}

QString Titulo(Total coluna, const QString& chave)
{
    switch (coluna) {
    case Chave: return chave;
    case Itens: return QStringLiteral("Itens");
    case QuantidadeTotal: return QStringLiteral("Qtde");
    case ValorTotal: return QStringLiteral("Valor");
    case Totais: break;
    }
    return QString();
}

bool Numerica(Total coluna)
{
    return coluna != Chave;
}

QString Texto(const TTotalCancelamentos& t, Total coluna, const QLocale& locale)
{
    switch (coluna) {
    case Chave: return t.Chave;
    case Itens: return locale.toString(t.Itens);
    case QuantidadeTotal: return TextoQuantidade(t.QuantidadeMilesimos, locale);
    case ValorTotal: return TextoValor(t.ValorCentavos, locale);
    case Totais: break;
    }
    return QString();
}

} // namespace ColunasRelatorio
