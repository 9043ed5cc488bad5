#pragma once
// Turning what the drivers report into the module's database errors.
#include <QSqlError>
#include <QString>

#include "../toolkit_export.h"

// The engine's message on one line: PostgreSQL prefixes "ERROR:" and appends the
// statement excerpt ("LINE 1: ..."), which an operator must not see.
TOOLKIT_EXPORT QString FirstLineOfEngineText(const QString& text);
// Connection failures span several lines (host, hint); keep them, on one line.
TOOLKIT_EXPORT QString CollapseEngineText(const QString& text);

// Hides every password of the connection string the statement ran on.
[[noreturn]] TOOLKIT_EXPORT void RaiseStatementError(const QString& statement, const QSqlError& error,
                                                     const QString& connectionString);
