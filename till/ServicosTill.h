#pragma once
// The till's own operator services: the dialogs of till/operador, and the
// logs, tickets and customer display of till/servicos, assigned to the
// procedure variables of Wdc00002 and Wdc00001 before the cancellation
// package is called.
#include <QString>

// Fills every procedure variable of both host packages.
void InstalaServicosTill();

// Sends the tickets waiting for their printers again, here and now (a line
// per ticket tried on standard output), and says on standard error how many
// still wait (and any line of the peripherals file it could not read);
// returns that number.
int ReenviaTiquetesPendentes();
