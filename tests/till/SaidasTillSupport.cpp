#include "SaidasTillSupport.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

ImpressoraLoopback::ImpressoraLoopback(quint16 porta)
{
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int sim = 1;
    ::setsockopt(m_fd, SOL_SOCKET, SO_REUSEADDR, &sim, sizeof sim);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(porta);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t tam = sizeof a;
    if (::bind(m_fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0
        && ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&a), &tam) == 0)
        m_porta = ntohs(a.sin_port);
}

ImpressoraLoopback::~ImpressoraLoopback()
{
    ::close(m_fd);
}

QString ImpressoraLoopback::Endereco() const
{
    return QStringLiteral("127.0.0.1:%1").arg(m_porta);
}

void ImpressoraLoopback::Escuta()
{
    ::listen(m_fd, 8);
}

QByteArray ImpressoraLoopback::Recebe(int ms)
{
    pollfd p{m_fd, POLLIN, 0};
    if (::poll(&p, 1, ms) != 1)
        return {};
    const int c = ::accept(m_fd, nullptr, nullptr);
    QByteArray bytes;
    char buf[4096];
    for (;;) {
        pollfd q{c, POLLIN, 0};
        if (::poll(&q, 1, 10000) != 1)
            break;
        const ssize_t n = ::read(c, buf, sizeof buf);
        if (n <= 0)
            break;
        bytes.append(buf, n);
    }
    ::close(c);
    return bytes;
}
