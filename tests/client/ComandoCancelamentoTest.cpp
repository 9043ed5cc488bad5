// The cancellation command on a real database: checks and exits, the item
// loop's four paths with their writes, logs and display, and what the list
// shows after a run, whole or stopped.
#include "DBGrid.h"
#include "ListaItensTestSupport.h"
#include "Mensagem.h"
#include "RdmCancelaProd.h"
#include "Srv_kvp00917.h"
#include "TextoQuantidade.h"

namespace {

using namespace od;

const QString kTab2 = QStringLiteral("0000000101"), kTab3 = QStringLiteral("0000000102");

class CancelCommandTest : public TelaDbTest {
protected:
    void SetUp() override
    {
        TelaDbTest::SetUp();
        if (IsSkipped())
            return;
        Cli_kvp00917::Inicializacao(); // unhandled errors shown through Mensagem
        GravaOperador();
        Parametros({});
        d.Produto({});
        d.VendaComComanda({}, {.VRACRCOMANDA = 10.0});
    }
    void TearDown() override
    {
        Cli_kvp00917::Finalizacao();
        TelaDbTest::TearDown();
    }

    // Reason asked, access codes 4 (last item) and 5, the display fitted.
    void Parametros(QVariantMap valores)
    {
        const QVariantMap comando{{"IDSOLOBSCAN", "S"},
                                  {"CTCANCULTITEM", 4},
                                  {"CTCANCITEMGEN", 5},
                                  {"DISPLAYOK", true}};
        for (auto i = comando.begin(); i != comando.end(); ++i)
            valores.insert(i.key(), valores.value(i.key(), i.value()));
        GravaParametros({}, valores);
    }
    // Marks rows given as "item" (the call's comanda) or "comanda/item", as a tap does.
    void Marca(TfrmCancelaProd& f, const QStringList& linhas)
    {
        for (const QString& l : linhas) {
            const QStringList p = l.contains('/') ? l.split('/') : QStringList{kComanda, l};
            ASSERT_TRUE(f.cdsProduto.Locate(QStringLiteral("NRCOMANDA;NRPRODCOMVEN"), {p[0], p[1]})) << l.toStdString();
            f.dbgProdutoDblClick();
        }
    }
    void Cancela(TfrmCancelaProd& f) { f.sbtCancelar->click(); }

    QStringList Servicos() const
    {
        QStringList out;
        for (const FakeHost::Call& c : fake->Calls)
            out << c.Service;
        return out;
    }
    QStringList Args(const QString& servico, int arg) const
    {
        QStringList out;
        for (const FakeHost::Call& c : fake->CallsOf(servico))
            out << c.Args.value(arg).toString();
        return out;
    }
    // Every line of the tabs as comanda's last digit, item, state and quantity: "0:000001/6/1".
    QStringList Linhas()
    {
        QStringList out;
        for (const QVariantList& r : rows("SELECT NRCOMANDA, NRPRODCOMVEN, IDSTPRCOMVEN, QTPRODCOMVEN FROM ITCOMANDAVEN"
                                          " ORDER BY NRCOMANDA, NRPRODCOMVEN")) {
            const QStringList t = RowText(r);
            out << t[0].right(1) + ':' + t[1] + '/' + t[2] + '/' + t[3];
        }
        return out;
    }
    double Acrescimo(const QString& comanda = kComanda)
    {
        return scalar("SELECT VRACRCOMANDA FROM COMANDAVEN WHERE NRCOMANDA = ?", {comanda}).toDouble();
    }

    DadosComanda d = Dados();
};

TEST_P(CancelCommandTest, WholeAndPartialItemsAreWrittenLoggedAndShownInOrder)
{
    d.Item({.NRPRODCOMVEN = "000001", .VRACRCOMVEN = 1.0});
    d.Item({.NRPRODCOMVEN = "000002", .QTPRODCOMVEN = 3.0, .VRACRCOMVEN = 0.9});
    fake->TecladoRespostas = {{true, "2"}};
    TfrmCancelaProd& f = Abre(kComanda, "CMD");
    Marca(f, {"000001", "000002"});
    Cancela(f);

    const QStringList display{"LimpaDisplay", "DisplayEnviaTexto", "DisplayEnviaTexto"};
    EXPECT_EQ(Servicos(),
              QStringList({"VerificaAcesso", "Mensagem", "LogImpNFiscal", "Observacao", "LogControleAcess"}) + display
                  + QStringList({"LogImpNFiscal", "Observacao", "TecladoNumerico", "LogControleAcess"}) + display
                  + QStringList({"DisparaImprimeCancProduto", "DisparaImprimeCancProduto"}));
    EXPECT_EQ(fake->Mensagens(), QStringList({"Confirma o Cancelamento de 2 Produto(s) ?"}));
    EXPECT_EQ(fake->CallsOf("LogImpNFiscal")[0].Args[0].toList(),
              QVariantList(
                  {"Cancelamento de Item Kvp00917 ---  Código Arv: 01.01.001 Nome: Filé à parmegiana Qtde: 1"}));
    EXPECT_EQ(fake->CallsOf("LogControleAcess")[1].Args,
              QVariantList(
                  {kFilial, kCaixa, "CAN_GEN", "0042", "João Conceição", "0042", "Cancelamento item genérico.",
                   "Produto cancelado P1 - Filé à parmegiana - Qtde. 2 - referente a mesa/comanda: /CMD_0100 - "
                   "Nr. Coman: 0000000100",
                   kVenda, kComanda, "CMD_0100", "", 0, 0}));
    EXPECT_TRUE(Args("LogControleAcess", 7)[0].contains(" - Qtde. 1 - "));
    // The partial row shows the quantity cancelled.
    EXPECT_EQ(Args("DisplayEnviaTexto", 0),
              QStringList({"1x Filé à parmegiana", "ITEM CANCELADO", "2x Filé à parmegiana", "ITEM CANCELADO"}));

    EXPECT_EQ(Linhas(), QStringList({"0:000001/6/1", "0:000002/1/1", "0:000003/6/2"}));
    EXPECT_EQ(RowText(rows("SELECT CDGRPOCOR, TXPRODCOMVEN, CDOPERCANC, CDSUPERVISOR FROM ITCOMANDAVEN"
                           " WHERE NRPRODCOMVEN = '000001'")[0]),
              QStringList({"1", "Desistência do cliente", "0042", "0042"}));
    EXPECT_NEAR(Acrescimo(), 10.0 - 1.0 - 0.6, 1e-9);
    EXPECT_EQ(Marcas(f.cdsProduto), QStringList({"0:000002U"})); // reloaded, cancelled rows hidden again
}

TEST_P(CancelCommandTest, QuantityIsAskedWhenItsTextSortsAfterOne)
{
    d.Produto({.CDPRODUTO = "P2", .IDPESAPROD = "S"});
    struct Caso {
        double qtde;
        const char* produto;
        const char* digitado; // nullptr: no keypad
        const char* aviso; // nullptr: none
        QStringList linhas;
    };
    const Caso casos[] = {
        {1, "P1", nullptr, nullptr, {"0:000001/6/1"}},
        {0.5, "P1", nullptr, nullptr, {"0:000001/6/0.5"}},
        {2, "P2", "2", nullptr, {"0:000001/6/2"}}, // the whole row, through the typed quantity
        {2,
         "P1",
         "3",
         "Operação bloqueada. A quantidade cancelada não pode ser maior que a quantidade pedida.",
         {"0:000001/1/2"}},
        {2, "P1", "0", "Operação bloqueada. A quantidade informada deve ser maior que 0.", {"0:000001/1/2"}},
        {2, "P1", "x", "'x' não é uma quantidade válida.", {"0:000001/1/2"}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.produto) + " " + std::to_string(c.qtde) + " " + (c.digitado ? c.digitado : "-"));
        exec("DELETE FROM ITCOMANDAVEN");
        d.Item({.CDPRODUTO = c.produto, .QTPRODCOMVEN = c.qtde});
        fake->Calls.clear();
        fake->TecladoRespostas = {{true, c.digitado}};
        TfrmCancelaProd& f = Abre(kComanda, "CMD");
        Marca(f, {"000001"});
        Cancela(f);

        const auto teclado = fake->CallsOf("TecladoNumerico");
        ASSERT_EQ(teclado.size(), c.digitado ? 1 : 0);
        if (c.digitado) {
            EXPECT_EQ(teclado[0].Args,
                      QVariantList({QString(), "Cancelamento de Produto", "Informe a quantidade a ser cancelada",
                                    "Quantidade deve ser informada.", 10, 0, c.produto == QString("P2"), 0, 0, 0}));
        }
        EXPECT_EQ(fake->Mensagens().mid(1), c.aviso ? QStringList{c.aviso} : QStringList());
        EXPECT_EQ(Linhas(), c.linhas);
        if (!c.digitado) {
            EXPECT_TRUE(Args("LogControleAcess", 7).value(0).contains(" - Qtde. 1 - "));
        }
    }
}

TEST_P(CancelCommandTest, ChecksAndExitsBeforeTheFirstWrite)
{
    d.Item({.NRPRODCOMVEN = "000001", .VRPRECCOMVEN = 10.0});
    d.Item({.NRPRODCOMVEN = "000002", .VRPRECCOMVEN = 10.01});
    d.Mesa(kMesa, "R");
    struct Caso {
        const char* nome;
        QString modo, marca;
        double adiantamento;
        bool acesso, confirma;
        QStringList servicos, mensagens;
        bool recarrega;
        QStringList linhas;
    };
    const QStringList intactas{"0:000001/1/1", "0:000002/1/1"};
    const Caso casos[] = {
        {"nothing marked", "CMD", "", 0, true, true, {}, {}, true, intactas},
        {"count declined",
         "CMD",
         "000001",
         0,
         true,
         false,
         {"VerificaAcesso", "Mensagem"},
         {"Confirma o Cancelamento de 1 Produto(s) ?"},
         false,
         intactas},
        {"access refused", "CMD", "000001", 0, false, true, {"VerificaAcesso"}, {}, true, intactas},
        {"advance payment above",
         "CMD",
         "000002",
         10.01,
         true,
         true,
         {"Mensagem"},
         {"Operação bloqueada! Existe pagamento adiantado impossibilitando este cancelamento."},
         true,
         intactas},
        {"advance payment equal", "CMD", "000001", 10.01, true, true, {}, {}, true, {"0:000001/6/1", "0:000002/1/1"}},
        {"table being received",
         "RES",
         "000001",
         0,
         true,
         true,
         {"Mensagem"},
         {"Operação bloqueada! A mesa utilizada está sendo recebida ou já foi fechada por outro caixa."},
         false,
         intactas},
    };
    exec("UPDATE COMANDAVEN SET DSCOMANDA = 'RES_0010'");
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        exec("DELETE FROM MOVCAIXAMOB");
        exec("UPDATE ITCOMANDAVEN SET IDSTPRCOMVEN = '1'");
        d.Adiantamento(kComanda, c.adiantamento);
        fake->Calls.clear();
        fake->AcessoRespostas = {{c.acesso, {}}};
        fake->MensagemRespostas = {c.confirma};
        TfrmCancelaProd& f = Abre(kComanda, c.modo, c.modo == "RES" ? kMesa : QString());
        if (!c.marca.isEmpty())
            Marca(f, {c.marca});
        d.Item({.NRPRODCOMVEN = "000009"}); // tells a reload apart
        Cancela(f);
        exec("DELETE FROM ITCOMANDAVEN WHERE NRPRODCOMVEN = '000009'");

        if (!c.servicos.isEmpty() || c.linhas == intactas) {
            EXPECT_EQ(Servicos(), c.servicos);
        }
        EXPECT_EQ(fake->Mensagens().mid(0, c.mensagens.size()), c.mensagens);
        EXPECT_EQ(f.cdsProduto.Locate("NRPRODCOMVEN", {"000009"}), c.recarrega);
        EXPECT_EQ(Linhas(), c.linhas);
    }

    // A table check that fails is shown and stops too: never read as a free table.
    exec("UPDATE ITCOMANDAVEN SET IDSTPRCOMVEN = '1'");
    fake->Calls.clear();
    TfrmCancelaProd& f = Abre(kComanda, "RES", kMesa);
    Marca(f, {"000001"});
    BreakStatement(rdmCancelaProd->adqValidaMesa, "FROM MESA");
    Cancela(f);
    ASSERT_EQ(fake->Mensagens().size(), 1);
    EXPECT_TRUE(fake->Mensagens()[0].contains("getValidaMesa")) << fake->Mensagens()[0].toStdString();
    EXPECT_EQ(Linhas(), intactas);
}

TEST_P(CancelCommandTest, StoredAnswerIsNeverGivenByEscapeAndTheCountConfirmationTakesItAsNo)
{
    d.Item({.NRPRODCOMVEN = "000001"});
    d.ParamGeral("S");
    QList<std::pair<QString, TPerguntaMensagem>> teclas;
    SetMensagemHandler([&](const MensagemArgs& a) {
        teclas.append({a.Texto, EstiloEfetivo(true, a.Tipo, a.Estilo).Pergunta});
        return fake->NextMensagem(a);
    });
    fake->AcessoRespostas = {{true, {}}};
    fake->MensagemRespostas = {false, false};
    TfrmCancelaProd& f = Abre(kComanda, "CMD");
    Marca(f, {"000001"});
    Cancela(f);

    const QList<std::pair<QString, TPerguntaMensagem>> esperadas{{"O produto foi produzido?",
                                                                  TPerguntaMensagem::Escolha},
                                                                 {"Confirma o Cancelamento de 1 Produto(s) ?",
                                                                  TPerguntaMensagem::Confirmacao}};
    EXPECT_EQ(teclas, esperadas);
}

TEST_P(CancelCommandTest, FailingWriteOnTheThirdOfFiveLeavesTwoCancelledAndNothingOfTheThird)
{
    for (int i = 1; i <= 5; ++i) {
        d.Item({.NRPRODCOMVEN = QString("00000%1").arg(i), .VRACRCOMVEN = 1.0});
        d.PedidoQrv({.NRPRODCOMVEN = QString("00000%1").arg(i)});
    }
    fake->OnCall = [&](const FakeHost::Call& c) {
        if (c.Service == "LogImpNFiscal" && fake->Count("LogImpNFiscal") == 3)
            BreakStatement(rdmCancelaProd->acmUpdSitItPedidoQrv, "ITPEDIDOQRV");
    };
    TfrmCancelaProd& f = Abre(kComanda, "CMD");
    f.dbgProdutoTitleClick(f.dbgProduto->FieldColumn("IDCHECK"));
    Cancela(f);

    EXPECT_EQ(fake->Count("LogImpNFiscal"), 3);
    EXPECT_EQ(fake->Count("LogControleAcess"), 2);
    ASSERT_EQ(fake->Mensagens().size(), 2);
    EXPECT_TRUE(fake->Mensagens()[1].contains("TABELA_AUSENTE", Qt::CaseInsensitive))
        << fake->Mensagens()[1].toStdString();
    EXPECT_EQ(Linhas(), QStringList({"0:000001/6/1", "0:000002/6/1", "0:000003/1/1", "0:000004/1/1", "0:000005/1/1"}));
    EXPECT_DOUBLE_EQ(Acrescimo(), 8.0); // the third's surcharge went back with its row
    // What the failed write left standing keeps its mark for another try.
    EXPECT_EQ(Marcas(f.cdsProduto), QStringList({"0:000003C", "0:000004C", "0:000005C"}));
}

TEST_P(CancelCommandTest, StopsOnTheSecondItemLeaveTheFirstCancelledAndTheListTrue)
{
    d.Item({.NRPRODCOMVEN = "000001"});
    d.Item({.NRPRODCOMVEN = "000002", .QTPRODCOMVEN = 3.0, .NRSEQPRODCOM = "001"});
    d.Item({.NRPRODCOMVEN = "000003", .QTPRODCOMVEN = 3.0});
    struct Caso {
        const char* nome;
        QString segunda; // the marked row that stops
        QList<FakeHost::Motivo> motivos;
        QList<bool> respostas;
        QList<FakeHost::Teclado> teclado;
    };
    const FakeHost::Motivo ok{"1", "Cliente desistiu"};
    const Caso casos[] = {
        {"reason given up", "000003", {ok, {"1", "erro"}}, {true}, {}},
        {"reason left empty", "000003", {ok, {"1", ""}}, {true}, {}},
        {"group declined", "000002", {}, {true, false}, {}},
        {"keypad closed", "000003", {}, {true}, {{false, {}}}},
        {"quantity above", "000003", {}, {true, true}, {{true, "4"}}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        exec("UPDATE ITCOMANDAVEN SET IDSTPRCOMVEN = '1'");
        fake->Calls.clear();
        fake->MotivoRespostas = c.motivos;
        fake->MensagemRespostas = c.respostas;
        fake->TecladoRespostas = c.teclado;
        TfrmCancelaProd& f = Abre(kComanda, "CMD");
        Marca(f, {"000001", c.segunda});
        Cancela(f);
        EXPECT_EQ(scalar("SELECT IDSTPRCOMVEN FROM ITCOMANDAVEN WHERE NRPRODCOMVEN = '000001'").toString(), "6");
        EXPECT_EQ(scalar("SELECT COUNT(*) FROM ITCOMANDAVEN WHERE IDSTPRCOMVEN = '6'").toInt(), 1);
        // The cancelled row is gone from the list; the row that stopped the
        // run keeps its mark, so the operator need not mark it again.
        const QStringList marcas = c.segunda == QLatin1String("000002") ? QStringList({"0:000002C", "0:000003U"})
                                                                        : QStringList({"0:000002U", "0:000003C"});
        EXPECT_EQ(Marcas(f.cdsProduto), marcas);
    }

    // The reasons of the second item cannot be read: outside the guarded
    // blocks, the failure reaches the window's guard, which shows it.
    exec("UPDATE ITCOMANDAVEN SET IDSTPRCOMVEN = '1'");
    fake->Calls.clear();
    fake->OnCall = [&](const FakeHost::Call& c) {
        if (c.Service == "Observacao" && fake->Count("Observacao") == 1)
            BreakStatement(rdmCancelaProd->adqOcorCanc, "PRODOCORRE");
    };
    TfrmCancelaProd& f = Abre(kComanda, "CMD");
    Marca(f, {"000001", "000003"});
    Cancela(f);
    const auto avisos = fake->CallsOf("Mensagem");
    ASSERT_EQ(avisos.size(), 2);
    EXPECT_TRUE(avisos[1].Args[0].toString().contains("TABELA_AUSENTE", Qt::CaseInsensitive));
    EXPECT_EQ(avisos[1].Args[4], 3);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM ITCOMANDAVEN WHERE IDSTPRCOMVEN = '6'").toInt(), 1);
    EXPECT_EQ(Marcas(f.cdsProduto), QStringList({"0:000002U", "0:000003C"}));
}

TEST_P(CancelCommandTest, SlipAfterAuthorisationKeepsTheMarksOfWhatTheRunDidNotReach)
{
    // A part of the first cancelled, 4 typed for an item of 3, a third never reached.
    d.Item({.NRPRODCOMVEN = "000001", .QTPRODCOMVEN = 2.0});
    d.Item({.NRPRODCOMVEN = "000002", .QTPRODCOMVEN = 3.0});
    d.Item({.NRPRODCOMVEN = "000003"});
    fake->MensagemRespostas = {true, true};
    fake->TecladoRespostas = {{true, "1"}, {true, "4"}};
    TfrmCancelaProd& f = Abre(kComanda, "CMD");
    Marca(f, {"000001", "000002", "000003"});
    Cancela(f);

    ASSERT_EQ(fake->Count("TecladoNumerico"), 2);
    EXPECT_EQ(fake->Count("VerificaAcesso"), 1);
    EXPECT_EQ(scalar("SELECT QTPRODCOMVEN FROM ITCOMANDAVEN WHERE NRPRODCOMVEN = '000001'").toDouble(), 1.0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM ITCOMANDAVEN WHERE IDSTPRCOMVEN = '6'").toInt(), 1);
    // The list is the database's again: the row the run handled (still
    // standing, with what is left of it) is unmarked, the others keep their marks.
    EXPECT_EQ(Marcas(f.cdsProduto), QStringList({"0:000001U", "0:000002C", "0:000003C"}));

    // The next press goes on from there: one authorisation, the two rows.
    fake->Calls.clear();
    fake->MensagemRespostas = {true};
    fake->TecladoRespostas = {{true, "2"}};
    Cancela(f);
    EXPECT_EQ(fake->Count("VerificaAcesso"), 1);
    EXPECT_EQ(fake->Count("LogControleAcess"), 2);
    EXPECT_EQ(scalar("SELECT QTPRODCOMVEN FROM ITCOMANDAVEN WHERE NRPRODCOMVEN = '000002'").toDouble(), 1.0);
    EXPECT_EQ(Marcas(f.cdsProduto), QStringList({"0:000001U", "0:000002U"}));
}

TEST_P(CancelCommandTest, SplitBillProductInThreePartsGoesTogetherOnceEach)
{
    // A table's three tabs share the split item; the product code holds a quote.
    d.Produto({.CDPRODUTO = "P'1", .NMPRODUTO = "Pizza"});
    exec("UPDATE COMANDAVEN SET DSCOMANDA = 'RES_0010'");
    d.Comanda({.NRCOMANDA = kTab2, .DSCOMANDA = "RES_0010", .VRACRCOMANDA = 10.0});
    d.Comanda({.NRCOMANDA = kTab3, .DSCOMANDA = "RES_0010", .VRACRCOMANDA = 10.0});
    d.Item({.NRPRODCOMVEN = "000001", .VRACRCOMVEN = 0.5});
    for (const QString& tab : {kComanda, kTab2, kTab3})
        d.Item({.NRCOMANDA = tab,
                .NRPRODCOMVEN = tab == kComanda ? "000002" : "000001",
                .CDPRODUTO = "P'1",
                .QTPRODCOMVEN = 0.5,
                .VRACRCOMVEN = 1.0,
                .IDDIVIDECONTA = "S"});
    d.Item({.NRCOMANDA = kTab2, .NRPRODCOMVEN = "000002", .IDDIVIDECONTA = "S"}); // another product's split

    TfrmCancelaProd& f = Abre(kComanda, "RES", kMesa);
    Marca(f, {"000001", kTab2 + "/000001"});
    Cancela(f);

    EXPECT_EQ(Linhas(),
              QStringList({"0:000001/6/1", "0:000002/6/0.5", "1:000001/6/0.5", "1:000002/1/1", "2:000001/6/0.5"}));
    EXPECT_NEAR(Acrescimo(), 10.0 - 0.5 - 1.0, 1e-9);
    EXPECT_DOUBLE_EQ(Acrescimo(kTab2), 9.0);
    EXPECT_DOUBLE_EQ(Acrescimo(kTab3), 9.0);
    EXPECT_EQ(fake->Count("Observacao"), 2);
    EXPECT_EQ(fake->Mensagens(),
              QStringList({"Confirma o Cancelamento de 2 Produto(s) ?",
                           "Atenção. Todos os produtos combinados à este serão cancelados. Confirma?"}));
    // Each part logged once, under the comanda of the marked part.
    const QStringList partes = Args("LogControleAcess", 7).filter("Pizza");
    EXPECT_EQ(fake->Count("LogControleAcess"), 4);
    ASSERT_EQ(partes.size(), 3);
    for (const QString& p : partes)
        EXPECT_TRUE(p.startsWith("Produto cancelado P'1 - Pizza - Qtde. " + QtdeToStr(0.5))
                    && p.endsWith("Nr. Coman: " + kTab2))
            << p.toStdString();
    EXPECT_EQ(fake->Count("DisplayEnviaTexto"), 2); // the split rows are not shown
}

TEST_P(CancelCommandTest, ComboIsCancelledOnceWhateverItsMembersPlaceAndOnlyInItsComanda)
{
    exec("UPDATE COMANDAVEN SET DSCOMANDA = 'RES_0010'");
    d.Comanda({.NRCOMANDA = kTab2, .DSCOMANDA = "RES_0010", .VRACRCOMANDA = 10.0});
    d.Item({.NRPRODCOMVEN = "000001", .VRACRCOMVEN = 1.0, .NRSEQPRODCOM = "0'1"});
    d.Item({.NRPRODCOMVEN = "000002", .VRACRCOMVEN = 0.5});
    d.Item({.NRPRODCOMVEN = "000003", .VRACRCOMVEN = 2.0, .NRSEQPRODCOM = "0'1"});
    d.Item({.NRPRODCOMVEN = "000004", .VRACRCOMVEN = 4.0, .IDSTPRCOMVEN = "6"});
    d.Item({.NRCOMANDA = kTab2, .NRPRODCOMVEN = "000001", .VRACRCOMVEN = 1.0, .NRSEQPRODCOM = "0'1"});

    TfrmCancelaProd& f = Abre(kComanda, "RES", kMesa);
    Marca(f, {"000001", "000002", "000003"});
    Cancela(f);

    EXPECT_EQ(Linhas(), QStringList({"0:000001/6/1", "0:000002/6/1", "0:000003/6/1", "0:000004/6/1", "1:000001/1/1"}));
    EXPECT_NEAR(Acrescimo(), 10.0 - 1.0 - 2.0 - 0.5, 1e-9); // the members' own surcharges, once each
    EXPECT_DOUBLE_EQ(Acrescimo(kTab2), 10.0);
    EXPECT_EQ(fake->Count("LogImpNFiscal"), 2);
    const QStringList detalhes = Args("LogControleAcess", 7);
    ASSERT_EQ(detalhes.size(), 3);
    EXPECT_TRUE(detalhes[0].startsWith("Produto combinado cancelado")
                && detalhes[1].startsWith("Produto combinado cancelado")
                && detalhes[2].startsWith("Produto cancelado"));
}

TEST_P(CancelCommandTest, AccessCodeComesFromTheFirstMarkedRowAndOnlyFourAndFiveAreLogged)
{
    // Rows are told apart by product, tree code and entry time.
    d.Item({.NRPRODCOMVEN = "000001"});
    d.Item({.NRPRODCOMVEN = "000002", .DTHRINCOMVEN = kAbertura.addSecs(900)});
    struct Caso {
        int ultimo, generico;
        QString marca, acao, titulo;
    };
    const Caso casos[] = {{4, 5, "000002", "CAN_ULT", "Cancelamento último item."},
                          {4, 5, "000001", "CAN_GEN", "Cancelamento item genérico."},
                          {7, 5, "000002", "", ""},
                          {4, 8, "000001", "", ""}};
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.marca.toStdString() + " " + std::to_string(c.ultimo));
        exec("UPDATE ITCOMANDAVEN SET IDSTPRCOMVEN = '1'");
        Parametros({{"CTCANCULTITEM", c.ultimo}, {"CTCANCITEMGEN", c.generico}});
        fake->Calls.clear();
        TfrmCancelaProd& f = Abre(kComanda, "CMD");
        Marca(f, {c.marca});
        Cancela(f);
        EXPECT_EQ(fake->CallsOf("VerificaAcesso")[0].Args[0].toInt(), c.marca == "000002" ? c.ultimo : c.generico);
        EXPECT_EQ(Args("LogControleAcess", 2), c.acao.isEmpty() ? QStringList() : QStringList{c.acao});
        EXPECT_EQ(Args("LogControleAcess", 6), c.titulo.isEmpty() ? QStringList() : QStringList{c.titulo});
        EXPECT_EQ(scalar("SELECT IDSTPRCOMVEN FROM ITCOMANDAVEN WHERE NRPRODCOMVEN = ?", {c.marca}).toString(), "6");
    }
}

TEST_P(CancelCommandTest, CancelAllDeliveryAsksNothingButReasonAndQuantityAndClosesWholeRows)
{
    Parametros({{"DISPLAYOK", false}});
    exec("UPDATE COMANDAVEN SET IDSTCOMANDA = '2'");
    d.Item({.NRPRODCOMVEN = "000001"});
    d.Item({.NRPRODCOMVEN = "000002", .QTPRODCOMVEN = 3.0});
    d.ParamGeral("S");
    fake->TecladoRespostas = {{true, "2"}};
    // What the typed quantity leaves of the second item is reported to the caller.
    try {
        Abre(kComanda, "DLV_T", "T");
        ADD_FAILURE() << "the remainder of 000002 was not reported";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(),
                  "Nem todos os itens do pedido foram cancelados. Não cancelados: 000002 Filé à parmegiana.");
    }

    EXPECT_TRUE(fake->Mensagens().isEmpty()) << fake->Mensagens().join('|').toStdString();
    EXPECT_EQ(Servicos(),
              QStringList({"VerificaAcesso", "LogImpNFiscal", "Observacao", "LogControleAcess", "LogImpNFiscal",
                           "Observacao", "TecladoNumerico", "LogControleAcess", "DisparaImprimeCancProduto",
                           "DisparaImprimeCancProduto"}));
    // The whole row closes its order line and recomputes the tab; the partial row's stays open.
    EXPECT_EQ(Linhas(), QStringList({"0:000001/6/1", "0:000002/1/1", "0:000003/6/2"}));
    EXPECT_EQ(scalar("SELECT IDSTCOMANDA FROM COMANDAVEN").toString(), "1");
}

// The other till's run is played by the same writes this till's run makes.
// Passes only with the item writes that refuse an item already cancelled
// (setStatusItemComanda, setCancelaProd); without that refusal the second
// run lowers the surcharge and gives the benefit back once more.
TEST_P(CancelCommandTest, ItemAlreadyCancelledByAnotherTillIsNotWrittenAgain)
{
    const od::Beneficio b{};
    d.BeneficioSaldo(b, 2.0);
    d.BeneficioConsumo("B1", b, "099"); // booked at another till: the give-back cannot rely on the booking's delete
    d.Item({.NRPRODCOMVEN = "000001", .VRACRCOMVEN = 1.5, .NRSEQBENECONSIT = "B1"});
    TfrmCancelaProd& f = Abre(kComanda, "CMD");
    Marca(f, {"000001"});

    ASSERT_FALSE(setAcrescimo(kFilial, "098", kComanda, 1.5).isValid());
    ASSERT_FALSE(setStatusItemComanda(kFilial, "098", kVenda, kComanda, "000001", "1", "1", "Outro caixa", "0001",
                                      "0001", "B1", "")
                     .isValid());
    Cancela(f);

    EXPECT_DOUBLE_EQ(Acrescimo(), 8.5);
    EXPECT_DOUBLE_EQ(scalar("SELECT QTDEBENEFICIO FROM MOVBENEFICIOCTR").toDouble(), 3.0);
    EXPECT_EQ(scalar("SELECT TXPRODCOMVEN FROM ITCOMANDAVEN").toString(), "Outro caixa");
    EXPECT_EQ(fake->Count("LogControleAcess"), 0);
    EXPECT_EQ(fake->Mensagens().size(), 2); // the confirmation, then the refusal
    EXPECT_TRUE(Marcas(f.cdsProduto).isEmpty());
}

// An item taken from another tab is cancelled there too, but its benefit goes
// back once, also when the booking was made at another till (not deleted here).
TEST_P(CancelCommandTest, ItemTakenFromAnotherTabGivesItsBenefitBackOnce)
{
    const od::Beneficio b{};
    d.BeneficioSaldo(b, 2.0);
    d.BeneficioConsumo("B1", b, "099");
    d.Comanda({.NRCOMANDA = kTab2, .DSCOMANDA = "CMD_0101"});
    d.Item({.NRCOMANDA = kTab2, .NRPRODCOMVEN = "000001", .NRSEQBENECONSIT = "B1"});
    d.Item({.NRPRODCOMVEN = "000001",
            .DSCOMANDAORI = "CMD_0101",
            .NRCOMANDAORI = kTab2,
            .NRPRODCOMORI = "000001",
            .NRSEQBENECONSIT = "B1"});
    TfrmCancelaProd& f = Abre(kComanda, "CMD");
    Marca(f, {"000001"});
    Cancela(f);

    EXPECT_EQ(Linhas(), QStringList({"0:000001/6/1", "1:000001/6/1"}));
    EXPECT_DOUBLE_EQ(scalar("SELECT QTDEBENEFICIO FROM MOVBENEFICIOCTR").toDouble(), 3.0);
}

KVP_INSTANTIATE_ENGINES(CancelCommandTest);

} // namespace
