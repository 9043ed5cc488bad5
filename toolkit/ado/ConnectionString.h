#pragma once
// How a connection string names its database: a SQLite file path, a
// postgresql:// URL, or an ODBC string ("Driver=...;Server=...;Uid=...;Pwd=...").
#include <QString>

#include "ADO.h"

struct TConnectionTarget {
    QString Driver; // Qt driver: QSQLITE, QPSQL or QODBC
    TSqlDialect Dialect = TSqlDialect::Unknown;
    QString DatabaseName; // file path, database name, or the whole ODBC string
    QString Host;
    int Port = -1;
    QString User;
    QString Password;
    QString Options; // driver connect options, "key=value;key=value"
};

// Raises EDatabaseError for a string that names no database.
TConnectionTarget ParseConnectionString(const QString& connectionString);
