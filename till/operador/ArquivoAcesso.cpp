#include "ArquivoAcesso.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <termios.h>
#include <unistd.h>

#include "ArquivosDemo.h"
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

} // namespace

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
    TDataPacket p{CamposAcesso(), {}};
    for (const TUsuarioAcesso& u : m_usuarios)
        p.Rows.append(Linha(u));
    QDir().mkpath(QFileInfo(m_arquivo).absolutePath());
    WriteDataSetFile(m_arquivo, p);
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

TArquivoAcesso::TConferencia TArquivoAcesso::Confere(const QString& codigo, const QString& pin, int acesso) const
{
    const TUsuarioAcesso* u = Usuario(codigo);
    if (!u) {
        static const TPinGuardado ninguem = GuardaPin(QStringLiteral("0000"));
        ConferePin(pin, ninguem);
        return TConferencia::PinErrado;
    }
    if (!ConferePin(pin, u->Pin))
        return TConferencia::PinErrado;
    return u->PodeAutorizar(acesso) ? TConferencia::Autorizado : TConferencia::SemPermissao;
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

int DefinePinSupervisor(const QStringList& args)
{
    QString codigo, acessos, nome;
    bool errado = false;
    for (int i = 0; i < args.size() && !errado; ++i) {
        const QString& a = args.at(i);
        if (a == QLatin1String("--codes") || a == QLatin1String("--name")) {
            errado = i + 1 >= args.size();
            if (!errado)
                (a == QLatin1String("--codes") ? acessos : nome) = args.at(++i);
        } else {
            errado = a.startsWith(QLatin1String("--")) || !codigo.isEmpty();
            codigo = a;
        }
    }
    if (errado || codigo.trimmed().isEmpty()) {
        std::fputs("Uso: till --set-pin CODIGO [--codes N,M | --codes '*'] [--name NOME]\n", stderr);
        return 2;
    }
    try {
        TArquivoAcesso arquivo = TArquivoAcesso::Le();
        const QString pin = LePin("PIN: ");
        if (::isatty(STDIN_FILENO) && LePin("Repita o PIN: ") != pin)
            throw Exception(QStringLiteral("Os dois PINs digitados não são iguais."));
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
