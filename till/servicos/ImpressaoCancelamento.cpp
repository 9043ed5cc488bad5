#include "ImpressaoCancelamento.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QThread>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <unistd.h>

#include "DataPacket.h"
#include "EnvioImpressora.h"
#include "LogsTill.h"
#include "Mensagem.h"
#include "NotaCancelamento.h"
#include "PastaCaixa.h"

namespace {

constexpr auto kIntervaloReenvio = std::chrono::seconds(30);
const QByteArray kCabecalho = QByteArrayLiteral("KVP-TIQUETE 1");

// A spooled ticket. Files of an older till hold the address on the first line
// and the bytes after it; they are read as well.
struct TArquivoTiquete {
    QString Endereco;
    QString Pedido;
    QString Mesa;
    QStringList Produtos;
    QByteArray Bytes;
    QString Reserva; // the backup the second copy of the bytes was made for
    QByteArray BytesReserva; // in the backup's code page, when it differs
};

QString UmaLinha(QString texto)
{
    return texto.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' ')).trimmed();
}

QByteArray Serializa(const TArquivoTiquete& t)
{
    QByteArray s = kCabecalho + '\n';
    const auto linha = [&s](const char* chave, const QString& valor) {
        s += chave + QByteArray("=") + UmaLinha(valor).toUtf8() + '\n';
    };
    linha("endereco", t.Endereco);
    linha("pedido", t.Pedido);
    linha("mesa", t.Mesa);
    for (const QString& p : t.Produtos)
        linha("produto", p);
    if (!t.BytesReserva.isEmpty()) {
        linha("reserva", t.Reserva);
        linha("tamanho-reserva", QString::number(t.BytesReserva.size()));
    }
    linha("tamanho", QString::number(t.Bytes.size()));
    return s + '\n' + t.Bytes + t.BytesReserva;
}

// False when the file is not a ticket (cut short, or no address).
bool Interpreta(const QByteArray& conteudo, TArquivoTiquete& t, bool soCabecalho = false)
{
    const qsizetype quebra = conteudo.indexOf('\n');
    if (quebra <= 0)
        return false;
    if (conteudo.left(quebra) != kCabecalho) {
        t.Endereco = QString::fromUtf8(conteudo.left(quebra)).trimmed();
        t.Bytes = conteudo.mid(quebra + 1);
        return !t.Endereco.isEmpty();
    }
    qsizetype pos = quebra + 1;
    qsizetype tamanho = -1, tamanhoReserva = 0;
    for (;;) {
        const qsizetype fim = conteudo.indexOf('\n', pos);
        if (fim < 0)
            return false;
        const QByteArray linha = conteudo.mid(pos, fim - pos);
        pos = fim + 1;
        if (linha.isEmpty())
            break;
        const qsizetype igual = linha.indexOf('=');
        const QByteArray chave = linha.left(igual);
        const QString valor = QString::fromUtf8(linha.mid(igual + 1));
        if (chave == "endereco")
            t.Endereco = valor;
        else if (chave == "pedido")
            t.Pedido = valor;
        else if (chave == "mesa")
            t.Mesa = valor;
        else if (chave == "produto")
            t.Produtos << valor;
        else if (chave == "reserva")
            t.Reserva = valor;
        else if (chave == "tamanho")
            tamanho = valor.toLongLong();
        else if (chave == "tamanho-reserva")
            tamanhoReserva = valor.toLongLong();
    }
    if (soCabecalho)
        return !t.Endereco.isEmpty();
    if (tamanho < 0 || tamanhoReserva < 0 || conteudo.size() - pos != tamanho + tamanhoReserva)
        return false;
    t.Bytes = conteudo.mid(pos, tamanho);
    t.BytesReserva = conteudo.mid(pos + tamanho);
    return !t.Endereco.isEmpty();
}

// Written aside, flushed, renamed into place and the folder flushed too: a
// ticket in the spool survives a power cut the moment the call returns, and
// a sender never sees half of one.
bool GravaDuravel(const QString& pasta, const QString& nome, const QByteArray& conteudo)
{
    const QByteArray provisorio = QFile::encodeName(pasta + QStringLiteral("/.") + nome + QStringLiteral(".novo"));
    const QByteArray final = QFile::encodeName(pasta + QLatin1Char('/') + nome);
    const int fd = ::open(provisorio.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    bool ok = GravaTudo(fd, conteudo) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(provisorio.constData(), final.constData()) == 0;
    if (!ok) {
        ::unlink(provisorio.constData());
        return false;
    }
    const int dir = ::open(QFile::encodeName(pasta).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool GuardaPendente(const TArquivoTiquete& t)
{
    if (!QDir().mkpath(PastaPendentes()))
        return false;
    return GravaDuravel(PastaPendentes(), NomeArquivoTiquete(QStringLiteral(".tiq")), Serializa(t));
}

// Main printer, then its backup; the printer that took it, or empty.
QString Envia(const TArquivoTiquete& t, const TPerifericos& conf, QString& erro)
{
    if (EnviaParaImpressora(t.Endereco, t.Bytes, conf.EsperaMs, erro))
        return t.Endereco;
    const QString reserva = conf.Impressora(t.Endereco).Reserva;
    if (reserva.isEmpty())
        return QString();
    const QByteArray& bytes = reserva == t.Reserva && !t.BytesReserva.isEmpty() ? t.BytesReserva : t.Bytes;
    QString erroReserva;
    if (EnviaParaImpressora(reserva, bytes, conf.EsperaMs, erroReserva))
        return reserva;
    erro += QStringLiteral("; reserva %1: %2").arg(conf.NomeImpressora(reserva), erroReserva);
    return QString();
}

// Held while a pass goes through the spool, so that two senders (the till
// and till --retry-spool, or two tills sharing the folder) never interleave
// one printer's tickets. -1 when parar asked to give up waiting for it.
int TravaEnvio(const std::function<bool()>& parar)
{
    QDir().mkpath(PastaPendentes());
    const int fd = ::open(QFile::encodeName(PastaCaixa() + QStringLiteral("/Tiquetes/envio.lock")).constData(),
                          O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1;
    while (::flock(fd, LOCK_EX | LOCK_NB) < 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || (parar && parar())) {
            ::close(fd);
            return -1;
        }
        QThread::msleep(50);
    }
    return fd;
}

void SoltaEnvio(int fd)
{
    ::flock(fd, LOCK_UN);
    ::close(fd);
}

std::mutex g_travaAvisos;
QSet<QString> g_avisadas;

// Once per run of the till for each printer and kind of news.
bool PrimeiraVez(const QString& chave)
{
    const std::lock_guard l(g_travaAvisos);
    if (g_avisadas.contains(chave))
        return false;
    g_avisadas.insert(chave);
    return true;
}

} // namespace

QString PastaPendentes()
{
    return PastaCaixa() + QStringLiteral("/Tiquetes/Pendentes");
}

void ImprimeCancelamento(const QVariantList& dados, const TPerifericos& conf)
{
    QStringList semEndereco;
    const QList<TTiqueteCancelamento> tiquetes = SeparaTiquetes(dados, semEndereco);
    if (!semEndereco.isEmpty())
        Avisa(QStringLiteral("Cancelamento sem impressora cadastrada, avise a produção: %1")
                  .arg(semEndereco.join(QStringLiteral(", "))));
    bool guardou = false;
    for (const TTiqueteCancelamento& t : tiquetes) {
        TArquivoTiquete a;
        a.Endereco = t.Endereco;
        a.Pedido = DescricaoTiquete(dados, t, a.Mesa, a.Produtos);
        const TImpressoraConf imp = conf.Impressora(t.Endereco);
        a.Bytes = CompoeTiquete(dados, t, imp.Pagina);
        if (!imp.Reserva.isEmpty() && conf.Impressora(imp.Reserva).Pagina != imp.Pagina) {
            a.Reserva = imp.Reserva;
            a.BytesReserva = CompoeTiquete(dados, t, conf.Impressora(imp.Reserva).Pagina);
        }
        if (GuardaPendente(a)) {
            guardou = true;
            continue;
        }
        // Without a spool the ticket would be lost: the printer is waited for here.
        QString erro;
        const QString nome = conf.NomeImpressora(t.Endereco);
        if (Envia(a, conf, erro).isEmpty())
            Avisa(QStringLiteral("A impressora %1 não respondeu (%2) e o tíquete de cancelamento não pôde ser "
                                 "guardado em %3. Avise a produção.")
                      .arg(nome, erro, PastaPendentes()));
    }
    if (guardou)
        TRemetenteTiquetes::Instancia().Acorda();
}

void DisparaImprimeCancProdutoTill(const QVariantList& dados, QVariantList&)
{
    ImprimeCancelamento(dados, LePerifericos());
}

QStringList TResultadoEnvio::Relato() const
{
    QStringList linhas;
    for (const TTentativaEnvio& t : Tentativas) {
        const QString pedido = t.Pedido.isEmpty() ? QString() : QStringLiteral(" (pedido %1)").arg(t.Pedido);
        if (t.Enviado && t.Reserva.isEmpty())
            linhas << QStringLiteral("%1: enviado%2").arg(t.Impressora, pedido);
        else if (t.Enviado)
            linhas << QStringLiteral("%1: enviado na reserva %2%3").arg(t.Impressora, t.Reserva, pedido);
        else
            linhas << QStringLiteral("%1: aguardando%2 - %3").arg(t.Impressora, pedido, t.Erro);
    }
    return linhas;
}

TResultadoEnvio EnviaPendentes(const TPerifericos& conf, const std::function<bool()>& parar)
{
    TResultadoEnvio r;
    const QDir pasta(PastaPendentes());
    if (!pasta.exists())
        return r;
    const int trava = TravaEnvio(parar);
    if (trava < 0) {
        r.Restantes = int(ListaPendentes().size());
        return r;
    }
    // A ticket taken by a till that ended while sending it goes back in line.
    for (const QString& nome : pasta.entryList({QStringLiteral("*.tiq.*")}, QDir::Files)) {
        const pid_t dono = pid_t(nome.section(QLatin1Char('.'), -1).toLongLong());
        if (dono > 0 && ::kill(dono, 0) < 0 && errno == ESRCH)
            QFile::rename(pasta.filePath(nome), pasta.filePath(nome.section(QLatin1Char('.'), 0, -2)));
    }
    QSet<QString> falharam;
    for (const QString& nome : pasta.entryList({QStringLiteral("*.tiq")}, QDir::Files, QDir::Name)) {
        if (parar && parar()) {
            ++r.Restantes;
            continue;
        }
        // Renamed while it is sent: a till that ends meanwhile leaves a
        // mark that tells the next one to put it back in line.
        const QString original = pasta.filePath(nome);
        const QString tomado = original + QStringLiteral(".") + QString::number(::getpid());
        QFile f(original);
        QByteArray conteudo;
        if (f.open(QIODevice::ReadOnly))
            conteudo = f.readAll();
        f.close();
        TArquivoTiquete t;
        if (!Interpreta(conteudo, t)) {
            std::fprintf(stderr, "Tíquete ilegível na fila, deixado como está: %s\n", qPrintable(original));
            ++r.Restantes;
            continue;
        }
        TTentativaEnvio tentativa{conf.NomeImpressora(t.Endereco), t.Endereco, t.Pedido, false, QString(), QString()};
        if (falharam.contains(t.Endereco)) {
            tentativa.Erro = QStringLiteral("espera o tíquete anterior desta impressora");
            r.Tentativas << tentativa;
            ++r.Restantes;
            continue;
        }
        if (!QFile::rename(original, tomado)) {
            ++r.Restantes;
            continue;
        }
        const QString quem = Envia(t, conf, tentativa.Erro);
        if (!quem.isEmpty()) {
            tentativa.Enviado = true;
            if (quem != t.Endereco)
                tentativa.Reserva = conf.NomeImpressora(quem);
            tentativa.Erro.clear();
            // Gone from the spool, or marked sent: never printed twice.
            if (!QFile::remove(tomado) && !QFile::rename(tomado, original + QStringLiteral(".enviado")))
                std::fprintf(stderr, "Tíquete enviado mas não retirado da fila: %s\n", qPrintable(tomado));
            ++r.Enviados;
        } else {
            falharam.insert(t.Endereco);
            QFile::rename(tomado, original);
            ++r.Restantes;
        }
        r.Tentativas << tentativa;
    }
    SoltaEnvio(trava);
    return r;
}

int ReenviaPendentes(const TPerifericos& conf, const std::function<bool()>& parar)
{
    return EnviaPendentes(conf, parar).Restantes;
}

QList<TTiquetePendente> ListaPendentes()
{
    const QDir pasta(PastaPendentes());
    QList<TTiquetePendente> lista;
    for (const QString& nome :
         pasta.entryList({QStringLiteral("*.tiq"), QStringLiteral("*.tiq.*")}, QDir::Files, QDir::Name)) {
        if (nome.endsWith(QLatin1String(".enviado")))
            continue;
        TTiquetePendente t;
        t.Arquivo = pasta.filePath(nome);
        t.Enviando = !nome.endsWith(QLatin1String(".tiq"));
        QFile f(t.Arquivo);
        TArquivoTiquete a;
        if (f.open(QIODevice::ReadOnly) && Interpreta(f.read(64 * 1024), a, true)) {
            t.Endereco = a.Endereco;
            t.Pedido = a.Pedido;
            t.Mesa = a.Mesa;
            t.Produtos = a.Produtos;
        }
        t.Guardado = HoraArquivoTiquete(nome);
        lista << t;
    }
    return lista;
}

TRemetenteTiquetes& TRemetenteTiquetes::Instancia()
{
    static TRemetenteTiquetes remetente;
    return remetente;
}

TRemetenteTiquetes::~TRemetenteTiquetes()
{
    Encerra();
}

quint64 TRemetenteTiquetes::Acorda()
{
    const std::lock_guard l(m_trava);
    if (!m_thread.joinable()) {
        m_parar = false;
        m_thread = std::thread([this] { Trabalha(); });
    }
    m_acordar.notify_all();
    return ++m_pedidos;
}

bool TRemetenteTiquetes::Aguarda(int ms)
{
    std::unique_lock l(m_trava);
    const quint64 alvo = m_pedidos;
    return m_passou.wait_for(l, std::chrono::milliseconds(ms), [&] { return m_feitos >= alvo || !m_thread.joinable(); })
        && m_feitos >= alvo;
}

void TRemetenteTiquetes::Encerra()
{
    std::thread t;
    {
        const std::lock_guard l(m_trava);
        m_parar = true;
        m_acordar.notify_all();
        t = std::move(m_thread);
    }
    if (t.joinable())
        t.join();
    {
        // The next run tells the operator afresh.
        const std::lock_guard a(g_travaAvisos);
        g_avisadas.clear();
    }
    const std::lock_guard l(m_trava);
    m_feitos = m_pedidos;
    m_passou.notify_all();
}

void TRemetenteTiquetes::Trabalha()
{
    std::unique_lock l(m_trava);
    for (;;) {
        m_acordar.wait_for(l, kIntervaloReenvio, [this] { return m_parar || m_pedidos > m_feitos; });
        if (m_parar)
            return;
        const quint64 alvo = m_pedidos;
        l.unlock();
        const TPerifericos conf = LePerifericos();
        TResultadoEnvio r = EnviaPendentes(conf, [this] {
            const std::lock_guard p(m_trava);
            return m_parar;
        });
        r.Atende = alvo;
        QStringList avisos;
        for (const TTentativaEnvio& t : r.Tentativas) {
            QString texto;
            if (t.Enviado && !t.Reserva.isEmpty() && PrimeiraVez(QStringLiteral("reserva ") + t.Endereco))
                texto = QStringLiteral("A impressora %1 não respondeu. O tíquete de cancelamento foi impresso na "
                                       "impressora reserva %2.")
                            .arg(t.Impressora, t.Reserva);
            else if (!t.Enviado && PrimeiraVez(QStringLiteral("espera ") + t.Endereco))
                texto = QStringLiteral("A impressora %1 não respondeu (%2). O cancelamento está feito; o tíquete "
                                       "dele ficou guardado e será impresso quando a impressora voltar. Avise a "
                                       "produção.")
                            .arg(t.Impressora, t.Erro);
            if (!texto.isEmpty())
                avisos << texto;
        }
        if (!avisos.isEmpty()) {
            const QString texto = avisos.join(QLatin1Char('\n'));
            QMetaObject::invokeMethod(
                this, [texto] { Avisa(texto); }, Qt::QueuedConnection);
        }
        emit Passou(r);
        l.lock();
        m_feitos = std::max(m_feitos, alvo);
        m_passou.notify_all();
    }
}

void EncerraEnvioTiquetes()
{
    TRemetenteTiquetes::Instancia().Encerra();
}
