#pragma once
// Small builders shared by the statement files: the dialects' forms of a few
// clauses and the filling of a dialect storage from one text function.
#include <QString>

#include "ADOSqlStorage.h"

namespace statements {

// An amount cut (not rounded) to cents. Binary floating point must not cost a
// cent: 0.29 * 100 is 28.999999999999996, so the value is first brought to a
// few more decimals than it can honestly carry.
inline QString CorteCentavos(TSqlDialect d, const QString& valor)
{
    switch (d) {
    case TSqlDialect::SQLite: return QStringLiteral("(CAST(ROUND((%1) * 100, 6) AS INTEGER) / 100.0)").arg(valor);
    case TSqlDialect::PostgreSQL:
        // float8 to numeric keeps 15 significant digits, which absorbs the binary error.
        return QStringLiteral("TRUNC(CAST(%1 AS NUMERIC), 2)").arg(valor);
    case TSqlDialect::Oracle: return QStringLiteral("TRUNC(%1, 2)").arg(valor);
    default: return QStringLiteral("ROUND(%1,2,1)").arg(valor);
    }
}

// For a statement whose single-row subquery may find several rows: a further
// " AND ..." condition that makes the statement fail with the text when the
// count of those rows (`contagem`, a SELECT COUNT(*)) is above one. The other
// engines fail on such a subquery by themselves, so they get nothing; SQLite
// takes the first row without complaint, and a path error of json_extract is
// how a plain statement can fail there with a text of ours.
inline QString UmaLinhaSo(TSqlDialect d, const QString& contagem, const QString& texto)
{
    if (d != TSqlDialect::SQLite)
        return QString();
    return QStringLiteral(" AND json_extract('{}', CASE WHEN (%1) > 1 THEN '%2' ELSE '$' END) IS NOT NULL")
        .arg(contagem, texto);
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
    case TSqlDialect::Oracle:
        return QStringLiteral("SELECT 1 AS EXISTE ") + fromWhere + QStringLiteral(" AND ROWNUM = 1");
    case TSqlDialect::MSSQL: return QStringLiteral("SELECT TOP 1 1 AS EXISTE ") + fromWhere;
    default: return QStringLiteral("SELECT 1 AS EXISTE ") + fromWhere + QStringLiteral(" LIMIT 1");
    }
}

// The engine's function for "this value, or that one when it is null".
inline QString NuloPadrao(TSqlDialect d)
{
    switch (d) {
    case TSqlDialect::Oracle: return QStringLiteral("NVL");
    case TSqlDialect::MSSQL: return QStringLiteral("ISNULL");
    default: return QStringLiteral("COALESCE");
    }
}

// A parameter whose type the statement alone does not tell (in a select list,
// or in arithmetic): PostgreSQL would take it for text, so it gets the type
// named; the other engines take the value as bound.
inline QString ParamTipado(TSqlDialect d, const QString& name, const char* pgType)
{
    if (d == TSqlDialect::PostgreSQL)
        return QStringLiteral("CAST(:%1 AS %2)").arg(name, QLatin1String(pgType));
    return QLatin1Char(':') + name;
}

// A read that keeps its rows locked until the transaction ends, so that a
// read-then-write of two tills runs one after the other. SQLite needs no
// clause: its transactions begin with the write lock taken.
inline QString SelecionaParaAtualizar(TSqlDialect d, const QString& colunas, const QString& tabela,
                                      const QString& condicao)
{
    switch (d) {
    case TSqlDialect::PostgreSQL:
    case TSqlDialect::Oracle:
        return QStringLiteral("SELECT %1 FROM %2 WHERE %3 FOR UPDATE").arg(colunas, tabela, condicao);
    case TSqlDialect::MSSQL:
        return QStringLiteral("SELECT %1 FROM %2 WITH (UPDLOCK, ROWLOCK) WHERE %3").arg(colunas, tabela, condicao);
    default: return QStringLiteral("SELECT %1 FROM %2 WHERE %3").arg(colunas, tabela, condicao);
    }
}

} // namespace statements
