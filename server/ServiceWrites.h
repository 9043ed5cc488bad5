#pragma once
// Pieces shared by the write services (SrvCancelamento.cpp, SrvSituacao.cpp).
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <optional>

#include "RdmCancelaProd.h"

// Runs the body in a transaction. Without an open transaction it begins one
// and commits it after the body. A transaction already open is the caller's
// (the screen opens one through the data module to keep several writes of one
// item together): it is left open for the caller to commit. On any exception
// the transaction, whoever opened it, is rolled back, so a failed write leaves
// nothing of the caller's other writes either; the exception goes on to the
// service guard.
template <typename Body> void EmTransacao(TADOConnection& con, Body&& body)
{
    try {
        const bool propria = !con.InTransaction();
        if (propria)
            con.BeginTrans();
        body();
        if (propria && con.InTransaction())
            con.CommitTrans();
    } catch (...) {
        try {
            if (con.InTransaction())
                con.RollbackTrans();
        } catch (...) {
            // The first failure is the one to report.
        }
        throw;
    }
}

// An item as read under its row lock, which the call then holds to its end.
struct ItemTravado {
    QVariant QTPRODCOMVEN;
    QString CDSENHAPED;
    QString NRSEQBENECONSIT; // its benefit booking, empty when none
    QString IDSTPRCOMVEN;
};

// What the operator saw of the item when the list was loaded: its quantity as
// decimal text and its state. An empty value is not compared.
struct ItemListado {
    QString Quantidade;
    QString Estado;
};

// Reads the item under its row lock (adqItem) and refuses, naming it, an item
// that does not exist, is already cancelled or no longer holds what the list
// showed: a second cancellation would lower the surcharge and give the benefit
// back once more, and a changed row would be cancelled for what it no longer is.
ItemTravado LeItemParaCancelar(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrComanda,
                               const QString& nrProdComVen, const ItemListado& listado = {});

// The origin row of an item taken from another tab, under its row lock; none
// when it is gone or already cancelled, for then there is nothing to repeat
// on it and the taken item must not be held back by it.
std::optional<ItemTravado> LeOrigemParaCancelar(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrComanda,
                                                const QString& nrProdComVen);

// The benefit of a booking goes back to its balance (+1.0) wherever it was
// booked; the booking itself is deleted only at this till. Nothing moves for
// an empty booking number.
void DevolveBeneficio(TrdmCancelaProd& m, const QString& nrSeqBeneCons, const QString& cdFilial,
                      const QString& cdCaixa);

// The item has a row in the alternative production table (ITPEDIDOQRVREL),
// which then takes the production updates in place of ITPEDIDOQRV.
bool TemItPedidoQrvRel(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrVendaRest,
                       const QString& nrComanda, const QString& nrProdComVen);

// Production row of a whole cancellation: state "C" (with the date where the
// table has one).
void CancelaItPedidoQrv(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrVendaRest,
                        const QString& nrComanda, const QString& nrProdComVen, const QDateTime& agora);

// Item state "6" with the reason, people and moment of the cancellation; the
// benefit link is cleared.
void CancelaItemInteiro(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrComanda,
                        const QString& nrProdComVen, const QString& cdGrpOcor, const QString& txMotivo,
                        const QString& idProdProduz, const QString& cdSupervisor, const QString& cdOperCanc,
                        const QDateTime& agora);
