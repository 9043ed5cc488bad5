#pragma once
// Shared by the screen's start-up, item list, marking and painting tests: a
// look at the window's private state, item rows as the server sends them, and
// a database fixture with the terminal's files in a host folder of its own.
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

#include "BlendedBitBtn.h"
#include "Cli_kvp00917.h"
#include "DadosComanda.h"
#include "DbFixture.h"
#include "FakeHost.h"
#include "FrmCancelaProd.h"
#include "HostServices.h"

struct FrmCancelaProdListProbe {
    // The parameters by the column they come from, and the other members by name
    // (the window's command holds all but the list's filter state).
    static QVariantMap Membros(const TfrmCancelaProd& f)
    {
        const TComandoCancelamento& c = f.m_comando;
        return {{"INCOR1", c.inCor1},
                {"INCOR2", c.inCor2},
                {"INCOR3", c.inCor3},
                {"INCOR5", c.inCor5},
                {"IDESQUEMA", c.stIdEsquema},
                {"CDFILIAL", c.stCdFilial},
                {"IDSOLOBSCAN", c.stIdSolObsCan},
                {"CDLOJA", c.stCdLoja},
                {"CDCAIXA", c.stCdCaixa},
                {"DISPLAYOK", c.boDisplayOk},
                {"IDTIPOIMPNF1", c.stIdTipoImpNf1},
                {"CDPORTIMPNF1", c.stCdPortImpNf1},
                {"IDTIPOIMPNF5", c.stIdTipoImpNf5},
                {"CDPORTAIMPNF5", c.stCdPortaImpNf5},
                {"CTCANCULTITEM", c.inCtCancUltItem},
                {"CTCANCITEMGEN", c.inCtCancItemGen},
                {"CDPRODCONSUM", c.stCdProdConsum},
                {"CDPRODCONSUF", c.stCdProdConsuf},
                {"CDPRODCOUVER", c.stCdProdCouver},
                {"UTILIZAIMPFIS", c.boUtilizaImpFis},
                {"NRSEQIMPRLOJA1", c.stNrSeqImprLoja1},
                {"NRSEQIMPRLOJA2", c.stNrSeqImprLoja2},
                {"CDPORTIMPNF3", c.stCdPortImpNf3},
                {"IDTIPOIMPNF3", c.stIdTipoImpNf3},
                {"IDIMPCANSATNFCE", c.stIdImpCanSatNfce},
                {"stIdEsquema2", c.stIdEsquema2},
                {"stCdOperador", c.stCdOperador},
                {"stNmOperador", c.stNmOperador},
                {"stImpCancInteg", c.stImpCancInteg},
                {"stNrComanda", c.stNrComanda},
                {"stDsComanda", c.stDsComanda},
                {"stModo", c.stModo},
                {"stNrMesa", c.stNrMesa},
                {"boExibeCanc", f.boExibeCanc},
                {"inQtdMarcados", c.inQtdMarcados}};
    }
    static int QtdMarcados(const TfrmCancelaProd& f) { return f.m_comando.inQtdMarcados; }
    // Loads rows as a load of the list does (marks and their count start over).
    static void Carrega(TfrmCancelaProd& f, const TDataPacket& packet)
    {
        TComandoCancelamento::CarregaPacoteItens(f.cdsProduto, ToVariant(packet));
        f.m_comando.inQtdMarcados = 0;
    }
    static QList<TFieldDef> CamposItem() { return TComandoCancelamento::CamposItem(); }
};

// One item row: number, parent, comanda, state, mark. Every other column
// gets a plain value; the mark comes first, as in the server's tab list.
inline TDataPacket PacoteItens(const QList<QStringList>& linhas)
{
    TDataPacket p;
    p.FieldDefs = FrmCancelaProdListProbe::CamposItem();
    p.FieldDefs.move(p.FieldDefs.indexOf(TFieldDef{QStringLiteral("IDCHECK"), TFieldType::ftString, 1}), 0);
    for (const QStringList& l : linhas) {
        const QMap<QString, QVariant> v{{"NRPRODCOMVEN", l.value(0)},
                                        {"NRSEQPRODPAI", l.value(1)},
                                        {"NRCOMANDA", l.value(2, QStringLiteral("0000000100"))},
                                        {"IDSTPRCOMVEN", l.value(3, QStringLiteral("1"))},
                                        {"IDCHECK", l.value(4, QStringLiteral("U"))},
                                        {"NMPRODUTO", QStringLiteral("Filé à parmegiana ") + l.value(0)},
                                        {"DTHRINCOMVEN", QDateTime(QDate(2024, 5, 1), QTime(19, 40, 5))},
                                        {"CDVENDEDOR", QStringLiteral("0007")},
                                        {"NRLUGARMESA", QStringLiteral("01")}};
        QVariantList row;
        for (const TFieldDef& def : p.FieldDefs)
            row << v.value(def.Name, def.DataType == TFieldType::ftFloat ? QVariant(1.0) : QVariant(QString()));
        p.Rows << row;
    }
    return p;
}

// Every visible row as comanda (last digit), item number and mark: "0:000001C".
inline QStringList Marcas(TClientDataSet& ds)
{
    QStringList out;
    const int rec = ds.RecNo();
    for (ds.First(); !ds.Eof(); ds.Next())
        out << ds.FieldByName(QStringLiteral("NRCOMANDA"))->AsString().right(1) + QLatin1Char(':')
                + ds.FieldByName(QStringLiteral("NRPRODCOMVEN"))->AsString()
                + ds.FieldByName(QStringLiteral("IDCHECK"))->AsString();
    if (rec > 0)
        ds.SetRecNo(rec);
    return out;
}

inline QString ItemAtual(TClientDataSet& ds)
{
    return ds.FieldByName(QStringLiteral("NRPRODCOMVEN"))->AsString();
}

using Colunas = QList<QPair<TFieldDef, QVariant>>;

// The terminal's parameters file, a distinct value in every column.
inline Colunas ParametrosPadrao()
{
    Colunas c;
    for (const char* n : {"INCOR1", "INCOR2", "INCOR3", "INCOR5", "CTCANCULTITEM", "CTCANCITEMGEN"})
        c << qMakePair(TFieldDef{QLatin1String(n), TFieldType::ftInteger}, QVariant(900 + c.size()));
    for (const char* n : {"DISPLAYOK", "UTILIZAIMPFIS"})
        c << qMakePair(TFieldDef{QLatin1String(n), TFieldType::ftBoolean}, QVariant(true));
    for (const char* n : {"IDSOLOBSCAN", "IDTIPOIMPNF1", "CDPORTIMPNF1", "IDTIPOIMPNF5", "CDPORTAIMPNF5",
                          "CDPRODCONSUM", "CDPRODCONSUF", "CDPRODCOUVER", "NRSEQIMPRLOJA1", "NRSEQIMPRLOJA2",
                          "CDPORTIMPNF3", "IDTIPOIMPNF3", "IDIMPCANSATNFCE", "IDESQUEMA"})
        c << qMakePair(TFieldDef{QLatin1String(n), TFieldType::ftString, 20},
                       QVariant(QLatin1String(n).left(4) + QString::number(c.size())));
    c << qMakePair(TFieldDef{QStringLiteral("CDFILIAL"), TFieldType::ftString, 4}, QVariant(od::kFilial))
      << qMakePair(TFieldDef{QStringLiteral("CDLOJA"), TFieldType::ftString, 4}, QVariant(od::kLoja))
      << qMakePair(TFieldDef{QStringLiteral("CDCAIXA"), TFieldType::ftString, 4}, QVariant(od::kCaixa));
    return c;
}

inline QVariant Parametro(const char* coluna)
{
    for (const auto& c : ParametrosPadrao())
        if (c.first.Name == QLatin1String(coluna))
            return c.second;
    return {};
}

inline void GravaArquivo(const QString& fileName, Colunas colunas, const QString& semColuna = {})
{
    QDir().mkpath(QFileInfo(fileName).absolutePath());
    colunas.removeIf([&](const auto& c) { return c.first.Name == semColuna; });
    TClientDataSet ds;
    for (const auto& c : colunas)
        ds.FieldDefs() << c.first;
    ds.CreateDataSet();
    ds.Append();
    for (const auto& c : colunas)
        ds.FieldByName(c.first.Name)->SetValue(c.second);
    ds.Post();
    ds.SaveToFile(fileName);
}

// A database with the schema and the module connected, the host's fakes, and
// a host folder of the test's own for the terminal's files.
class TelaDbTest : public DbEngineTest {
protected:
    void SetUp() override
    {
        DbEngineTest::SetUp();
        if (IsSkipped())
            return;
        ASSERT_TRUE(m_host.isValid());
        SetHostFolderOverride(m_host.path());
        fake = std::make_unique<FakeHost>();
    }

    void TearDown() override
    {
        tela.reset();
        Cli_kvp00917::boCancelTodos = false;
        fake.reset();
        SetHostFolderOverride(QString());
        DbEngineTest::TearDown();
    }

    // The default parameters, some of them with other values.
    void GravaParametros(const QString& semColuna = {}, const QVariantMap& valores = {})
    {
        Colunas colunas = ParametrosPadrao();
        for (auto& [def, valor] : colunas)
            valor = valores.value(def.Name, valor);
        GravaArquivo(m_host.path() + QStringLiteral("/PARAMETROSQRV.CDS"), colunas, semColuna);
    }

    void GravaOperador(const QString& semColuna = {})
    {
        GravaArquivo(m_host.path() + QStringLiteral("/Dados/Cadastros/ControleAcess.cds"),
                     {{TFieldDef{QStringLiteral("CDOPERADOR"), TFieldType::ftString, 10}, QStringLiteral("0042")},
                      {TFieldDef{QStringLiteral("NMOPERADOR"), TFieldType::ftString, 40},
                       QStringLiteral("João Conceição")}},
                     semColuna);
    }

    DadosComanda Dados()
    {
        return DadosComanda([this](const QString& sql, const QVariantList& b) { exec(sql, b); });
    }

    // A window initialised as the entry does it, kept in `tela`.
    TfrmCancelaProd& Abre(const QString& nrComanda, const QString& modo, const QString& nrMesa = {})
    {
        tela = std::make_unique<TfrmCancelaProd>();
        tela->InicializaForm(nrComanda, QStringLiteral("CMD_0100"), modo, nrMesa);
        return *tela;
    }

    std::unique_ptr<FakeHost> fake;
    std::unique_ptr<TfrmCancelaProd> tela;

private:
    QTemporaryDir m_host;
};
