#pragma once
// Delivers a ticket's bytes to a printer address: "host:port" or "host" over
// TCP (port 9100), a device path (written as a file) or a spool directory
// (one file per ticket). Every wait is bounded by esperaMs.
#include <QByteArray>
#include <QString>

// False with the reason in erro when the printer did not take the ticket.
bool EnviaParaImpressora(const QString& endereco, const QByteArray& bytes, int esperaMs, QString& erro);
