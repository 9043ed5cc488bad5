// The till's list of open orders on a known database, once per engine: which
// orders it shows, of what kind, with the tables joined and the items and
// value still standing; the call each order makes; failures told without
// ending the till; and its formats following the terminal's locale, also on a
// machine whose own locale is C.
#include <QCoreApplication>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QTableView>

#include "ArquivosDemo.h"
#include "DadosComanda.h"
#include "DbFixture.h"
#include "JanelaCenario.h"
#include "JanelaPedidos.h"
#include "LocaleTerminal.h"
#include "ModeloPedidos.h"
#include "PedidosAbertos.h"
#include "SaidasTillSupport.h"

namespace {

using namespace od;

// Row by row as the list shows it: kind|tab|label|table|joined|opened|items|total.
QStringList Linhas(const TModeloPedidos& modelo)
{
    QStringList out;
    for (int r = 0; r < modelo.rowCount(); ++r) {
        QStringList campos;
        for (int c = 0; c < modelo.columnCount(); ++c)
            campos << modelo.index(r, c).data().toString();
        out << campos.join(QLatin1Char('|'));
    }
    return out;
}

class PedidosTill : public ComPastaTill<DbEngineTest> {
protected:
    void TearDown() override
    {
        QLocale::setDefault(QLocale::system());
        ComPastaTill<DbEngineTest>::TearDown();
    }

    // Tables 9, 10 (two tabs) and 11 joined with 10, a tab, a tab with every
    // item cancelled, a delivery; and what must stay out: a closed sale, a
    // closed tab, another branch.
    void Arruma()
    {
        DadosComanda d([this](const QString& sql, const QVariantList& b) { exec(sql, b); });
        d.Produto({});
        const auto venda = [&](const char* nr, const char* mesa, QVariant fechada = {},
                               const QString& filial = kFilial) {
            d.Venda({.CDFILIAL = filial,
                     .NRVENDAREST = QLatin1String(nr),
                     .NRMESA = QLatin1String(mesa),
                     .DTHRFECHMESA = fechada});
        };
        const auto comanda = [&](const char* nrVenda, const char* nr, const char* ds, const char* estado = "1",
                                 const QString& filial = kFilial) {
            d.Comanda({.CDFILIAL = filial,
                       .NRCOMANDA = QLatin1String(nr),
                       .NRVENDAREST = QLatin1String(nrVenda),
                       .DSCOMANDA = QLatin1String(ds),
                       .IDSTCOMANDA = QLatin1String(estado)});
        };
        const auto item = [&](const char* nrVenda, const char* nrComanda, const char* nr, double qt, double preco,
                              const char* estado = "1", double desc = 0, double acr = 0,
                              const QString& filial = kFilial) {
            d.Item({.CDFILIAL = filial,
                    .NRVENDAREST = QLatin1String(nrVenda),
                    .NRCOMANDA = QLatin1String(nrComanda),
                    .NRPRODCOMVEN = QLatin1String(nr),
                    .QTPRODCOMVEN = qt,
                    .VRPRECCOMVEN = preco,
                    .VRDESCCOMVEN = desc,
                    .VRACRCOMVEN = acr,
                    .IDSTPRCOMVEN = QLatin1String(estado)});
        };
        venda("V10", "10");
        comanda("V10", "1010", "RES_10");
        item("V10", "1010", "000001", 2, 10.00);
        item("V10", "1010", "000002", 0.5, 9.00, "2", 0.5, 1.0);
        item("V10", "1010", "000003", 3, 7.00, "6");
        comanda("V10", "1011", "RES_10B");
        item("V10", "1011", "000001", 1, 8.00, "3");
        venda("V11", "11");
        comanda("V11", "1110", "RES_11");
        item("V11", "1110", "000001", 1, 24.00);
        d.Juncao("1", {"10", "11"});
        venda("V09", "9");
        comanda("V09", "0910", "PKR_9");
        item("V09", "0910", "000001", 1, 5.00);
        venda("V20", "");
        comanda("V20", "0501", "CMD_0501");
        item("V20", "0501", "000001", 1, 13.90);
        item("V20", "0501", "000002", 1, 7.50, "6");
        comanda("V20", "0600", "CMD_0600");
        item("V20", "0600", "000001", 1, 7.50, "6");
        comanda("V20", "0777", "CMD_0777", "4");
        item("V20", "0777", "000001", 1, 7.50);
        venda("V30", "");
        comanda("V30", "9001", "DLV_9001");
        item("V30", "9001", "000001", 1, 64.50);
        item("V30", "9001", "000002", 2, 7.50, "1", 1.0);
        venda("V40", "5", kAbertura.addSecs(3600));
        comanda("V40", "0590", "RES_05");
        item("V40", "0590", "000001", 1, 58.90);
        venda("V50", "10", {}, QStringLiteral("0002"));
        comanda("V50", "2010", "RES_10", "1", QStringLiteral("0002"));
        item("V50", "2010", "000001", 1, 1.00, "1", 0, 0, QStringLiteral("0002"));
    }
};

TEST_P(PedidosTill, ListaMesasJuntadasComandasEEntregasComItensETotalNaoCancelados)
{
    Arruma();
    AplicaLocaleTerminal();
    TBancoTill banco;
    TModeloPedidos modelo;
    modelo.SetPedidos(banco.Pedidos(kFilial));

    const QString aberta = QStringLiteral("01/05/2024 19:30");
    const QStringList esperadas{
        "Mesa|0910|PKR_9|9||" + aberta + "|1|5,00",       "Mesa|1010|RES_10|10|11|" + aberta + "|2|25,00",
        "Mesa|1011|RES_10B|10|11|" + aberta + "|1|8,00",  "Mesa|1110|RES_11|11|10|" + aberta + "|1|24,00",
        "Comanda|0501|CMD_0501|||" + aberta + "|1|13,90", "Comanda|0600|CMD_0600|||" + aberta + "|0|0,00",
        "Entrega|9001|DLV_9001|||" + aberta + "|2|78,50",
    };
    EXPECT_EQ(Linhas(modelo), esperadas);

    // Every branch when the terminal names none.
    const QList<TPedidoAberto> todos = banco.Pedidos(QString());
    EXPECT_EQ(todos.size(), esperadas.size() + 1);
    EXPECT_TRUE(std::any_of(todos.begin(), todos.end(), [](const TPedidoAberto& p) { return p.NrComanda == "2010"; }));
}

TEST_P(PedidosTill, CadaTipoChamaOPacoteComOsSeusQuatroArgumentos)
{
    Arruma();
    TBancoTill banco;
    const QList<TPedidoAberto> pedidos = banco.Pedidos(kFilial);
    const auto argumentos = [&](const char* comanda, bool tudo = false) {
        for (const TPedidoAberto& p : pedidos)
            if (p.NrComanda == QLatin1String(comanda)) {
                const TArgumentosChamada a = ArgumentosChamada(p, tudo);
                return QStringList{a.NrComanda, a.DsComanda, a.Modo, a.NrMesa}.join(QLatin1Char('|'));
            }
        return QStringLiteral("não listado");
    };
    EXPECT_EQ(argumentos("1011"), "1011|RES_10B|RES|10");
    EXPECT_EQ(argumentos("0910"), "0910|PKR_9|RES|9");
    EXPECT_EQ(argumentos("0501"), "0501|CMD_0501|CMD|");
    EXPECT_EQ(argumentos("9001"), "9001|DLV_9001|DLV|");
    EXPECT_EQ(argumentos("9001", true), "9001|DLV_9001|DLV_T|T");
    // Cancel-all is a delivery's only.
    EXPECT_EQ(argumentos("0501", true), "0501|CMD_0501|CMD|");
}

TEST_P(PedidosTill, FormatosSeguemOLocaleDoTerminal)
{
    Arruma();
    TBancoTill banco;
    TModeloPedidos modelo;
    const auto linha1010 = [&] {
        modelo.SetPedidos(banco.Pedidos(kFilial));
        return Linhas(modelo).value(1);
    };

    Escreve(QStringLiteral("kvp.ini"), QStringLiteral("[Terminal]\nLocale=en_US\n"));
    QString problema;
    EXPECT_EQ(AplicaLocaleTerminal(&problema).name(), "en_US");
    EXPECT_TRUE(problema.isEmpty());
    EXPECT_TRUE(linha1010().endsWith("|2|25.00")) << linha1010().toStdString();

    Escreve(QStringLiteral("kvp.ini"), QStringLiteral("[Terminal]\nLocale=klingon\n"));
    EXPECT_EQ(AplicaLocaleTerminal(&problema).name(), "pt_BR");
    EXPECT_TRUE(problema.contains("klingon")) << problema.toStdString();
    EXPECT_TRUE(linha1010().endsWith("|2|25,00")) << linha1010().toStdString();

    // The same list in a till started with LANG=C and LC_ALL=C, and no setting.
    QProcess till;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LANG"), QStringLiteral("C"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    env.insert(QStringLiteral("KVP_DATABASE"), databaseUrl());
    till.setProcessEnvironment(env);
    till.setProcessChannelMode(QProcess::MergedChannels);
    till.start(QCoreApplication::applicationFilePath(),
               {QStringLiteral("--gtest_filter=PedidosTillMaquinaC.DISABLED_ListaEmPortuguesDoBrasil"),
                QStringLiteral("--gtest_also_run_disabled_tests")});
    ASSERT_TRUE(till.waitForFinished(120000));
    const QString saida = QString::fromUtf8(till.readAll());
    EXPECT_EQ(till.exitCode(), 0) << saida.toStdString();
    EXPECT_TRUE(saida.contains(QLatin1String("[  PASSED  ] 1 test"))) << saida.toStdString();
}

TEST_P(PedidosTill, FalhasSaoMostradasEOCaixaSegue)
{
    Arruma();
    const QString bin = qEnvironmentVariable("KVP_BIN_DIR", QCoreApplication::applicationDirPath());
    {
        TJanelaPedidos semPacote(pasta.filePath(QStringLiteral("sem-pacote")));
        ASSERT_GT(semPacote.Modelo().rowCount(), 0);
        semPacote.CancelaProdutos(0);
        ASSERT_EQ(mensagens.size(), 1);
        EXPECT_TRUE(mensagens.last().contains(QStringLiteral("não está disponível"))) << mensagens.last().toStdString();
    }

    // The package refuses a parameters file without the branch: told, and the list goes on.
    TArquivoTerminal parametros = ParametrosDemo();
    parametros.removeIf([](const TColunaTerminal& c) { return c.Def.Name == QLatin1String("CDFILIAL"); });
    GravaArquivoTerminal(pasta.filePath(kArquivoParametros), parametros);
    mensagens.clear();
    TJanelaCenario fechaSeAbrir(QStringLiteral("falha"), {});
    TJanelaPedidos janela(bin);
    const int pedidos = janela.Modelo().rowCount();
    janela.CancelaProdutos(0);
    EXPECT_FALSE(fechaSeAbrir.Mostrada());
    ASSERT_EQ(mensagens.size(), 1);
    EXPECT_TRUE(mensagens.last().contains(QStringLiteral("não foi concluído"))
                && mensagens.last().contains(QLatin1String("CDFILIAL")))
        << mensagens.last().toStdString();
    EXPECT_EQ(janela.Modelo().rowCount(), pedidos);

    mensagens.clear();
    qputenv("KVP_DATABASE", pasta.filePath(QStringLiteral("sumiu.db")).toUtf8());
    janela.Recarrega();
    EXPECT_EQ(janela.Modelo().rowCount(), 0);
    ASSERT_EQ(mensagens.size(), 1);
    EXPECT_TRUE(mensagens.last().contains(QLatin1String("sumiu.db"))) << mensagens.last().toStdString();
}

TEST_P(PedidosTill, ListaDizOQueValeParaOOperadorENaoMostraOBanco)
{
    Arruma();
    DadosComanda d([this](const QString& sql, const QVariantList& b) { exec(sql, b); });
    d.Mesa("11", "R"); // being received at another till
    d.Mesa("10", "A");
    // A delivery whose items were all cancelled, and one with none yet.
    d.Venda({.CDFILIAL = kFilial, .NRVENDAREST = "V31", .NRMESA = ""});
    d.Comanda({.CDFILIAL = kFilial, .NRCOMANDA = "9002", .NRVENDAREST = "V31", .DSCOMANDA = "DLV_9002"});
    d.Item({.CDFILIAL = kFilial,
            .NRVENDAREST = "V31",
            .NRCOMANDA = "9002",
            .NRPRODCOMVEN = "000001",
            .IDSTPRCOMVEN = "6"});
    d.Venda({.CDFILIAL = kFilial, .NRVENDAREST = "V32", .NRMESA = ""});
    d.Comanda({.CDFILIAL = kFilial, .NRCOMANDA = "9003", .NRVENDAREST = "V32", .DSCOMANDA = "DLV_9003"});
    AplicaLocaleTerminal();

    QList<MensagemArgs> ditas;
    bool resposta = false;
    SetMensagemHandler([&](const MensagemArgs& a) {
        ditas << a;
        return resposta;
    });
    TJanelaPedidos janela(pasta.filePath(QStringLiteral("sem-pacote")));
    janela.show();
    const TModeloPedidos& modelo = janela.Modelo();
    const auto linha = [&](const char* comanda) {
        for (int r = 0; r < modelo.rowCount(); ++r)
            if (modelo.Pedido(r).NrComanda == QLatin1String(comanda))
                return r;
        return -1;
    };
    const auto tipo = [&](const char* comanda) {
        return modelo.index(linha(comanda), TModeloPedidos::ColTipo).data().toString();
    };
    EXPECT_EQ(tipo("1110"), QStringLiteral("Mesa - em recebimento"));
    EXPECT_EQ(tipo("1010"), QStringLiteral("Mesa"));
    EXPECT_EQ(linha("9002"), -1) << "nothing is left to cancel in it";
    ASSERT_GE(linha("9003"), 0);
    ASSERT_GE(linha("9001"), 0);

    auto* cancelar = janela.findChild<QPushButton*>(QStringLiteral("sbtCancelarProdutos"));
    auto* entregaToda = janela.findChild<QPushButton*>(QStringLiteral("sbtCancelarEntrega"));
    ASSERT_TRUE(cancelar && entregaToda);
    janela.Lista()->selectRow(linha("1110"));
    EXPECT_FALSE(cancelar->isEnabled());
    janela.Lista()->selectRow(linha("1010"));
    EXPECT_TRUE(cancelar->isEnabled());
    janela.Lista()->selectRow(linha("9003"));
    EXPECT_FALSE(entregaToda->isEnabled()) << "no item to cancel: nothing to offer";
    janela.Lista()->selectRow(linha("9001"));
    EXPECT_TRUE(entregaToda->isEnabled());

    // A double tap on the table being received says so, without calling the package.
    janela.CancelaProdutos(linha("1110"));
    ASSERT_EQ(ditas.size(), 1);
    EXPECT_TRUE(ditas[0].Texto.contains(QStringLiteral("em recebimento"))) << ditas[0].Texto.toStdString();
    EXPECT_EQ(ditas[0].Estilo.Sinal, TSinalMensagem::Aviso);

    // Cancelling a whole delivery cannot be undone: "Não" is its default.
    ditas.clear();
    janela.CancelaEntregaToda(linha("9001"));
    ASSERT_EQ(ditas.size(), 1);
    EXPECT_EQ(ditas[0].Estilo.Pergunta, TPerguntaMensagem::Irreversivel);

    // The operator sees the count, the technician the database in the tooltip.
    const auto* banco = janela.findChild<QLabel*>(QStringLiteral("lblBanco"));
    ASSERT_NE(banco, nullptr);
    EXPECT_FALSE(banco->text().contains(QStringLiteral("Banco"))) << banco->text().toStdString();
    EXPECT_TRUE(banco->text().endsWith(QStringLiteral("pedido(s) aberto(s)"))) << banco->text().toStdString();
    EXPECT_TRUE(banco->toolTip().startsWith(QStringLiteral("Banco: "))) << banco->toolTip().toStdString();

    // "Sair" asks first; "Não" keeps the till open.
    auto* sair = janela.findChild<QPushButton*>(QStringLiteral("sbtSair"));
    ASSERT_NE(sair, nullptr);
    ditas.clear();
    sair->click();
    ASSERT_EQ(ditas.size(), 1);
    EXPECT_EQ(ditas[0].Estilo.Pergunta, TPerguntaMensagem::Confirmacao);
    EXPECT_TRUE(janela.isVisible());
    resposta = true;
    sair->click();
    EXPECT_FALSE(janela.isVisible());

    // A database it cannot reach is an error, not a notice.
    ditas.clear();
    qputenv("KVP_DATABASE", pasta.filePath(QStringLiteral("sumiu.db")).toUtf8());
    janela.Recarrega();
    qputenv("KVP_DATABASE", databaseUrl().toUtf8());
    ASSERT_EQ(ditas.size(), 1);
    EXPECT_EQ(ditas[0].Estilo.Sinal, TSinalMensagem::Erro);
    EXPECT_FALSE(janela.findChild<QLabel*>(QStringLiteral("lblBanco"))->text().contains(QStringLiteral("sumiu")));
}

KVP_INSTANTIATE_ENGINES(PedidosTill);

// Run by FormatosSeguemOLocaleDoTerminal in a process whose locale is C, on its database.
using PedidosTillMaquinaC = SaidasTillTest;
TEST_F(PedidosTillMaquinaC, DISABLED_ListaEmPortuguesDoBrasil)
{
    ASSERT_EQ(QLocale::system().decimalPoint(), QStringLiteral(".")) << "a máquina deveria estar em C";
    AplicaLocaleTerminal();
    TBancoTill banco;
    TModeloPedidos modelo;
    modelo.SetPedidos(banco.Pedidos(kFilial));
    ASSERT_GE(modelo.rowCount(), 2);
    EXPECT_EQ(Linhas(modelo).value(1), "Mesa|1010|RES_10|10|11|01/05/2024 19:30|2|25,00");
}

} // namespace
