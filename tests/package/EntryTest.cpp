// The package's entry end to end on a real database (once per engine): each
// call creates, shows and frees its own window and data module; Esc, the close
// button and F1; failures of start-up through both entries.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "BlendedBitBtn.h"
#include "Cli_kvp00917.h"
#include "DBGrid.h"
#include "DadosComanda.h"
#include "DbFixture.h"
#include "Exception.h"
#include "FakeHost.h"
#include "FrmCancelaProd.h"
#include "HostServices.h"
#include "PackageTestSupport.h"
#include "Pkg_kvp00917.h"
#include "RdmCancelaProd.h"
#include "Srv_kvp00917.h"

namespace {

class EntryTest : public DbEngineTest {
protected:
    void SetUp() override
    {
        DbEngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        // The entry makes its own data module.
        freeModule();
        ASSERT_TRUE(pasta.isValid());
        SetHostFolderOverride(pasta.path());
        GravaParametros(pasta.path(), {});
        GravaOperador(pasta.path());
        fake = std::make_unique<FakeHost>();
        Initialize();
    }

    void TearDown() override
    {
        Finalize();
        fake.reset();
        SetHostFolderOverride(QString());
        DbEngineTest::TearDown();
    }

    void Pedido(int itens)
    {
        DadosComanda dados([this](const QString& sql, const QVariantList& b) { exec(sql, b); });
        dados.Produto({});
        dados.VendaComComanda();
        for (int i = 1; i <= itens; ++i)
            dados.Item({.NRPRODCOMVEN = QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0'))});
    }

    static void Chama(const QString& modo = QStringLiteral("CMD"), const QString& mesa = QString())
    {
        Cli_kvp00917::CancelaProduto(od::kComanda, QStringLiteral("CMD_0100"), modo, mesa);
    }

    static void ChamaC() { ::CancelaProduto(od::kComanda.toUtf8().constData(), "CMD_0100", "CMD", ""); }

    static void ExpectNadaRestou()
    {
        EXPECT_EQ(Cli_kvp00917::frmCancelaProd, nullptr);
        EXPECT_EQ(rdmCancelaProd, nullptr);
        EXPECT_FALSE(Cli_kvp00917::boIdCriado);
    }

    QTemporaryDir pasta;
    std::unique_ptr<FakeHost> fake;
};

TEST_P(EntryTest, EachCallGetsAndFreesItsOwnWindowAndDataModule)
{
    Pedido(2);

    QStringList marcasPrimeira;
    JanelaEmTeste primeira([&](TfrmCancelaProd& w) {
        EXPECT_TRUE(w.isModal());
        EXPECT_EQ(w.cdsProduto.RecordCount(), 2);
        // Mark the first item, then leave with Esc.
        QWidget* vp = w.dbgProduto->viewport();
        const QPoint p
            = w.dbgProduto
                  ->visualRect(w.dbgProduto->model()->index(0, w.dbgProduto->FieldColumn(QStringLiteral("NMPRODUTO"))))
                  .center();
        QTest::mouseClick(vp, Qt::LeftButton, {}, p);
        QTest::mouseDClick(vp, Qt::LeftButton, {}, p);
        w.cdsProduto.First();
        marcasPrimeira << w.cdsProduto.FieldByName(QStringLiteral("IDCHECK"))->AsString();
        QTest::keyClick(w.dbgProduto, Qt::Key_Escape);
    });
    Chama();
    ASSERT_TRUE(primeira.Mostrada);
    EXPECT_TRUE(primeira.TinhaFocoNaGrade);
    EXPECT_FALSE(primeira.AbertaAposAcao);
    EXPECT_EQ(marcasPrimeira, QStringList{QStringLiteral("C")});
    EXPECT_TRUE(primeira.Janela.isNull());
    EXPECT_TRUE(primeira.Modulo.isNull());
    ExpectNadaRestou();

    QStringList marcasSegunda;
    JanelaEmTeste segunda([&](TfrmCancelaProd& w) {
        for (w.cdsProduto.First(); !w.cdsProduto.Eof(); w.cdsProduto.Next())
            marcasSegunda << w.cdsProduto.FieldByName(QStringLiteral("IDCHECK"))->AsString();
        QTest::mouseClick(w.sbtSair, Qt::LeftButton, {}, w.sbtSair->rect().center());
    });
    Chama();
    ASSERT_TRUE(segunda.Mostrada);
    EXPECT_FALSE(segunda.AbertaAposAcao);
    EXPECT_EQ(marcasSegunda, (QStringList{QStringLiteral("U"), QStringLiteral("U")}));
    EXPECT_TRUE(segunda.Janela.isNull());
    EXPECT_TRUE(segunda.Modulo.isNull());
    ExpectNadaRestou();
    EXPECT_TRUE(fake->Mensagens().isEmpty());
}

TEST_P(EntryTest, F1OpensTheFiscalMenuOnlyWithTheFiscalPrinter)
{
    Pedido(1);
    const auto pressionaF1 = [](TfrmCancelaProd& w) { QTest::keyClick(w.dbgProduto, Qt::Key_F1); };

    GravaParametros(pasta.path(), {.UtilizaImpFis = true});
    JanelaEmTeste com(pressionaF1);
    Chama();
    EXPECT_EQ(fake->Count(QStringLiteral("RelFiscais")), 1);
    EXPECT_TRUE(com.AbertaAposAcao);

    GravaParametros(pasta.path(), {.UtilizaImpFis = false});
    JanelaEmTeste sem(pressionaF1);
    Chama();
    EXPECT_TRUE(sem.Mostrada);
    EXPECT_EQ(fake->Count(QStringLiteral("RelFiscais")), 1);

    // Without a parameters file at all.
    QFile::remove(pasta.filePath(QStringLiteral("PARAMETROSQRV.CDS")));
    JanelaEmTeste semArquivo(pressionaF1);
    Chama();
    EXPECT_TRUE(semArquivo.Mostrada);
    EXPECT_EQ(fake->Count(QStringLiteral("RelFiscais")), 1);
}

TEST_P(EntryTest, StartUpErrorFreesEverythingAndReachesBothKindsOfCaller)
{
    Pedido(1);
    GravaParametros(pasta.path(), {.Omitir = QStringLiteral("UTILIZAIMPFIS")});
    JanelaEmTeste nunca([](TfrmCancelaProd&) {});

    try {
        Chama();
        ADD_FAILURE() << "a parameters file without UTILIZAIMPFIS must stop the start-up";
    } catch (const EAbort&) {
        ADD_FAILURE() << "the error must not be silent";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("UTILIZAIMPFIS"))) << e.Message().toStdString();
    }
    EXPECT_FALSE(nunca.Mostrada);
    ExpectNadaRestou();

    ChamaC();
    EXPECT_TRUE(QString::fromUtf8(CancelaProdutoErro()).contains(QStringLiteral("UTILIZAIMPFIS")));
    EXPECT_EQ(CancelaProdutoFim(nullptr), CANCELAPRODUTO_FALHOU);
    EXPECT_FALSE(nunca.Mostrada);
    ExpectNadaRestou();

    // Repaired, the next call runs and clears the error text.
    GravaParametros(pasta.path(), {});
    JanelaEmTeste depois([](TfrmCancelaProd& w) { QTest::keyClick(w.dbgProduto, Qt::Key_Escape); });
    ChamaC();
    EXPECT_TRUE(depois.Mostrada);
    EXPECT_STREQ(CancelaProdutoErro(), "");
    const char* mensagem = nullptr;
    EXPECT_EQ(CancelaProdutoFim(&mensagem), CANCELAPRODUTO_CONCLUIDO);
    EXPECT_STREQ(mensagem, "");
    ExpectNadaRestou();
}

TEST_P(EntryTest, AFailedItemLoadIsShownOnceAndEndsTheCallSilently)
{
    Pedido(1);
    exec(QStringLiteral("DROP TABLE ITCOMANDAVEN"));
    JanelaEmTeste nunca([](TfrmCancelaProd&) {});

    EXPECT_THROW(Chama(), EAbort);
    EXPECT_EQ(fake->Count(QStringLiteral("Mensagem")), 1);
    ExpectNadaRestou();

    // Through the C entry: the message of the load, nothing more, no error
    // text; the host learns that this message ended the call.
    ChamaC();
    EXPECT_STREQ(CancelaProdutoErro(), "");
    EXPECT_EQ(fake->Count(QStringLiteral("Mensagem")), 2);
    const char* mensagem = nullptr;
    EXPECT_EQ(CancelaProdutoFim(&mensagem), CANCELAPRODUTO_MENSAGEM);
    EXPECT_EQ(QString::fromUtf8(mensagem), fake->Mensagens().value(1));
    EXPECT_FALSE(fake->Mensagens().value(1).isEmpty());
    for (const FakeHost::Call& c : fake->CallsOf(QStringLiteral("Mensagem")))
        EXPECT_EQ(c.Args.value(4).toInt(), 3);
    EXPECT_FALSE(nunca.Mostrada);
    ExpectNadaRestou();
}

TEST_P(EntryTest, CancelAllDeliveryRequestNeverShowsTheWindow)
{
    JanelaEmTeste nunca([](TfrmCancelaProd&) {});
    try {
        Chama(QStringLiteral("DLV_T"), QStringLiteral("T"));
    } catch (const std::exception&) {
        // Whatever the command makes of an order with nothing to cancel, the
        // window stays hidden and nothing of the call remains.
    }
    EXPECT_FALSE(nunca.Mostrada);
    ExpectNadaRestou();
}

TEST_P(EntryTest, ASecondCallWhileTheWindowIsOpenIsRefused)
{
    Pedido(1);
    QString recusa;
    JanelaEmTeste janela([&](TfrmCancelaProd& w) {
        try {
            Chama();
        } catch (const Exception& e) {
            recusa = e.Message();
        }
        // The first call's window is untouched.
        EXPECT_EQ(Cli_kvp00917::frmCancelaProd, &w);
        EXPECT_TRUE(w.isVisible());
        QTest::keyClick(w.dbgProduto, Qt::Key_Escape);
    });
    Chama();
    EXPECT_FALSE(recusa.isEmpty());
    EXPECT_FALSE(janela.AbertaAposAcao);
    ExpectNadaRestou();
}

KVP_INSTANTIATE_ENGINES(EntryTest);

} // namespace
