// Stands in for the kitchen and bar printers on this machine: listens on
// loopback ports and keeps every ticket it receives, as sent (.escpos) and as
// a printer would print it (.txt), so a demo or an installer can see what the
// till printed without a printer.
//   kvp-impressora-local PASTA PORTA...
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>
#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <vector>

#include "EscPos.h"

namespace {

volatile std::sig_atomic_t g_parar = 0;

void Para(int)
{
    g_parar = 1;
}

int Escuta(quint16 porta)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return -1;
    const int sim = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &sim, sizeof sim);
    sockaddr_in endereco{};
    endereco.sin_family = AF_INET;
    endereco.sin_port = htons(porta);
    endereco.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&endereco), sizeof endereco) < 0 || ::listen(fd, 8) < 0) {
        const int erro = errno;
        ::close(fd);
        errno = erro;
        return -1;
    }
    return fd;
}

// The whole ticket: a sender closes the connection after the cut.
QByteArray Recebe(int conexao)
{
    // A sender that stops half-way must not hold the other printers up.
    timeval espera{10, 0};
    ::setsockopt(conexao, SOL_SOCKET, SO_RCVTIMEO, &espera, sizeof espera);
    QByteArray bytes;
    char bloco[4096];
    for (;;) {
        const ssize_t n = ::recv(conexao, bloco, sizeof bloco, 0);
        if (n > 0)
            bytes.append(bloco, n);
        else if (n < 0 && errno == EINTR && !g_parar)
            continue;
        else
            break;
    }
    return bytes;
}

bool Grava(const QString& caminho, const QByteArray& bytes)
{
    QSaveFile arquivo(caminho);
    return arquivo.open(QIODevice::WriteOnly) && arquivo.write(bytes) == bytes.size() && arquivo.commit();
}

} // namespace

// The next free number of a port's tickets: after the last one kept in the
// folder, so a restart goes on where the last run stopped instead of writing
// over tickets someone may still want to read.
int ProximoNumero(const QString& pasta, quint16 porta, int ultimo)
{
    const QString prefixo = QStringLiteral("%1-").arg(porta);
    const QDir dir(pasta);
    for (const QString& nome : dir.entryList({prefixo + QStringLiteral("*")}, QDir::Files)) {
        bool ok = false;
        const int n = QFileInfo(nome).completeBaseName().mid(prefixo.size()).toInt(&ok);
        if (ok)
            ultimo = qMax(ultimo, n);
    }
    return ultimo + 1;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 2 || args.at(0).startsWith(QLatin1String("-"))) {
        std::fputs("Uso: kvp-impressora-local PASTA PORTA...\n"
                   "Escuta em 127.0.0.1 nas portas dadas e grava cada tíquete recebido em PASTA,\n"
                   "como chegou (PORTA-N.escpos) e como sairia impresso (PORTA-N.txt). Para com Ctrl+C.\n",
                   stderr);
        return 2;
    }
    const QString pasta = args.at(0);
    if (!QDir().mkpath(pasta)) {
        std::fprintf(stderr, "Não foi possível criar a pasta %s\n", qPrintable(pasta));
        return 1;
    }

    std::vector<pollfd> escutas;
    std::vector<quint16> portas;
    for (const QString& texto : args.mid(1)) {
        bool ok = false;
        const uint porta = texto.toUInt(&ok);
        if (!ok || porta == 0 || porta > 65535) {
            std::fprintf(stderr, "Porta inválida: %s\n", qPrintable(texto));
            return 2;
        }
        const int fd = Escuta(quint16(porta));
        if (fd < 0) {
            std::fprintf(stderr, "Não foi possível escutar em 127.0.0.1:%u: %s\n", porta, std::strerror(errno));
            return 1;
        }
        escutas.push_back({fd, POLLIN, 0});
        portas.push_back(quint16(porta));
    }

    struct sigaction acao {};
    acao.sa_handler = Para;
    ::sigaction(SIGINT, &acao, nullptr);
    ::sigaction(SIGTERM, &acao, nullptr);
    std::printf("Impressoras locais escutando em 127.0.0.1, portas %s; tíquetes em %s\n",
                qPrintable(args.mid(1).join(QStringLiteral(", "))), qPrintable(QDir(pasta).absolutePath()));
    std::fflush(stdout);

    std::vector<int> contagem(portas.size(), 0);
    while (!g_parar) {
        if (::poll(escutas.data(), escutas.size(), -1) < 0) {
            if (errno == EINTR)
                continue;
            std::perror("poll");
            return 1;
        }
        for (size_t i = 0; i < escutas.size(); ++i) {
            if (!(escutas[i].revents & POLLIN))
                continue;
            const int conexao = ::accept4(escutas[i].fd, nullptr, nullptr, SOCK_CLOEXEC);
            if (conexao < 0)
                continue;
            const QByteArray bytes = Recebe(conexao);
            ::close(conexao);
            if (bytes.isEmpty())
                continue; // a connection that sent nothing prints nothing
            contagem[i] = ProximoNumero(pasta, portas[i], contagem[i]);
            const QString base = QStringLiteral("%1/%2-%3").arg(pasta).arg(portas[i]).arg(contagem[i]);
            if (!Grava(base + QStringLiteral(".escpos"), bytes)
                || !Grava(base + QStringLiteral(".txt"), TEscPos::TextoImpresso(bytes).toUtf8())) {
                std::fprintf(stderr, "Não foi possível gravar o tíquete %s\n", qPrintable(base));
                continue;
            }
            std::printf("Tíquete recebido na porta %u: %s.txt\n", portas[i], qPrintable(base));
            std::fflush(stdout);
        }
    }
    return 0;
}
