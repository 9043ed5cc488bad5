#pragma once
#include <QString>
#include <QVariant>

#include "dll_export.h"

DLL_EXPORT QVariant iif(bool condition, const QVariant& a, const QVariant& b);
DLL_EXPORT bool EmptyString(const QString& s);
// Cut (not rounded) to two decimals. Works on the decimal text of the value, so
// that 0.29 stays 0.29 although 0.29 * 100 is 28.999999999999996 in binary.
DLL_EXPORT double Trunc2(double value);
// A table in one of these states (MESA.IDSTMESAAUX) is being received, or was
// closed, at another till: nothing of it may be cancelled.
DLL_EXPORT bool MesaBloqueada(const QString& idStMesaAux);
