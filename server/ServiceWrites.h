#pragma once
// Pieces shared by the write services (SrvCancel.cpp, SrvStatus.cpp).
#include <QString>

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

// The item has a row in the alternative production table (ITPEDIDOQRVREL),
// which then takes the production updates in place of ITPEDIDOQRV.
bool TemItPedidoQrvRel(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrVendaRest,
                       const QString& nrComanda, const QString& nrProdComVen);

// Production row of a whole cancellation: state "C" (with the date where the
// table has one).
void CancelaItPedidoQrv(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrVendaRest,
                        const QString& nrComanda, const QString& nrProdComVen);

// Item state "6" with the reason, people and moment of the cancellation; the
// benefit link is cleared.
void CancelaItemInteiro(TrdmCancelaProd& m, const QString& cdFilial, const QString& nrComanda,
                        const QString& nrProdComVen, const QString& cdGrpOcor, const QString& txMotivo,
                        const QString& idProdProduz, const QString& cdSupervisor, const QString& cdOperCanc);
