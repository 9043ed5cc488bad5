// kvp-bench-tiquetes [--rounds R]
//
// How long the cancellation waits on the kitchen printer: the till's ticket
// service, called as the cancel command calls it at the end of a one-item
// cancellation (one ticket row for one printer), timed with
//   (a) a live printer,
//   (b) a printer that takes no connection (a listener whose queue is full),
//   (c) a closed port,
//   (d) the printer and its backup both silent (queues full),
// each with the default time-out of 3 s. The median of each case is printed,
// then each silent printer is brought back on its port and the bench waits
// until the spool is empty: every ticket must arrive, once, in the order the
// calls made them.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <memory>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "DataPacket.h"
#include "EscPos.h"
#include "HostServices.h"
#include "ImpressaoCancelamento.h"
#include "Mensagem.h"
#include "Wdc00002.h"

namespace {

QTextStream out(stdout);

sockaddr_in Loopback(quint16 porta)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(porta);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

int Soquete(quint16 porta, quint16& porta_dada)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int sim = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &sim, sizeof sim);
    sockaddr_in a = Loopback(porta);
    socklen_t tam = sizeof a;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0
        || ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &tam) != 0) {
        ::close(fd);
        return -1;
    }
    porta_dada = ntohs(a.sin_port);
    return fd;
}

// A printer on loopback in one of the states measured.
class Impressora {
public:
    enum Estado { Viva, Surda, Fechada };

    explicit Impressora(Estado estado, quint16 porta = 0)
    {
        m_fd = Soquete(porta, m_porta);
        if (estado == Fechada)
            return;
        ::listen(m_fd, estado == Surda ? 0 : 16);
        if (estado == Surda) {
            // The accept queue filled and never emptied: a new connection
            // waits for its time-out, as with a jammed printer's stack.
            const sockaddr_in a = Loopback(m_porta);
            for (int i = 0; i < 3; ++i) {
                const int c = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
                ::connect(c, reinterpret_cast<const sockaddr*>(&a), sizeof a);
                m_fila.push_back(c);
            }
            return;
        }
        m_leitor = std::thread([this] { Le(); });
    }
    ~Impressora()
    {
        m_parar = true;
        if (m_leitor.joinable())
            m_leitor.join();
        for (int c : m_fila)
            ::close(c);
        ::close(m_fd);
    }
    quint16 Porta() const { return m_porta; }
    QString Endereco() const { return QStringLiteral("127.0.0.1:%1").arg(m_porta); }
    QStringList Recebidos()
    {
        const std::lock_guard l(m_trava);
        return m_recebidos;
    }

private:
    void Le()
    {
        while (!m_parar) {
            pollfd p{m_fd, POLLIN, 0};
            if (::poll(&p, 1, 100) != 1)
                continue;
            const int c = ::accept(m_fd, nullptr, nullptr);
            if (c < 0)
                continue;
            QByteArray bytes;
            char buf[4096];
            for (;;) {
                pollfd q{c, POLLIN, 0};
                if (::poll(&q, 1, 5000) != 1)
                    break;
                const ssize_t n = ::read(c, buf, sizeof buf);
                if (n <= 0)
                    break;
                bytes.append(buf, n);
            }
            ::close(c);
            const std::lock_guard l(m_trava);
            m_recebidos << TEscPos::TextoImpresso(bytes);
        }
    }

    int m_fd = -1;
    quint16 m_porta = 0;
    std::vector<int> m_fila;
    std::thread m_leitor;
    std::atomic_bool m_parar = false;
    std::mutex m_trava;
    QStringList m_recebidos;
};

// The values the cancel command hands over for one item, as in a table's order.
QVariantList Dados(const QString& produto, const QString& endereco)
{
    TDataPacket p;
    for (const char* nome : {"NMPRODUTO", "QTPRODCOMVEN", "CDPORIMPPROD", "IDIMPCANITEM", "IDMODEIMPRES",
                             "NMPRODUTOPAI", "CDPRODUTO", "NRSEQUITVEND", "CDGRPOCOR", "DSOCORR", "DSENDPORTA"})
        p.FieldDefs.append(
            TFieldDef{QLatin1String(nome), qstrcmp(nome, "QTPRODCOMVEN") ? TFieldType::ftString : TFieldType::ftFloat});
    p.Rows.append({produto, 1.0, QStringLiteral("01"), QStringLiteral("S"), QString(), QString(), QStringLiteral("123"),
                   QStringLiteral("000001"), QStringLiteral("02"), QStringLiteral("Produto lançado errado"), endereco});
    namespace Nota = Wdc00002::NotaCancelamento;
    QVariantList nota(Nota::Tamanho);
    nota[Nota::Falso] = false;
    nota[Nota::ModeloImpressora] = QStringLiteral("1");
    nota[Nota::ComandaMostrada] = QStringLiteral("1010");
    nota[Nota::Mesa] = QStringLiteral("10");
    nota[Nota::Garcom] = QStringLiteral("João");
    nota[Nota::GrupoMotivo] = QStringLiteral("02");
    nota[Nota::Motivo] = QStringLiteral("Produto lançado errado");
    nota[Nota::Vazio7] = QString();
    nota[Nota::Pacote] = ToVariant(p);
    nota[Nota::Titulo] = QStringLiteral(" Cancelamento de Pedido");
    nota[Nota::RotCupom] = QStringLiteral("Cupom :");
    nota[Nota::RotMotivo] = QStringLiteral("Motivo :");
    nota[Nota::RotGarcom] = QStringLiteral("Garcom :");
    nota[Nota::RotPedido] = QStringLiteral("Pedido :");
    nota[Nota::RotMesa] = QStringLiteral("Mesa   :");
    nota[Nota::Vazio15] = QString();
    nota[Nota::NrComanda] = QStringLiteral("1010");
    nota[Nota::DsComanda] = QStringLiteral("RES_10");
    return nota;
}

double Mediana(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void EscreveArquivo(const QString& caminho, const QString& texto)
{
    QFile f(caminho);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(texto.toUtf8());
}

struct Caso {
    const char* nome;
    Impressora::Estado principal;
    bool comReserva;
};

// One case: its median call time, and whether every ticket came once and in order.
bool Mede(const QString& pasta, const Caso& caso, int rodadas, double& mediana)
{
    auto principal = std::make_unique<Impressora>(caso.principal);
    std::unique_ptr<Impressora> reserva;
    QString ini = QStringLiteral("[impressora %1]\nnome = Cozinha\n").arg(principal->Endereco());
    if (caso.comReserva) {
        reserva = std::make_unique<Impressora>(Impressora::Surda);
        ini += QStringLiteral("reserva = %1\n").arg(reserva->Endereco());
    }
    EscreveArquivo(pasta + QStringLiteral("/perifericos.ini"), ini);
    QDir(pasta + QStringLiteral("/Tiquetes")).removeRecursively();

    QStringList produtos;
    QList<double> tempos;
    QVariantList resultados;
    for (int r = 0; r < rodadas; ++r) {
        produtos << QStringLiteral("PRATO %1").arg(r + 1, 3, 10, QLatin1Char('0'));
        const QVariantList dados = Dados(produtos.last(), principal->Endereco());
        QElapsedTimer t;
        t.start();
        DisparaImprimeCancProdutoTill(dados, resultados);
        tempos << t.nsecsElapsed() / 1e6;
        QCoreApplication::processEvents();
    }
    mediana = Mediana(tempos);

    // The sender's pass over these tickets runs to its time-outs first, so
    // that what comes back is a printer whose tickets really waited.
    TRemetenteTiquetes::Instancia().Aguarda(60000);
    QCoreApplication::processEvents();
    const qsizetype aguardavam = ListaPendentes().size();

    // The printer back on its port; the sender's next pass must empty the spool.
    if (caso.principal != Impressora::Viva) {
        const quint16 porta = principal->Porta();
        principal.reset();
        principal = std::make_unique<Impressora>(Impressora::Viva, porta);
    }
    QElapsedTimer espera;
    espera.start();
    while (!ListaPendentes().isEmpty() && espera.elapsed() < 120000) {
        TRemetenteTiquetes::Instancia().Acorda();
        TRemetenteTiquetes::Instancia().Aguarda(30000);
        QCoreApplication::processEvents();
    }
    // Time for a ticket sent twice to show up.
    TRemetenteTiquetes::Instancia().Acorda();
    TRemetenteTiquetes::Instancia().Aguarda(30000);
    QThread::msleep(500);
    const QStringList recebidos = principal->Recebidos();
    QStringList ordem;
    for (const QString& texto : recebidos)
        for (const QString& p : produtos)
            if (texto.contains(QStringLiteral("1 x ") + p + QLatin1Char('\n')))
                ordem << p;
    const bool ok = ListaPendentes().isEmpty() && ordem == produtos;
    out << QStringLiteral("%1  mediana %2 ms  (mín %3, máx %4; %5 rodadas)  na fila %9, entregues %6 de %7%8\n")
               .arg(QString::fromUtf8(caso.nome).leftJustified(46))
               .arg(mediana, 7, 'f', 1)
               .arg(*std::min_element(tempos.begin(), tempos.end()), 0, 'f', 1)
               .arg(*std::max_element(tempos.begin(), tempos.end()), 0, 'f', 1)
               .arg(rodadas)
               .arg(ordem.size())
               .arg(produtos.size())
               .arg(ok ? QStringLiteral(", uma vez cada, na ordem") : QStringLiteral("  <- FALHOU"))
               .arg(aguardavam);
    out.flush();
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int rodadas = 15;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--rounds") && i + 1 < args.size())
            rodadas = args[++i].toInt();
        else
            rodadas = 0;
    }
    if (rodadas < 3) {
        QTextStream(stderr) << "Uso: kvp-bench-tiquetes [--rounds R]   (R >= 3)\n";
        return 2;
    }
    QTemporaryDir pasta;
    SetHostFolderOverride(pasta.path());
    // The operator's messages are kept and printed at the end, never shown.
    QStringList avisos;
    SetMensagemHandler([&avisos](const MensagemArgs& a) {
        avisos << a.Texto;
        return true;
    });

    out << "Tíquete de um cancelamento de um item, tempo da chamada ao serviço de impressão do caixa "
           "(espera da impressora: 3000 ms)\n";
    const Caso casos[] = {
        {"(a) impressora viva", Impressora::Viva, false},
        {"(b) impressora que não aceita (fila cheia)", Impressora::Surda, false},
        {"(c) porta fechada", Impressora::Fechada, false},
        {"(d) principal e reserva sem resposta", Impressora::Surda, true},
    };
    bool ok = true;
    double base = 0;
    for (const Caso& c : casos) {
        double mediana = 0;
        ok = Mede(pasta.path(), c, rodadas, mediana) && ok;
        if (c.principal == Impressora::Viva)
            base = mediana;
        else if (mediana - base > 50) {
            out << "  mais de 50 ms acima de (a)\n";
            ok = false;
        }
    }
    EncerraEnvioTiquetes();
    QCoreApplication::processEvents();
    out << QStringLiteral("avisos ao operador: %1\n").arg(avisos.size());
    for (const QString& a : avisos)
        out << "  " << QString(a).replace(QLatin1Char('\n'), QStringLiteral("\n  ")) << "\n";
    return ok ? 0 : 1;
}
