// Whole cancellation of an item with its benefit, the tab state recomputed
// from its items, and the tab surcharge lowered with the cancelled lines.
#include <QDateTime>
#include <cmath>

#include "Exception.h"
#include "ServiceGuard.h"
#include "ServiceWrites.h"

namespace {

double AcrescimoComanda(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrComanda)
{
    return ValorDaComanda(m.adqPesqAcres, cdFilial, nrComanda, QStringLiteral("VRACRCOMANDA"));
}

// Lowers the tab's surcharge by an amount, never below 0, in one statement
// (see the statement); a tab without surcharge is left alone.
void BaixaAcrescimo(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrComanda, double valor)
{
    TADOCommand& c = m.AcmUpnAcres;
    c.SetParam(QStringLiteral("P_VRACRCOMANDA"), valor);
    c.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
    c.SetParam(QStringLiteral("P_NRCOMANDA"), nrComanda);
    c.Execute();
}

bool TemLinhas(TADOQuery& q, const QString& cdFilial, const QString& nrVendaRest, const QString& nrComanda)
{
    q.Close();
    q.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
    q.SetParam(QStringLiteral("P_NRVENDAREST"), nrVendaRest);
    q.SetParam(QStringLiteral("P_NRCOMANDA"), nrComanda);
    q.Open();
    return !q.IsEmpty();
}

void GravaEstadoComanda(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrVendaRest,
                        const QString& nrComanda, const QString& estado)
{
    TADOCommand& c = m.acmUpdComanda;
    c.SetParam(QStringLiteral("P_IDSTCOMANDA"), estado);
    c.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
    c.SetParam(QStringLiteral("P_NRVENDAREST"), nrVendaRest);
    c.SetParam(QStringLiteral("P_NRCOMANDA"), nrComanda);
    c.Execute();
}

} // namespace

QVariant setStatusItemComanda(const QString& cdFilial, const QString& cdCaixa, const QString& nrVendaRest,
                              const QString& nrComanda, const QString& nrProdComVen, const QString& unused6,
                              const QString& cdGrpOcor, const QString& txMotivo, const QString& cdOperCanc,
                              const QString& cdSupervisor, const QString& nrSeqBeneCons, const QString& idProdProduz,
                              const QString& qtListada, const QString& idStListado, const QString& idOrigem)
{
    Q_UNUSED(unused6);
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        const QDateTime agora = m.Agora();
        const bool origem = idOrigem == QLatin1String("S");
        EmTransacao(m.adcCancelaProd, [&] {
            if (origem) {
                if (!LeOrigemParaCancelar(m, cdFilial, nrComanda, nrProdComVen))
                    return;
            } else {
                LeItemParaCancelar(m, cdFilial, nrComanda, nrProdComVen, {qtListada, idStListado});
            }
            CancelaItemInteiro(m, cdFilial, nrComanda, nrProdComVen, cdGrpOcor, txMotivo, idProdProduz, cdSupervisor,
                               cdOperCanc, agora);
            CancelaItPedidoQrv(m, cdFilial, nrVendaRest, nrComanda, nrProdComVen, agora);
            // An origin row shares the taken item's booking, given back there.
            if (!origem)
                DevolveBeneficio(m, nrSeqBeneCons, cdFilial, cdCaixa);
        });
        return QVariant();
    });
}

QVariant setStatusPedidos(const QString& cdFilial, const QString& nrVendaRest, const QString& nrComanda,
                          const QString& nrProdComVen, const QString& idStPrComVen)
{
    if (!rdmCancelaProd)
        return QStringLiteral("Módulo de dados não criado.");
    TrdmCancelaProd& m = *rdmCancelaProd;
    const auto desfaz = [&m] {
        try {
            m.RollbackTrans();
        } catch (...) {
            // The first failure is the one to report.
        }
    };
    QVariant resultado = QString();
    try {
        m.StartTrans();

        // Locks the tab before the item changes (see the statement), so the
        // state below is computed from every till's committed items.
        TADOCommand& item = m.acmUpdPedidos;
        item.SetParam(QStringLiteral("P_IDSTPRCOMVEN"), idStPrComVen);
        item.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
        item.SetParam(QStringLiteral("P_NRVENDAREST"), nrVendaRest);
        item.SetParam(QStringLiteral("P_NRCOMANDA"), nrComanda);
        item.SetParam(QStringLiteral("P_NRPRODCOMVEN"), nrProdComVen);
        item.Execute();
        resultado = true;

        // "2" while something is in production or produced, else "1"; "3"
        // once every item is produced or cancelled (it prevails).
        const bool emProducao = TemLinhas(m.adqVerificaStatus2, cdFilial, nrVendaRest, nrComanda);
        GravaEstadoComanda(m, cdFilial, nrVendaRest, nrComanda, emProducao ? QStringLiteral("2") : QStringLiteral("1"));
        if (!TemLinhas(m.adqVerificaStatus, cdFilial, nrVendaRest, nrComanda))
            GravaEstadoComanda(m, cdFilial, nrVendaRest, nrComanda, QStringLiteral("3"));

        m.CommitTrans();
    } catch (const std::exception& e) {
        desfaz();
        const auto* ex = dynamic_cast<const Exception*>(&e);
        resultado = ex ? ex->Message() : QString::fromUtf8(e.what());
    } catch (...) {
        desfaz();
        resultado = QStringLiteral("Erro desconhecido");
    }
    return resultado;
}

QVariant setAcrescimo(const QString& cdFilial, const QString& cdCaixa, const QString& nrComanda, double valor)
{
    Q_UNUSED(cdCaixa);
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        if (!std::isfinite(valor))
            throw EConvertError(QStringLiteral("Valor de acréscimo inválido."));
        BaixaAcrescimo(m, cdFilial, nrComanda, valor);
        return QVariant();
    });
}

QVariant setAcrescimoProdCombinado(const QString& cdFilial, const QString& cdCaixa, const QString& nrComanda)
{
    Q_UNUSED(cdCaixa);
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        if (!(AcrescimoComanda(m, cdFilial, nrComanda) > 0))
            return QVariant();

        // Every line of the tab counts, cancelled ones included.
        const double total = ValorDaComanda(m.adqBuscaSomaAcrescimo, cdFilial, nrComanda,
                                            QStringLiteral("VRACRCOMVEN"));
        if (total > 0)
            BaixaAcrescimo(m, cdFilial, nrComanda, total);
        return QVariant();
    });
}
