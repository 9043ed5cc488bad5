#pragma once
// `till --scenario FILE [--record OUT.json]`: plays one scenario file through
// the package with scripted host services and writes down what the host saw.
#include <QString>

// Returns the process's exit code: 0 when the call ran, whatever its outcome;
// 1 when the scenario is wrong (nothing ran, or the actions stopped at the
// mistake) or the till could not run it.
int ExecutaCenario(const QString& arquivo, const QString& registro);

// A run with the till's own outputs: each output service (the Saida kind of
// the services' lists) is recorded by the scripted host in place, then done
// by the till. The questions stay the script's.
void UsaSaidasDoCaixa();
