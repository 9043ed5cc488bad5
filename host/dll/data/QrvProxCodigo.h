#pragma once
// Next free numbers of the restaurant tables.
#include <QString>

#include "dll_export.h"

class TADOConnection;

class DLL_EXPORT TdtmQrvProxCodigo {
public:
    // Works on the given connection, inside whatever transaction it has open.
    explicit TdtmQrvProxCodigo(TADOConnection& connection);
    ~TdtmQrvProxCodigo();

    // A free item number of the tab, in the tab's number format ("000007").
    QString PrxItemComanda(const QString& cdFilial, const QString& nrComanda, int step);

private:
    TADOConnection& m_connection;
};
