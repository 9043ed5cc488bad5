#include "EnvioImpressora.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "PastaCaixa.h"

namespace {

QString ErroSistema()
{
    switch (errno) {
    case ECONNREFUSED: return QStringLiteral("recusou a conexão");
    case EHOSTUNREACH:
    case ENETUNREACH: return QStringLiteral("fora da rede");
    case ENOENT:
    case ENXIO:
    case ENODEV: return QStringLiteral("dispositivo desligado ou ausente");
    case EACCES:
    case EPERM: return QStringLiteral("sem permissão para escrever");
    default: return QString::fromLocal8Bit(std::strerror(errno));
    }
}

// Waits for fd to become ready for events; false on time-out or error.
bool Espera(int fd, short eventos, qint64 limite)
{
    for (;;) {
        const qint64 resta = limite - QDateTime::currentMSecsSinceEpoch();
        if (resta <= 0)
            return false;
        pollfd p{fd, eventos, 0};
        const int n = ::poll(&p, 1, int(resta));
        if (n < 0 && errno == EINTR)
            continue;
        return n > 0 && (p.revents & eventos);
    }
}

// Writes every byte to a non-blocking descriptor, waiting for room until the
// limit; errno tells why it stopped (ETIMEDOUT when the limit passed).
bool EscreveTudo(int fd, const QByteArray& bytes, qint64 limite, bool socket)
{
    qsizetype feito = 0;
    while (feito < bytes.size()) {
        const char* resto = bytes.constData() + feito;
        const size_t tamanho = size_t(bytes.size() - feito);
        const ssize_t n = socket ? ::send(fd, resto, tamanho, MSG_NOSIGNAL) : ::write(fd, resto, tamanho);
        if (n > 0)
            feito += n;
        else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            if (!Espera(fd, POLLOUT, limite)) {
                errno = ETIMEDOUT;
                return false;
            }
        } else
            return false;
    }
    return true;
}

bool EnviaTcp(const QString& host, quint16 porta, const QByteArray& bytes, int esperaMs, QString& erro)
{
    addrinfo dica{};
    dica.ai_family = AF_UNSPEC;
    dica.ai_socktype = SOCK_STREAM;
    addrinfo* lista = nullptr;
    // Names are resolved without a time limit of their own: give the address
    // as a number on tills without a reliable name service.
    if (const int r = ::getaddrinfo(host.toUtf8().constData(), QByteArray::number(porta).constData(), &dica, &lista)) {
        erro = QStringLiteral("endereço desconhecido (%1)").arg(QString::fromLocal8Bit(::gai_strerror(r)));
        return false;
    }
    const qint64 limite = QDateTime::currentMSecsSinceEpoch() + esperaMs;
    int fd = ::socket(lista->ai_family, lista->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    bool ok = fd >= 0;
    if (ok && ::connect(fd, lista->ai_addr, lista->ai_addrlen) < 0) {
        ok = errno == EINPROGRESS && Espera(fd, POLLOUT, limite);
        int falha = ok ? 0 : ETIMEDOUT;
        socklen_t tam = sizeof falha;
        if (ok)
            ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &falha, &tam);
        if (falha) {
            errno = falha;
            ok = false;
        }
    }
    ::freeaddrinfo(lista);
    ok = ok && EscreveTudo(fd, bytes, limite, true);
    if (!ok)
        erro = errno == ETIMEDOUT ? QStringLiteral("não respondeu em %1 ms").arg(esperaMs) : ErroSistema();
    if (fd >= 0)
        ::close(fd);
    return ok;
}

bool EnviaArquivo(const QString& caminho, const QByteArray& bytes, QString& erro)
{
    const QFileInfo info(caminho);
    if (info.isDir()) {
        QSaveFile f(caminho + QStringLiteral("/tiquete-") + NomeArquivoTiquete(QStringLiteral(".prn")));
        if (f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size() && f.commit())
            return true;
        erro = f.errorString();
        return false;
    }
    // A device that is not there is a printer that is off, not a file to create.
    if (!info.exists()) {
        erro = QStringLiteral("dispositivo %1 não existe").arg(caminho);
        return false;
    }
    const int fd = ::open(QFile::encodeName(caminho).constData(), O_WRONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        erro = ErroSistema();
        return false;
    }
    // Non-blocking so that a printer out of paper cannot hang the till.
    const qint64 limite = QDateTime::currentMSecsSinceEpoch() + 3000;
    const bool ok = EscreveTudo(fd, bytes, limite, false);
    if (!ok)
        erro = errno == ETIMEDOUT ? QStringLiteral("dispositivo não aceitou o tíquete a tempo") : ErroSistema();
    ::close(fd);
    return ok;
}

} // namespace

bool EnviaParaImpressora(const QString& endereco, const QByteArray& bytes, int esperaMs, QString& erro)
{
    const QString e = endereco.trimmed();
    if (e.isEmpty()) {
        erro = QStringLiteral("impressora sem endereço");
        return false;
    }
    if (e.startsWith(QLatin1Char('/')))
        return EnviaArquivo(e, bytes, erro);
    QString host = e;
    quint16 porta = 9100;
    const qsizetype doisPontos = e.lastIndexOf(QLatin1Char(':'));
    if (doisPontos > 0 && e.count(QLatin1Char(':')) == 1) {
        bool ok = false;
        const uint p = e.mid(doisPontos + 1).toUInt(&ok);
        if (!ok || p == 0 || p > 65535) {
            erro = QStringLiteral("porta inválida em \"%1\"").arg(e);
            return false;
        }
        host = e.left(doisPontos);
        porta = quint16(p);
    }
    return EnviaTcp(host, porta, bytes, esperaMs, erro);
}
