#include "PastaCaixa.h"

#include "HostServices.h"

namespace {
QString g_pasta;
}

QString PastaCaixa()
{
    return g_pasta.isEmpty() ? HostFolder() : g_pasta;
}

void DefinePastaCaixa(const QString& pasta)
{
    g_pasta = pasta;
}
