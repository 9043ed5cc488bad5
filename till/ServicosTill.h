#pragma once
// The till's own operator services: small real dialogs and log files in the
// till's folder, assigned to the procedure variables of Wdc00002 and Wdc00001
// before the cancellation package is called.
#include <QString>

// Fills every procedure variable of both host packages.
void InstalaServicosTill();

// Where the till writes its logs and tickets (the host folder).
QString ArquivoTill(const QString& name);
