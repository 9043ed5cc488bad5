#pragma once
// Small builders shared by the statement files: persistent field definitions
// and the filling of a dialect storage from one text function.
#include <QString>

#include "ADOSqlStorage.h"
#include "DataPacket.h"

namespace statements {

inline TFieldDef Texto(const QString& name, int size, bool readOnly = false, const QString& label = QString())
{
    TFieldDef f;
    f.Name = name;
    f.DataType = TFieldType::ftString;
    f.Size = size;
    f.ReadOnly = readOnly;
    f.DisplayLabel = label;
    return f;
}

inline TFieldDef Numero(const QString& name)
{
    TFieldDef f;
    f.Name = name;
    f.DataType = TFieldType::ftFloat;
    return f;
}

inline TFieldDef DataHora(const QString& name)
{
    TFieldDef f;
    f.Name = name;
    f.DataType = TFieldType::ftDateTime;
    return f;
}

// Every dialect the module knows gets its text, so that applying the storage
// never fails for want of one.
inline void FillStorage(TADOSqlStorage* storage, QString (*text)(TSqlDialect))
{
    for (TSqlDialect d : {TSqlDialect::SQLite, TSqlDialect::PostgreSQL, TSqlDialect::Oracle, TSqlDialect::MSSQL})
        storage->Texts.insert(d, text(d));
}

// A query that only tells whether a row exists: one constant column of at
// most one row, stopped at the first match. `fromWhere` is the FROM and WHERE.
inline QString Existencia(TSqlDialect d, const QString& fromWhere)
{
    switch (d) {
    case TSqlDialect::Oracle: return QStringLiteral("SELECT 1 AS EXISTE ") + fromWhere + QStringLiteral(" AND ROWNUM = 1");
    case TSqlDialect::MSSQL: return QStringLiteral("SELECT TOP 1 1 AS EXISTE ") + fromWhere;
    default: return QStringLiteral("SELECT 1 AS EXISTE ") + fromWhere + QStringLiteral(" LIMIT 1");
    }
}

}  // namespace statements
