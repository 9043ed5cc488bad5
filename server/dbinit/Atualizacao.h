#pragma once
// kvp-dbinit's work on a database that already holds the tables: bringing
// one made by an earlier version of the tool to the current schema, and the
// database role of the tills.
#include <QStringList>
#include <QTextStream>

class TADOConnection;

// Names (upper case) of the module's tables, the version table included,
// that the connected database holds.
QStringList ExistingModuleTables(TADOConnection& connection);

// --upgrade: every write in one transaction per version step, after a copy
// of a SQLite file (named on `out`). A current database is left as it is; a
// newer one, or one that is not this system's, is refused before anything is
// written. Returns the tool's exit code; messages in Portuguese.
int UpgradeDatabase(TADOConnection& connection, const QString& sqlitePath, QTextStream& out, QTextStream& err);

// --role NAME (PostgreSQL): creates the tills' role when missing (password
// from KVP_ROLE_PASSWORD, when set) and gives it what the tills use: reading
// the module's tables and the cancellation's writes, nothing on the schema.
int GrantTillRole(TADOConnection& connection, const QString& role, QTextStream& out, QTextStream& err);
