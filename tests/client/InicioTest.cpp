// Opening an order: the call's arguments, the terminal's files, the printer
// settings, the cancel-all request and a failed load, on a real database.
#include <QApplication>
#include <QLabel>
#include <QTimer>

#include "Exception.h"
#include "ListaItensTestSupport.h"
#include "Srv_kvp00917.h"

namespace {

class StartupTest : public TelaDbTest {
protected:
    // The call's tab: two open items and a cancelled one.
    void SetUp() override
    {
        TelaDbTest::SetUp();
        if (IsSkipped())
            return;
        DadosComanda d = Dados();
        d.Produto({});
        d.VendaComComanda();
        for (const char* nr : {"000001", "000002", "000003"})
            d.Item({.NRPRODCOMVEN = QLatin1String(nr), .IDSTPRCOMVEN = QLatin1String(nr[5] == '3' ? "6" : "1")});
    }

    // CancelaProduto, with any window it shows modally closed (and noted).
    void Chama(const QString& modo, const QString& nrMesa)
    {
        QTimer espia;
        QObject::connect(&espia, &QTimer::timeout, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                mostrada = true;
                modal->close();
            }
        });
        espia.start(0);
        Cli_kvp00917::CancelaProduto(od::kComanda, QStringLiteral("CMD_0100"), modo, nrMesa);
    }

    bool mostrada = false;
};

TEST_P(StartupTest, ReadsEveryParameterAndTheOperatorIntoTheWindow)
{
    GravaParametros();
    GravaOperador();
    Dados().Caixa({.IDIMPCANPEDINT = QStringLiteral("N")});

    TfrmCancelaProd& f = Abre(od::kComanda, QStringLiteral("CMD"));
    const QVariantMap m = FrmCancelaProdListProbe::Membros(f);
    for (const auto& [coluna, valor] : ParametrosPadrao())
        EXPECT_EQ(m.value(coluna.Name), valor) << coluna.Name.toStdString();
    EXPECT_EQ(m["stIdEsquema2"], m["IDESQUEMA"]);
    EXPECT_EQ(m["stCdOperador"], "0042");
    EXPECT_EQ(m["stNmOperador"], "João Conceição");
    EXPECT_EQ(m["stImpCancInteg"], "N");
    EXPECT_EQ(m["stNrComanda"], od::kComanda);
    EXPECT_EQ(m["stDsComanda"], "CMD_0100");
    EXPECT_EQ(m["stModo"], "CMD");
    EXPECT_FALSE(Cli_kvp00917::boCancelTodos);
    EXPECT_EQ(f.sbtCancelar->text(), "&Cancelar Pedido");
    EXPECT_EQ(f.lblCodTela->text(), MontaRodapeGeral(true, QStringLiteral("KVP00917"), QStringLiteral("S")));
    EXPECT_EQ(f.cdsProduto.RecordCount(), 2); // the file's branch keyed the item query
    EXPECT_TRUE(fake->Mensagens().isEmpty());
}

TEST_P(StartupTest, WithoutTheTerminalFilesTheScreenStillOpens)
{
    // "DLV_T" without the "T" is no cancel-all request and is kept as it came.
    TfrmCancelaProd& f = Abre(od::kComanda, QStringLiteral("DLV_T"), QStringLiteral("12"));
    const QVariantMap m = FrmCancelaProdListProbe::Membros(f);
    for (const char* membro : {"CDFILIAL", "IDESQUEMA", "stIdEsquema2", "CDLOJA", "stCdOperador", "CDPRODCOUVER"})
        EXPECT_EQ(m[membro], "") << membro;
    EXPECT_EQ(m["CTCANCULTITEM"], 0);
    EXPECT_EQ(m["UTILIZAIMPFIS"], false);
    EXPECT_EQ(m["stModo"], "DLV_T");
    EXPECT_EQ(m["stNrMesa"], "12");
    EXPECT_FALSE(Cli_kvp00917::boCancelTodos);
    EXPECT_EQ(f.cdsProduto.RecordCount(), 0); // asked with an empty branch
    EXPECT_FALSE(f.sbtCancelar->isEnabled());
    EXPECT_EQ(f.sbtCancelar->text(), "&Cancelar Pedido");
}

TEST_P(StartupTest, MissingColumnStopsTheCallAndFreesTheWindow)
{
    GravaOperador();
    for (const QString& coluna : {QStringLiteral("IDESQUEMA"), QStringLiteral("IDIMPCANSATNFCE")}) {
        GravaParametros(coluna);
        try {
            Chama(QStringLiteral("CMD"), QString());
            ADD_FAILURE() << "accepted without " << coluna.toStdString();
        } catch (const EDatabaseError& e) {
            EXPECT_TRUE(e.Message().contains(coluna) && e.Message().contains(QStringLiteral("PARAMETROSQRV.CDS")))
                << e.Message().toStdString();
        }
        EXPECT_EQ(Cli_kvp00917::frmCancelaProd, nullptr);
        EXPECT_EQ(rdmCancelaProd, nullptr);
    }
    GravaParametros();
    GravaOperador(QStringLiteral("NMOPERADOR"));
    EXPECT_THROW(Chama(QStringLiteral("CMD"), QString()), EDatabaseError);
    EXPECT_EQ(Cli_kvp00917::frmCancelaProd, nullptr);
    EXPECT_FALSE(mostrada);
    EXPECT_TRUE(fake->Mensagens().isEmpty());
}

TEST_P(StartupTest, PrinterSettingFailuresAreSwallowed)
{
    GravaParametros();
    exec(QStringLiteral("DROP TABLE CAIXA"));
    TfrmCancelaProd& f = Abre(od::kComanda, QStringLiteral("DLV"));
    EXPECT_NE(FrmCancelaProdListProbe::Membros(f)["stImpCancInteg"], "N"); // never the flag that skips printing
    EXPECT_TRUE(f.cdsImpBackup.IsEmpty());
    EXPECT_EQ(f.cdsProduto.RecordCount(), 2);
    EXPECT_TRUE(fake->Mensagens().isEmpty());
}

TEST_P(StartupTest, CancelAllRequestCancelsEveryItemAndNeverShowsTheWindow)
{
    GravaParametros();
    tela = std::make_unique<TfrmCancelaProd>();
    tela->InicializaForm(od::kComanda, QStringLiteral("DLV 100"), QStringLiteral("DLV_T"), QStringLiteral("T"));
    const QVariantMap m = FrmCancelaProdListProbe::Membros(*tela);
    EXPECT_TRUE(Cli_kvp00917::boCancelTodos);
    EXPECT_EQ(m["stNrMesa"], "");
    EXPECT_EQ(m["stModo"], "DLV");
    EXPECT_EQ(tela->sbtCancelar->text(), "&Confirmar Cancelamento");
    // Every item marked and cancelled, after the access check and without a question.
    EXPECT_EQ(fake->Count(QStringLiteral("VerificaAcesso")), 1);
    EXPECT_EQ(fake->Count(QStringLiteral("LogImpNFiscal")), 2);
    EXPECT_TRUE(fake->Mensagens().isEmpty());
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM ITCOMANDAVEN WHERE IDSTPRCOMVEN = '6'")).toInt(), 3);
    tela.reset();

    // Through the entry, with nothing left to cancel: nothing is shown or left behind.
    Chama(QStringLiteral("DLV_T"), QStringLiteral("T"));
    EXPECT_FALSE(mostrada);
    EXPECT_EQ(Cli_kvp00917::frmCancelaProd, nullptr);
    EXPECT_EQ(rdmCancelaProd, nullptr);
    EXPECT_EQ(fake->Count(QStringLiteral("LogImpNFiscal")), 2);
}

TEST_P(StartupTest, LoadFailureIsShownOnceAndTheWindowNeverOpens)
{
    GravaParametros();
    exec(QStringLiteral("DROP TABLE ITCOMANDAVEN"));
    bool visivel = true;
    fake->OnCall = [&](const FakeHost::Call&) { visivel = frmCancelaProd && frmCancelaProd->isVisible(); };
    EXPECT_THROW(Chama(QStringLiteral("CMD"), QString()), EAbort);
    fake->OnCall = nullptr;

    ASSERT_EQ(fake->Calls.size(), 1);
    const QVariantList a = fake->CallsOf(QStringLiteral("Mensagem")).value(0).Args;
    ASSERT_EQ(a.size(), 8);
    EXPECT_TRUE(a[0].toString().contains(QStringLiteral("ITCOMANDAVEN"), Qt::CaseInsensitive))
        << a[0].toString().toStdString();
    EXPECT_EQ(a.mid(1), QVariantList({"", "N", "N", 3, "", Parametro("IDESQUEMA"), 0}));
    EXPECT_FALSE(visivel);
    EXPECT_FALSE(mostrada);
    EXPECT_EQ(Cli_kvp00917::frmCancelaProd, nullptr);
    EXPECT_EQ(rdmCancelaProd, nullptr);
}

KVP_INSTANTIATE_ENGINES(StartupTest);

} // namespace
