#include "ValueFunctions.h"

#include <cmath>

QVariant iif(bool condition, const QVariant& a, const QVariant& b)
{
    return condition ? a : b;
}

bool EmptyString(const QString& s)
{
    return s.isEmpty();
}

double Trunc2(double value)
{
    if (!std::isfinite(value))
        return value;
    // Round away the binary error first (0.29 * 100 is 28.999999999999996), then cut.
    const double cents = std::round(value * 100.0 * 1e6) / 1e6;
    const double cut = std::trunc(cents) / 100.0;
    return cut == 0.0 ? 0.0 : cut; // no negative zero
}

bool MesaBloqueada(const QString& idStMesaAux)
{
    return idStMesaAux == QLatin1String("R") || idStMesaAux == QLatin1String("S") || idStMesaAux == QLatin1String("D");
}
