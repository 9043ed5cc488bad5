#pragma once
// The record of an order item: the 27 fields both item lists deliver and the
// window keeps. No SQL here, so the window may include it.
#include <QLatin1String>
#include <QList>

#include "DataPacket.h"

// IDSTPRCOMVEN of a cancelled item. Statement and filter texts write it in
// their SQL; C++ compares and writes this one.
inline constexpr QLatin1String kEstadoCancelado("6");

// In the order of the tab list's columns; the table list gives NRCOMANDAORI
// before NRPRODCOMORI (comandaOriAntes).
QList<TFieldDef> CamposItem(bool comandaOriAntes = false);
