#include "DisplayCliente.h"

#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QSaveFile>
#include <QScreen>
#include <QTimer>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include "EscPos.h"
#include "PastaCaixa.h"
#include "Perifericos.h"

namespace {

constexpr char ESC = 0x1B;

// The two lines as the customer sees them, for the display without a device.
QString g_linhas[2] = {QString(kDisplayColunas, QLatin1Char(' ')), QString(kDisplayColunas, QLatin1Char(' '))};
QPointer<QLabel> g_janela;

// A pole display shows the last item until the next sale; the window standing
// in for it gives the screen back after this long.
constexpr int kDisplayJanelaMs = 20000;

bool EscreveDispositivo(const QString& dispositivo, const QByteArray& bytes)
{
    const QByteArray caminho = QFile::encodeName(dispositivo);
    const int fd = ::open(caminho.constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        std::fprintf(stderr, "Display do cliente %s: %s\n", caminho.constData(), std::strerror(errno));
        return false;
    }
    termios t{};
    if (::isatty(fd) && ::tcgetattr(fd, &t) == 0) {
        // 9600 8N1, bytes passed as they are.
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, B9600);
        ::cfsetospeed(&t, B9600);
        t.c_cflag |= CLOCAL;
        ::tcsetattr(fd, TCSANOW, &t);
    }
    // A few bytes fit any serial buffer; a display that takes none is skipped
    // rather than holding the till.
    const ssize_t n = ::write(fd, bytes.constData(), size_t(bytes.size()));
    const bool ok = n == bytes.size();
    if (!ok)
        std::fprintf(stderr, "Display do cliente %s: %s\n", caminho.constData(),
                     n < 0 ? std::strerror(errno) : "escrita incompleta");
    ::close(fd);
    return ok;
}

void MostraLinhas()
{
    const QString texto = g_linhas[0] + QLatin1Char('\n') + g_linhas[1] + QLatin1Char('\n');
    if (!qApp || QGuiApplication::platformName() == QLatin1String("offscreen")) {
        QSaveFile f(ArquivoDisplay());
        if (!f.open(QIODevice::WriteOnly) || f.write(texto.toUtf8()) < 0 || !f.commit())
            std::fprintf(stderr, "Display do cliente: não foi possível gravar %s\n", qPrintable(ArquivoDisplay()));
        return;
    }
    static QPointer<QTimer> apaga;
    if (!g_janela) {
        g_janela = new QLabel;
        g_janela->setObjectName(QStringLiteral("frmDisplayCliente"));
        g_janela->setWindowTitle(QStringLiteral("Display do cliente"));
        // Not above everything: the till's list and dialogs come first.
        g_janela->setWindowFlags(Qt::Tool | Qt::WindowDoesNotAcceptFocus);
        g_janela->setAttribute(Qt::WA_ShowWithoutActivating);
        g_janela->setStyleSheet(
            QStringLiteral("background:#102010; color:#7CFC00; font: 20pt monospace; padding: 8px"));
        g_janela->setAttribute(Qt::WA_DeleteOnClose);
        apaga = new QTimer(g_janela);
        apaga->setSingleShot(true);
        apaga->setInterval(kDisplayJanelaMs);
        QObject::connect(apaga, &QTimer::timeout, g_janela, &QWidget::close);
    }
    g_janela->setText(texto.trimmed().isEmpty() ? QString() : texto.chopped(1));
    g_janela->adjustSize();
    // In a corner of the screen, not over the middle of the list.
    if (const QScreen* tela = QGuiApplication::primaryScreen()) {
        const QRect area = tela->availableGeometry();
        g_janela->move(area.right() - g_janela->width() - 8, area.bottom() - g_janela->height() - 8);
    }
    g_janela->show();
    apaga->start();
}

void Envia(const TPerifericos& conf, const QByteArray& bytes)
{
    if (!conf.DisplayDispositivo.isEmpty() && EscreveDispositivo(conf.DisplayDispositivo, bytes))
        return;
    MostraLinhas();
}

} // namespace

QByteArray BytesLimpaDisplay()
{
    return QByteArray().append(ESC).append('@').append(char(0x0C));
}

QByteArray BytesTextoDisplay(const QString& texto, int linha, int coluna, const QString& pagina)
{
    linha = qBound(1, linha, 2);
    coluna = qBound(1, coluna, kDisplayColunas);
    QByteArray b;
    b.append(ESC).append('l').append(char(coluna)).append(char(linha));
    return b + TEscPos::Codifica(texto.left(kDisplayColunas - coluna + 1), pagina);
}

QString ArquivoDisplay()
{
    return PastaCaixa() + QStringLiteral("/Display.txt");
}

void LimpaDisplayTill()
{
    for (QString& l : g_linhas)
        l.fill(QLatin1Char(' '));
    Envia(LePerifericos(), BytesLimpaDisplay());
}

void DisplayEnviaTextoTill(const QString& texto, int linha, int coluna, int, int)
{
    const int l = qBound(1, linha, 2);
    const int c = qBound(1, coluna, kDisplayColunas);
    const QString parte = texto.left(kDisplayColunas - c + 1);
    g_linhas[l - 1].replace(c - 1, parte.size(), parte);
    const TPerifericos conf = LePerifericos();
    Envia(conf, BytesTextoDisplay(texto, linha, coluna, conf.DisplayPagina));
}
