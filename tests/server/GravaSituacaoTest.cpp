// Whole cancellation with the benefit given back, the tab state recomputed from
// its items, and the tab surcharge.
#include <gtest/gtest.h>

#include "DadosComandaTest.h"
#include "DbFixture.h"
#include "RdmCancelaProd.h"
#include "Srv_kvp00917.h"

using namespace od;

namespace {

const QDateTime kMomento(QDate(2024, 5, 1), QTime(21, 5, 10));

QVariant CancelaInteiro(const QString& item, const QString& nrSeqBeneCons)
{
    return setStatusItemComanda(kFilial, kCaixa, kVenda, kComanda, item, "x", "07", "Troca de mesa", "OPER1", "SUP1",
                                nrSeqBeneCons, "N");
}

} // namespace

class StatusWriteTest : public OpenTabTest {
protected:
    double Saldo(const od::Beneficio& b)
    {
        return scalar("SELECT QTDEBENEFICIO FROM MOVBENEFICIOCTR WHERE CDCLIENTE = ? AND CDCONSUMIDOR = ?",
                      {b.CDCLIENTE, b.CDCONSUMIDOR})
            .toDouble();
    }
    int Reservas() { return scalar("SELECT COUNT(*) FROM MOVBENEFICIOCONS").toInt(); }
    QString EstadoItem(const QString& item)
    {
        return scalar("SELECT IDSTPRCOMVEN FROM ITCOMANDAVEN WHERE NRPRODCOMVEN = ?", {item}).toString();
    }
    QVariant Acrescimo() { return scalar("SELECT VRACRCOMANDA FROM COMANDAVEN WHERE NRCOMANDA = ?", {kComanda}); }
};

TEST_P(StatusWriteTest, WholeCancellationGivesTheBenefitBack)
{
    const od::Beneficio aqui{};
    const od::Beneficio outroCaixa{.CDCLIENTE = "5"};
    data.BeneficioSaldo(aqui, 2.0);
    data.BeneficioSaldo(outroCaixa, 2.0);
    data.BeneficioConsumo("B1", aqui);
    data.BeneficioConsumo("B2", outroCaixa, "099");
    data.Item({.NRPRODCOMVEN = "000001", .NRSEQBENECONSIT = "B1"});
    data.Item({.NRPRODCOMVEN = "000002", .NRSEQBENECONSIT = "B2"});
    data.Item({.NRPRODCOMVEN = "000003"});
    data.PedidoQrv({.NRPRODCOMVEN = "000001"});
    data.PedidoQrvRel({.NRPRODCOMVEN = "000003"});
    data.PedidoQrv({.NRPRODCOMVEN = "000003"});

    rdmCancelaProd->Agora = [] { return kMomento; };
    ASSERT_FALSE(CancelaInteiro("000001", "B1").isValid());
    EXPECT_EQ(RowText(rows("SELECT IDSTPRCOMVEN, NRSEQBENECONSIT, CDGRPOCOR, TXPRODCOMVEN, CDOPERCANC, CDSUPERVISOR,"
                           " IDPRODPRODUZ FROM ITCOMANDAVEN WHERE NRPRODCOMVEN = '000001'")[0]),
              QStringList({"6", "null", "07", "Troca de mesa", "OPER1", "SUP1", "N"}));
    EXPECT_EQ(scalar("SELECT DTHRPRODCANVEN FROM ITCOMANDAVEN WHERE NRPRODCOMVEN = '000001'").toDateTime(), kMomento);
    EXPECT_EQ(scalar("SELECT IDSITITPEDQRV FROM ITPEDIDOQRV WHERE NRPRODCOMVEN = '000001'").toString(), "C");
    EXPECT_EQ(scalar("SELECT DTCANCITPED FROM ITPEDIDOQRV WHERE NRPRODCOMVEN = '000001'").toDateTime(), kMomento);
    EXPECT_DOUBLE_EQ(Saldo(aqui), 3.0);
    EXPECT_EQ(Reservas(), 1); // this till's booking is gone

    // Booked at another till: the balance gets its unit back, the booking stays.
    ASSERT_FALSE(CancelaInteiro("000002", "B2").isValid());
    EXPECT_DOUBLE_EQ(Saldo(outroCaixa), 3.0);
    EXPECT_EQ(Reservas(), 1);

    // No booking number: no benefit row moves; the alternative production row takes the state.
    ASSERT_FALSE(CancelaInteiro("000003", "").isValid());
    EXPECT_DOUBLE_EQ(Saldo(aqui) + Saldo(outroCaixa), 6.0);
    EXPECT_EQ(scalar("SELECT IDSITITPEDQRV FROM ITPEDIDOQRVREL").toString(), "C");
    EXPECT_EQ(scalar("SELECT IDSITITPEDQRV FROM ITPEDIDOQRV WHERE NRPRODCOMVEN = '000003'").toString(), "P");
}

// A second cancellation of an item, from another till, and the cancellation
// of an item that does not exist are refused: nothing is written, and what the
// caller's open transaction wrote before (the surcharge) goes back too.
TEST_P(StatusWriteTest, NoSecondCancellationAndNoCancellationOfNothing)
{
    exec("UPDATE COMANDAVEN SET VRACRCOMANDA = 10");
    data.BeneficioSaldo({}, 2.0);
    data.BeneficioConsumo("B1", {});
    data.BeneficioConsumo("B2", {});
    data.Item({.NRPRODCOMVEN = "000001", .VRACRCOMVEN = 1.0, .NRSEQBENECONSIT = "B1"});
    data.Item({.NRPRODCOMVEN = "000002", .QTPRODCOMVEN = 2.0, .NRSEQBENECONSIT = "B2"});
    ASSERT_FALSE(setAcrescimo(kFilial, kCaixa, kComanda, 1.0).isValid());
    ASSERT_FALSE(CancelaInteiro("000001", "B1").isValid());
    ASSERT_FALSE(setCancelaProd(kFilial, kCaixa, kVenda, kComanda, "000002", "2", "", "07", "t", "OPER1", "N", "SUP1")
                     .isValid());
    const auto depois = TabelasEscritas();
    EXPECT_DOUBLE_EQ(Saldo({}), 4.0);
    EXPECT_EQ(Reservas(), 0);

    const auto outro = otherTill();
    const auto recusa = [&](const QString& item, const QString& reserva, bool comQuantidade, const QString& texto) {
        outro->StartTrans();
        const QVariant r = asTill(*outro, [&] {
            EXPECT_FALSE(setAcrescimo(kFilial, kCaixa, kComanda, 1.0).isValid());
            return comQuantidade
                ? setCancelaProd(kFilial, kCaixa, kVenda, kComanda, item, "1", "", "07", "t", "OPER1", "N", "SUP1")
                : setStatusItemComanda(kFilial, kCaixa, kVenda, kComanda, item, "x", "07", "t", "OPER1", "SUP1",
                                       reserva, "N");
        });
        EXPECT_EQ(r.toString(), texto) << item.toStdString();
        EXPECT_FALSE(outro->adcCancelaProd.InTransaction());
        EXPECT_EQ(TabelasEscritas(), depois) << item.toStdString();
    };
    recusa("000001", "B1", false, "Item 000001 da comanda 0000000100 já está cancelado.");
    recusa("000002", "B2", false, "Item 000002 da comanda 0000000100 já está cancelado.");
    recusa("000001", "", true, "Item 000001 da comanda 0000000100 já está cancelado.");
    // Today's booking of another item must not be given back for an item that is not there.
    data.BeneficioConsumo("B3", {});
    const auto comReserva = TabelasEscritas();
    outro->StartTrans();
    const QVariant r = asTill(*outro, [] { return CancelaInteiro("000099", "B3"); });
    EXPECT_EQ(r.toString(), "Item 000099 da comanda 0000000100 não encontrado.");
    EXPECT_EQ(TabelasEscritas(), comReserva);
}

TEST_P(StatusWriteTest, BenefitBalanceIsMatchedColumnByColumn)
{
    // Joined into one text both keys read "123C101001".
    const od::Beneficio doze{.CDCLIENTE = "12", .CDCONSUMIDOR = "3"};
    const od::Beneficio um{.CDCLIENTE = "1", .CDCONSUMIDOR = "23"};
    data.BeneficioSaldo(um, 4.0);
    data.BeneficioSaldo(doze, 4.0);
    data.BeneficioConsumo("B7", doze);
    data.Item({.NRSEQBENECONSIT = "B7"});

    ASSERT_FALSE(CancelaInteiro("000001", "B7").isValid());
    EXPECT_DOUBLE_EQ(Saldo(doze), 5.0);
    EXPECT_DOUBLE_EQ(Saldo(um), 4.0);
}

TEST_P(StatusWriteTest, SharedBookingNumberFailsAndChangesNothing)
{
    const od::Beneficio b1{};
    const od::Beneficio b2{.CDCLIENTE = "9"};
    data.BeneficioSaldo(b1, 1.0);
    data.BeneficioSaldo(b2, 1.0);
    data.BeneficioConsumo("B1", b1);
    data.BeneficioConsumo("B1", b2, "002");
    data.Item({.NRSEQBENECONSIT = "B1"});
    data.PedidoQrv({});

    const QVariant r = CancelaInteiro("000001", "B1");
    ASSERT_EQ(r.typeId(), QMetaType::QString);
    EXPECT_FALSE(r.toString().isEmpty());
    EXPECT_EQ(EstadoItem("000001"), "1");
    EXPECT_EQ(scalar("SELECT NRSEQBENECONSIT FROM ITCOMANDAVEN").toString(), "B1");
    EXPECT_EQ(scalar("SELECT IDSITITPEDQRV FROM ITPEDIDOQRV").toString(), "P");
    EXPECT_DOUBLE_EQ(Saldo(b1) + Saldo(b2), 2.0);
    EXPECT_EQ(Reservas(), 2);
    EXPECT_FALSE(rdmCancelaProd->adcCancelaProd.InTransaction());
}

TEST_P(StatusWriteTest, TabStateFollowsItsItems)
{
    struct Caso {
        QStringList estados; // of the other items
        const char* esperado;
    };
    const Caso casos[] = {{{"3", "3"}, "3"}, {{"1", "6"}, "1"}, {{"2", "1"}, "2"}, {{}, "3"}, {{"3", "4"}, "2"}};
    int n = 0;
    for (const Caso& c : casos) {
        const QString comanda = QStringLiteral("T%1").arg(++n);
        data.Comanda({.NRCOMANDA = comanda, .IDSTCOMANDA = "9"});
        data.Item({.NRCOMANDA = comanda, .NRPRODCOMVEN = "000001", .IDSTPRCOMVEN = "2"});
        int k = 1;
        for (const QString& e : c.estados)
            data.Item({.NRCOMANDA = comanda, .NRPRODCOMVEN = QStringLiteral("00000%1").arg(++k), .IDSTPRCOMVEN = e});

        EXPECT_EQ(setStatusPedidos(kFilial, kVenda, comanda, "000001", "6"), QVariant(true));
        EXPECT_EQ(scalar("SELECT IDSTCOMANDA FROM COMANDAVEN WHERE NRCOMANDA = ?", {comanda}).toString(), c.esperado)
            << "other items " << c.estados.join(',').toStdString();
        EXPECT_EQ(scalar("SELECT IDSTPRCOMVEN FROM ITCOMANDAVEN WHERE NRCOMANDA = ? AND NRPRODCOMVEN = '000001'",
                         {comanda})
                      .toString(),
                  "6");
    }

    // A failure rolls the item back and hands over the raw message.
    BreakStatement(rdmCancelaProd->acmUpdComanda, "COMANDAVEN");
    data.Item({.NRCOMANDA = "T9"});
    const QVariant r = setStatusPedidos(kFilial, kVenda, "T9", "000001", "6");
    ASSERT_EQ(r.typeId(), QMetaType::QString);
    EXPECT_TRUE(r.toString().contains("TABELA_AUSENTE", Qt::CaseInsensitive)) << r.toString().toStdString();
    EXPECT_EQ(scalar("SELECT IDSTPRCOMVEN FROM ITCOMANDAVEN WHERE NRCOMANDA = 'T9'").toString(), "1");
}

TEST_P(StatusWriteTest, SurchargeGoesDownButNeverBelowZero)
{
    // Cut to cents, with no binary noise left: 20 - 1.06 is 18.939999999999998 in binary.
    exec("UPDATE COMANDAVEN SET VRACRCOMANDA = 20");
    ASSERT_FALSE(setAcrescimo(kFilial, kCaixa, kComanda, 1.06).isValid());
    EXPECT_EQ(Acrescimo().toDouble(), 18.94);
    ASSERT_FALSE(setAcrescimo(kFilial, kCaixa, kComanda, 8.937).isValid());
    EXPECT_EQ(Acrescimo().toDouble(), 10.0);

    ASSERT_FALSE(setAcrescimo(kFilial, kCaixa, kComanda, 3.25).isValid());
    EXPECT_DOUBLE_EQ(Acrescimo().toDouble(), 6.75);
    ASSERT_FALSE(setAcrescimo(kFilial, kCaixa, kComanda, 12).isValid());
    EXPECT_DOUBLE_EQ(Acrescimo().toDouble(), 0.0);
    // Nothing is written on a tab without surcharge: a negative amount would show.
    ASSERT_FALSE(setAcrescimo(kFilial, kCaixa, kComanda, -5).isValid());
    EXPECT_DOUBLE_EQ(Acrescimo().toDouble(), 0.0);
    exec("UPDATE COMANDAVEN SET VRACRCOMANDA = NULL");
    ASSERT_FALSE(setAcrescimo(kFilial, kCaixa, kComanda, -5).isValid());
    ASSERT_FALSE(setAcrescimoProdCombinado(kFilial, kCaixa, kComanda).isValid());
    EXPECT_TRUE(Acrescimo().isNull());

    // The combined product takes off the surcharge of every line, cancelled ones too.
    exec("UPDATE COMANDAVEN SET VRACRCOMANDA = 10");
    data.Item({.NRPRODCOMVEN = "000001", .VRACRCOMVEN = 2.0});
    data.Item({.NRPRODCOMVEN = "000002", .VRACRCOMVEN = 1.5, .IDSTPRCOMVEN = "6"});
    ASSERT_FALSE(setAcrescimoProdCombinado(kFilial, kCaixa, kComanda).isValid());
    EXPECT_DOUBLE_EQ(Acrescimo().toDouble(), 6.5);
    exec("UPDATE ITCOMANDAVEN SET VRACRCOMVEN = 6");
    ASSERT_FALSE(setAcrescimoProdCombinado(kFilial, kCaixa, kComanda).isValid());
    EXPECT_DOUBLE_EQ(Acrescimo().toDouble(), 0.0);

    exec("UPDATE COMANDAVEN SET VRACRCOMANDA = 10");
    BreakStatement(rdmCancelaProd->adqBuscaSomaAcrescimo, "ITCOMANDAVEN");
    EXPECT_EQ(setAcrescimoProdCombinado(kFilial, kCaixa, kComanda).typeId(), QMetaType::QString);
    EXPECT_DOUBLE_EQ(Acrescimo().toDouble(), 10.0);
}

TEST_P(StatusWriteTest, WritesInTheCallersTransactionWaitForItsCommitAndUndoItOnFailure)
{
    exec("UPDATE COMANDAVEN SET VRACRCOMANDA = 10");
    data.Item({.NRPRODCOMVEN = "000001"});
    data.Item({.NRPRODCOMVEN = "000002", .QTPRODCOMVEN = 3.0});
    data.PedidoQrv({.NRPRODCOMVEN = "000001"});
    TrdmCancelaProd& m = *rdmCancelaProd;
    const auto escreve = [&] {
        EXPECT_FALSE(setAcrescimo(kFilial, kCaixa, kComanda, 2).isValid());
        EXPECT_FALSE(CancelaInteiro("000001", "").isValid());
        EXPECT_FALSE(
            setCancelaProd(kFilial, kCaixa, kVenda, kComanda, "000002", "1", "x", "07", "Motivo", "OPER1", "N", "SUP1")
                .isValid());
    };
    const auto estado = [&] {
        return QStringList{Acrescimo().toString(), EstadoItem("000001"), EstadoItem("000002"),
                           scalar("SELECT COUNT(*) FROM ITCOMANDAVEN").toString()};
    };

    // Left open by the writes: the caller's rollback undoes all of them.
    m.StartTrans();
    escreve();
    ASSERT_TRUE(m.adcCancelaProd.InTransaction());
    m.RollbackTrans();
    EXPECT_EQ(estado(), QStringList({"10", "1", "1", "2"}));

    m.StartTrans();
    escreve();
    m.CommitTrans();
    EXPECT_EQ(estado(), QStringList({"8", "6", "1", "3"}));

    // A write that fails ends the caller's transaction with everything in it.
    exec("UPDATE ITCOMANDAVEN SET IDSTPRCOMVEN = '1'");
    BreakStatement(m.acmUpdSitItPedidoQrv, "ITPEDIDOQRV");
    m.StartTrans();
    EXPECT_FALSE(setAcrescimo(kFilial, kCaixa, kComanda, 2).isValid());
    EXPECT_EQ(CancelaInteiro("000001", "").typeId(), QMetaType::QString);
    EXPECT_FALSE(m.adcCancelaProd.InTransaction());
    EXPECT_EQ(estado(), QStringList({"8", "1", "1", "3"}));
}

// A failure right after any statement of the whole cancellation or of the tab
// state takes back everything the call wrote, the last statement's included.
TEST_P(StatusWriteTest, AFailureAfterAnyStatementLeavesNothing)
{
    data.BeneficioSaldo({}, 2.0);
    data.BeneficioConsumo("B1", {});
    data.Item({.NRPRODCOMVEN = "000001", .IDSTPRCOMVEN = "2", .NRSEQBENECONSIT = "B1"});
    data.Item({.NRPRODCOMVEN = "000002", .IDSTPRCOMVEN = "3"});
    data.PedidoQrv({.NRPRODCOMVEN = "000001"});

    auto antes = TabelasEscritas();
    const auto nadaFicou = [&](int n) { EXPECT_EQ(TabelasEscritas(), antes) << "after statement " << n; };
    // Item, state, production row, benefit balance, booking.
    EXPECT_GE(failEachStatement([] { return CancelaInteiro("000001", "B1"); }, nadaFicou), 5);
    EXPECT_DOUBLE_EQ(Saldo({}), 3.0);

    // Item state, the two existence checks, the tab state twice: the item left
    // is produced, so the tab ends in "3" and the last statement writes it.
    exec("UPDATE ITCOMANDAVEN SET IDSTPRCOMVEN = '2' WHERE NRPRODCOMVEN = '000001'");
    antes = TabelasEscritas();
    EXPECT_GE(failEachStatement([] { return setStatusPedidos(kFilial, kVenda, kComanda, "000001", "6"); }, nadaFicou,
                                QVariant(true)),
              5);
    EXPECT_EQ(scalar("SELECT IDSTCOMANDA FROM COMANDAVEN").toString(), "3");
}

// A second till setting an item of the same tab waits for the first: run in
// the middle of the first's call, after it read the tab's items and before it
// wrote the tab state, it gets nowhere; else each would write a tab state
// computed without the other's item.
TEST_P(StatusWriteTest, ASecondTabStateWaitsForTheFirst)
{
    data.Item({.NRPRODCOMVEN = "000001", .IDSTPRCOMVEN = "2"});
    data.Item({.NRPRODCOMVEN = "000002", .IDSTPRCOMVEN = "2"});
    data.Item({.NRPRODCOMVEN = "000003", .IDSTPRCOMVEN = "1"});
    const auto outro = otherTill();
    const auto segundo = [] { return setStatusPedidos(kFilial, kVenda, kComanda, "000002", "6"); };
    QVariant doOutro;
    afterStatement("adqVerificaStatus2", [&] { doOutro = asTill(*outro, segundo); });

    EXPECT_EQ(setStatusPedidos(kFilial, kVenda, kComanda, "000001", "6"), QVariant(true));
    EXPECT_EQ(doOutro.typeId(), QMetaType::QString) << "the second till wrote while the first held the tab";
    EXPECT_EQ(asTill(*outro, segundo), QVariant(true));
    // Nothing in production any more: only the requested item is left.
    EXPECT_EQ(scalar("SELECT IDSTCOMANDA FROM COMANDAVEN").toString(), "1");
}

// Two tills lowering one tab's surcharge: the second, run in the middle of the
// first's call, right after its first statement, takes its amount off what the
// first left, and the first takes its own off what the second left.
TEST_P(StatusWriteTest, SurchargeDecrementsOfTwoTillsAllCount)
{
    exec("UPDATE COMANDAVEN SET VRACRCOMANDA = 10");
    data.Item({.VRACRCOMVEN = 2.0});
    const auto outro = otherTill();
    QVariant doOutro;
    afterStatement(QString(),
                   [&] { doOutro = asTill(*outro, [] { return setAcrescimo(kFilial, kCaixa, kComanda, 1.25); }); });
    ASSERT_FALSE(setAcrescimo(kFilial, kCaixa, kComanda, 2.5).isValid());
    ASSERT_FALSE(doOutro.isValid()) << doOutro.toString().toStdString();
    EXPECT_EQ(Acrescimo().toDouble(), 6.25);

    afterStatement(QString(),
                   [&] { doOutro = asTill(*outro, [] { return setAcrescimo(kFilial, kCaixa, kComanda, 1.0); }); });
    ASSERT_FALSE(setAcrescimoProdCombinado(kFilial, kCaixa, kComanda).isValid());
    ASSERT_FALSE(doOutro.isValid()) << doOutro.toString().toStdString();
    EXPECT_EQ(Acrescimo().toDouble(), 3.25);
}

// Two tills lowering one tab's surcharge at once, many times: every amount counts.
TEST_P(StatusWriteTest, TwoTillsLoweringOneSurchargeAtOnceLoseNothing)
{
    constexpr int kVezes = 100;
    exec("UPDATE COMANDAVEN SET VRACRCOMANDA = 100");
    freeModule(); // the tills use their own connections
    runTillsAtOnce("StatusWriteTestWorker.DISABLED_LowersTheSurcharge", kVezes);
    EXPECT_EQ(Acrescimo().toDouble(), 86.0); // 100 - 2 x 100 x 0.07
}

// One till of the test above, run in a process of its own.
TEST(StatusWriteTestWorker, DISABLED_LowersTheSurcharge)
{
    const int vezes = qEnvironmentVariableIntValue("KVP_TILL_CALLS");
    ASSERT_GT(vezes, 0);
    rdmCancelaProd = new TrdmCancelaProd();
    rdmCancelaProd->adcCancelaProd.Open();
    for (int i = 0; i < vezes; ++i) {
        const QVariant r = setAcrescimo(kFilial, kCaixa, kComanda, 0.07);
        ASSERT_FALSE(r.isValid()) << "call " << i << ": " << r.toString().toStdString();
    }
    delete rdmCancelaProd;
    rdmCancelaProd = nullptr;
}

KVP_INSTANTIATE_ENGINES(StatusWriteTest);
