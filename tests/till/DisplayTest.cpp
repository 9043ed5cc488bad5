// The customer display: bytes on a pole display's serial device (a
// pseudo-terminal here), and the two lines in a file without one.
#include <QFile>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include "DisplayCliente.h"
#include "SaidasTillSupport.h"

namespace {

using Display = SaidasTillTest;

QByteArray LeAte(int fd, qsizetype quantos)
{
    QByteArray lido;
    char buf[256];
    while (lido.size() < quantos) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 5000) != 1)
            break;
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0)
            break;
        lido.append(buf, n);
    }
    return lido;
}

TEST_F(Display, BytesNoDispositivoSerial)
{
    const int mestre = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(mestre, 0);
    ASSERT_EQ(::grantpt(mestre), 0);
    ASSERT_EQ(::unlockpt(mestre), 0);
    const QString escravo = QString::fromLocal8Bit(::ptsname(mestre));
    // Held open so that what the till writes stays readable after it closes.
    const int aberto = ::open(escravo.toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    EscrevePerifericos(QStringLiteral("[display]\ndispositivo = %1\n").arg(escravo));

    LimpaDisplayTill();
    DisplayEnviaTextoTill(QStringLiteral("Cancelado: AÇAÍ"), 1, 1, 0, 0);
    DisplayEnviaTextoTill(QStringLiteral("R$ 12,50 e um texto longo demais"), 2, 3, 0, 0);

    QByteArray esperado("\x1b@\x0c"
                        "\x1bl\x01\x01"
                        "Cancelado: A\x80"
                        "A\x8b",
                        3 + 4 + 15);
    esperado += QByteArray("\x1bl\x03\x02", 4) + "R$ 12,50 e um text";
    EXPECT_EQ(LeAte(mestre, esperado.size()).toHex(' '), esperado.toHex(' '));
    EXPECT_FALSE(QFile::exists(ArquivoDisplay()));
    ::close(aberto);
    ::close(mestre);
}

TEST_F(Display, SemDispositivoAsDuasLinhasVaoParaArquivo)
{
    LimpaDisplayTill();
    DisplayEnviaTextoTill(QStringLiteral("Cancelado: PUDIM"), 1, 1, 0, 0);
    DisplayEnviaTextoTill(QStringLiteral("1 x 8,00"), 2, 3, 0, 0);
    QFile f(ArquivoDisplay());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()), QStringLiteral("Cancelado: PUDIM    \n  1 x 8,00          \n"));
    f.close();

    LimpaDisplayTill();
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll().trimmed(), QByteArray());
}

} // namespace
