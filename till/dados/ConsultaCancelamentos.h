#pragma once
// Reads the cancelled item lines from the sales database: the lines in state
// "6" whose cancellation time falls within the days asked for (both included;
// a missing day leaves that side open), in order of that time.
#include <QDate>

#include "Cancelamentos.h"

class TADOConnection;

// On a connection already open.
QList<TCancelamento> LeCancelamentos(TADOConnection& conexao, const QDate& de, const QDate& ate);

// On the module's own database (KVP_DATABASE, else kvp.ini, else the demo
// database next to the till), through a connection of the report's own.
// Raises Exception with an operator-readable text (no password) when the
// database cannot be reached or read.
TRelatorioCancelamentos ConsultaCancelamentos(const QDate& de, const QDate& ate);
