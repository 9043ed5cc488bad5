// Cancellation of a typed quantity of one item: split or whole line, the
// production row, rollback, and two tills splitting the same item at once.
#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <gtest/gtest.h>

#include "DadosComandaTest.h"
#include "DbFixture.h"
#include "Exception.h"
#include "RdmCancelaProd.h"
#include "Srv_kvp00917.h"
#include "TextoQuantidade.h"

using namespace od;

namespace {

const QDateTime kMomento(QDate(2024, 5, 1), QTime(20, 15, 30));

QVariant Cancela(const QString& item, double quantidade, const QString& nrComanda = kComanda)
{
    return setCancelaProd(kFilial, kCaixa, kVenda, nrComanda, item, QtdeToStr(quantidade), "x", "07",
                          "Cliente desistiu", "OPER1", "S", "SUP1");
}

} // namespace

class CancelProdTest : public OpenTabTest {
protected:
    QStringList
    Linha(const QString& item,
          const QString& colunas = QStringLiteral("QTPRODCOMVEN, VRDESCCOMVEN, IDSTPRCOMVEN, NRSEQBENECONSIT"))
    {
        const auto r
            = rows(QStringLiteral("SELECT %1 FROM ITCOMANDAVEN WHERE NRPRODCOMVEN = ? AND NRCOMANDA = ?").arg(colunas),
                   {item, kComanda});
        return r.isEmpty() ? QStringList() : RowText(r.first());
    }
    QStringList Pedido(const QString& tabela)
    {
        QStringList out;
        for (const QVariantList& r :
             rows("SELECT QTPRODPEQRV, IDSITITPEDQRV FROM " + tabela + " ORDER BY NRPRODCOMVEN"))
            out << RowText(r).join('/');
        return out;
    }
};

TEST_P(CancelProdTest, SmallerQuantitySplitsTheLine)
{
    data.Item({.NRPRODCOMVEN = "000001",
               .QTPRODCOMVEN = 3.0,
               .VRPRECCOMVEN = 12.5,
               .VRDESCCOMVEN = 1.0,
               .VRACRCOMVEN = 0.75,
               .NRSEQBENECONSIT = "B1",
               .CDSENHAPED = "S123"});
    data.PedidoQrv({.QTPRODPEQRV = 3.0});
    data.BeneficioSaldo({}, 2.0);
    data.BeneficioConsumo("B1", {});
    rdmCancelaProd->Agora = [] { return kMomento; };

    const QVariant r = Cancela("000001", 1);
    ASSERT_FALSE(r.isValid()) << r.toString().toStdString();

    // The new line: cancelled quantity, discount 1.00 / 3 cut, the whole line surcharge.
    EXPECT_EQ(Linha("000002",
                    "CDPRODUTO, QTPRODCOMVEN, VRPRECCOMVEN, VRDESCCOMVEN, VRACRCOMVEN, IDSTPRCOMVEN,"
                    " CDSENHAPED, TXPRODCOMVEN, CDGRPOCOR, CDSUPERVISOR, CDOPERCANC, IDPRODPRODUZ"),
              QStringList({kProduto, "1", "12.5", "0.33", "0.75", "6", "S123", "Cliente desistiu", "07", "SUP1",
                           "OPER1", "S"}));
    // Entered and cancelled at the one moment of the call.
    for (const char* coluna : {"DTHRINCOMVEN", "DTHRPRODCANVEN"})
        EXPECT_EQ(scalar(QStringLiteral("SELECT %1 FROM ITCOMANDAVEN WHERE NRPRODCOMVEN = '000002'").arg(coluna))
                      .toDateTime(),
                  kMomento)
            << coluna;
    // The source line keeps the rest, its state and its benefit, still booked.
    EXPECT_EQ(Linha("000001"), QStringList({"2", "0.66", "1", "B1"}));
    EXPECT_EQ(Pedido("ITPEDIDOQRV"), QStringList({"2/P"}));
    EXPECT_EQ(scalar("SELECT QTDEBENEFICIO FROM MOVBENEFICIOCTR").toDouble(), 2.0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM MOVBENEFICIOCONS").toInt(), 1);
}

TEST_P(CancelProdTest, FractionalQuantityTravelsAsTextOfTheMachinesLocale)
{
    EXPECT_EQ(QtdeToStr(1.25), QString("1" + QLocale::system().decimalPoint() + "25"));
    for (double q : {0.1, 0.35, 2.0, 1234.5})
        EXPECT_EQ(StrToQtde(QtdeToStr(q)), q);
    EXPECT_THROW(StrToQtde("1,2,3"), EConvertError);
    // The other format's decimal point is this one's group separator: never 355.
    EXPECT_THROW(StrToQtde("0" + QLocale::system().groupSeparator() + "355"), EConvertError);

    data.Item({.QTPRODCOMVEN = 2.5});
    ASSERT_FALSE(Cancela("000001", 0.1).isValid());
    EXPECT_EQ(Linha("000001").first(), "2.4");
    EXPECT_EQ(Linha("000002").first(), "0.1");
    // As fine as the column holds.
    ASSERT_FALSE(Cancela("000001", 0.001).isValid());
    EXPECT_EQ(Linha("000001").first(), "2.399");
    EXPECT_EQ(Linha("000003").first(), "0.001");
}

TEST_P(CancelProdTest, SplitDiscountsAreCutToTheCentWithoutBinaryLoss)
{
    struct Caso {
        double desconto, quantidade, cancelar;
        const char *novo, *resto;
    };
    // 0.58 / 2 is 0.29, whose hundredfold is 28.999999999999996 in binary.
    const Caso casos[] = {{0.58, 2, 1, "0.29", "0.29"},
                          {1.14, 2, 1, "0.57", "0.57"},
                          {0.87, 3, 1, "0.29", "0.58"},
                          {2.0, 3, 2, "1.33", "0.66"}};
    for (const Caso& c : casos) {
        exec("DELETE FROM ITCOMANDAVEN");
        data.Item({.QTPRODCOMVEN = c.quantidade, .VRDESCCOMVEN = c.desconto});
        ASSERT_FALSE(Cancela("000001", c.cancelar).isValid());
        EXPECT_EQ(Linha("000002", "VRDESCCOMVEN"), QStringList({c.novo})) << c.desconto;
        EXPECT_EQ(Linha("000001", "VRDESCCOMVEN"), QStringList({c.resto})) << c.desconto;
    }
}

TEST_P(CancelProdTest, EqualQuantityCancelsTheWholeLineALargerOneNothing)
{
    data.Item({.NRPRODCOMVEN = "000001", .QTPRODCOMVEN = 2.0, .VRDESCCOMVEN = 1.0, .NRSEQBENECONSIT = "B1"});
    data.Item({.NRPRODCOMVEN = "000002", .QTPRODCOMVEN = 2.0});
    data.PedidoQrv({.NRPRODCOMVEN = "000001", .QTPRODPEQRV = 2.0});
    data.BeneficioSaldo({}, 2.0);
    data.BeneficioConsumo("B1", {});
    rdmCancelaProd->Agora = [] { return kMomento; };

    ASSERT_FALSE(Cancela("000001", 2).isValid());
    // More than the line holds would be told as cancelled while only the rest was.
    EXPECT_TRUE(Cancela("000002", 5).toString().contains("maior que a do item 000002 da comanda 0000000100 (2)"));
    EXPECT_EQ(Linha("000002"), QStringList({"2", "0", "1", ""}));

    EXPECT_EQ(scalar("SELECT COUNT(*) FROM ITCOMANDAVEN").toInt(), 2); // no split
    // Quantity and discount kept, benefit link cleared, reason written.
    EXPECT_EQ(Linha("000001", "QTPRODCOMVEN, VRDESCCOMVEN, IDSTPRCOMVEN, NRSEQBENECONSIT, TXPRODCOMVEN"),
              QStringList({"2", "1", "6", "null", "Cliente desistiu"}));
    EXPECT_EQ(Pedido("ITPEDIDOQRV"), QStringList({"2/C"}));
    EXPECT_EQ(scalar("SELECT DTCANCITPED FROM ITPEDIDOQRV").toDateTime(), kMomento);
    EXPECT_EQ(scalar("SELECT DTHRPRODCANVEN FROM ITCOMANDAVEN WHERE NRPRODCOMVEN = '000001'").toDateTime(), kMomento);
    // The benefit goes back with the line, as in a cancellation without a quantity.
    EXPECT_EQ(scalar("SELECT QTDEBENEFICIO FROM MOVBENEFICIOCTR").toDouble(), 3.0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM MOVBENEFICIOCONS").toInt(), 0);
}

TEST_P(CancelProdTest, AlternativeProductionRowTakesTheUpdateInstead)
{
    data.Item({.NRPRODCOMVEN = "000001", .QTPRODCOMVEN = 3.0});
    data.Item({.NRPRODCOMVEN = "000002", .QTPRODCOMVEN = 1.0});
    for (const char* item : {"000001", "000002"}) {
        data.PedidoQrv({.NRPRODCOMVEN = item, .QTPRODPEQRV = 3.0});
        data.PedidoQrvRel({.NRPRODCOMVEN = item, .QTPRODPEQRV = 3.0});
    }

    ASSERT_FALSE(Cancela("000001", 1).isValid()); // partial
    ASSERT_FALSE(Cancela("000002", 1).isValid()); // whole

    EXPECT_EQ(Pedido("ITPEDIDOQRVREL"), QStringList({"2/P", "3/C"}));
    EXPECT_EQ(Pedido("ITPEDIDOQRV"), QStringList({"3/P", "3/P"}));
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM ITPEDIDOQRV WHERE DTCANCITPED IS NOT NULL").toInt(), 0);
}

TEST_P(CancelProdTest, FailuresRollBackAndReturnTheText)
{
    data.Item({.NRPRODCOMVEN = "000001", .QTPRODCOMVEN = 3.0, .VRDESCCOMVEN = 0.9});
    data.PedidoQrv({.QTPRODPEQRV = 3.0});
    const auto estado = [&] { return rows("SELECT * FROM ITCOMANDAVEN ORDER BY NRPRODCOMVEN"); };
    const auto antes = estado();

    auto falha = [&](const QVariant& r, const char* caso, const QString& texto = QString()) {
        EXPECT_EQ(r.typeId(), QMetaType::QString) << caso;
        EXPECT_FALSE(r.toString().isEmpty()) << caso;
        EXPECT_TRUE(r.toString().contains(texto)) << caso << ": " << r.toString().toStdString();
        EXPECT_EQ(estado(), antes) << caso;
        EXPECT_EQ(Pedido("ITPEDIDOQRV"), QStringList({"3/P"})) << caso;
        EXPECT_FALSE(rdmCancelaProd->adcCancelaProd.InTransaction()) << caso;
    };
    falha(Cancela("000099", 1), "missing item", "Item 000099 da comanda 0000000100 não encontrado");
    // The column keeps three decimals: 0.0005 would leave the line whole and write a line of 0.001.
    falha(Cancela("000001", 0.0005), "finer than the column", "mais de 3 casas decimais");
    falha(Cancela("000001", 1.0001), "finer than the column", "mais de 3 casas decimais");
    falha(setCancelaProd(kFilial, kCaixa, kVenda, kComanda, "000001", "um", "", "07", "t", "O", "", "S"), "text");
    falha(setCancelaProd(kFilial, kCaixa, kVenda, kComanda, "000001", "", "", "07", "t", "O", "", "S"), "empty");
    falha(Cancela("000001", 0), "zero");
    // Read as 1500 it would cancel the whole line instead of one and a half.
    falha(setCancelaProd(kFilial, kCaixa, kVenda, kComanda, "000001", "1" + QLocale::system().groupSeparator() + "500",
                         "", "07", "t", "O", "", "S"),
          "group separator");
    falha(Cancela("000001", -1), "negative");

    // A caller's open transaction is rolled back with the failure.
    rdmCancelaProd->adcCancelaProd.BeginTrans();
    falha(Cancela("000099", 1), "inside a transaction");

    // A failing statement after the insert takes the insert back with it.
    BreakStatement(rdmCancelaProd->acmUpdQtdeItPedidoQrv, "ITPEDIDOQRV ");
    falha(Cancela("000001", 1), "production row");
}

// What the operator saw is compared, under the row lock, with what is stored:
// a row another till split or the kitchen moved on is refused with what it
// holds now, and nothing of it is written. An empty value is not compared.
// The repeat on a taken item's origin row writes only a live row, and gives
// no benefit back (the taken item's write does).
TEST_P(CancelProdTest, RowsAreWrittenOnlyAsListedAndOriginRowsOnlyWhileLive)
{
    data.Item({.NRPRODCOMVEN = "000001", .QTPRODCOMVEN = 4.0, .NRSEQBENECONSIT = "B1"});
    data.PedidoQrv({.QTPRODPEQRV = 4.0});
    data.BeneficioSaldo({}, 2.0);
    data.BeneficioConsumo("B1", {}, "099");
    const auto cancela = [](const QString& item, const QString& qtde, const QString& listada, const QString& estado,
                            const QString& origem = {}) {
        return setCancelaProd(kFilial, kCaixa, kVenda, kComanda, item, qtde, "x", "07", "t", "OPER1", "", "SUP1",
                              listada, estado, origem);
    };
    const auto inteiro = [](const QString& item, const QString& listada, const QString& estado,
                            const QString& origem = {}) {
        return setStatusItemComanda(kFilial, kCaixa, kVenda, kComanda, item, "x", "07", "t", "OPER1", "SUP1", "B1", "",
                                    listada, estado, origem);
    };
    const auto quatro = QtdeToStr(4.0);

    // Another till took 3 of the 4 since this one listed them.
    ASSERT_FALSE(Cancela("000001", 3).isValid());
    const auto antes = TabelasEscritas();
    struct Caso {
        const char* nome;
        QVariant resultado;
        QString texto;
    };
    const Caso recusas[] = {
        {"quantity, keypad", cancela("000001", QtdeToStr(3), quatro, "1"), "quantidade 1 e situação 1"},
        {"quantity, whole", inteiro("000001", quatro, "1"), "quantidade 1 e situação 1"},
    };
    for (const Caso& c : recusas) {
        SCOPED_TRACE(c.nome);
        EXPECT_TRUE(c.resultado.toString().startsWith("Item 000001 da comanda 0000000100 foi alterado"))
            << c.resultado.toString().toStdString();
        EXPECT_TRUE(c.resultado.toString().contains(c.texto)) << c.resultado.toString().toStdString();
        EXPECT_TRUE(c.resultado.toString().contains("(na lista: quantidade " + quatro));
        EXPECT_EQ(TabelasEscritas(), antes);
    }
    exec("UPDATE ITCOMANDAVEN SET IDSTPRCOMVEN = '2' WHERE NRPRODCOMVEN = '000001'"); // the kitchen started it
    EXPECT_TRUE(cancela("000001", "1", "1", "1").toString().contains("situação 2"));
    EXPECT_TRUE(inteiro("000001", "", "1").toString().contains("situação 2"));
    // As listed now: written, the benefit given back once.
    ASSERT_FALSE(cancela("000001", "1", "1", "2").isValid());
    EXPECT_EQ(Linha("000001"), QStringList({"1", "0", "6", "null"}));
    EXPECT_EQ(scalar("SELECT QTDEBENEFICIO FROM MOVBENEFICIOCTR").toDouble(), 3.0);

    // Origin rows sharing the booking: written while live, no benefit back.
    data.Item({.NRPRODCOMVEN = "000003", .QTPRODCOMVEN = 2.0, .NRSEQBENECONSIT = "B1"});
    data.Item({.NRPRODCOMVEN = "000004", .NRSEQBENECONSIT = "B1"});
    ASSERT_FALSE(cancela("000003", QtdeToStr(2), "", "", "S").isValid());
    ASSERT_FALSE(inteiro("000004", "", "", "S").isValid());
    EXPECT_EQ(Linha("000003"), QStringList({"2", "0", "6", "null"}));
    EXPECT_EQ(Linha("000004"), QStringList({"1", "0", "6", "null"}));
    EXPECT_EQ(scalar("SELECT QTDEBENEFICIO FROM MOVBENEFICIOCTR").toDouble(), 3.0);
    // Gone or cancelled: nothing to repeat, and no failure to hold the taken item back.
    const auto depois = TabelasEscritas();
    for (const QVariant& r : {cancela("000003", "1", "", "", "S"), inteiro("000004", "", "", "S"),
                              cancela("000099", "1", "", "", "S"), inteiro("000099", "", "", "S")})
        EXPECT_FALSE(r.isValid()) << r.toString().toStdString();
    EXPECT_EQ(TabelasEscritas(), depois);
    EXPECT_TRUE(inteiro("000099", "", "").toString().contains("não encontrado"));
}

// A failure right after any statement of either path takes back everything
// the call wrote, the last statement's included.
TEST_P(CancelProdTest, AFailureAfterAnyStatementLeavesNothing)
{
    data.Item({.NRPRODCOMVEN = "000001", .QTPRODCOMVEN = 3.0, .VRDESCCOMVEN = 0.9, .NRSEQBENECONSIT = "B1"});
    data.PedidoQrv({.QTPRODPEQRV = 3.0});
    data.BeneficioSaldo({}, 2.0);
    data.BeneficioConsumo("B1", {});
    for (const double quantidade : {1.0, 2.0}) { // split, then the whole line left
        const auto antes = TabelasEscritas();
        const int falhas = failEachStatement([&] { return Cancela("000001", quantidade); },
                                             [&](int n) {
                                                 EXPECT_EQ(TabelasEscritas(), antes) << quantidade << " " << n;
                                             });
        // Split: item, number, insert, rest, production row; whole: item,
        // state, production row, benefit balance, booking.
        EXPECT_GE(falhas, 6) << quantidade;
        EXPECT_NE(TabelasEscritas(), antes); // the last call went through
    }
}

// A second till splitting the same item waits for the first: run in the middle
// of the first's call, right after its read, it gets no further than its own
// read (it would otherwise write from the same quantity, and one split would
// be lost); once the first is done it splits what the first left.
TEST_P(CancelProdTest, ASecondSplitWaitsForTheFirst)
{
    data.Item({.NRPRODCOMVEN = "000001", .QTPRODCOMVEN = 10.0});
    data.PedidoQrv({.QTPRODPEQRV = 10.0});
    const auto outro = otherTill();
    QVariant doOutro;
    afterStatement("adqItem", [&] { doOutro = asTill(*outro, [] { return Cancela("000001", 1); }); });

    const QVariant r = Cancela("000001", 2);
    ASSERT_FALSE(r.isValid()) << r.toString().toStdString();
    EXPECT_EQ(doOutro.typeId(), QMetaType::QString) << "the second till split the item while the first held it";
    const QVariant depois = asTill(*outro, [] { return Cancela("000001", 1); });
    ASSERT_FALSE(depois.isValid()) << depois.toString().toStdString();

    EXPECT_EQ(Linha("000001").first(), "7");
    EXPECT_EQ(scalar("SELECT SUM(QTPRODCOMVEN) FROM ITCOMANDAVEN").toDouble(), 10.0);
    EXPECT_EQ(scalar("SELECT COUNT(DISTINCT NRPRODCOMVEN) FROM ITCOMANDAVEN").toInt(), 3);
    EXPECT_EQ(Pedido("ITPEDIDOQRV"), QStringList({"7/P"}));
}

// Two tills split the same item at once, many times. Each split reads the
// item's quantity and writes quantities computed from it: without the row
// lock, one till's write would be lost or an item number taken twice.
TEST_P(CancelProdTest, TwoTillsSplittingOneItemKeepTheQuantity)
{
    constexpr int kSplits = 25;
    data.Item({.NRPRODCOMVEN = "000001", .QTPRODCOMVEN = 100.0});
    data.PedidoQrv({.QTPRODPEQRV = 100.0});
    freeModule(); // the tills use their own connections
    runTillsAtOnce("CancelProdTestWorker.DISABLED_SplitsTheItem", kSplits);

    EXPECT_DOUBLE_EQ(scalar("SELECT SUM(QTPRODCOMVEN) FROM ITCOMANDAVEN").toDouble(), 100.0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM ITCOMANDAVEN").toInt(), 1 + 2 * kSplits);
    EXPECT_EQ(scalar("SELECT COUNT(DISTINCT NRPRODCOMVEN) FROM ITCOMANDAVEN").toInt(), 1 + 2 * kSplits);
    EXPECT_DOUBLE_EQ(scalar("SELECT QTPRODCOMVEN FROM ITCOMANDAVEN WHERE NRPRODCOMVEN = '000001'").toDouble(),
                     100.0 - 2 * kSplits);
    EXPECT_DOUBLE_EQ(scalar("SELECT QTPRODPEQRV FROM ITPEDIDOQRV").toDouble(), 100.0 - 2 * kSplits);
}

// One till of the test above, run in a process of its own.
TEST(CancelProdTestWorker, DISABLED_SplitsTheItem)
{
    const int splits = qEnvironmentVariableIntValue("KVP_TILL_CALLS");
    ASSERT_GT(splits, 0);
    rdmCancelaProd = new TrdmCancelaProd();
    rdmCancelaProd->adcCancelaProd.Open();
    for (int i = 0; i < splits; ++i) {
        const QVariant r = Cancela("000001", 1);
        ASSERT_FALSE(r.isValid()) << "split " << i << ": " << r.toString().toStdString();
    }
    delete rdmCancelaProd;
    rdmCancelaProd = nullptr;
}

KVP_INSTANTIATE_ENGINES(CancelProdTest);
