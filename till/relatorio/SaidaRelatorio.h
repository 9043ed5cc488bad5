#pragma once
// The cancellation report written out: as aligned text for the terminal, and
// as CSV for a spreadsheet.
#include <QByteArray>
#include <QLocale>
#include <QString>

#include "Cancelamentos.h"

inline const QString kNenhumCancelamento = QStringLiteral("Nenhum cancelamento no período.");

// Lines, totals by reason and by operator and the grand total, in columns;
// dates and numbers in the locale given.
QString RelatorioEmTexto(const TRelatorioCancelamentos& relatorio, const QLocale& locale);

// One row per cancelled line under a header row, as a Brazilian spreadsheet
// opens it whatever the till's locale: UTF-8 with a byte-order mark, ';'
// between fields, decimal comma without group separators, dates dd/MM/yyyy,
// CR LF line ends; a field holding ';', '"' or a line break goes in double
// quotes with its quotes doubled. A text that starts with =, +, -, @, a tab
// or a carriage return starts with an apostrophe, so that a spreadsheet never
// runs it as a formula. The totals are left to the spreadsheet.
QByteArray RelatorioEmCsv(const TRelatorioCancelamentos& relatorio);

// Writes the CSV to the file, replacing it only once it is written whole;
// false with the reason in `erro`. A target that exists and is not a regular
// file (a device, a pipe) is refused, never replaced.
bool GravaRelatorioCsv(const TRelatorioCancelamentos& relatorio, const QString& arquivo, QString& erro);
