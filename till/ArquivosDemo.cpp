#include "ArquivosDemo.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "ClientDataSet.h"

const QString kArquivoParametros = QStringLiteral("PARAMETROSQRV.CDS");
const QString kArquivoOperador = QStringLiteral("Dados/Cadastros/ControleAcess.cds");

namespace {

TColunaTerminal Coluna(const char* nome, TFieldType tipo, const QVariant& valor)
{
    TFieldDef def;
    def.Name = QLatin1String(nome);
    def.DataType = tipo;
    def.Size = tipo == TFieldType::ftString ? 40 : 0;
    return {def, valor};
}

const auto S = TFieldType::ftString;
const auto I = TFieldType::ftInteger;
const auto B = TFieldType::ftBoolean;

void GravaDemo(const QString& fileName, const TArquivoTerminal& colunas, bool overwrite)
{
    if (QFileInfo::exists(fileName) && !overwrite) {
        std::printf("Mantido: %s\n", qPrintable(fileName));
        return;
    }
    GravaArquivoTerminal(fileName, colunas);
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

void GravaArquivosDemo(const QString& folder, bool overwrite)
{
    GravaDemo(folder + QLatin1Char('/') + kArquivoParametros, ParametrosDemo(), overwrite);
    GravaDemo(folder + QLatin1Char('/') + kArquivoOperador, OperadorDemo(), overwrite);
}
