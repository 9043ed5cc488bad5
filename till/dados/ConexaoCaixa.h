#pragma once
// The till's own connection to the installation's database: the module's
// setting (KVP_DATABASE / kvp.ini / kvp-demo.db) and session set-up, apart
// from the package's. Its session is kept for the process, so the order list,
// the reason dialog and the report do not reconnect on every use.
class TADOConnection;

// Connects `c`; raises Exception with an operator-readable text (the
// database named, never its password).
void ConectaCaixa(TADOConnection& c);
