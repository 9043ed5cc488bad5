// Printer and product lookups for the production tickets and the start-up of
// the screen.
#include "ServiceGuard.h"

namespace {

// A lookup whose provider opens the query itself: bound afresh, run afresh.
QVariant Pacote(TADOQuery& q, TDataSetProvider& provider, const QList<QPair<QString, QString>>& params)
{
    q.Close();
    for (const auto& [nome, valor] : params)
        q.SetParam(nome, valor);
    return provider.Data();
}

QList<QPair<QString, QString>> ChaveItem(const QString& cdFilial, const QString& nrVendaRest, const QString& nrComanda,
                                         const QString& nrProdComVen)
{
    return {{QStringLiteral("P_CDFILIAL"), cdFilial},
            {QStringLiteral("P_NRVENDAREST"), nrVendaRest},
            {QStringLiteral("P_NRCOMANDA"), nrComanda},
            {QStringLiteral("P_NRPRODCOMVEN"), nrProdComVen}};
}

QList<QPair<QString, QString>> ChaveProdutoLoja(const QString& cdFilial, const QString& cdLoja,
                                                const QString& cdProduto)
{
    return {{QStringLiteral("P_CDFILIAL"), cdFilial},
            {QStringLiteral("P_CDLOJA"), cdLoja},
            {QStringLiteral("P_CDPRODUTO"), cdProduto}};
}

} // namespace

QVariant getBuscaPortaProd(const QString& cdFilial, const QString& cdLoja, const QString& cdProduto,
                           const QString& unused)
{
    Q_UNUSED(unused);
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        return Pacote(m.adqBuscaPortaProd, m.dspBuscaPortaProd, ChaveProdutoLoja(cdFilial, cdLoja, cdProduto));
    });
}

QVariant getImprLoja(const QString& cdFilial, const QString& cdLoja, const QString& cdProduto)
{
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        return Pacote(m.adqImprLoja, m.dspImprLoja, ChaveProdutoLoja(cdFilial, cdLoja, cdProduto));
    });
}

QVariant getImprLoja2(const QString& cdFilial, const QString& cdLoja, const QString& cdProduto)
{
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        return Pacote(m.adqImprLoja2, m.dspImprLoja2, ChaveProdutoLoja(cdFilial, cdLoja, cdProduto));
    });
}

QVariant getProdutoNormal(const QString& cdFilial, const QString& nrVendaRest, const QString& nrComanda,
                          const QString& nrProdComVen)
{
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        return Pacote(m.adqProdutoNormal, m.dspProdutoNormal,
                      ChaveItem(cdFilial, nrVendaRest, nrComanda, nrProdComVen));
    });
}

QVariant getProdutoFilho(const QString& cdFilial, const QString& nrVendaRest, const QString& nrComanda,
                         const QString& nrProdComVen)
{
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        return Pacote(m.adqProdutoFilho, m.dspProdutoFilho, ChaveItem(cdFilial, nrVendaRest, nrComanda, nrProdComVen));
    });
}

QVariant getNomeProdutoPai(const QString& cdFilial, const QString& nrVendaRest, const QString& nrComanda,
                           const QString& nrProdComVen)
{
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        return Pacote(m.adqNomeProdutoPai, m.dspNomeProdutoPai,
                      ChaveItem(cdFilial, nrVendaRest, nrComanda, nrProdComVen));
    });
}

QVariant getProdutosAdicionaisFilhos(const QString& cdFilial, const QString& nrVendaRest, const QString& nrComanda,
                                     const QString& nrProdComVen)
{
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        return Pacote(m.adqProdutosAdicionaisFilhos, m.dspProdutosAdicionaisFilhos,
                      ChaveItem(cdFilial, nrVendaRest, nrComanda, nrProdComVen));
    });
}

QVariant getImpBackup(const QString& cdFilial, const QString& cdCaixa)
{
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        return Pacote(m.adqImpBackup, m.dspImpBackup,
                      {{QStringLiteral("P_CDFILIAL"), cdFilial}, {QStringLiteral("P_CDCAIXA"), cdCaixa}});
    });
}

QVariant getImpCancInteg(const QString& cdFilial, const QString& cdCaixa)
{
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        TADOQuery& q = m.adqImpCancInteg;
        q.Close();
        q.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
        q.SetParam(QStringLiteral("P_CDCAIXA"), cdCaixa);
        q.Open();
        if (q.IsEmpty())
            return QString(); // a till without a row: no switch set
        q.First();
        return q.FieldAsString(QStringLiteral("IDIMPCANPEDINT"));
    });
}
