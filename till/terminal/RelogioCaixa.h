#pragma once
// The till's clock: every time the till shows, stamps or names a file by is
// read here, so a test can set the time as it sets the data module's.
// Intervals and time-outs (how long to wait for a printer) keep the machine's
// clock: a set time would never run out.
#include <QDateTime>
#include <functional>

// The time now, in the machine's time zone.
QDateTime AgoraCaixa();

// Replaces the clock; an empty function restores the machine's. Set it before
// the till's threads start (the ticket sender stamps its logs with it).
void DefineRelogioCaixa(std::function<QDateTime()> relogio);
