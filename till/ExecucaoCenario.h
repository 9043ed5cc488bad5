#pragma once
// `till --scenario FILE [--record OUT.json]`: plays one scenario file through
// the package with scripted host services and writes down what the host saw.
#include <QString>

// Returns the process's exit code: 0 when the call ran, whatever its outcome;
// 1 when the scenario is wrong (nothing ran, or the actions stopped at the
// mistake) or the till could not run it.
int ExecutaCenario(const QString& arquivo, const QString& registro);
