#include "PastaCaixa.h"

#include <algorithm>
#include <mutex>
#include <unistd.h>

#include "HostServices.h"
#include "RelogioCaixa.h"

namespace {
QString g_pasta;
const QString kFormatoHora = QStringLiteral("yyyyMMdd-HHmmsszzz");
} // namespace

QString PastaCaixa()
{
    return g_pasta.isEmpty() ? HostFolder() : g_pasta;
}

void DefinePastaCaixa(const QString& pasta)
{
    g_pasta = pasta;
}

QString NomeArquivoTiquete(const QString& extensao)
{
    static std::mutex trava;
    static qint64 ultimo = 0;
    static int sequencia = 0;
    const std::lock_guard l(trava);
    ultimo = std::max(ultimo, AgoraCaixa().toMSecsSinceEpoch());
    return QStringLiteral("%1-%2-%3")
               .arg(QDateTime::fromMSecsSinceEpoch(ultimo).toString(kFormatoHora))
               .arg(::getpid(), 10, 10, QLatin1Char('0'))
               .arg(++sequencia, 8, 10, QLatin1Char('0'))
        + extensao;
}

QDateTime HoraArquivoTiquete(const QString& nome)
{
    return QDateTime::fromString(nome.left(kFormatoHora.size()), kFormatoHora);
}
