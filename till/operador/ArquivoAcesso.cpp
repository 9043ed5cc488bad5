#include "ArquivoAcesso.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <termios.h>
#include <unistd.h>

#include "ArquivosDemo.h"
#include "Connection.h"
#include "DataSetFile.h"
#include "Exception.h"
#include "HostServices.h"

namespace {

QList<int> Colunas(const TDataPacket& p, const QString& arquivo)
{
    QList<int> colunas;
    for (const TFieldDef& campo : CamposAcesso()) {
        const int i = p.indexOf(campo.Name);
        if (i < 0)
            throw EDatabaseError(
                QStringLiteral("O arquivo de acesso '%1' não tem a coluna %2").arg(arquivo, campo.Name));
        colunas.append(i);
    }
    return colunas;
}

QVariantList Linha(const TUsuarioAcesso& u)
{
    return {u.Codigo,
            u.Nome,
            u.Acessos,
            QString::fromLatin1(u.Pin.Sal.toBase64()),
            QString::fromLatin1(u.Pin.Hash.toBase64()),
            u.Pin.Iteracoes};
}

// Wrong PINs in a row of one code, and until when (ms since the epoch, UTC)
// it is locked out.
struct TTentativas {
    int Falhas = 0;
    qint64 Ate = 0;
};
using TMapaTentativas = QHash<QString, TTentativas>;

TMapaTentativas Interpreta(const QByteArray& texto)
{
    TMapaTentativas mapa;
    for (const QByteArray& linha : texto.split('\n')) {
        const QList<QByteArray> partes = linha.split(';');
        if (partes.size() == 3 && !partes[0].isEmpty())
            mapa.insert(QString::fromUtf8(partes[0]), TTentativas{partes[1].toInt(), partes[2].toLongLong()});
    }
    return mapa;
}

// The counts file under a lock held while muda runs: two tills sharing the
// folder never lose each other's wrong PINs. Owner-only, as the access file.
// muda answers whether it changed anything. False when the file cannot be
// used (said on standard error): the PIN is still checked, without a count.
bool AlteraTentativas(const QString& arquivo, const std::function<bool(TMapaTentativas&)>& muda)
{
    const int fd = ::open(QFile::encodeName(arquivo).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        std::fprintf(stderr, "Não foi possível abrir %s: %s\n", qPrintable(arquivo), std::strerror(errno));
        return false;
    }
    while (::flock(fd, LOCK_EX) < 0 && errno == EINTR) {}
    QByteArray texto;
    char buf[4096];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) != 0;) {
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        texto.append(buf, n);
    }
    TMapaTentativas mapa = Interpreta(texto);
    bool ok = true;
    if (muda(mapa)) {
        QByteArray novo;
        for (auto it = mapa.cbegin(); it != mapa.cend(); ++it)
            novo += it.key().toUtf8() + ';' + QByteArray::number(it->Falhas) + ';' + QByteArray::number(it->Ate) + '\n';
        ok = ::ftruncate(fd, 0) == 0 && ::pwrite(fd, novo.constData(), size_t(novo.size()), 0) == novo.size()
            && ::fsync(fd) == 0;
        if (!ok)
            std::fprintf(stderr, "Não foi possível gravar %s: %s\n", qPrintable(arquivo), std::strerror(errno));
    }
    ::flock(fd, LOCK_UN);
    ::close(fd);
    return ok;
}

int Positivo(const QString& chave, int padrao)
{
    bool ok = false;
    const int v = KvpIniValue(QStringLiteral("Supervisores"), chave).trimmed().toInt(&ok);
    return ok && v > 0 ? v : padrao;
}

} // namespace

TRegrasBloqueio LeRegrasBloqueio()
{
    TRegrasBloqueio r;
    r.Falhas = Positivo(QStringLiteral("FalhasParaBloqueio"), r.Falhas);
    r.Minutos = std::min(Positivo(QStringLiteral("MinutosDeBloqueio"), r.Minutos), 24 * 60);
    return r;
}

bool CodigoUsuarioValido(const QString& codigo)
{
    static const QRegularExpression digitos(QStringLiteral("^\\d+$"));
    return codigo.size() <= CamposAcesso().first().Size && digitos.match(codigo).hasMatch();
}

bool AcessosValidos(const QString& acessos)
{
    if (acessos.trimmed() == QLatin1String("*"))
        return true;
    const QStringList codigos = acessos.split(QLatin1Char(','));
    return std::all_of(codigos.begin(), codigos.end(), [](const QString& c) {
        bool ok = false;
        return c.trimmed().toInt(&ok) >= 0 && ok;
    });
}

bool TUsuarioAcesso::PodeAutorizar(int acesso) const
{
    if (Acessos.trimmed() == QLatin1String("*"))
        return true;
    for (const QString& c : Acessos.split(QLatin1Char(','))) {
        bool ok = false;
        if (c.trimmed().toInt(&ok) == acesso && ok)
            return true;
    }
    return false;
}

QString TArquivoAcesso::Caminho()
{
    return HostFolder() + QLatin1Char('/') + kArquivoAcesso;
}

TArquivoAcesso TArquivoAcesso::Le(const QString& arquivo)
{
    TArquivoAcesso a;
    a.m_arquivo = arquivo;
    a.Regras = LeRegrasBloqueio();
    if (!QFileInfo::exists(arquivo))
        return a;
    const TDataPacket p = ReadDataSetFile(arquivo);
    const QList<int> c = Colunas(p, arquivo);
    for (const QVariantList& r : p.Rows) {
        TUsuarioAcesso u;
        u.Codigo = r.value(c[0]).toString().trimmed();
        u.Nome = r.value(c[1]).toString();
        u.Acessos = r.value(c[2]).toString();
        u.Pin.Sal = QByteArray::fromBase64(r.value(c[3]).toString().toLatin1());
        u.Pin.Hash = QByteArray::fromBase64(r.value(c[4]).toString().toLatin1());
        u.Pin.Iteracoes = r.value(c[5]).toInt();
        if (!u.Codigo.isEmpty())
            a.m_usuarios.append(u);
    }
    return a;
}

void TArquivoAcesso::Grava() const
{
    QList<QVariantList> linhas;
    for (const TUsuarioAcesso& u : m_usuarios)
        linhas.append(Linha(u));
    GravaArquivoAcesso(m_arquivo, linhas);
}

const TUsuarioAcesso* TArquivoAcesso::Usuario(const QString& codigo) const
{
    for (const TUsuarioAcesso& u : m_usuarios)
        if (u.Codigo == codigo.trimmed())
            return &u;
    return nullptr;
}

void TArquivoAcesso::DefinePin(const QString& codigo, const QString& pin, const QString& acessos, const QString& nome)
{
    if (codigo.trimmed().isEmpty())
        throw Exception(QStringLiteral("Informe o código do usuário."));
    if (!PinValido(pin))
        throw Exception(QStringLiteral("O PIN deve ter de 4 a 12 dígitos."));
    if (!acessos.isEmpty() && !AcessosValidos(acessos))
        throw Exception(
            QStringLiteral("Códigos de acesso inválidos: \"%1\" (use por exemplo 31,32 ou *).").arg(acessos));
    auto u = std::find_if(m_usuarios.begin(), m_usuarios.end(),
                          [&](const TUsuarioAcesso& x) { return x.Codigo == codigo.trimmed(); });
    if (u == m_usuarios.end()) {
        if (acessos.isEmpty())
            throw Exception(
                QStringLiteral("O usuário %1 é novo: informe os códigos de acesso que ele autoriza (--codes).")
                    .arg(codigo.trimmed()));
        m_usuarios.append(TUsuarioAcesso{codigo.trimmed(), QString(), QString(), {}});
        u = m_usuarios.end() - 1;
    }
    if (!acessos.isEmpty())
        u->Acessos = acessos.trimmed();
    if (!nome.isEmpty())
        u->Nome = nome;
    u->Pin = GuardaPin(pin);
}

QString TArquivoAcesso::ArquivoTentativas() const
{
    return QFileInfo(m_arquivo).absolutePath() + QStringLiteral("/TentativasPin.txt");
}

qint64 TArquivoAcesso::SegundosBloqueado(const QString& codigo, const QDateTime& agora) const
{
    QFile f(ArquivoTentativas());
    if (!f.open(QIODevice::ReadOnly))
        return 0;
    const qint64 ate = Interpreta(f.readAll()).value(codigo.trimmed()).Ate;
    const qint64 resta = ate - agora.toMSecsSinceEpoch();
    return resta > 0 ? (resta + 999) / 1000 : 0;
}

TArquivoAcesso::TConferencia TArquivoAcesso::Confere(const QString& codigo, const QString& pin, int acesso,
                                                     const QDateTime& agora) const
{
    const QString c = codigo.trimmed();
    if (SegundosBloqueado(c, agora) > 0)
        return TConferencia::Bloqueado;
    const TUsuarioAcesso* u = Usuario(c);
    bool certo = false;
    if (!u) {
        static const TPinGuardado ninguem = GuardaPin(QStringLiteral("0000"));
        ConferePin(pin, ninguem);
    } else {
        certo = ConferePin(pin, u->Pin);
    }
    // Codes nobody could type (not digits) cannot be locked out, nor fill the file.
    if (!CodigoUsuarioValido(c) || !QFileInfo(ArquivoTentativas()).absoluteDir().exists())
        return !certo                  ? TConferencia::PinErrado
            : u->PodeAutorizar(acesso) ? TConferencia::Autorizado
                                       : TConferencia::SemPermissao;
    if (certo) {
        AlteraTentativas(ArquivoTentativas(), [&](TMapaTentativas& m) { return m.remove(c) > 0; });
        return u->PodeAutorizar(acesso) ? TConferencia::Autorizado : TConferencia::SemPermissao;
    }
    int falhas = 0;
    qint64 segundos = 0;
    AlteraTentativas(ArquivoTentativas(), [&](TMapaTentativas& m) {
        TTentativas& t = m[c];
        falhas = ++t.Falhas;
        if (falhas >= Regras.Falhas) {
            // Doubling from the first lock-out on, up to a day.
            const qint64 minutos = std::min<qint64>(qint64(Regras.Minutos) << std::min(falhas - Regras.Falhas, 16),
                                                    24 * 60);
            segundos = minutos * 60;
            t.Ate = agora.toMSecsSinceEpoch() + segundos * 1000;
        }
        return true;
    });
    if (segundos > 0 && AoBloquear)
        AoBloquear(c, falhas, segundos);
    return TConferencia::PinErrado;
}

namespace {

// One line of standard input, not echoed when it is a terminal.
QString LePin(const char* pergunta)
{
    const bool terminal = ::isatty(STDIN_FILENO);
    termios antes{};
    if (terminal) {
        std::fputs(pergunta, stderr);
        std::fflush(stderr);
        ::tcgetattr(STDIN_FILENO, &antes);
        termios sem = antes;
        sem.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        ::tcsetattr(STDIN_FILENO, TCSANOW, &sem);
    }
    char linha[256] = {};
    const bool lida = std::fgets(linha, sizeof linha, stdin) != nullptr;
    if (terminal) {
        ::tcsetattr(STDIN_FILENO, TCSANOW, &antes);
        std::fputs("\n", stderr);
    }
    return lida ? QString::fromUtf8(linha).trimmed() : QString();
}

} // namespace

namespace {

int RecusaPin(const QString& motivo)
{
    std::fprintf(stderr, "Erro: %s\nUso: till --set-pin CODIGO [--codes N,M | --codes '*'] [--name NOME]\n",
                 qPrintable(motivo));
    return 2;
}

// A long value is shown by its start only.
QString Trecho(const QString& texto)
{
    return texto.size() > 24 ? texto.left(24) + QStringLiteral("...") : texto;
}

} // namespace

int DefinePinSupervisor(const QStringList& args)
{
    QString codigo, acessos, nome;
    bool temCodigo = false, temAcessos = false, temNome = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--codes") || a == QLatin1String("--name")) {
            bool& tem = a == QLatin1String("--codes") ? temAcessos : temNome;
            if (tem)
                return RecusaPin(QStringLiteral("a opção %1 foi dada duas vezes.").arg(a));
            if (i + 1 >= args.size() || args.at(i + 1).trimmed().isEmpty())
                return RecusaPin(QStringLiteral("falta o valor depois de %1.").arg(a));
            tem = true;
            (a == QLatin1String("--codes") ? acessos : nome) = args.at(++i);
        } else if (a.startsWith(QLatin1String("--"))) {
            return RecusaPin(QStringLiteral("opção desconhecida: %1").arg(Trecho(a)));
        } else if (temCodigo) {
            return RecusaPin(
                QStringLiteral("mais de um código de usuário: \"%1\" e \"%2\".").arg(Trecho(codigo), Trecho(a)));
        } else {
            temCodigo = true;
            codigo = a;
        }
    }
    if (!temCodigo)
        return RecusaPin(QStringLiteral("informe o código do usuário."));
    const int largura = CamposAcesso().first().Size;
    if (!CodigoUsuarioValido(codigo))
        return RecusaPin(QStringLiteral("código de usuário inválido: \"%1\" (só dígitos, no máximo %2).")
                             .arg(Trecho(codigo))
                             .arg(largura));
    if (temAcessos && !AcessosValidos(acessos))
        return RecusaPin(
            QStringLiteral("códigos de acesso inválidos: \"%1\" (use por exemplo 31,32 ou *).").arg(Trecho(acessos)));
    const int larguraNome = CamposAcesso().at(1).Size;
    if (temNome && nome.size() > larguraNome)
        return RecusaPin(QStringLiteral("o nome tem mais de %1 caracteres.").arg(larguraNome));
    try {
        TArquivoAcesso arquivo = TArquivoAcesso::Le();
        if (!arquivo.Usuario(codigo) && !temAcessos)
            return RecusaPin(QStringLiteral("o usuário %1 é novo: informe os códigos de acesso que ele autoriza "
                                            "(--codes).")
                                 .arg(codigo));
        const QString pin = LePin("PIN: ");
        if (!PinValido(pin))
            return RecusaPin(QStringLiteral("o PIN deve ter de 4 a 12 dígitos (6 ou mais onde se quer mais "
                                            "segurança)."));
        if (::isatty(STDIN_FILENO) && LePin("Repita o PIN: ") != pin)
            return RecusaPin(QStringLiteral("os dois PINs digitados não são iguais."));
        arquivo.DefinePin(codigo, pin, acessos, nome);
        arquivo.Grava();
        const TUsuarioAcesso* u = arquivo.Usuario(codigo);
        std::printf("PIN de %s gravado em %s (autoriza: %s)\n", qPrintable(u->Codigo), qPrintable(arquivo.Arquivo()),
                    qPrintable(u->Acessos));
        return 0;
    } catch (const Exception& e) {
        std::fprintf(stderr, "Erro: %s\n", e.what());
        return 1;
    }
}
