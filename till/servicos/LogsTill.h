#pragma once
// The till's operation and access logs: one time-stamped line per call,
// appended to files in the host folder's Logs directory. Several tills may
// share the folder, so each line goes in whole under a file lock and reaches
// the disk before the call returns.
#include <QByteArray>
#include <QString>
#include <QVariantList>

QString PastaLogs();

// Writes all of bytes to fd, through short writes and interrupted calls:
// the logs and the ticket spool both need a record whole or not at all.
bool GravaTudo(int fd, const QByteArray& bytes);

// Appends line + '\n' to the file; false (and a note on standard error) when
// it cannot be written.
bool AcrescentaLinhaLog(const QString& arquivo, const QString& linha);

void LogImpNFiscalTill(const QVariantList& linha, QVariantList& resultados);
void LogControleAcessTill(const QString& filial, const QString& caixa, const QString& acao, const QString& operador,
                          const QString& nome, const QString& autorizador, const QString& titulo,
                          const QString& detalhe, const QString& venda, const QString& comanda,
                          const QString& dsComanda, const QString& mesa, int, int);
