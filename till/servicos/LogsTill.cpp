#include "LogsTill.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "PastaCaixa.h"
#include "RelogioCaixa.h"

namespace {

QString Carimbo()
{
    return AgoraCaixa().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
}

QString Juntar(const QStringList& partes)
{
    QStringList limpas;
    // A line break inside a value would split one record into two lines.
    for (QString p : partes)
        limpas << p.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return limpas.join(QStringLiteral(" | "));
}

void Registra(const QString& nome, const QStringList& partes)
{
    AcrescentaLinhaLog(PastaLogs() + QLatin1Char('/') + nome, Carimbo() + QStringLiteral(" | ") + Juntar(partes));
}

} // namespace

bool GravaTudo(int fd, const QByteArray& bytes)
{
    qsizetype feito = 0;
    while (feito < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + feito, size_t(bytes.size() - feito));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        feito += n;
    }
    return true;
}

QString PastaLogs()
{
    return PastaCaixa() + QStringLiteral("/Logs");
}

bool AcrescentaLinhaLog(const QString& arquivo, const QString& linha)
{
    QDir().mkpath(QFileInfo(arquivo).absolutePath());
    const QByteArray caminho = QFile::encodeName(arquivo);
    const int fd = ::open(caminho.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
        std::fprintf(stderr, "Não foi possível abrir o log %s: %s\n", caminho.constData(), std::strerror(errno));
        return false;
    }
    // The lock keeps a line whole even where O_APPEND alone would not (network
    // folders, writes split by a signal).
    while (::flock(fd, LOCK_EX) < 0 && errno == EINTR) {}
    const bool ok = GravaTudo(fd, (linha + QLatin1Char('\n')).toUtf8()) && ::fsync(fd) == 0;
    if (!ok)
        std::fprintf(stderr, "Não foi possível gravar no log %s: %s\n", caminho.constData(), std::strerror(errno));
    ::flock(fd, LOCK_UN);
    ::close(fd);
    return ok;
}

void LogImpNFiscalTill(const QVariantList& linha, QVariantList&)
{
    QStringList partes;
    for (const QVariant& v : linha)
        partes << v.toString();
    Registra(QStringLiteral("LogImpNFiscal.txt"), partes);
}

void LogControleAcessTill(const QString& filial, const QString& caixa, const QString& acao, const QString& operador,
                          const QString& nome, const QString& autorizador, const QString& titulo,
                          const QString& detalhe, const QString& venda, const QString& comanda,
                          const QString& dsComanda, const QString& mesa, int, int)
{
    Registra(QStringLiteral("LogControleAcess.txt"),
             {filial, caixa, acao, operador, nome, autorizador, titulo, detalhe, venda, comanda, dsComanda, mesa});
}
