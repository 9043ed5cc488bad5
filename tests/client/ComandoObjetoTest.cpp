// The cancellation command as an object of its own, on a real database and
// without any window: the operator's questions and notices reach the object
// it was given, the till's services the fake host; and the package's
// cancel-all call, which builds no window.
#include <QApplication>

#include "ComandoCancelamento.h"
#include "ListaItensTestSupport.h"
#include "ModuleVariables.h"
#include "RdmCancelaProd.h"

namespace {

using namespace od;
using TPergunta = TOperadorCancelamento::TPergunta;

// Answers the questions from a queue ("Não" once it is empty) and keeps what
// it was asked and told, with the tickets handed over by then.
class OperadorGravado : public TOperadorCancelamento {
public:
    bool Pergunta(TPergunta qual, const QString& texto, const QString&) override
    {
        Perguntas.append({qual, texto});
        return !Respostas.isEmpty() && Respostas.takeFirst();
    }
    void Avisa(const QString& texto, const QString&) override
    {
        Avisos << texto;
        DespachosNoAviso << FakeHost::Current()->Count(QStringLiteral("DisparaImprimeCancProduto"));
    }

    QList<bool> Respostas;
    QList<std::pair<TPergunta, QString>> Perguntas;
    QStringList Avisos;
    QList<int> DespachosNoAviso;
};

class ComandoObjetoTest : public TelaDbTest {
protected:
    void SetUp() override
    {
        TelaDbTest::SetUp();
        if (IsSkipped())
            return;
        GravaOperador();
        GravaParametros({}, {{"IDSOLOBSCAN", "S"}, {"CTCANCULTITEM", 4}, {"CTCANCITEMGEN", 5}, {"DISPLAYOK", true}});
        d.Produto({});
        d.VendaComComanda({}, {.VRACRCOMANDA = 10.0});
    }
    void TearDown() override
    {
        comando.reset();
        TelaDbTest::TearDown();
    }

    TComandoCancelamento& Abre(const QString& modo, const QString& mesa = {})
    {
        comando = std::make_unique<TComandoCancelamento>(operador);
        comando->Inicializa(kComanda, QStringLiteral("CMD_0100"), modo, mesa);
        return *comando;
    }
    void Marca(TComandoCancelamento& c, const QStringList& itens)
    {
        for (const QString& item : itens) {
            ASSERT_TRUE(c.cdsProduto.Locate(QStringLiteral("NRPRODCOMVEN"), {item})) << item.toStdString();
            c.GravaMarca(QStringLiteral("C"));
        }
    }
    // Every line as item, state and quantity: "000001/6/1".
    QStringList Linhas()
    {
        QStringList out;
        for (const QVariantList& r :
             rows("SELECT NRPRODCOMVEN, IDSTPRCOMVEN, QTPRODCOMVEN FROM ITCOMANDAVEN ORDER BY NRPRODCOMVEN"))
            out << RowText(r).join('/');
        return out;
    }
    static bool HaJanela() { return !QApplication::topLevelWidgets().isEmpty(); }

    DadosComanda d = Dados();
    OperadorGravado operador;
    std::unique_ptr<TComandoCancelamento> comando;
};

TEST_P(ComandoObjetoTest, WholeAndTypedQuantityAreCancelledWithTheQuestionsAskedOfTheOperator)
{
    d.ParamGeral("S");
    d.Item({.NRPRODCOMVEN = "000001", .VRACRCOMVEN = 1.0});
    d.Item({.NRPRODCOMVEN = "000002", .QTPRODCOMVEN = 3.0, .VRACRCOMVEN = 0.9});
    fake->TecladoRespostas = {{true, "2"}};
    operador.Respostas = {true, true};
    TComandoCancelamento& c = Abre("CMD");
    Marca(c, {"000001", "000002"});
    EXPECT_EQ(c.QtdMarcados(), 2);
    c.Executa();

    const QList<std::pair<TPergunta, QString>> perguntas{{TPergunta::Produzido, "O produto foi produzido?"},
                                                         {TPergunta::Confirmacao,
                                                          "Confirma o Cancelamento de 2 Produto(s) ?"}};
    EXPECT_EQ(operador.Perguntas, perguntas);
    EXPECT_TRUE(operador.Avisos.isEmpty());
    EXPECT_TRUE(fake->Mensagens().isEmpty()); // nothing went to the message box
    EXPECT_EQ(Linhas(), QStringList({"000001/6/1", "000002/1/1", "000003/6/2"}));
    EXPECT_EQ(scalar("SELECT IDPRODPRODUZ FROM ITCOMANDAVEN WHERE NRPRODCOMVEN = '000001'").toString(), "S");
    EXPECT_EQ(fake->Count("DisparaImprimeCancProduto"), 2);
    EXPECT_EQ(fake->Count("LogControleAcess"), 2);
    EXPECT_TRUE(c.MensagemFimExecucao().isEmpty());
    // The list is the database's again: the cancelled row hidden, no mark left.
    EXPECT_EQ(Marcas(c.cdsProduto), QStringList({"0:000002U"}));
    EXPECT_EQ(c.QtdMarcados(), 0);
    EXPECT_FALSE(HaJanela());
}

TEST_P(ComandoObjetoTest, DecliningAGroupStopsSilentlyAfterTheTicketsOfWhatWasCancelled)
{
    d.Item({.NRPRODCOMVEN = "000001"});
    d.Item({.NRPRODCOMVEN = "000002", .NRSEQPRODCOM = "001"});
    d.Item({.NRPRODCOMVEN = "000003", .NRSEQPRODCOM = "001"});
    operador.Respostas = {true, false};
    TComandoCancelamento& c = Abre("CMD");
    Marca(c, {"000001", "000002"});
    EXPECT_THROW(c.Executa(), EAbort);

    ASSERT_EQ(operador.Perguntas.size(), 2);
    EXPECT_EQ(operador.Perguntas[1],
              std::make_pair(TPergunta::Grupo,
                             QStringLiteral(
                                 "Atenção. Todos os produtos combinados à este serão cancelados. Confirma?")));
    EXPECT_EQ(Linhas(), QStringList({"000001/6/1", "000002/1/1", "000003/1/1"}));
    EXPECT_EQ(fake->Count("DisparaImprimeCancProduto"), 2); // the first item's, once per group
    EXPECT_TRUE(operador.Avisos.isEmpty());
    EXPECT_TRUE(c.MensagemFimExecucao().isEmpty()); // given up, not failed
    EXPECT_EQ(Marcas(c.cdsProduto), QStringList({"0:000002C", "0:000003U"}));
    EXPECT_FALSE(HaJanela());
}

TEST_P(ComandoObjetoTest, FailedWriteIsToldBeforeTheCommittedRowsAreDispatchedAndEndsTheRun)
{
    for (const char* item : {"000001", "000002", "000003"}) {
        d.Item({.NRPRODCOMVEN = item});
        d.PedidoQrv({.NRPRODCOMVEN = item});
    }
    fake->OnCall = [&](const FakeHost::Call& call) {
        if (call.Service == "LogImpNFiscal" && fake->Count("LogImpNFiscal") == 2)
            BreakStatement(rdmCancelaProd->acmUpdSitItPedidoQrv, "ITPEDIDOQRV");
    };
    operador.Respostas = {true};
    TComandoCancelamento& c = Abre("CMD");
    Marca(c, {"000001", "000002", "000003"});
    EXPECT_THROW(c.Executa(), EAbort);

    ASSERT_EQ(operador.Avisos.size(), 1);
    EXPECT_TRUE(operador.Avisos[0].contains("TABELA_AUSENTE", Qt::CaseInsensitive)) << operador.Avisos[0].toStdString();
    EXPECT_EQ(operador.DespachosNoAviso, QList<int>({0}));
    EXPECT_EQ(fake->Count("DisparaImprimeCancProduto"), 2);
    EXPECT_EQ(c.MensagemFimExecucao(), operador.Avisos[0]);
    EXPECT_EQ(Linhas(), QStringList({"000001/6/1", "000002/1/1", "000003/1/1"}));
    EXPECT_EQ(Marcas(c.cdsProduto), QStringList({"0:000002C", "0:000003C"}));
}

TEST_P(ComandoObjetoTest, CancelAllMarksEveryStandingRowAsksNothingAndNamesWhatIsLeft)
{
    exec("UPDATE COMANDAVEN SET IDSTCOMANDA = '2'");
    d.Item({.NRPRODCOMVEN = "000001"});
    d.Item({.NRPRODCOMVEN = "000002", .QTPRODCOMVEN = 3.0, .NRSEQPRODCOM = "001"});
    d.Item({.NRPRODCOMVEN = "000003", .QTPRODCOMVEN = 3.0});
    d.Item({.NRPRODCOMVEN = "000004", .IDSTPRCOMVEN = "6"});
    fake->TecladoRespostas = {{true, "2"}};
    TComandoCancelamento& c = Abre("DLV_T", "T");
    EXPECT_TRUE(Cli_kvp00917::boCancelTodos);
    EXPECT_EQ(c.QtdMarcados(), 3);
    EXPECT_EQ(Marcas(c.cdsProduto), QStringList({"0:000001C", "0:000002C", "0:000003C"}));

    try {
        c.CancelaTodos();
        ADD_FAILURE() << "the remainder of 000003 was not reported";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(),
                  "Nem todos os itens do pedido foram cancelados. Não cancelados: 000003 Filé à parmegiana.");
    }
    // No question, not even the combo's: its rows go whole, without the keypad.
    EXPECT_TRUE(operador.Perguntas.isEmpty());
    EXPECT_EQ(fake->Count("TecladoNumerico"), 1);
    EXPECT_EQ(Linhas(), QStringList({"000001/6/1", "000002/6/3", "000003/1/1", "000004/6/1", "000005/6/2"}));
    EXPECT_FALSE(HaJanela());
}

TEST_P(ComandoObjetoTest, PackagesCancelAllCallBuildsNoWindow)
{
    d.Item({.NRPRODCOMVEN = "000001"});
    d.Item({.NRPRODCOMVEN = "000002"});
    QList<bool> janelas;
    fake->OnCall = [&](const FakeHost::Call& call) {
        if (call.Service == "VerificaAcesso" || call.Service == "DisparaImprimeCancProduto")
            janelas << (Cli_kvp00917::frmCancelaProd != nullptr || !QApplication::allWidgets().isEmpty());
    };
    Cli_kvp00917::CancelaProduto(kComanda, QStringLiteral("DLV_0100"), QStringLiteral("DLV_T"), QStringLiteral("T"));

    EXPECT_EQ(janelas, QList<bool>({false, false, false}));
    EXPECT_EQ(Linhas(), QStringList({"000001/6/1", "000002/6/1"}));
    EXPECT_EQ(rdmCancelaProd, nullptr); // the call's data module went with it
}

KVP_INSTANTIATE_ENGINES(ComandoObjetoTest);

} // namespace
