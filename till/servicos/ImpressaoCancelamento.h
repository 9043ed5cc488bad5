#pragma once
// The till's ticket print service: each printer's cancellation ticket goes to
// its address, else to its backup, else into the spool of unsent tickets that
// the till sends again later. The operator is told of every printer that did
// not answer and of every ticket that waits in the spool.
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariantList>
#include <functional>

#include "Perifericos.h"

QString PastaPendentes();

void ImprimeCancelamento(const QVariantList& dados, const TPerifericos& conf);
void DisparaImprimeCancProdutoTill(const QVariantList& dados, QVariantList& resultados);

// Sends the spooled tickets again (each to its printer, else its backup);
// returns how many are still waiting. parar, when given, is asked before each
// ticket: true leaves the rest for the next time.
int ReenviaPendentes(const TPerifericos& conf, const std::function<bool()>& parar = {});

// A ticket in the spool: its printer and when it was kept.
struct TTiquetePendente {
    QString Arquivo;
    QString Endereco;
    QDateTime Guardado;
};
// The tickets waiting in the spool, oldest first, also those a till is sending now.
QList<TTiquetePendente> ListaPendentes();
