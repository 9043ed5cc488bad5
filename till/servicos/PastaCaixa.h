#pragma once
// The folder of the till's own files (logs, peripherals file, tickets waiting
// for a printer, the display file). It is the host folder, except while a
// scripted run points the host folder at a scratch copy of the terminal's
// files but still wants the till's real outputs.
#include <QString>

QString PastaCaixa();
// Empty: the host folder again.
void DefinePastaCaixa(const QString& pasta);
