#pragma once
// A small restaurant day to try the cancellation screen on: one branch, store
// and till, open tables and tabs with items in every state, a delivery order,
// printers with backups, reasons, a waiter, benefits and advance payments.
#include <QStringList>

class TADOConnection;

// Inserts the data inside the caller's transaction; returns the lines of the
// summary (what was created and which tabs to try). Raises on any failure.
QStringList LoadDemoData(TADOConnection& connection);
