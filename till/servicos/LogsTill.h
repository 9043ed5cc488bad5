#pragma once
// The till's operation and access logs: one time-stamped line per call,
// appended to files in the host folder's Logs directory. Several tills may
// share the folder, so each line goes in whole under a file lock and reaches
// the disk before the call returns.
#include <QByteArray>
#include <QString>
#include <QVariantList>

#include "Wdc00002.h"

QString PastaLogs();

// Writes all of bytes to fd, through short writes and interrupted calls:
// the logs and the ticket spool both need a record whole or not at all.
bool GravaTudo(int fd, const QByteArray& bytes);

// Appends line + '\n' to the file; false (and a note on standard error) when
// it cannot be written.
bool AcrescentaLinhaLog(const QString& arquivo, const QString& linha);

Wdc00002::FLogImpNFiscal LogImpNFiscalTill;
Wdc00002::FLogControleAcess LogControleAcessTill;
