// Whole cancellation with the benefit given back, the tab state recomputed from
// its items, and the tab surcharge.
#include <gtest/gtest.h>

#include "DbFixture.h"
#include "OrderDataTest.h"
#include "RdmCancelaProd.h"
#include "Srv_kvp00917.h"

using namespace od;

namespace {

QVariant CancelaInteiro(const QString& item, const QString& nrSeqBeneCons)
{
    return setStatusItemComanda(kFilial, kCaixa, kVenda, kComanda, item, "x", "07", "Troca de mesa", "OPER1", "SUP1",
                                nrSeqBeneCons, "N");
}

}  // namespace

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

    ASSERT_FALSE(CancelaInteiro("000001", "B1").isValid());
    EXPECT_EQ(RowText(rows("SELECT IDSTPRCOMVEN, NRSEQBENECONSIT, CDGRPOCOR, TXPRODCOMVEN, CDOPERCANC, CDSUPERVISOR,"
                           " IDPRODPRODUZ, CASE WHEN DTHRPRODCANVEN IS NULL THEN 'sem' ELSE 'data' END FROM ITCOMANDAVEN WHERE NRPRODCOMVEN = '000001'")[0]),
              QStringList({"6", "null", "07", "Troca de mesa", "OPER1", "SUP1", "N", "data"}));
    EXPECT_EQ(scalar("SELECT IDSITITPEDQRV FROM ITPEDIDOQRV WHERE NRPRODCOMVEN = '000001'").toString(), "C");
    EXPECT_DOUBLE_EQ(Saldo(aqui), 3.0);
    EXPECT_EQ(Reservas(), 1);   // this till's booking is gone

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
        QStringList estados;   // of the other items
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
        EXPECT_EQ(scalar("SELECT IDSTCOMANDA FROM COMANDAVEN WHERE NRCOMANDA = ?", {comanda}).toString(),
                  c.esperado)
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
    exec("UPDATE COMANDAVEN SET VRACRCOMANDA = 10");
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
        EXPECT_FALSE(setCancelaProd(kFilial, kCaixa, kVenda, kComanda, "000002", "1", "x", "07", "Motivo", "OPER1", "N",
                                    "SUP1").isValid());
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

KVP_INSTANTIATE_ENGINES(StatusWriteTest);
