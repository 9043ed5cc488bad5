// Cancellation of a quantity of one item: the split into a cancelled line and
// the remaining line, or the whole line, with its production-order row.
#include <QDateTime>
#include <cmath>
#include <memory>

#include "Exception.h"
#include "QrvProxCodigo.h"
#include "QuantityText.h"
#include "ServiceGuard.h"
#include "ServiceWrites.h"

namespace {

// Quantities are stored with a few decimals at most; the difference of two
// doubles carries binary noise (2.5 - 0.1) that must not reach the table.
double SemRuido(double valor)
{
    return std::round(valor * 1e6) / 1e6;
}

void BindChaveItem(TADOStatement& s, const QString& cdFilial, const QString& nrComanda, const QString& nrProdComVen)
{
    s.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
    s.SetParam(QStringLiteral("P_NRCOMANDA"), nrComanda);
    s.SetParam(QStringLiteral("P_NRPRODCOMVEN"), nrProdComVen);
}

void BindChavePedido(TADOStatement& s, const QString& cdFilial, const QString& nrVendaRest, const QString& nrComanda,
                     const QString& nrProdComVen)
{
    BindChaveItem(s, cdFilial, nrComanda, nrProdComVen);
    s.SetParam(QStringLiteral("P_NRVENDAREST"), nrVendaRest);
}

}  // namespace

bool TemItPedidoQrvRel(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrVendaRest,
                       const QString& nrComanda, const QString& nrProdComVen)
{
    TADOQuery& q = m.adqItPedidoQrvRel;
    q.Close();
    BindChavePedido(q, cdFilial, nrVendaRest, nrComanda, nrProdComVen);
    q.Open();
    return !q.IsEmpty();
}

void CancelaItPedidoQrv(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrVendaRest,
                        const QString& nrComanda, const QString& nrProdComVen)
{
    if (!TemItPedidoQrvRel(m, cdFilial, nrVendaRest, nrComanda, nrProdComVen)) {
        TADOCommand& c = m.acmUpdSitItPedidoQrv;
        BindChavePedido(c, cdFilial, nrVendaRest, nrComanda, nrProdComVen);
        c.SetParam(QStringLiteral("P_IDSITITPEDQRV"), QStringLiteral("C"));
        c.SetParam(QStringLiteral("P_DTCANCITPED"), QDateTime::currentDateTime());
        c.Execute();
    } else {
        TADOCommand& c = m.acmUpdSitItPedidoQrvRel;
        BindChavePedido(c, cdFilial, nrVendaRest, nrComanda, nrProdComVen);
        c.SetParam(QStringLiteral("P_IDSITITPEDQRV"), QStringLiteral("C"));
        c.Execute();
    }
}

void CancelaItemInteiro(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrComanda,
                        const QString& nrProdComVen, const QString& cdGrpOcor, const QString& txMotivo,
                        const QString& idProdProduz, const QString& cdSupervisor, const QString& cdOperCanc)
{
    TADOCommand& st = m.acmUpdStatus;
    BindChaveItem(st, cdFilial, nrComanda, nrProdComVen);
    st.SetParam(QStringLiteral("CDGRPOCOR"), cdGrpOcor);
    st.SetParam(QStringLiteral("TXPRODCOMVEN"), txMotivo);
    st.SetParam(QStringLiteral("IDPRODPRODUZ"), idProdProduz);
    st.SetParam(QStringLiteral("P_CDSUPERVISOR"), cdSupervisor);
    st.SetParam(QStringLiteral("P_CDOPERCANC"), cdOperCanc);
    st.SetParam(QStringLiteral("DTHRPRODCANVEN"), QDateTime::currentDateTime());
    st.Execute();
}

QVariant setCancelaProd(const QString& cdFilial, const QString& cdCaixa, const QString& nrVendaRest,
                        const QString& nrComanda, const QString& nrProdComVen, const QString& quantidade,
                        const QString& unused7, const QString& cdGrpOcor, const QString& txMotivo,
                        const QString& cdOperCanc, const QString& idProdProduz, const QString& cdSupervisor)
{
    Q_UNUSED(cdCaixa);
    Q_UNUSED(unused7);
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        // Freed on every path, failures included.
        const auto proxCodigo = std::make_unique<TdtmQrvProxCodigo>(m.adcCancelaProd);

        EmTransacao(m.adcCancelaProd, [&] {
            // Locks the item's row up to the commit (see the statement).
            TADOQuery& item = m.adqItem;
            item.Close();
            BindChaveItem(item, cdFilial, nrComanda, nrProdComVen);
            item.Open();
            if (item.IsEmpty())
                throw EDatabaseError(QStringLiteral("Item %1 da comanda %2 não encontrado.").arg(nrProdComVen, nrComanda));
            item.First();
            const QVariant qtItem = item.FieldValue(QStringLiteral("QTPRODCOMVEN"));
            if (qtItem.isNull())
                throw EDatabaseError(QStringLiteral("Item %1 da comanda %2 sem quantidade.").arg(nrProdComVen, nrComanda));
            const double qtArmazenada = qtItem.toDouble();
            const double qtCancelar = StrToQtde(quantidade);
            // Zero or less would add quantity to the line instead of cancelling it.
            if (qtCancelar <= 0)
                throw EConvertError(QStringLiteral("Quantidade a cancelar deve ser maior que zero: '%1'.").arg(quantidade));

            if (qtArmazenada > qtCancelar) {
                const QString nrNovo = proxCodigo->PrxItemComanda(cdFilial, nrComanda, 1);

                TADOCommand& ins = m.acmInsItemCan;
                BindChaveItem(ins, cdFilial, nrComanda, nrProdComVen);
                ins.SetParam(QStringLiteral("NRPRODCOMVEN"), nrNovo);
                ins.SetParam(QStringLiteral("QTPRODCOMVEN"), qtCancelar);
                ins.SetParam(QStringLiteral("CDGRPOCOR"), cdGrpOcor);
                ins.SetParam(QStringLiteral("TXPRODCOMVEN"), txMotivo);
                ins.SetParam(QStringLiteral("IDSTPRCOMVEN"), QStringLiteral("6"));
                ins.SetParam(QStringLiteral("DTHRINCOMVEN"), QDateTime::currentDateTime());
                ins.SetParam(QStringLiteral("IDPRODPRODUZ"), idProdProduz);
                ins.SetParam(QStringLiteral("DTHRPRODCANVEN"), QDateTime::currentDateTime());
                ins.SetParam(QStringLiteral("CDSENHAPED"), item.FieldAsString(QStringLiteral("CDSENHAPED")));
                ins.SetParam(QStringLiteral("P_CDSUPERVISOR"), cdSupervisor);
                ins.SetParam(QStringLiteral("P_CDOPERCANC"), cdOperCanc);
                ins.Execute();

                TADOCommand& upd = m.acmUpdQuant;
                BindChaveItem(upd, cdFilial, nrComanda, nrProdComVen);
                upd.SetParam(QStringLiteral("QTPRODCOMVEN"), SemRuido(qtArmazenada - qtCancelar));
                upd.Execute();

                TADOCommand& qtPedido = TemItPedidoQrvRel(m, cdFilial, nrVendaRest, nrComanda, nrProdComVen)
                    ? m.acmUpdQtdeItPedidoQrvRel
                    : m.acmUpdQtdeItPedidoQrv;
                BindChavePedido(qtPedido, cdFilial, nrVendaRest, nrComanda, nrProdComVen);
                qtPedido.SetParam(QStringLiteral("P_QUANTIDADE"), qtCancelar);
                qtPedido.Execute();
            } else {
                CancelaItemInteiro(m, cdFilial, nrComanda, nrProdComVen, cdGrpOcor, txMotivo, idProdProduz,
                                   cdSupervisor, cdOperCanc);
                CancelaItPedidoQrv(m, cdFilial, nrVendaRest, nrComanda, nrProdComVen);
            }
        });
        return QVariant();
    });
}
