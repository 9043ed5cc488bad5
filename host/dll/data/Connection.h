#pragma once
// Database services of the shared package: where the installation's database is,
// what each engine needs once connected, and operator-readable error texts.
#include <QString>
#include <exception>

#include "dll_export.h"

class TADOConnection;

// The connection string of the installation's database: the environment
// variable KVP_DATABASE when set, else the "database" setting of kvp.ini in
// the host folder, else the embedded demo database next to the host program.
// Its value is a SQLite file path, a postgresql:// URL, or an ODBC string.
DLL_EXPORT QString _GetStringConexQrv(const QString& unused);

// A setting of kvp.ini in the host folder ("" when absent), else, for an
// installed program, of the system's kvp.ini: key=value under [section], or
// under any section when section is empty.
DLL_EXPORT QString KvpIniValue(const QString& section, const QString& key);

// Session set-up right after connecting (SQLite: WAL, busy timeout, foreign keys;
// PostgreSQL: application name, time zone). Returns false when a setting failed.
DLL_EXPORT bool SetADODBSession(TADOConnection& connection);

// The schema version this program works with. kvp-dbinit records it in
// kTabelaVersao when it creates the tables and brings an older database to
// it with --upgrade; a session refuses a database at any other version.
inline constexpr int kVersaoEsquema = 2;
inline constexpr const char* kTabelaVersao = "KVPVERSAO";

// Whether the connected database holds `table` (any case) in its current schema.
DLL_EXPORT bool ExisteTabela(TADOConnection& connection, const QString& table);

// The version the database records; 0 when it records none (tables made
// before versions were kept, an empty database, or another system's).
DLL_EXPORT int LeVersaoEsquema(TADOConnection& connection);

// Raises Exception, in Portuguese, unless the database is at kVersaoEsquema:
// an older one needs kvp-dbinit --upgrade, a newer one a newer program.
DLL_EXPORT void VerificaVersaoEsquema(TADOConnection& connection);

// What every session of the package and of the till needs right after it
// connects: the session's settings and the version check, once per session
// (a session taken over was prepared when it was opened).
DLL_EXPORT void PreparaSessao(TADOConnection& connection);

// Opens the connection; false (no exception) when that failed.
DLL_EXPORT bool TryConnect(TADOConnection& connection);

// The failure text of a server function for a caught exception: the database's
// own message where there is one, never a password.
DLL_EXPORT QString ADOExceptionMessage(const std::exception& e, TADOConnection& connection, const QString& extra);
DLL_EXPORT QString ADOExceptionMessage(TADOConnection& connection, const QString& extra); // for catch (...)
