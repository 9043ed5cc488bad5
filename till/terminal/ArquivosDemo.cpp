#include "ArquivosDemo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "ClientDataSet.h"
#include "DataSetFile.h"
#include "Exception.h"
#include "FieldDefs.h"

const QString kArquivoParametros = QStringLiteral("PARAMETROSQRV.CDS");
const QString kArquivoOperador = QStringLiteral("Dados/Cadastros/ControleAcess.cds");
const QString kArquivoAcesso = QStringLiteral("Dados/Cadastros/Supervisores.cds");

namespace {

TColunaTerminal Coluna(const char* nome, TFieldType tipo, const QVariant& valor)
{
    return {FieldOf(QLatin1String(nome), tipo, tipo == TFieldType::ftString ? 40 : 0), valor};
}

const auto S = TFieldType::ftString;
const auto I = TFieldType::ftInteger;
const auto B = TFieldType::ftBoolean;

// An existing file is the installer's (its supervisors and PINs above all):
// kept unless overwrite.
void GravaDemo(const QString& fileName, bool overwrite, const std::function<void(const QString&)>& grava)
{
    if (QFileInfo::exists(fileName) && !overwrite) {
        std::printf("Mantido: %s\n", qPrintable(fileName));
        return;
    }
    grava(fileName);
    std::printf("Gravado: %s\n", qPrintable(fileName));
}

} // namespace

TArquivoTerminal ParametrosDemo()
{
    // Branch, store and till of the demo database; the fiscal menu on, so F1 shows it.
    return {
        Coluna("INCOR1", I, 0),
        Coluna("INCOR2", I, 0),
        Coluna("INCOR3", I, 0),
        Coluna("INCOR5", I, 0),
        Coluna("IDESQUEMA", S, QStringLiteral("002")),
        Coluna("CDFILIAL", S, QStringLiteral("0001")),
        Coluna("IDSOLOBSCAN", S, QStringLiteral("S")),
        Coluna("CDLOJA", S, QStringLiteral("01")),
        Coluna("CDCAIXA", S, QStringLiteral("001")),
        Coluna("DISPLAYOK", B, true),
        Coluna("IDTIPOIMPNF1", S, QStringLiteral("TXT")),
        Coluna("CDPORTIMPNF1", S, QStringLiteral("ARQUIVO")),
        Coluna("IDTIPOIMPNF5", S, QStringLiteral("TXT")),
        Coluna("CDPORTAIMPNF5", S, QStringLiteral("ARQUIVO")),
        Coluna("CTCANCULTITEM", I, 31),
        Coluna("CTCANCITEMGEN", I, 32),
        // The cover and consumption products kvp-dbinit --demo announces,
        // hidden from the list as at a real till.
        Coluna("CDPRODCONSUM", S, QStringLiteral("9003")),
        Coluna("CDPRODCONSUF", S, QStringLiteral("9003")),
        Coluna("CDPRODCOUVER", S, QStringLiteral("9002")),
        Coluna("UTILIZAIMPFIS", B, true),
        // Both stand-in printers are the till's own (the demo database's "04"),
        // so that a product without a printer of its own still gets an address.
        Coluna("NRSEQIMPRLOJA1", S, QStringLiteral("04")),
        Coluna("NRSEQIMPRLOJA2", S, QStringLiteral("04")),
        Coluna("CDPORTIMPNF3", S, QStringLiteral("ARQUIVO")),
        Coluna("IDTIPOIMPNF3", S, QStringLiteral("TXT")),
        Coluna("IDIMPCANSATNFCE", S, QStringLiteral("N")),
    };
}

QList<TFieldDef> CamposAcesso()
{
    const auto campo = [](const char* nome, TFieldType tipo, int tamanho) {
        return FieldOf(QLatin1String(nome), tipo, tamanho);
    };
    return {campo("CDOPERADOR", S, 12), campo("NMOPERADOR", S, 40), campo("CDACESSOS", S, 200),
            campo("SALPIN", S, 64),     campo("HASHPIN", S, 64),    campo("ITERPIN", I, 0)};
}

QVariantList SupervisorDemo()
{
    // Made once with till --set-pin 0099 --codes '*': the salt is that run's,
    // so every demo till shares it; a real till sets its own PINs.
    return {QStringLiteral("0099"),
            QStringLiteral("Supervisora de Demonstração"),
            QStringLiteral("*"),
            QStringLiteral("itJjdvDe9ALR/IW1Ei1OgA=="),
            QStringLiteral("/e+jgPp0Snc3kJNA7cfBTVMtrd4kuNb9QsRbdtBfxmE="),
            100000};
}

TArquivoTerminal OperadorDemo()
{
    return {
        Coluna("CDOPERADOR", S, QStringLiteral("0003")),
        Coluna("NMOPERADOR", S, QStringLiteral("Operador de Demonstração")),
    };
}

void GravaArquivoTerminal(const QString& fileName, const TArquivoTerminal& colunas)
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    TClientDataSet ds;
    for (const TColunaTerminal& c : colunas)
        ds.FieldDefs().append(c.Def);
    ds.CreateDataSet();
    ds.Append();
    for (const TColunaTerminal& c : colunas)
        ds.FieldByName(c.Def.Name)->SetValue(c.Valor);
    ds.Post();
    ds.SaveToFile(fileName);
}

void GravaArquivoAcesso(const QString& fileName, const QList<QVariantList>& usuarios)
{
    const QByteArray xml = DataSetXml(TDataPacket{CamposAcesso(), usuarios});
    const QString pasta = QFileInfo(fileName).absolutePath();
    const auto falha = [&](const QString& motivo) {
        return EDatabaseError(
            QStringLiteral("Não é possível gravar o arquivo de dados '%1': %2").arg(fileName, motivo));
    };
    if (!QDir().mkpath(pasta))
        throw falha(QStringLiteral("a pasta %1 não pôde ser criada").arg(pasta));
    // A folder another user owns is left as it is; the file is still the till's alone.
    ::chmod(QFile::encodeName(pasta).constData(), 0700);
    // mkstemp creates the file 0600 whatever the umask, so the digests are
    // never readable by others, not even while being written.
    QByteArray provisorio = QFile::encodeName(fileName + QStringLiteral(".XXXXXX"));
    const int fd = ::mkostemp(provisorio.data(), O_CLOEXEC);
    if (fd < 0)
        throw falha(QString::fromLocal8Bit(std::strerror(errno)));
    qsizetype feito = 0;
    bool ok = ::fchmod(fd, 0600) == 0;
    while (ok && feito < xml.size()) {
        const ssize_t n = ::write(fd, xml.constData() + feito, size_t(xml.size() - feito));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        feito += ok ? n : 0;
    }
    ok = ok && ::fsync(fd) == 0;
    const int erro = errno;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(provisorio.constData(), QFile::encodeName(fileName).constData()) == 0;
    if (!ok) {
        ::unlink(provisorio.constData());
        throw falha(QString::fromLocal8Bit(std::strerror(erro ? erro : errno)));
    }
}

QVariantMap LeArquivoTerminal(const QString& fileName)
{
    const TDataPacket p = ReadDataSetFile(fileName);
    QVariantMap valores;
    if (p.Rows.isEmpty())
        return valores;
    for (int i = 0; i < p.FieldDefs.size(); ++i)
        valores.insert(p.FieldDefs.at(i).Name, p.Rows.first().value(i));
    return valores;
}

void GravaArquivosDemo(const QString& folder, bool overwrite)
{
    const QString pasta = folder + QLatin1Char('/');
    GravaDemo(pasta + kArquivoParametros, overwrite,
              [](const QString& f) { GravaArquivoTerminal(f, ParametrosDemo()); });
    GravaDemo(pasta + kArquivoOperador, overwrite, [](const QString& f) { GravaArquivoTerminal(f, OperadorDemo()); });
    GravaDemo(pasta + kArquivoAcesso, overwrite, [](const QString& f) { GravaArquivoAcesso(f, {SupervisorDemo()}); });
}
