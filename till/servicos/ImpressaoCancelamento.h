#pragma once
// The till's ticket print service: each printer's cancellation ticket goes to
// its address, else to its backup, else into the spool of unsent tickets that
// the till sends again later. The operator is told of every printer that did
// not answer and of every ticket that waits in the spool.
#include <QString>
#include <QVariantList>

#include "Perifericos.h"

QString PastaPendentes();

void ImprimeCancelamento(const QVariantList& dados, const TPerifericos& conf);
void DisparaImprimeCancProdutoTill(const QVariantList& dados, QVariantList& resultados);

// Sends the spooled tickets again (each to its printer, else its backup);
// returns how many are still waiting.
int ReenviaPendentes(const TPerifericos& conf);
