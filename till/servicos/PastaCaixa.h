#pragma once
// The folder of the till's own files (logs, peripherals file, tickets waiting
// for a printer, the display file). It is the host folder, except while a
// scripted run points the host folder at a scratch copy of the terminal's
// files but still wants the till's real outputs.
#include <QDateTime>
#include <QString>

QString PastaCaixa();
// Empty: the host folder again.
void DefinePastaCaixa(const QString& pasta);

// The name of a file the till writes one per ticket (waiting in the spool, or
// sent to a printer that is a folder): the time (never going back within a
// run), the process, then a counter, all of fixed width, so that the names
// sort in the order the files were written.
QString NomeArquivoTiquete(const QString& extensao);
// The time such a name was made at; invalid for any other name.
QDateTime HoraArquivoTiquete(const QString& nome);
