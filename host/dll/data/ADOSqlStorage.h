#pragma once
// Keeps one text per database kind for a linked statement and gives the
// statement the text of the database in use.
#include <QMap>
#include <QString>

#include "ado/ADO.h"
#include "dll_export.h"

class DLL_EXPORT TADOSqlStorage {
public:
    TADOSqlStorage(TADOStatement* linked, QString name) : Linked(linked), m_name(std::move(name)) {}

    TADOStatement* Linked;
    QMap<TSqlDialect, QString> Texts; // SQLORACLE, SQLMSSQL, and ours for SQLite and PostgreSQL

    const QString& Name() const { return m_name; }
    // Sets the linked statement's text; EDatabaseError when no text exists for
    // that database.
    void Apply(TSqlDialect dialect);

private:
    QString m_name;
};
