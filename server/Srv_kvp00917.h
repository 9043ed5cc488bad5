#pragma once
// Exported service functions of the server unit. Each binds its arguments, runs
// its statements on rdmCancelaProd and returns a variant: a data packet, a
// Boolean, a flag text or nothing on success; the failure text (a string) on
// failure. None of them raises.
#include <QString>
#include <QVariant>

class TrdmCancelaProd;

namespace Srv_kvp00917 {
extern TrdmCancelaProd* rdmCancelaProd;
}
using Srv_kvp00917::rdmCancelaProd;

// Creates the data module when there is none and opens its connection; raises
// when the database cannot be reached. The window calls it before any service.
void ConectaModuloDados();

// The data module's transaction, for the window to keep several writes of one
// item together: the write services leave it open for the window to commit,
// and roll it back themselves when one of them fails. IniciaTransacao raises
// when the database refuses to begin one.
void IniciaTransacao();
void ConfirmaTransacao();
void DesfazTransacao();

// Orders and tables
QVariant getItemMesa(const QString& cdFilial, const QString& nrComanda, const QString& modo,
                     const QString& cdProdConsum, const QString& cdProdConsFem, const QString& cdProdCouver);
QVariant getValidaMesa(const QString& cdFilial, const QString& cdLoja, const QString& nrMesa);
QVariant getGarcomMesa(const QString& cdFilial, const QString& nrComanda);
double getValAdiantamento(const QString& cdFilial, const QString& nrComanda);
QVariant getInfoProdProduz();
QVariant getOcorCanc(const QString& cdFilial, const QString& cdLoja, const QString& cdProduto, const QString& unused);

// Writes. The item writes take three further texts. `qtListada` and
// `idStListado`: the quantity (decimal text) and state of the row as the list
// showed it, compared under the row lock with what is stored; a row that
// changed is refused, naming it, and nothing of it is written. Empty: not
// compared. `idOrigem` "S": the write repeats a taken item's cancellation on
// its origin row, which is written only while it is there and not cancelled,
// and gives no benefit back (the taken item's cancellation did).
QVariant setCancelaProd(const QString& cdFilial, const QString& cdCaixa, const QString& nrVendaRest,
                        const QString& nrComanda, const QString& nrProdComVen, const QString& quantidade,
                        const QString& unused7, const QString& cdGrpOcor, const QString& txMotivo,
                        const QString& cdOperCanc, const QString& idProdProduz, const QString& cdSupervisor,
                        const QString& qtListada = QString(), const QString& idStListado = QString(),
                        const QString& idOrigem = QString());
QVariant setStatusItemComanda(const QString& cdFilial, const QString& cdCaixa, const QString& nrVendaRest,
                              const QString& nrComanda, const QString& nrProdComVen, const QString& unused6,
                              const QString& cdGrpOcor, const QString& txMotivo, const QString& cdOperCanc,
                              const QString& cdSupervisor, const QString& nrSeqBeneCons, const QString& idProdProduz,
                              const QString& qtListada = QString(), const QString& idStListado = QString(),
                              const QString& idOrigem = QString());
QVariant setStatusPedidos(const QString& cdFilial, const QString& nrVendaRest, const QString& nrComanda,
                          const QString& nrProdComVen, const QString& idStPrComVen);
QVariant setAcrescimo(const QString& cdFilial, const QString& cdCaixa, const QString& nrComanda, double valor);
QVariant setAcrescimoProdCombinado(const QString& cdFilial, const QString& cdCaixa, const QString& nrComanda);

// Printers and products
QVariant getBuscaPortaProd(const QString& cdFilial, const QString& cdLoja, const QString& cdProduto,
                           const QString& unused);
QVariant getImprLoja(const QString& cdFilial, const QString& cdLoja, const QString& cdProduto);
QVariant getImprLoja2(const QString& cdFilial, const QString& cdLoja, const QString& cdProduto);
QVariant getProdutoNormal(const QString& cdFilial, const QString& nrVendaRest, const QString& nrComanda,
                          const QString& nrProdComVen);
QVariant getProdutoFilho(const QString& cdFilial, const QString& nrVendaRest, const QString& nrComanda,
                         const QString& nrProdComVen);
QVariant getNomeProdutoPai(const QString& cdFilial, const QString& nrVendaRest, const QString& nrComanda,
                           const QString& nrProdComVen);
QVariant getProdutosAdicionaisFilhos(const QString& cdFilial, const QString& nrVendaRest, const QString& nrComanda,
                                     const QString& nrProdComVen);
QVariant getImpBackup(const QString& cdFilial, const QString& cdCaixa);
QVariant getImpCancInteg(const QString& cdFilial, const QString& cdCaixa);
