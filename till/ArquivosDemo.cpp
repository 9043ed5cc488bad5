#include "ArquivosDemo.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "ClientDataSet.h"

namespace {

struct Coluna {
    const char* Nome;
    TFieldType Tipo;
    QVariant Valor;
};

TFieldDef Def(const Coluna& c)
{
    TFieldDef def;
    def.Name = QLatin1String(c.Nome);
    def.DataType = c.Tipo;
    def.Size = c.Tipo == TFieldType::ftString ? 40 : 0;
    return def;
}

void Grava(const QString& fileName, const QList<Coluna>& colunas, bool overwrite)
{
    if (QFileInfo::exists(fileName) && !overwrite) {
        std::printf("Mantido: %s\n", qPrintable(fileName));
        return;
    }
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    TClientDataSet ds;
    for (const Coluna& c : colunas)
        ds.FieldDefs().append(Def(c));
    ds.CreateDataSet();
    ds.Append();
    for (const Coluna& c : colunas)
        ds.FieldByName(QLatin1String(c.Nome))->SetValue(c.Valor);
    ds.Post();
    ds.SaveToFile(fileName);
    std::printf("Gravado: %s\n", qPrintable(fileName));
}

const auto S = TFieldType::ftString;
const auto I = TFieldType::ftInteger;
const auto B = TFieldType::ftBoolean;

} // namespace

void GravaArquivosDemo(const QString& folder, bool overwrite)
{
    // Branch, store and till of the demo database; the fiscal menu on, so F1 shows it.
    Grava(folder + QStringLiteral("/PARAMETROSQRV.CDS"),
          {
              {"INCOR1", I, 0},
              {"INCOR2", I, 0},
              {"INCOR3", I, 0},
              {"INCOR5", I, 0},
              {"IDESQUEMA", S, QStringLiteral("002")},
              {"CDFILIAL", S, QStringLiteral("0001")},
              {"IDSOLOBSCAN", S, QStringLiteral("S")},
              {"CDLOJA", S, QStringLiteral("01")},
              {"CDCAIXA", S, QStringLiteral("001")},
              {"DISPLAYOK", B, true},
              {"IDTIPOIMPNF1", S, QStringLiteral("TXT")},
              {"CDPORTIMPNF1", S, QStringLiteral("ARQUIVO")},
              {"IDTIPOIMPNF5", S, QStringLiteral("TXT")},
              {"CDPORTAIMPNF5", S, QStringLiteral("ARQUIVO")},
              {"CTCANCULTITEM", I, 31},
              {"CTCANCITEMGEN", I, 32},
              // The cover and consumption products kvp-dbinit --demo announces,
              // hidden from the list as at a real till.
              {"CDPRODCONSUM", S, QStringLiteral("9003")},
              {"CDPRODCONSUF", S, QStringLiteral("9003")},
              {"CDPRODCOUVER", S, QStringLiteral("9002")},
              {"UTILIZAIMPFIS", B, true},
              {"NRSEQIMPRLOJA1", S, QStringLiteral("1")},
              {"NRSEQIMPRLOJA2", S, QStringLiteral("2")},
              {"CDPORTIMPNF3", S, QStringLiteral("ARQUIVO")},
              {"IDTIPOIMPNF3", S, QStringLiteral("TXT")},
              {"IDIMPCANSATNFCE", S, QStringLiteral("N")},
          },
          overwrite);
    Grava(folder + QStringLiteral("/Dados/Cadastros/ControleAcess.cds"),
          {
              {"CDOPERADOR", S, QStringLiteral("0003")},
              {"NMOPERADOR", S, QStringLiteral("Operador de Demonstração")},
          },
          overwrite);
}
