#pragma once
// The guarded block every service function runs its statements in: whatever is
// raised inside turns into the failure text, and nothing reaches the caller;
// and the one-amount read of a tab that several services share.
#include <QVariant>
#include <exception>

#include "Connection.h"
#include "RdmCancelaProd.h"
#include "Srv_kvp00917.h"

template <typename Body> QVariant RunService(Body&& body)
{
    if (!rdmCancelaProd)
        return QStringLiteral("Módulo de dados não criado.");
    TrdmCancelaProd& m = *rdmCancelaProd;
    try {
        return body(m);
    } catch (const std::exception& e) {
        return ADOExceptionMessage(e, m.adcCancelaProd, QString());
    } catch (...) {
        return ADOExceptionMessage(m.adcCancelaProd, QString());
    }
}

// An amount of a tab read by a query keyed by branch and tab (its surcharge,
// its lines' surcharges, what it still owes); null and no row read as 0.
inline double ValorDaComanda(TADOQuery& q, const QString& cdFilial, const QString& nrComanda, const QString& campo)
{
    q.Close();
    q.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
    q.SetParam(QStringLiteral("P_NRCOMANDA"), nrComanda);
    q.Open();
    if (q.IsEmpty())
        return 0.0;
    q.First();
    return q.FieldValue(campo).toDouble();
}
