// Scripted runs of the till (`till --scenario`): what the record reports for
// opening, marking, the show-cancelled button, the cancel button and an order
// that fails to load, on each engine; the record of a run equals, call for
// call, what the fake host sees of the same run in this process; every kind
// of mistake in a scenario file is refused with its place before anything
// runs; the example files of the repository play, each on a fresh demo
// database, and the headless demo session cancels what it says it does.
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "BlendedBitBtn.h"
#include "DBGrid.h"
#include "DadosComanda.h"
#include "DbFixture.h"
#include "FakeHost.h"
#include "FrmCancelaProd.h"
#include "HostServices.h"
#include "PackageTestSupport.h"
#include "Pkg_kvp00917.h"
#include "ScriptedHostJson.h"
#include "Wdc00001.h"
#include "Wdc00002.h"
#include "kvp00917.h"

namespace {

QString Bin()
{
    return qEnvironmentVariable("KVP_BIN_DIR", QCoreApplication::applicationDirPath());
}

struct Rodada {
    int Saida = -1;
    QString Erros; // standard error
    bool ComRegistro = false;
    QJsonObject Registro;
};

// Plays a scenario through the till, in a folder of its own.
Rodada Roda(const QByteArray& cenario, const QString& banco = {})
{
    Rodada r;
    QTemporaryDir pasta;
    const QString arquivo = pasta.filePath(QStringLiteral("cenario.json"));
    const QString registro = pasta.filePath(QStringLiteral("registro.json"));
    QFile f(arquivo);
    if (!f.open(QIODevice::WriteOnly) || f.write(cenario) != cenario.size())
        return r;
    f.close();

    QProcess till;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    if (!banco.isEmpty())
        env.insert(QStringLiteral("KVP_DATABASE"), banco);
    till.setProcessEnvironment(env);
    till.setWorkingDirectory(pasta.path());
    till.start(Bin() + QStringLiteral("/till"),
               {QStringLiteral("--scenario"), arquivo, QStringLiteral("--record"), registro});
    if (!till.waitForFinished(120000))
        till.kill();
    r.Saida = till.exitStatus() == QProcess::NormalExit ? till.exitCode() : -1;
    r.Erros = QString::fromUtf8(till.readAllStandardError());
    QFile saida(registro);
    r.ComRegistro = saida.open(QIODevice::ReadOnly);
    if (r.ComRegistro)
        r.Registro = QJsonDocument::fromJson(saida.readAll()).object();
    return r;
}

// The grid of a record as "item:state:mark" per row.
QStringList Grade(const QJsonObject& registro)
{
    QStringList linhas;
    for (const QJsonValue& v : registro.value(QStringLiteral("grid")).toArray()) {
        const QJsonObject l = v.toObject();
        linhas << QStringLiteral("%1:%2:%3")
                      .arg(l.value(QStringLiteral("item")).toString(), l.value(QStringLiteral("state")).toString(),
                           l.value(QStringLiteral("marked")).toBool() ? QStringLiteral("C") : QStringLiteral("U"));
    }
    return linhas;
}

QStringList Mensagens(const QJsonObject& registro)
{
    QStringList textos;
    for (const QJsonValue& v : registro.value(QStringLiteral("calls")).toArray()) {
        if (v.toObject().value(QStringLiteral("service")).toString() == QLatin1String("Mensagem"))
            textos << v.toObject().value(QStringLiteral("args")).toArray().at(0).toString();
    }
    return textos;
}

class ScenarioTest : public DbEngineTest {
protected:
    void SetUp() override
    {
        DbEngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        freeModule(); // the till and the entry make their own
    }

    // Tab od::kComanda with these items: number and state.
    void Pedido(const QList<QPair<QString, QString>>& itens)
    {
        Dados().Produto({});
        Dados().VendaComComanda();
        Itens(itens);
    }

    // The tab's items, and no others.
    void Itens(const QList<QPair<QString, QString>>& itens)
    {
        exec(QStringLiteral("DELETE FROM ITCOMANDAVEN"));
        for (const auto& [numero, estado] : itens)
            Dados().Item({.NRPRODCOMVEN = numero, .IDSTPRCOMVEN = estado});
    }

    DadosComanda Dados()
    {
        return DadosComanda([this](const QString& sql, const QVariantList& b) { exec(sql, b); });
    }

    // The call of tab od::kComanda on this test's database, and more keys.
    QByteArray Cenario(const char* extra) const
    {
        const QByteArray banco = QJsonDocument(QJsonArray{databaseUrl()}).toJson(QJsonDocument::Compact);
        return R"({"call": {"nrComanda": ")" + od::kComanda.toUtf8()
            + R"(", "dsComanda": "CMD_0100", "modo": "CMD"}, "database": )" + banco.mid(1).chopped(1) + extra + "}";
    }
};

TEST_P(ScenarioTest, TheRecordReportsWhatTheOperatorAndTheHostSaw)
{
    const QList<QPair<QString, QString>> dois = {{"000001", "1"}, {"000002", "1"}};
    const QList<QPair<QString, QString>> umCancelado = {{"000001", "1"}, {"000002", "6"}};
    const struct {
        const char* nome;
        QList<QPair<QString, QString>> itens;
        bool semTabelaDeItens;
        const char* extra; // more keys of the scenario
        int saida;
        const char* fim;
        QStringList grade;
        QStringList mensagens; // a part of each Mensagem's text, in order
    } casos[] = {
        {"opening", dois, false, "", 0, "concluido", {"000001:1:U", "000002:1:U"}, {}},
        {"marking by double-click and by Space",
         dois,
         false,
         R"(, "actions": [{"mark": {"comanda": "0000000100", "item": "000002"}},
                          {"select": {"comanda": "0000000100", "item": "000001"}}, {"key": "Space"}])",
         0,
         "concluido",
         {"000001:1:C", "000002:1:C"},
         {}},
        {"show-cancelled button",
         umCancelado,
         false,
         R"(, "actions": [{"click": "sbtProdCanc"}])",
         0,
         "concluido",
         {"000001:1:U", "000002:6:U"},
         {}},
        // No answer given: the reason is given up, nothing is cancelled and
        // the marked row keeps its mark for the next try.
        {"cancel button",
         dois,
         false,
         R"(, "actions": [{"mark": {"comanda": "0000000100", "item": "000001"}}, {"click": "sbtCancelar"}])",
         0,
         "concluido",
         {"000001:1:C", "000002:1:U"},
         {"Confirma o Cancelamento de 1 Produto(s) ?"}},
        {"a row the grid does not show",
         umCancelado,
         false,
         R"(, "actions": [{"select": {"comanda": "0000000100", "item": "000002"}}, {"key": "Space"}])",
         1,
         "concluido",
         {"000001:1:U"},
         {}},
        // Last: it drops the items' table.
        {"order that fails to load", dois, true, "", 0, "mensagem", {}, {"itcomandaven"}},
    };
    Pedido({});
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.nome);
        Itens(caso.itens);
        if (caso.semTabelaDeItens)
            exec(QStringLiteral("DROP TABLE ITCOMANDAVEN"));

        const Rodada r = Roda(Cenario(caso.extra));
        EXPECT_EQ(r.Saida, caso.saida) << r.Erros.toStdString();
        ASSERT_TRUE(r.ComRegistro) << r.Erros.toStdString();
        const QJsonObject fim = r.Registro.value(QStringLiteral("outcome")).toObject();
        EXPECT_EQ(fim.value(QStringLiteral("ended")).toString(), QLatin1String(caso.fim));
        EXPECT_TRUE(fim.value(QStringLiteral("error")).isNull());
        EXPECT_EQ(Grade(r.Registro), caso.grade);
        const QStringList mensagens = Mensagens(r.Registro);
        ASSERT_EQ(mensagens.size(), caso.mensagens.size()) << mensagens.join(QLatin1Char('\n')).toStdString();
        for (qsizetype i = 0; i < mensagens.size(); ++i) {
            EXPECT_TRUE(mensagens.at(i).contains(caso.mensagens.at(i), Qt::CaseInsensitive))
                << mensagens.at(i).toStdString();
        }
        if (caso.saida != 0) {
            EXPECT_TRUE(r.Erros.contains(
                QStringLiteral("actions[0].select: a grade não mostra a comanda \"0000000100\" item \"000002\"")))
                << r.Erros.toStdString();
        }
    }
}

TEST_P(ScenarioTest, TheRecordEqualsWhatTheFakeHostSeesOfTheSameRun)
{
    Pedido({{"000001", "1"}, {"000002", "1"}});
    // The access check refused: a run that writes nothing, so both runs see
    // the same order. The terminal's files are the tests' ones.
    const Rodada r = Roda(Cenario(R"(,
        "parameters": {"IDSOLOBSCAN": "N", "DISPLAYOK": false, "CDPORTIMPNF1": "LPT1", "CDPORTAIMPNF5": "LPT5",
                       "CDPORTIMPNF3": "LPT3", "UTILIZAIMPFIS": true, "CDPRODCONSUM": "", "CDPRODCONSUF": "",
                       "CDPRODCOUVER": ""},
        "operator": {"CDOPERADOR": "0001", "NMOPERADOR": "Operadora de Teste"},
        "answers": {"VerificaAcesso": [{"result": false}], "Mensagem": [true, false]},
        "actions": [{"mark": {"comanda": "0000000100", "item": "000002"}}, {"key": "F1"},
                    {"click": "sbtCancelar"}, {"key": "Escape"}])"));
    ASSERT_EQ(r.Saida, 0) << r.Erros.toStdString();

    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    SetHostFolderOverride(pasta.path());
    GravaParametros(pasta.path(), {.UtilizaImpFis = true});
    GravaOperador(pasta.path());
    FakeHost fake;
    fake.MotivoPadrao = {}; // the scenario's defaults
    fake.AcessoRespostas = {{false, QString()}};
    fake.MensagemRespostas = {true, false};
    Initialize();
    JanelaEmTeste janela([](TfrmCancelaProd& w) {
        const QPoint p
            = w.dbgProduto
                  ->visualRect(w.dbgProduto->model()->index(1, w.dbgProduto->FieldColumn(QStringLiteral("NMPRODUTO"))))
                  .center();
        QTest::mouseClick(w.dbgProduto->viewport(), Qt::LeftButton, {}, p);
        QTest::mouseDClick(w.dbgProduto->viewport(), Qt::LeftButton, {}, p);
        QTest::keyClick(w.dbgProduto, Qt::Key_F1);
        QTest::mouseClick(w.sbtCancelar, Qt::LeftButton, {}, w.sbtCancelar->rect().center());
        QTest::keyClick(w.dbgProduto, Qt::Key_Escape);
    });
    ::CancelaProduto(od::kComanda.toUtf8().constData(), "CMD_0100", "CMD", "");
    const int fim = CancelaProdutoFim(nullptr);
    Finalize();
    SetHostFolderOverride(QString());

    EXPECT_EQ(fim, CANCELAPRODUTO_CONCLUIDO);
    EXPECT_FALSE(janela.AbertaAposAcao);
    const QJsonArray daqui = ChamadasJson(fake.Calls);
    const QJsonArray doTill = r.Registro.value(QStringLiteral("calls")).toArray();
    EXPECT_GE(daqui.size(), 2); // at least the fiscal menu and the cancel button's answer
    ASSERT_EQ(doTill.size(), daqui.size()) << QJsonDocument(doTill).toJson().toStdString();
    for (qsizetype i = 0; i < daqui.size(); ++i) {
        EXPECT_EQ(doTill.at(i), daqui.at(i))
            << "call " << i << ": " << QJsonDocument(doTill.at(i).toObject()).toJson().toStdString()
            << QJsonDocument(daqui.at(i).toObject()).toJson().toStdString();
    }
}

// A press of the button whose write failed was told to the operator, who then
// closed the window: the call ends with that message, not as completed.
TEST_P(ScenarioTest, ARunThatFailedInsideTheWindowEndsTheCallWithItsMessage)
{
    Pedido({{"000001", "1"}});
    exec(QStringLiteral("DROP TABLE MOVBENEFICIOCTR"));
    const Rodada r = Roda(Cenario(R"(, "parameters": {"IDSOLOBSCAN": "N"}, "answers": {"Mensagem": [true]},
        "actions": [{"mark": {"comanda": "0000000100", "item": "000001"}}, {"click": "sbtCancelar"}])"));
    ASSERT_TRUE(r.ComRegistro) << r.Erros.toStdString();
    EXPECT_EQ(r.Saida, 0) << r.Erros.toStdString();
    const QJsonObject fim = r.Registro.value(QStringLiteral("outcome")).toObject();
    const QStringList mensagens = Mensagens(r.Registro);
    ASSERT_EQ(mensagens.size(), 2) << mensagens.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(mensagens[1].contains(QStringLiteral("MOVBENEFICIOCTR"), Qt::CaseInsensitive))
        << mensagens[1].toStdString();
    EXPECT_EQ(fim.value(QStringLiteral("ended")).toString(), QStringLiteral("mensagem"));
    EXPECT_EQ(fim.value(QStringLiteral("message")).toString(), mensagens[1]);
    EXPECT_TRUE(fim.value(QStringLiteral("error")).isNull());
    EXPECT_EQ(Grade(r.Registro), QStringList({"000001:1:C"}));
}

KVP_INSTANTIATE_ENGINES(ScenarioTest);

TEST(ScenarioTestRecord, KeepsTypesWrittenBackValuesDefaultsAndTicketRows)
{
    FakeHost fake;
    fake.AcessoRespostas = {{true, QStringLiteral("0099")}};
    TDataPacket tiquetes;
    tiquetes.FieldDefs = {TFieldDef{QStringLiteral("NMPRODUTO")},
                          TFieldDef{QStringLiteral("QTPRODCOMVEN"), TFieldType::ftFloat}};
    tiquetes.Rows = {{QStringLiteral("Feijoada"), 1.5}, {QStringLiteral("Suco"), QVariant()}};
    QVariantList dados(Wdc00002::NotaCancelamento::Tamanho);
    dados[Wdc00002::NotaCancelamento::ModeloImpressora] = 3;
    dados[Wdc00002::NotaCancelamento::Pacote] = ToVariant(tiquetes);
    QVariantList troca(Wdc00002::Troca::Tamanho);

    QString autorizador;
    Wdc00002::VerificaAcesso(31, QStringLiteral("0001"), autorizador);
    QString valor = QStringLiteral("2");
    Wdc00002::TecladoNumerico(valor, QStringLiteral("Qtde."), QStringLiteral("Informe"), QString(), 10, 0, true, 0, 0,
                              0);
    Wdc00002::DisparaImprimeCancProduto(dados, troca);

    const QJsonArray calls = ChamadasJson(fake.Calls);
    ASSERT_EQ(calls.size(), 3);
    EXPECT_EQ(calls.at(0).toObject(),
              QJsonDocument::fromJson(R"({"service": "VerificaAcesso", "args": [31, "0001", "0099"],
                                                                  "result": true})")
                  .object());
    // The keypad's default gives up and leaves the value as it came.
    EXPECT_EQ(calls.at(1).toObject(),
              QJsonDocument::fromJson(R"({"service": "TecladoNumerico",
        "args": ["2", "Qtde.", "Informe", "", 10, 0, true, 0, 0, 0], "result": false, "default": true})")
                  .object());
    const QJsonArray args = calls.at(2).toObject().value(QStringLiteral("args")).toArray();
    ASSERT_EQ(args.size(), 2);
    EXPECT_EQ(args.at(0).toArray().at(1), QJsonValue(3));
    EXPECT_EQ(args.at(0).toArray().at(8),
              QJsonDocument::fromJson(R"([{"NMPRODUTO": "Feijoada", "QTPRODCOMVEN": 1.5},
                                                                      {"NMPRODUTO": "Suco", "QTPRODCOMVEN": null}])")
                  .array());
    EXPECT_EQ(args.at(1).toArray().size(), 10);
}

// The services that answer nothing keep the record's form: name, every
// argument in order with its type, no result.
TEST(ScenarioTestRecord, TheServicesWithoutAnAnswerAreRecordedWithEveryArgument)
{
    FakeHost fake;
    QVariantList troca(Wdc00002::Troca::Tamanho);
    Wdc00002::LogImpNFiscal({QStringLiteral("Cancelamento de Item")}, troca);
    Wdc00002::LogControleAcess(QStringLiteral("0001"), QStringLiteral("001"), QStringLiteral("CAN_PROD"),
                               QStringLiteral("0007"), QStringLiteral("Maria"), QStringLiteral("0099"),
                               QStringLiteral("Cancelamento"), QStringLiteral("PUDIM"), QStringLiteral("10"),
                               QStringLiteral("1010"), QStringLiteral("RES_10"), QStringLiteral("10"), 0, 7);
    Wdc00002::RelFiscais();
    Wdc00001::LimpaDisplay();
    Wdc00001::DisplayEnviaTexto(QStringLiteral("Cancelado: PUDIM"), 2, 3, 0, 1);

    EXPECT_EQ(ChamadasJson(fake.Calls),
              QJsonDocument::fromJson(R"([
        {"service": "LogImpNFiscal", "args": [["Cancelamento de Item"], [null, null, null, null, null, null, null,
                                                                          null, null, null]]},
        {"service": "LogControleAcess", "args": ["0001", "001", "CAN_PROD", "0007", "Maria", "0099", "Cancelamento",
                                                 "PUDIM", "10", "1010", "RES_10", "10", 0, 7]},
        {"service": "RelFiscais", "args": []},
        {"service": "LimpaDisplay", "args": []},
        {"service": "DisplayEnviaTexto", "args": ["Cancelado: PUDIM", 2, 3, 0, 1]}])")
                  .array());
}

TEST(ScenarioTestFile, AMistakeIsNamedByItsPlaceAndNothingRuns)
{
    const QByteArray call = R"("call": {"nrComanda": "100", "dsComanda": "CMD_0100", "modo": "CMD"})";
    const struct {
        QByteArray cenario;
        const char* mensagem;
    } casos[] = {
        {"{\n  " + call + ",\n  }", "linha 3, coluna 3: JSON inválido"},
        {"[]", "o cenário deve ser um objeto JSON"},
        {R"({"actions": []})", "falta a chave \"call\""},
        {"{" + call + R"(, "actoins": []})", "actoins: chave desconhecida"},
        {R"({"call": {"nrComanda": 100, "dsComanda": "CMD_0100", "modo": "CMD"}})",
         "call.nrComanda: deve ser um texto"},
        {"{" + call + R"(, "actions": [{"press": "sbtSair"}]})",
         "actions[0].press: chave desconhecida (use mark, select"},
        {"{" + call + R"(, "actions": [{"key": "F1", "click": "sbtSair"}]})", "actions[0]: uma ação tem uma só chave"},
        {"{" + call + R"(, "actions": [{"key": "F1"}, {"key": "Enter"}]})",
         "actions[1].key: tecla desconhecida \"Enter\""},
        {"{" + call + R"(, "actions": [{"click": "sbtOk"}]})", "actions[0].click: botão desconhecido \"sbtOk\""},
        {"{" + call + R"(, "actions": [{"mark": {"comanda": "100"}}]})", "actions[0].mark: falta a chave \"item\""},
        {"{" + call + R"(, "parameters": {"CDFILAL": "0001"}})",
         "parameters.CDFILAL: o arquivo PARAMETROSQRV.CDS não tem este campo"},
        {"{" + call + R"(, "parameters": {"UTILIZAIMPFIS": "S"}})", "parameters.UTILIZAIMPFIS: deve ser true ou false"},
        {"{" + call + R"(, "operator": {"CDOPERADOR": 7}})", "operator.CDOPERADOR: deve ser um texto"},
        {"{" + call + R"(, "outputs": "printer"})", "outputs: deve ser \"scripted\" ou \"till\""},
        {"{" + call + R"(, "answers": {"LogImpNFiscal": []}})", "answers.LogImpNFiscal: chave desconhecida"},
        {"{" + call + R"(, "answers": {"Mensagem": [true, "sim"]}})", "answers.Mensagem[1]: deve ser true ou false"},
        {"{" + call + R"(, "answers": {"VerificaAcesso": [{"result": true, "autorizado": "9"}]}})",
         "answers.VerificaAcesso[0].autorizado: chave desconhecida"},
    };
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    // A database that would be created by any call that ran.
    const QString banco = pasta.filePath(QStringLiteral("nao-deve-existir.db"));
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.cenario.toStdString());
        const Rodada r = Roda(caso.cenario, banco);
        EXPECT_EQ(r.Saida, 1);
        EXPECT_TRUE(r.Erros.contains(QStringLiteral("cenario.json: ") + QString::fromUtf8(caso.mensagem)))
            << r.Erros.toStdString();
        EXPECT_FALSE(r.ComRegistro);
        EXPECT_FALSE(QFileInfo::exists(banco));
    }
}

// A fresh demo database in `pasta`; empty when kvp-dbinit failed.
QString BancoDemo(const QTemporaryDir& pasta)
{
    const QString banco = pasta.filePath(QStringLiteral("kvp-demo.db"));
    QFile::remove(banco);
    QProcess dbinit;
    dbinit.start(Bin() + QStringLiteral("/kvp-dbinit"), {banco, QStringLiteral("--demo")});
    if (!dbinit.waitForFinished(60000) || dbinit.exitCode() != 0) {
        ADD_FAILURE() << dbinit.readAllStandardError().toStdString();
        return {};
    }
    return banco;
}

QByteArray Exemplo(const QString& arquivo)
{
    QFile f(QDir(QStringLiteral(KVP_SCENARIOS_DIR)).filePath(arquivo));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString Fim(const Rodada& r)
{
    return r.Registro.value(QStringLiteral("outcome")).toObject().value(QStringLiteral("ended")).toString();
}

// Each example on a database of its own: they are independent of one another.
TEST(ScenarioTestExamples, TheRepositorysFilesPlayOnTheDemoDatabase)
{
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const QDir exemplos(QStringLiteral(KVP_SCENARIOS_DIR));
    const QStringList arquivos = exemplos.entryList({QStringLiteral("*.json")}, QDir::Files);
    ASSERT_GE(arquivos.size(), 3);
    for (const QString& arquivo : arquivos) {
        SCOPED_TRACE(arquivo.toStdString());
        const QString banco = BancoDemo(pasta);
        ASSERT_FALSE(banco.isEmpty());
        const Rodada r = Roda(Exemplo(arquivo), banco);
        EXPECT_EQ(r.Saida, 0) << r.Erros.toStdString();
        EXPECT_TRUE(r.Registro.contains(QStringLiteral("grid")));
        EXPECT_FALSE(Fim(r).isEmpty());
    }
}

// The headless scripts/demo plays these in this order on one demo database.
TEST(ScenarioTestExamples, TheDemoSessionCancelsWholePartComboAndTheDelivery)
{
    QTemporaryDir pasta;
    ASSERT_TRUE(pasta.isValid());
    const QString banco = BancoDemo(pasta);
    ASSERT_FALSE(banco.isEmpty());
    const auto linha = [](const Rodada& r, const QString& comanda, const QString& item) {
        for (const QJsonValue& v : r.Registro.value(QStringLiteral("grid")).toArray()) {
            const QJsonObject l = v.toObject();
            if (l.value(QStringLiteral("comanda")).toString() == comanda
                && l.value(QStringLiteral("item")).toString() == item)
                return l;
        }
        return QJsonObject();
    };

    const Rodada inteiro = Roda(Exemplo(QStringLiteral("demo-1-inteiro.json")), banco);
    EXPECT_EQ(inteiro.Saida, 0) << inteiro.Erros.toStdString();
    EXPECT_EQ(Fim(inteiro), QStringLiteral("concluido"));
    EXPECT_TRUE(linha(inteiro, QStringLiteral("1010"), QStringLiteral("000007")).isEmpty()); // cancelled: hidden
    EXPECT_FALSE(linha(inteiro, QStringLiteral("1010"), QStringLiteral("000008")).isEmpty());

    const Rodada parte = Roda(Exemplo(QStringLiteral("demo-2-parte.json")), banco);
    EXPECT_EQ(parte.Saida, 0) << parte.Erros.toStdString();
    EXPECT_EQ(Fim(parte), QStringLiteral("concluido"));
    EXPECT_EQ(
        linha(parte, QStringLiteral("0501"), QStringLiteral("000001")).value(QStringLiteral("quantity")).toDouble(),
        1.0); // 2 before; the cancelled one is a line of its own
    EXPECT_EQ(linha(parte, QStringLiteral("0501"), QStringLiteral("000005")), QJsonObject());

    const Rodada combo = Roda(Exemplo(QStringLiteral("demo-3-combo.json")), banco);
    EXPECT_EQ(combo.Saida, 0) << combo.Erros.toStdString();
    EXPECT_EQ(Fim(combo), QStringLiteral("concluido"));
    for (const char* item : {"000001", "000002", "000003"})
        EXPECT_TRUE(linha(combo, QStringLiteral("1011"), QLatin1String(item)).isEmpty()) << item;
    EXPECT_FALSE(linha(combo, QStringLiteral("1011"), QStringLiteral("000004")).isEmpty());

    // Success of a cancel-all call means every item of the order ended cancelled.
    const Rodada entrega = Roda(Exemplo(QStringLiteral("cancela-entrega-toda.json")), banco);
    EXPECT_EQ(entrega.Saida, 0) << entrega.Erros.toStdString();
    EXPECT_EQ(Fim(entrega), QStringLiteral("concluido")) << entrega.Registro.value(QStringLiteral("outcome"))
                                                                .toObject()
                                                                .value(QStringLiteral("error"))
                                                                .toString()
                                                                .toStdString();
}

} // namespace
