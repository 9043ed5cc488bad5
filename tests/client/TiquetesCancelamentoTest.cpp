// Production tickets and the cancellation notice on a real database: the rows
// of each path as the till's print service receives them, the dispatches and
// their values, and what the kitchen hears when a run stops early.
#include "DBGrid.h"
#include "DataPacket.h"
#include "ListaItensTestSupport.h"
#include "RdmCancelaProd.h"
#include "Srv_kvp00917.h"
#include "Wdc00002.h"

namespace {

using namespace od;

const QString kTab2 = QStringLiteral("0000000101");
// Over the ticket's 40 characters: the row keeps the first 40.
const QString kMotivoLongo = QStringLiteral("Cliente desistiu do prato porque demorou demais");
const QString kMotivoCortado = QStringLiteral("Cliente desistiu do prato porque demorou");

class CancelTicketsTest : public TelaDbTest {
protected:
    void SetUp() override
    {
        TelaDbTest::SetUp();
        if (IsSkipped())
            return;
        Cli_kvp00917::Inicializacao();
        GravaOperador();
        Parametros({});
        d.VendaComComanda();
        d.Vendedor(kVendedor, "Joaquim", "1");
        fake->MotivoPadrao = {"1", kMotivoLongo};
    }
    void TearDown() override
    {
        Cli_kvp00917::Finalizacao();
        TelaDbTest::TearDown();
    }

    // The till's own printers 1, 5 and 3 and its printer numbers, a reason asked.
    void Parametros(QVariantMap valores)
    {
        const QVariantMap padrao{{"IDSOLOBSCAN", "S"},      {"CDPORTIMPNF1", "LPT1"}, {"IDTIPOIMPNF1", "TXT1"},
                                 {"CDPORTAIMPNF5", "LPT5"}, {"IDTIPOIMPNF5", "TXT5"}, {"CDPORTIMPNF3", "LPT3"},
                                 {"IDTIPOIMPNF3", "TXT3"},  {"NRSEQIMPRLOJA1", "91"}, {"NRSEQIMPRLOJA2", "92"},
                                 {"IDIMPCANSATNFCE", "N"},  {"DISPLAYOK", false}};
        for (auto i = padrao.begin(); i != padrao.end(); ++i)
            valores.insert(i.key(), valores.value(i.key(), i.value()));
        GravaParametros({}, valores);
    }
    // Store printers 01 and 02 for the products, 91 and 92 for the till, each with its address.
    void Impressoras()
    {
        d.Impressora("EPS", "1");
        d.Impressora("BEM", "2");
        for (const char* n : {"01", "02", "91", "92"}) {
            d.Porta(QStringLiteral("PT") + n, QStringLiteral("10.0.0.%1:9100").arg(QLatin1String(n)));
            d.ImprLoja(n, QStringLiteral("PT") + n, QLatin1String(n) == QLatin1String("02") ? "BEM" : "EPS");
        }
        d.Caixa({.NRSEQIMPRLOJA1 = "91", .NRSEQIMPRLOJA1BK = "92", .NRSEQIMPRLOJA2 = "92", .NRSEQIMPRLOJA2BK = "91"});
    }
    void Marca(TfrmCancelaProd& f, const QStringList& linhas)
    {
        for (const QString& l : linhas) {
            const QStringList p = l.contains('/') ? l.split('/') : QStringList{kComanda, l};
            ASSERT_TRUE(f.cdsProduto.Locate(QStringLiteral("NRCOMANDA;NRPRODCOMVEN"), {p[0], p[1]})) << l.toStdString();
            f.dbgProdutoDblClick();
        }
    }
    QList<QVariantList> Despachos() const
    {
        QList<QVariantList> out;
        for (const FakeHost::Call& c : fake->CallsOf("DisparaImprimeCancProduto"))
            out << c.Args[0].toList();
        return out;
    }
    // The ticket rows of a packet, one text per row, fields in order, null as "null".
    static QStringList Tickets(const QVariant& pacote)
    {
        QStringList out;
        for (const QVariantList& r : ToDataPacket(pacote).Rows)
            out << RowText(r).join('|');
        return out;
    }
    static QStringList Tickets(const QVariantList& despacho)
    {
        return Tickets(despacho.value(Wdc00002::NotaCancelamento::Pacote));
    }

    DadosComanda d = Dados();
};

TEST_P(CancelTicketsTest, OrdinaryPartialFallbackAndCompositeItemsGiveRowsForBothPrinterGroups)
{
    Impressoras();
    d.Produto({});
    d.ProdLoja({.NRSEQIMPRPROD = "01", .NRSEQIMPRPROD2 = "02"});
    d.Produto({.CDPRODUTO = "P2", .NMPRODUTO = "Suco"});
    d.ProdLoja({.CDPRODUTO = "P2"}); // no printer of its own
    d.Produto({.CDPRODUTO = "P'3", .NMPRODUTO = "Prato feito", .IDTIPOCOMPPROD = "3"});
    for (const char* c : {"C1", "C2", "C3"}) {
        d.Produto({.CDPRODUTO = c, .NMPRODUTO = QStringLiteral("Componente ") + c});
        d.ProdLoja({.CDPRODUTO = c, .CDPORIMPPROD = "09"});
    }
    d.Item({.NRPRODCOMVEN = "000001"});
    d.Item({.NRPRODCOMVEN = "000002", .QTPRODCOMVEN = 5.0});
    d.Item({.NRPRODCOMVEN = "000003", .CDPRODUTO = "P2"});
    const od::Item composto{.NRPRODCOMVEN = "000004", .CDPRODUTO = "P'3", .QTPRODCOMVEN = 3.0};
    d.Item(composto);
    d.Componente(composto, "C1", 1, "N");
    d.Componente(composto, "C2", 3, "N");
    d.Componente(composto, "C3", 1, "S"); // printed with the promotion: not on the ticket
    fake->TecladoRespostas = {{true, "2"}, {true, "2"}};

    TfrmCancelaProd& f = Abre(kComanda, "CMD");
    Marca(f, {"000001", "000002", "000003", "000004"});
    f.sbtCancelar->click();

    const QString motivo = "|1|" + kMotivoCortado + "|";
    // A partial cancellation withdraws the typed quantity of every component.
    const QStringList componentes{"Componente C1|2|09|S|null|Prato feito|C1|000004" + motivo + "null",
                                  "Componente C2|2|09|S|null|Prato feito|C2|000004" + motivo + "null"};
    const QList<QVariantList> despachos = Despachos();
    ASSERT_EQ(despachos.size(), 2);
    EXPECT_EQ(Tickets(despachos[0]),
              QStringList({"Filé à parmegiana|1|PT01|S|1|null|P1|000001" + motivo + "10.0.0.01:9100",
                           "Filé à parmegiana|2|PT01|S|1|null|P1|000002" + motivo + "10.0.0.01:9100",
                           "Suco|1|LPT1|S|TXT1|null|P2|000003" + motivo + "10.0.0.91:9100"})
                  + componentes);
    EXPECT_EQ(Tickets(despachos[1]),
              QStringList({"Filé à parmegiana|1|PT02|S|2|null|P1|000001" + motivo + "10.0.0.02:9100",
                           "Filé à parmegiana|2|PT02|S|2|null|P1|000002" + motivo + "10.0.0.02:9100",
                           "Suco|1|LPT5|S|TXT5|null|P2|000003" + motivo + "10.0.0.92:9100"})
                  + componentes);
}

TEST_P(CancelTicketsTest, ComboRowsAndSplitBillPartsGoToThePrintersTheirPortRecordAllows)
{
    // No store printers at all: the till's printers stand in, without an address.
    Parametros({{"NRSEQIMPRLOJA1", ""}, {"NRSEQIMPRLOJA2", ""}});
    d.Produto({});
    d.ProdLoja({});
    d.Produto({.CDPRODUTO = "PR", .NMPRODUTO = "Combo executivo", .IDTIPOCOMPPROD = "3"});
    d.ProdLoja({.CDPRODUTO = "PR"});
    d.Produto({.CDPRODUTO = "P2", .NMPRODUTO = "Suco"});
    d.ProdLoja({.CDPRODUTO = "P2", .IDIMPCANITEM = "N"}); // no production-port record
    d.Produto({.CDPRODUTO = "C1", .NMPRODUTO = "Arroz"});
    d.ProdLoja({.CDPRODUTO = "C1"});
    d.Produto({.CDPRODUTO = "P4", .NMPRODUTO = "Pizza"});
    d.ProdLoja({.CDPRODUTO = "P4"});
    const od::Item promocao{.NRPRODCOMVEN = "000001", .CDPRODUTO = "PR", .NRSEQPRODCOM = "001", .CDPRODPROMOCAO = "PR"};
    d.Item(promocao);
    d.Componente(promocao, "C1", 1, "N");
    d.Item({.NRPRODCOMVEN = "000002", .NRSEQPRODCOM = "001", .CDPRODPROMOCAO = "PR"});
    d.Item({.NRPRODCOMVEN = "000003",
            .CDPRODUTO = "P2",
            .QTPRODCOMVEN = 2.0,
            .NRSEQPRODCOM = "001",
            .CDPRODPROMOCAO = "PR"});
    for (const char* n : {"000004", "000005", "000006"})
        d.Item({.NRPRODCOMVEN = n,
                .CDPRODUTO = "P4",
                .QTPRODCOMVEN = QLatin1String(n) == QLatin1String("000006") ? 0.5 : 0.25,
                .IDDIVIDECONTA = "S"});

    TfrmCancelaProd& f = Abre(kComanda, "CMD");
    Marca(f, {"000001", "000004"});
    f.sbtCancelar->click();

    const QString motivo = "|1|" + kMotivoCortado + "|null";
    const QStringList partes{"Pizza|0.25|LPT%1|S|TXT%1|null|null|null" + motivo,
                             "Pizza|0.25|LPT%1|S|TXT%1|null|null|null" + motivo,
                             "Pizza|0.5|LPT%1|S|TXT%1|null|null|null" + motivo};
    const auto grupo = [&](const QStringList& linhas, int n) {
        QStringList out;
        for (const QString& l : linhas)
            out << l.arg(n);
        return out;
    };
    const QList<QVariantList> despachos = Despachos();
    ASSERT_EQ(despachos.size(), 2);
    EXPECT_EQ(Tickets(despachos[0]),
              grupo(QStringList({"Arroz|1|LPT%1|S|TXT%1|null|null|null" + motivo,
                                 "Filé à parmegiana|1|LPT%1|S|TXT%1|null|null|null" + motivo})
                        + partes,
                    1));
    EXPECT_EQ(Tickets(despachos[1]),
              grupo(QStringList({"Arroz|1|LPT%1|S|TXT%1|null|null|null" + motivo,
                                 "Filé à parmegiana|1|LPT%1|S|TXT%1|null|null|null" + motivo,
                                 "Suco|2|LPT%1|S|TXT%1|null|null|null" + motivo})
                        + partes,
                    5));
}

TEST_P(CancelTicketsTest, DispatchesCarryTheNoticeOfTheLastItemByModeAndPrinterThree)
{
    d.Produto({});
    d.ProdLoja({});
    d.Comanda({.NRCOMANDA = kTab2, .DSCOMANDA = "RES_0010"});
    d.Item({.NRPRODCOMVEN = "000001"});
    d.Item({.NRCOMANDA = kTab2, .NRPRODCOMVEN = "000001"});
    struct Caso {
        const char* modo;
        const char* integracao; // the till's IDIMPCANPEDINT
        const char* impressora3; // IDIMPCANSATNFCE
        QStringList modelos; // index 1 of each dispatch
    };
    const Caso casos[] = {
        {"CMD", "S", "N", {"TXT1", "TXT5"}},
        {"RES", "N", "S", {"TXT1", "TXT5", "TXT3"}}, // the skip is for delivery only
        {"DLV", "S", "S", {"TXT1", "TXT5", "TXT3"}},
        {"DLV", "N", "S", {}},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(std::string(c.modo) + c.integracao + c.impressora3);
        exec("UPDATE ITCOMANDAVEN SET IDSTPRCOMVEN = '1'");
        exec("DELETE FROM CAIXA");
        d.Caixa({.IDIMPCANPEDINT = c.integracao});
        Parametros({{"IDIMPCANSATNFCE", c.impressora3}});
        fake->Calls.clear();
        fake->MotivoRespostas = {{"1", "Primeiro"}, {"2", "Demorou"}};
        const bool mesa = QLatin1String(c.modo) == QLatin1String("RES");
        exec("UPDATE COMANDAVEN SET DSCOMANDA = ? WHERE NRCOMANDA = ?", {mesa ? "RES_0010" : "CMD_0100", kComanda});
        TfrmCancelaProd& f = Abre(kComanda, c.modo, mesa ? kMesa : QString());
        Marca(f, mesa ? QStringList{"000001", kTab2 + "/000001"} : QStringList{"000001"});
        f.sbtCancelar->click();

        const QList<QVariantList> despachos = Despachos();
        QStringList modelos;
        for (const QVariantList& a : despachos)
            modelos << a.value(1).toString();
        EXPECT_EQ(modelos, c.modelos);
        // Printer 3 gets the first group's rows, re-pointed also when nothing is sent.
        if (QLatin1String(c.impressora3) == QLatin1String("S")) {
            EXPECT_TRUE(Tickets(ToVariant(f.cdsDescProd.Data())).constFirst().contains("|LPT3|S|TXT3|"));
        }
        if (despachos.size() == 3) {
            EXPECT_EQ(Tickets(despachos[2]), Tickets(despachos[0]).replaceInStrings("|LPT1|S|TXT1|", "|LPT3|S|TXT3|"));
        }
        if (despachos.isEmpty())
            continue;
        const QString comanda = mesa ? kTab2 : kComanda;
        QVariantList esperado{false,
                              c.modelos[0],
                              QLatin1String(c.modo) == QLatin1String("CMD") ? "CMD_0100" : comanda,
                              mesa ? kMesa : "",
                              "Joaquim",
                              mesa ? "2" : "1",
                              mesa ? " Demorou" : " Primeiro",
                              "",
                              despachos[0].value(8),
                              " Cancelamento de Pedido",
                              "Cupom :",
                              "Motivo :",
                              "Garcom :",
                              "Pedido :",
                              "Mesa   :",
                              "",
                              comanda,
                              "CMD_0100"};
        EXPECT_EQ(despachos[0], esperado);
    }
}

TEST_P(CancelTicketsTest, AnEarlyStopStillSendsTheTicketsOfTheItemsAlreadyCancelled)
{
    d.Produto({});
    d.ProdLoja({});
    for (int i = 1; i <= 3; ++i) {
        d.Item({.NRPRODCOMVEN = QString("00000%1").arg(i)});
        d.PedidoQrv({.NRPRODCOMVEN = QString("00000%1").arg(i)});
    }
    struct Caso {
        const char* nome;
        std::function<void()> naTerceira; // when the third item's log line is written
        double qtdeTerceira;
        QList<FakeHost::Motivo> motivos;
        QList<FakeHost::Teclado> teclado;
        QStringList itens; // the items on the first group's tickets
        QVariantList aviso; // the notice's reason: the last item cancelled
        int cancelados;
    };
    const FakeHost::Motivo r1{"1", "Primeiro"}, r2{"2", "Segundo"}, r3{"3", "Terceiro"};
    const Caso casos[] = {
        {"third write fails",
         [] { BreakStatement(rdmCancelaProd->acmUpdSitItPedidoQrv, "ITPEDIDOQRV"); },
         1,
         {r1, r2, r3},
         {},
         {"000001", "000002"},
         {"2", " Segundo"},
         2},
        {"third lookup fails",
         [] { BreakStatement(rdmCancelaProd->adqProdutoNormal, "ITCOMANDAVEN"); },
         1,
         {r1, r2, r3},
         {},
         {"000001", "000002"},
         {"3", " Terceiro"},
         3},
        {"keypad closed on the third",
         [] {},
         3,
         {r1, r2, r3},
         {{false, {}}},
         {"000001", "000002"},
         {"2", " Segundo"},
         2},
        {"first reason given up", [] {}, 1, {{"1", "erro"}}, {}, {}, {}, 0},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.nome);
        exec("UPDATE ITCOMANDAVEN SET IDSTPRCOMVEN = '1'");
        exec("UPDATE ITCOMANDAVEN SET QTPRODCOMVEN = ? WHERE NRPRODCOMVEN = '000003'", {c.qtdeTerceira});
        freeModule();
        connectModule(); // statements whole again
        fake->Calls.clear();
        fake->MotivoRespostas = c.motivos;
        fake->TecladoRespostas = c.teclado;
        fake->OnCall = [&](const FakeHost::Call& call) {
            if (call.Service == "LogImpNFiscal" && fake->Count("LogImpNFiscal") == 3)
                c.naTerceira();
        };
        TfrmCancelaProd& f = Abre(kComanda, "CMD");
        f.dbgProdutoTitleClick(f.dbgProduto->FieldColumn("IDCHECK"));
        f.sbtCancelar->click();
        fake->OnCall = nullptr;

        EXPECT_EQ(scalar("SELECT COUNT(*) FROM ITCOMANDAVEN WHERE IDSTPRCOMVEN = '6'").toInt(), c.cancelados);
        const QList<QVariantList> despachos = Despachos();
        ASSERT_EQ(despachos.size(), c.itens.isEmpty() ? 0 : 2);
        if (despachos.isEmpty())
            continue;
        QStringList itens;
        for (const QString& t : Tickets(despachos[0]))
            itens << t.section('|', 7, 7);
        EXPECT_EQ(itens, c.itens);
        EXPECT_EQ(despachos[0].mid(5, 2), c.aviso);
        // After the stop's own message, when there is one.
        int ultimaMensagem = -1, primeiroDespacho = -1;
        for (int i = 0; i < fake->Calls.size(); ++i) {
            if (fake->Calls[i].Service == "Mensagem")
                ultimaMensagem = i;
            if (fake->Calls[i].Service == "DisparaImprimeCancProduto" && primeiroDespacho < 0)
                primeiroDespacho = i;
        }
        EXPECT_LT(ultimaMensagem, primeiroDespacho);
    }
}

TEST_P(CancelTicketsTest, DeliveryLinesCloseOnlyWhenTheWholeRowIsGone)
{
    d.Produto({});
    d.ProdLoja({});
    exec("UPDATE COMANDAVEN SET IDSTCOMANDA = '2'");
    struct Caso {
        const char* digitado;
        QString comanda; // the tab's state afterwards
    };
    // Only the delivery step recomputes the tab's state from its lines.
    for (const Caso& c : {Caso{"5", "3"}, Caso{"2", "2"}}) {
        SCOPED_TRACE(c.digitado);
        exec("DELETE FROM ITCOMANDAVEN");
        exec("UPDATE COMANDAVEN SET IDSTCOMANDA = '2'");
        d.Item({.QTPRODCOMVEN = 5.0});
        fake->TecladoRespostas = {{true, c.digitado}};
        TfrmCancelaProd& f = Abre(kComanda, "DLV");
        Marca(f, {"000001"});
        f.sbtCancelar->click();
        EXPECT_EQ(scalar("SELECT IDSTCOMANDA FROM COMANDAVEN").toString(), c.comanda);
    }
}

KVP_INSTANTIATE_ENGINES(CancelTicketsTest);

} // namespace
