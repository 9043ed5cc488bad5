#pragma once
// Pieces shared by the write services (SrvCancel.cpp, SrvStatus.cpp).
#include <QDateTime>
#include <QString>
#include <QVariant>

#include "RdmCancelaProd.h"

// Begins a transaction unless one is open, commits after the body, and on any
// exception rolls back and lets the exception go on to the service guard. An
// open transaction of the caller is committed or rolled back with it.
template <typename Body>
void EmTransacao(TADOConnection& con, Body&& body)
{
    try {
        if (!con.InTransaction())
            con.BeginTrans();
        body();
        if (con.InTransaction())
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
    QString NRSEQBENECONSIT;   // its benefit booking, empty when none
};

// Reads the item under its row lock (adqItem) and refuses, naming it, an item
// that does not exist or is already cancelled: a second cancellation would
// lower the surcharge and give the benefit back once more.
ItemTravado LeItemParaCancelar(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrComanda,
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
