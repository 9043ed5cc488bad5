// Every cancellation written, told and reported once: two tills on one item,
// items taken from another tab, combo and split-bill rows met twice in a run,
// host services that fail after a row was written, and a cancel-all run that
// cannot read its order again.
#include "ListaItensTestSupport.h"
#include "RdmCancelaProd.h"
#include "Srv_kvp00917.h"
#include "TextoQuantidade.h"
#include "Wdc00002.h"

namespace {

using namespace od;

const QString kTab2 = QStringLiteral("0000000101");

class CancelOnceTest : public TelaDbTest {
protected:
    void SetUp() override
    {
        TelaDbTest::SetUp();
        if (IsSkipped())
            return;
        Cli_kvp00917::Inicializacao();
        GravaOperador();
        GravaParametros({}, {{"IDSOLOBSCAN", "S"}, {"CTCANCULTITEM", 4}, {"CTCANCITEMGEN", 5}, {"DISPLAYOK", true}});
        d.Produto({});
        d.ProdLoja({});
        d.VendaComComanda({}, {.VRACRCOMANDA = 10.0});
    }
    void TearDown() override
    {
        Cli_kvp00917::Finalizacao();
        TelaDbTest::TearDown();
    }

    static void Marca(TfrmCancelaProd& f, const QStringList& linhas)
    {
        for (const QString& l : linhas) {
            const QStringList p = l.contains('/') ? l.split('/') : QStringList{kComanda, l};
            ASSERT_TRUE(f.cdsProduto.Locate(QStringLiteral("NRCOMANDA;NRPRODCOMVEN"), {p[0], p[1]})) << l.toStdString();
            f.dbgProdutoDblClick();
        }
    }
    QStringList Servicos() const
    {
        QStringList out;
        for (const FakeHost::Call& c : fake->Calls)
            out << c.Service;
        return out;
    }
    // Every line as comanda's last digit, item, state and quantity: "0:000001/6/1".
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
    // The ticket rows of every dispatch to the first printer group, as item and
    // quantity: "000011x3".
    QStringList TicketsGrupo1() const
    {
        QStringList out;
        const auto despachos = fake->CallsOf("DisparaImprimeCancProduto");
        for (qsizetype i = 0; i < despachos.size(); i += 2)
            for (const QVariantList& r :
                 ToDataPacket(despachos[i].Args[0].toList().value(Wdc00002::NotaCancelamento::Pacote)).Rows) {
                const QStringList t = RowText(r);
                out << t[7] + 'x' + t[1];
            }
        return out;
    }
    qsizetype Posicao(const QString& servico, const QString& texto = {}) const
    {
        for (qsizetype i = 0; i < fake->Calls.size(); ++i)
            if (fake->Calls[i].Service == servico
                && (texto.isEmpty() || fake->Calls[i].Args.value(0).toString().contains(texto)))
                return i;
        return -1;
    }

    DadosComanda d = Dados();
};

// The other till opens the same tab, marks the item and presses the button
// while this till's operator is answering for the same item: after this till
// read the list, before it writes. It works on a connection of its own.
TEST_P(CancelOnceTest, TwoTillsOnOneItemCancelEachUnitOnceAndTheLoserIsTold)
{
    struct Caso {
        const char* nome;
        double quantidade;
        const char* digitado; // the same on both tills; nullptr: the whole row, no keypad
        QStringList linhas;
        QString pedido; // the production row afterwards
        double acrescimo;
        QStringList tickets;
        const char* agora; // what the refusal says the row holds now
        QStringList grade; // this till's list afterwards
    };
    const Caso casos[] = {
        {"both type 3 of 4",
         4,
         "3",
         {"0:000011/1/1", "0:000012/6/3"},
         "1/P",
         10.0 - 3 * 0.5,
         {"000011x3"},
         "quantidade 1 ",
         {"0:000011U"}},
        {"both type 1 of 4",
         4,
         "1",
         {"0:000011/1/3", "0:000012/6/1"},
         "3/P",
         10.0 - 0.5,
         {"000011x1"},
         "quantidade 3 ",
         {"0:000011U"}},
        {"both whole", 1, nullptr, {"0:000011/6/1"}, "1/C", 10.0 - 0.5, {"000011x1"}, "já está cancelado", {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        exec("DELETE FROM ITCOMANDAVEN");
        exec("DELETE FROM ITPEDIDOQRV");
        exec("UPDATE COMANDAVEN SET VRACRCOMANDA = 10.0");
        d.Item({.NRPRODCOMVEN = "000011", .QTPRODCOMVEN = c.quantidade, .VRACRCOMVEN = 0.5 * c.quantidade});
        d.PedidoQrv({.NRPRODCOMVEN = "000011", .QTPRODPEQRV = c.quantidade});
        fake->Calls.clear();
        if (c.digitado)
            fake->TecladoRespostas = {{true, c.digitado}, {true, c.digitado}};

        const auto outro = otherTill();
        QString fimOutro = QStringLiteral("(não rodou)");
        qsizetype inicioOutro = -1, fimOutroPos = -1;
        fake->OnCall = [&](const FakeHost::Call& call) {
            if (call.Service != "LogImpNFiscal" || inicioOutro >= 0)
                return;
            inicioOutro = fake->Calls.size();
            asTill(*outro, [&] {
                TfrmCancelaProd b;
                b.InicializaForm(kComanda, QStringLiteral("CMD_0100"), QStringLiteral("CMD"), QString());
                Marca(b, {"000011"});
                b.sbtCancelar->click();
                fimOutro = b.MensagemFimExecucao();
                return 0;
            });
            fimOutroPos = fake->Calls.size();
        };
        TfrmCancelaProd& f = Abre(kComanda, "CMD");
        Marca(f, {"000011"});
        f.sbtCancelar->click();
        fake->OnCall = nullptr;

        ASSERT_GT(inicioOutro, 0);
        EXPECT_EQ(fimOutro, QString()); // the other till's run went through
        EXPECT_EQ(Linhas(), c.linhas);
        double soma = 0;
        for (const QVariantList& r : rows("SELECT QTPRODCOMVEN FROM ITCOMANDAVEN"))
            soma += r[0].toDouble();
        EXPECT_DOUBLE_EQ(soma, c.quantidade);
        EXPECT_NEAR(Acrescimo(), c.acrescimo, 1e-9);
        EXPECT_EQ(RowText(rows("SELECT QTPRODPEQRV, IDSITITPEDQRV FROM ITPEDIDOQRV")[0]).join('/'), c.pedido);
        // Told to the kitchen once, by the till that cancelled, with what it cancelled.
        EXPECT_EQ(TicketsGrupo1(), c.tickets);
        QStringList doOutro, desteCaixa;
        for (qsizetype i = 0; i < fake->Calls.size(); ++i) {
            const QString& s = fake->Calls[i].Service;
            if (s == "DisparaImprimeCancProduto" || s == "LogControleAcess")
                (i >= inicioOutro && i < fimOutroPos ? doOutro : desteCaixa) << s;
        }
        EXPECT_EQ(doOutro, QStringList({"LogControleAcess", "DisparaImprimeCancProduto", "DisparaImprimeCancProduto"}));
        EXPECT_EQ(desteCaixa, QStringList());
        // This till's run ended refused, naming the item and what it holds now.
        const QString fim = f.MensagemFimExecucao();
        EXPECT_TRUE(fim.contains("Item 000011 da comanda " + kComanda)) << fim.toStdString();
        EXPECT_TRUE(fim.contains(QString::fromUtf8(c.agora))) << fim.toStdString();
        EXPECT_EQ(fake->Mensagens().last(), fim);
        EXPECT_EQ(Marcas(f.cdsProduto), c.grade); // reloaded: what the database holds, unmarked
    }
}

// Through the keypad, the whole quantity of an item taken from another tab:
// both rows go, the benefit they share comes back once.
TEST_P(CancelOnceTest, KeypadWholeOfATakenItemGivesItsBenefitBackOnce)
{
    const od::Beneficio b{};
    d.BeneficioSaldo(b, 2.0);
    d.BeneficioConsumo("B1", b, "099"); // another till's booking: not deleted here, so only the count tells
    d.Comanda({.NRCOMANDA = kTab2, .DSCOMANDA = "CMD_0101"});
    d.Item({.NRCOMANDA = kTab2, .NRPRODCOMVEN = "000001", .QTPRODCOMVEN = 2.0, .NRSEQBENECONSIT = "B1"});
    d.Item({.NRPRODCOMVEN = "000001",
            .QTPRODCOMVEN = 2.0,
            .DSCOMANDAORI = "CMD_0101",
            .NRCOMANDAORI = kTab2,
            .NRPRODCOMORI = "000001",
            .NRSEQBENECONSIT = "B1"});
    fake->TecladoRespostas = {{true, "2"}};
    TfrmCancelaProd& f = Abre(kComanda, "CMD");
    Marca(f, {"000001"});
    f.sbtCancelar->click();

    EXPECT_EQ(f.MensagemFimExecucao(), QString());
    EXPECT_EQ(Linhas(), QStringList({"0:000001/6/2", "1:000001/6/2"}));
    EXPECT_DOUBLE_EQ(scalar("SELECT QTDEBENEFICIO FROM MOVBENEFICIOCTR").toDouble(), 3.0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM MOVBENEFICIOCONS").toInt(), 1);
    EXPECT_TRUE(rows("SELECT NRSEQBENECONSIT FROM ITCOMANDAVEN WHERE NRSEQBENECONSIT IS NOT NULL").isEmpty());
}

// A table lists a taken item and its origin row; both are marked, and a third
// item after them. The origin row goes with the taken item and is not written
// again; an origin row already gone does not hold the taken item back.
TEST_P(CancelOnceTest, OriginRowsMarkedInTheSameRunCountAsHandled)
{
    exec("UPDATE COMANDAVEN SET DSCOMANDA = 'RES_0010'");
    d.Comanda({.NRCOMANDA = kTab2, .DSCOMANDA = "RES_0010", .VRACRCOMANDA = 10.0});
    d.Item({.NRPRODCOMVEN = "000001",
            .VRACRCOMVEN = 1.0,
            .DSCOMANDAORI = "RES_0010",
            .NRCOMANDAORI = kTab2,
            .NRPRODCOMORI = "000001"});
    d.Item({.NRCOMANDA = kTab2, .NRPRODCOMVEN = "000001", .VRACRCOMVEN = 1.0});
    d.Item({.NRCOMANDA = kTab2, .NRPRODCOMVEN = "000002", .VRACRCOMVEN = 2.0});

    TfrmCancelaProd& f = Abre(kComanda, "RES", kMesa);
    Marca(f, {"000001", kTab2 + "/000001", kTab2 + "/000002"});
    f.sbtCancelar->click();

    EXPECT_EQ(f.MensagemFimExecucao(), QString());
    EXPECT_EQ(fake->Mensagens(), QStringList({"Confirma o Cancelamento de 3 Produto(s) ?"}));
    EXPECT_EQ(Linhas(), QStringList({"0:000001/6/1", "1:000001/6/1", "1:000002/6/1"}));
    EXPECT_DOUBLE_EQ(Acrescimo(), 9.0);
    EXPECT_DOUBLE_EQ(Acrescimo(kTab2), 8.0); // the origin row's surcharge is the taken item's
    EXPECT_EQ(fake->Count("LogControleAcess"), 2);
    EXPECT_EQ(fake->Count("DisparaImprimeCancProduto"), 2);

    // The origin row was cancelled elsewhere (or is gone): the taken item still goes.
    for (const char* origem : {"cancelled", "absent"}) {
        SCOPED_TRACE(origem);
        exec("UPDATE ITCOMANDAVEN SET IDSTPRCOMVEN = '1'");
        if (QString(origem) == "cancelled")
            exec("UPDATE ITCOMANDAVEN SET IDSTPRCOMVEN = '6' WHERE NRCOMANDA = ? AND NRPRODCOMVEN = '000001'", {kTab2});
        else
            exec("DELETE FROM ITCOMANDAVEN WHERE NRCOMANDA = ? AND NRPRODCOMVEN = '000001'", {kTab2});
        fake->Calls.clear();
        TfrmCancelaProd& g = Abre(kComanda, "RES", kMesa);
        Marca(g, {"000001"});
        g.sbtCancelar->click();
        EXPECT_EQ(g.MensagemFimExecucao(), QString());
        EXPECT_EQ(scalar("SELECT IDSTPRCOMVEN FROM ITCOMANDAVEN WHERE NRCOMANDA = ? AND NRPRODCOMVEN = '000001'",
                         {kComanda})
                      .toString(),
                  "6");
    }
}

// A combo marked first holds a split-bill row of product P; another tab's
// split-bill row of P is marked too. The split-bill group then meets the
// combo's row again: it is passed over, not written or refused a second time.
TEST_P(CancelOnceTest, ComboAndSplitBillMeetingOnOneRowCancelItOnce)
{
    d.Produto({.CDPRODUTO = "P2", .NMPRODUTO = "Pizza"});
    exec("UPDATE COMANDAVEN SET DSCOMANDA = 'RES_0010'");
    d.Comanda({.NRCOMANDA = kTab2, .DSCOMANDA = "RES_0010", .VRACRCOMANDA = 10.0});
    d.Item({.NRPRODCOMVEN = "000001", .VRACRCOMVEN = 0.5, .NRSEQPRODCOM = "001"});
    d.Item({.NRPRODCOMVEN = "000002",
            .CDPRODUTO = "P2",
            .QTPRODCOMVEN = 0.5,
            .VRACRCOMVEN = 1.0,
            .NRSEQPRODCOM = "001",
            .IDDIVIDECONTA = "S"});
    d.Item({.NRCOMANDA = kTab2,
            .NRPRODCOMVEN = "000001",
            .CDPRODUTO = "P2",
            .QTPRODCOMVEN = 0.5,
            .VRACRCOMVEN = 1.0,
            .IDDIVIDECONTA = "S"});

    TfrmCancelaProd& f = Abre(kComanda, "RES", kMesa);
    Marca(f, {"000001", "000002", kTab2 + "/000001"});
    f.sbtCancelar->click();

    EXPECT_EQ(f.MensagemFimExecucao(), QString());
    EXPECT_EQ(Linhas(), QStringList({"0:000001/6/1", "0:000002/6/0.5", "1:000001/6/0.5"}));
    EXPECT_NEAR(Acrescimo(), 10.0 - 0.5 - 1.0, 1e-9);
    EXPECT_NEAR(Acrescimo(kTab2), 9.0, 1e-9);
    EXPECT_EQ(fake->Mensagens().filter("Item "), QStringList()); // no refusal
    EXPECT_EQ(fake->Count("LogControleAcess"), 3);
}

// A host service that raises after a row was written: the row stays cancelled,
// the failure is told first, then the kitchen hears of the row, and the call
// reports the failure. The same order when a prompt's reading fails further on.
TEST_P(CancelOnceTest, FailureAfterTheCommitIsToldThenTheCommittedRowsAreDispatched)
{
    d.Item({.NRPRODCOMVEN = "000001"});
    d.Item({.NRPRODCOMVEN = "000002"});
    struct Caso {
        const char* nome;
        const char* servico; // raises on its first call
        QStringList linhas;
    };
    const Caso casos[] = {
        {"access log", "LogControleAcess", {"0:000001/6/1", "0:000002/1/1"}},
        {"display", "DisplayEnviaTexto", {"0:000001/6/1", "0:000002/1/1"}},
        {"second reason", "Observacao", {"0:000001/6/1", "0:000002/1/1"}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        exec("UPDATE ITCOMANDAVEN SET IDSTPRCOMVEN = '1'");
        fake->Calls.clear();
        const QString falha = QStringLiteral("Serviço %1 indisponível").arg(c.servico);
        const bool segunda = QString(c.servico) == "Observacao";
        fake->OnCall = [&](const FakeHost::Call& call) {
            if (call.Service == c.servico && fake->Count(c.servico) == (segunda ? 2 : 1))
                throw Exception(falha);
        };
        TfrmCancelaProd& f = Abre(kComanda, "CMD");
        Marca(f, {"000001", "000002"});
        f.sbtCancelar->click();
        fake->OnCall = nullptr;

        EXPECT_EQ(Linhas(), c.linhas);
        EXPECT_EQ(TicketsGrupo1(), QStringList({"000001x1"}));
        const qsizetype aviso = Posicao("Mensagem", falha);
        ASSERT_GE(aviso, 0) << Servicos().join(' ').toStdString();
        EXPECT_LT(aviso, Posicao("DisparaImprimeCancProduto"));
        EXPECT_EQ(f.MensagemFimExecucao(), falha);
        EXPECT_EQ(Marcas(f.cdsProduto), QStringList({"0:000002C"}));
    }
}

// A cancel-all run whose list cannot be read again afterwards: what the run
// believes is no answer, so the caller hears that the result is unchecked.
TEST_P(CancelOnceTest, CancelAllThatCannotReadTheOrderAgainSaysSo)
{
    exec("UPDATE COMANDAVEN SET DSCOMANDA = 'DLV_0100'");
    d.Item({.NRPRODCOMVEN = "000001"});
    fake->OnCall = [&](const FakeHost::Call& call) {
        if (call.Service == "DisparaImprimeCancProduto" && fake->Count(call.Service) == 1)
            BreakStatement(rdmCancelaProd->adqItComanda, "ITCOMANDAVEN");
    };
    QString erro;
    try {
        Abre(kComanda, "DLV_T", "T");
    } catch (const Exception& e) {
        erro = e.Message();
    }
    fake->OnCall = nullptr;

    EXPECT_TRUE(erro.startsWith("Não foi possível conferir o resultado do cancelamento: ")) << erro.toStdString();
    EXPECT_TRUE(erro.contains("TABELA_AUSENTE", Qt::CaseInsensitive)) << erro.toStdString();
    EXPECT_FALSE(erro.contains("Não cancelados")) << erro.toStdString();
    EXPECT_EQ(Linhas(), QStringList({"0:000001/6/1"}));
    EXPECT_EQ(fake->Count("DisparaImprimeCancProduto"), 2);
}

KVP_INSTANTIATE_ENGINES(CancelOnceTest);

} // namespace
