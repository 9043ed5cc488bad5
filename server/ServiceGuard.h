#pragma once
// The guarded block every service function runs its statements in: whatever is
// raised inside turns into the failure text, and nothing reaches the caller.
#include <QVariant>
#include <exception>

#include "Connection.h"
#include "RdmCancelaProd.h"
#include "Srv_kvp00917.h"

template <typename Body>
QVariant RunService(Body&& body)
{
    if (!rdmCancelaProd)
        return QStringLiteral("Módulo de dados não criado.");
    try {
        return body(*rdmCancelaProd);
    } catch (const std::exception& e) {
        if (rdmCancelaProd)
            return ADOExceptionMessage(e, rdmCancelaProd->adcCancelaProd, QString());
        return QString::fromUtf8(e.what());
    } catch (...) {
        if (rdmCancelaProd)
            return ADOExceptionMessage(rdmCancelaProd->adcCancelaProd, QString());
        return QStringLiteral("Erro desconhecido");
    }
}
