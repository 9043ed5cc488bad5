#pragma once
// The record of an order item: the 27 fields both item lists deliver and the
// window keeps. No SQL here, so the window may include it.
#include <QList>

#include "DataPacket.h"

// In the order of the tab list's columns; the table list gives NRCOMANDAORI
// before NRPRODCOMORI (comandaOriAntes).
QList<TFieldDef> ItemFields(bool comandaOriAntes = false);
