// Cancellation of a quantity of one item: the split into a cancelled line and
// the remaining line, or the whole line, with its production-order row.
#include <QDateTime>
#include <cmath>
#include <memory>
#include <optional>

#include "CamposItem.h"
#include "Exception.h"
#include "QrvProxCodigo.h"
#include "Schema.h"
#include "ServiceGuard.h"
#include "ServiceWrites.h"
#include "TextoQuantidade.h"

namespace {

// Quantities are stored with a few decimals at most; the difference of two
// doubles carries binary noise (2.5 - 0.1) that must not reach the table.
double SemRuido(double valor)
{
    return std::round(valor * 1e6) / 1e6;
}

// The quantity column keeps a few decimals and would round any further one
// away: 0.0005 of 1 would leave 1 and write a cancelled line of 0.001.
bool CabeNaColuna(double quantidade)
{
    const double escalada = quantidade * std::pow(10.0, KvpSchema::kCasasQuantidade);
    return std::abs(escalada - std::round(escalada)) < 1e-4;
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

} // namespace

namespace {

std::optional<ItemTravado> LeItemTravado(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrComanda,
                                         const QString& nrProdComVen)
{
    TADOQuery& item = m.adqItem;
    item.Close();
    BindChaveItem(item, cdFilial, nrComanda, nrProdComVen);
    item.Open();
    if (item.IsEmpty())
        return std::nullopt;
    item.First();
    return ItemTravado{item.FieldValue(QStringLiteral("QTPRODCOMVEN")),
                       item.FieldAsString(QStringLiteral("CDSENHAPED")),
                       item.FieldAsString(QStringLiteral("NRSEQBENECONSIT")),
                       item.FieldAsString(QStringLiteral("IDSTPRCOMVEN")).trimmed()};
}

QString TextoQuantidade(const QVariant& quantidade)
{
    return quantidade.isNull() ? QStringLiteral("nenhuma") : QtdeToStr(SemRuido(quantidade.toDouble()));
}

// Another till (or the kitchen) may have changed the row since the list was
// read: what the operator decided on must still be what is stored.
void ConfereComoListado(const ItemTravado& item, const ItemListado& listado, const QString& nrComanda,
                        const QString& nrProdComVen)
{
    const bool quantidadeMudou = !listado.Quantidade.isEmpty()
        && (item.QTPRODCOMVEN.isNull()
            || SemRuido(item.QTPRODCOMVEN.toDouble()) != SemRuido(StrToQtde(listado.Quantidade)));
    const bool estadoMudou = !listado.Estado.isEmpty() && listado.Estado.trimmed() != item.IDSTPRCOMVEN;
    if (!quantidadeMudou && !estadoMudou)
        return;
    throw Exception(QStringLiteral("Item %1 da comanda %2 foi alterado desde que a lista foi carregada: agora tem "
                                   "quantidade %3 e situação %4 (na lista: quantidade %5, situação %6). Nada foi "
                                   "cancelado deste item.")
                        .arg(nrProdComVen, nrComanda, TextoQuantidade(item.QTPRODCOMVEN), item.IDSTPRCOMVEN,
                             listado.Quantidade.isEmpty() ? TextoQuantidade(item.QTPRODCOMVEN) : listado.Quantidade,
                             listado.Estado.isEmpty() ? item.IDSTPRCOMVEN : listado.Estado.trimmed()));
}

} // namespace

ItemTravado LeItemParaCancelar(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrComanda,
                               const QString& nrProdComVen, const ItemListado& listado)
{
    const std::optional<ItemTravado> item = LeItemTravado(m, cdFilial, nrComanda, nrProdComVen);
    if (!item)
        throw Exception(QStringLiteral("Item %1 da comanda %2 não encontrado.").arg(nrProdComVen, nrComanda));
    if (item->IDSTPRCOMVEN == kEstadoCancelado)
        throw Exception(QStringLiteral("Item %1 da comanda %2 já está cancelado.").arg(nrProdComVen, nrComanda));
    ConfereComoListado(*item, listado, nrComanda, nrProdComVen);
    return *item;
}

std::optional<ItemTravado> LeOrigemParaCancelar(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrComanda,
                                                const QString& nrProdComVen)
{
    std::optional<ItemTravado> item = LeItemTravado(m, cdFilial, nrComanda, nrProdComVen);
    if (item && item->IDSTPRCOMVEN == kEstadoCancelado)
        return std::nullopt;
    return item;
}

void DevolveBeneficio(TrdmCancelaProd& m, const QString& nrSeqBeneCons, const QString& cdFilial, const QString& cdCaixa)
{
    // The give-back runs first: it finds the balance through the booking.
    TADOCommand& devolve = m.acmUpdQtdeBeneficio;
    devolve.SetParam(QStringLiteral("P_NRSEQBENECONS"), nrSeqBeneCons);
    devolve.Execute();

    TADOCommand& apaga = m.acmUpdBeneficio;
    apaga.SetParam(QStringLiteral("P_NRSEQBENECONS"), nrSeqBeneCons);
    apaga.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
    apaga.SetParam(QStringLiteral("P_CDCAIXA"), cdCaixa);
    apaga.Execute();
}

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
                        const QString& nrComanda, const QString& nrProdComVen, const QDateTime& agora)
{
    if (!TemItPedidoQrvRel(m, cdFilial, nrVendaRest, nrComanda, nrProdComVen)) {
        TADOCommand& c = m.acmUpdSitItPedidoQrv;
        BindChavePedido(c, cdFilial, nrVendaRest, nrComanda, nrProdComVen);
        c.SetParam(QStringLiteral("P_IDSITITPEDQRV"), QStringLiteral("C"));
        c.SetParam(QStringLiteral("P_DTCANCITPED"), agora);
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
                        const QString& idProdProduz, const QString& cdSupervisor, const QString& cdOperCanc,
                        const QDateTime& agora)
{
    TADOCommand& st = m.acmUpdStatus;
    BindChaveItem(st, cdFilial, nrComanda, nrProdComVen);
    st.SetParam(QStringLiteral("CDGRPOCOR"), cdGrpOcor);
    st.SetParam(QStringLiteral("TXPRODCOMVEN"), txMotivo);
    st.SetParam(QStringLiteral("IDPRODPRODUZ"), idProdProduz);
    st.SetParam(QStringLiteral("P_CDSUPERVISOR"), cdSupervisor);
    st.SetParam(QStringLiteral("P_CDOPERCANC"), cdOperCanc);
    st.SetParam(QStringLiteral("DTHRPRODCANVEN"), agora);
    st.Execute();
}

QVariant setCancelaProd(const QString& cdFilial, const QString& cdCaixa, const QString& nrVendaRest,
                        const QString& nrComanda, const QString& nrProdComVen, const QString& quantidade,
                        const QString& unused7, const QString& cdGrpOcor, const QString& txMotivo,
                        const QString& cdOperCanc, const QString& idProdProduz, const QString& cdSupervisor,
                        const QString& qtListada, const QString& idStListado, const QString& idOrigem)
{
    Q_UNUSED(unused7);
    return RunService([&](TrdmCancelaProd& m) -> QVariant {
        // Freed on every path, failures included.
        const auto proxCodigo = std::make_unique<TdtmQrvProxCodigo>(m.adcCancelaProd);
        const QDateTime agora = m.Agora();
        const bool origem = idOrigem == QLatin1String("S");

        EmTransacao(m.adcCancelaProd, [&] {
            const std::optional<ItemTravado> lido = origem
                ? LeOrigemParaCancelar(m, cdFilial, nrComanda, nrProdComVen)
                : LeItemParaCancelar(m, cdFilial, nrComanda, nrProdComVen, {qtListada, idStListado});
            if (!lido)
                return;
            const ItemTravado& item = *lido;
            if (item.QTPRODCOMVEN.isNull())
                throw EDatabaseError(
                    QStringLiteral("Item %1 da comanda %2 sem quantidade.").arg(nrProdComVen, nrComanda));
            const double qtArmazenada = item.QTPRODCOMVEN.toDouble();
            const double qtCancelar = StrToQtde(quantidade);
            // Zero or less would add quantity to the line instead of cancelling it.
            if (qtCancelar <= 0)
                throw EConvertError(
                    QStringLiteral("Quantidade a cancelar deve ser maior que zero: '%1'.").arg(quantidade));
            if (!CabeNaColuna(qtCancelar))
                throw EConvertError(QStringLiteral("Quantidade a cancelar com mais de %1 casas decimais: '%2'.")
                                        .arg(KvpSchema::kCasasQuantidade)
                                        .arg(quantidade));
            // More than is left would cancel the rest and be told as the whole amount.
            if (SemRuido(qtCancelar) > SemRuido(qtArmazenada))
                throw Exception(
                    QStringLiteral("Quantidade a cancelar (%1) maior que a do item %2 da comanda %3 (%4). "
                                   "Nada foi cancelado deste item.")
                        .arg(quantidade.trimmed(), nrProdComVen, nrComanda, TextoQuantidade(item.QTPRODCOMVEN)));

            if (SemRuido(qtArmazenada) > SemRuido(qtCancelar)) {
                const QString nrNovo = proxCodigo->PrxItemComanda(cdFilial, nrComanda, 1);

                TADOCommand& ins = m.acmInsItemCan;
                BindChaveItem(ins, cdFilial, nrComanda, nrProdComVen);
                ins.SetParam(QStringLiteral("NRPRODCOMVEN"), nrNovo);
                ins.SetParam(QStringLiteral("QTPRODCOMVEN"), qtCancelar);
                ins.SetParam(QStringLiteral("CDGRPOCOR"), cdGrpOcor);
                ins.SetParam(QStringLiteral("TXPRODCOMVEN"), txMotivo);
                ins.SetParam(QStringLiteral("IDSTPRCOMVEN"), QString(kEstadoCancelado));
                ins.SetParam(QStringLiteral("DTHRINCOMVEN"), agora);
                ins.SetParam(QStringLiteral("IDPRODPRODUZ"), idProdProduz);
                ins.SetParam(QStringLiteral("DTHRPRODCANVEN"), agora);
                ins.SetParam(QStringLiteral("CDSENHAPED"), item.CDSENHAPED);
                ins.SetParam(QStringLiteral("P_CDSUPERVISOR"), cdSupervisor);
                ins.SetParam(QStringLiteral("P_CDOPERCANC"), cdOperCanc);
                ins.Execute();

                // The remaining line keeps its benefit link.
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
                                   cdSupervisor, cdOperCanc, agora);
                CancelaItPedidoQrv(m, cdFilial, nrVendaRest, nrComanda, nrProdComVen, agora);
                // The whole line goes, its benefit link with it: the benefit goes
                // back as when the item is cancelled without a quantity. An
                // origin row shares the taken item's booking, given back there.
                if (!origem)
                    DevolveBeneficio(m, item.NRSEQBENECONSIT, cdFilial, cdCaixa);
            }
        });
        return QVariant();
    });
}
