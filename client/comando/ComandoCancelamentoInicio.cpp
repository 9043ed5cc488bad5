// Start-up of the cancellation command: the terminal's files, the server's
// settings, the message table, and the run of a cancel-all call.
#include "ComandoCancelamento.h"

#include <QFileInfo>
#include <exception>

#include "CamposItem.h"
#include "Exception.h"
#include "HostServices.h"
#include "Srv_kvp00917.h"
#include "VariaveisModulo.h"

using namespace Cli_kvp00917;

namespace {

const QString kArquivoParametros = QStringLiteral("/PARAMETROSQRV.CDS");
const QString kArquivoOperador = QStringLiteral("/Dados/Cadastros/ControleAcess.cds");

// Loads a terminal file into its dataset; false when the file is not there.
bool CarregaArquivo(TClientDataSet& dataSet, const QString& fileName)
{
    if (!QFileInfo(fileName).isFile())
        return false;
    dataSet.LoadFromFile(fileName);
    if (!dataSet.Active())
        dataSet.Open();
    return true;
}

// A column missing from a terminal file stops the start-up; the text names the
// file so that the till's maintainer knows which one to fix.
[[noreturn]] void RelancaComArquivo(const EDatabaseError& e, const QString& fileName)
{
    throw EDatabaseError(QStringLiteral("%1 (%2)").arg(e.Message(), fileName));
}

} // namespace

TComandoCancelamento::TComandoCancelamento(TOperadorCancelamento& operador) : m_operador(operador)
{
    CriaMensagens();
    cdsProduto.FieldDefs() = CamposItem();
    cdsProduto.CreateDataSet();
    cdsProdutoCombo.FieldDefs() = CamposItem();
    cdsProdutoCombo.CreateDataSet();
}

TComandoCancelamento::~TComandoCancelamento() = default;

void TComandoCancelamento::CriaMensagens()
{
    msgPadrao.Messages = QStringList{
        QStringLiteral("Sit_1|Solicitado"),
        QStringLiteral("Sit_2|Em produção"),
        QStringLiteral("Sit_3|Produzido"),
        QStringLiteral("Sit_4|Entregue"),
        QStringLiteral("Sit_6|Cancelado"),
        QStringLiteral("Sit_7|Perdido"),
        QStringLiteral("CONF|Confirma o cancelamento ?"),
        QStringLiteral(
            "Quant_Maior|Operação bloqueada. A quantidade cancelada não pode ser maior que a quantidade pedida."),
        QStringLiteral("CANCELA|Cancelamento de Produto"),
        QStringLiteral("QTDE_DEVE|Quantidade deve ser informada."),
        QStringLiteral("INF_QUANT|Informe a quantidade a ser cancelada"),
        QStringLiteral("QTDE_INV_0|Não é possível cancelar uma quantidade igual a 0."),
        QStringLiteral("OPE_ULT_CAN|Operação bloqueada. Último item ja está cancelado."),
        QStringLiteral("CONF_COM|Atenção. Todos os produtos combinados à este serão cancelados. Confirma?"),
        QStringLiteral("Mot_Can_Ult1|Cancelamento último item."),
        QStringLiteral("Mot_Prod|Produto cancelado"),
        QStringLiteral("Mot_Prod_Comb|Produto combinado cancelado"),
        QStringLiteral("Mot_Mesa|referente a mesa/comanda:"),
        QStringLiteral("ITEM_CANC|ITEM CANCELADO"),
        QStringLiteral("Mot_Can_Gen1|Cancelamento item genérico."),
        QStringLiteral("Maior_0|Operação bloqueada. A quantidade informada deve ser maior que 0."),
        QStringLiteral("MSG_CANC| Cancelamento de Pedido"),
        QStringLiteral("MSG_Cupom|Cupom :"),
        QStringLiteral("MSG_MOTIVO|Motivo :"),
        QStringLiteral("MSG_Garcom|Garcom :"),
        QStringLiteral("MSG_Comanda|Comanda :"),
        QStringLiteral("MSG_Mesa|Mesa   :"),
        QStringLiteral("QTDE|Qtde."),
        QStringLiteral(
            "Mes_Err|Operação bloqueada! A mesa utilizada está sendo recebida ou já foi fechada por outro caixa."),
        QStringLiteral("Prod_Produz|O produto foi produzido?"),
        QStringLiteral("MSG_Pedido|Pedido :"),
        QStringLiteral(
            "Canc_N_Perm|Operação bloqueada! Existe pagamento adiantado impossibilitando este cancelamento."),
    };
}

void TComandoCancelamento::LeParametros()
{
    const QString fileName = HostFolder() + kArquivoParametros;
    if (!CarregaArquivo(cdsParametrosQrv, fileName))
        return;

    try {
        const TClientDataSet& p = cdsParametrosQrv;
        inCor1 = p.FieldByName(QStringLiteral("INCOR1"))->AsInteger();
        inCor2 = p.FieldByName(QStringLiteral("INCOR2"))->AsInteger();
        inCor3 = p.FieldByName(QStringLiteral("INCOR3"))->AsInteger();
        inCor5 = p.FieldByName(QStringLiteral("INCOR5"))->AsInteger();
        stIdEsquema = p.FieldByName(QStringLiteral("IDESQUEMA"))->AsString();
        stCdFilial = p.FieldByName(QStringLiteral("CDFILIAL"))->AsString();
        stIdEsquema2 = p.FieldByName(QStringLiteral("IDESQUEMA"))->AsString();
        stIdSolObsCan = p.FieldByName(QStringLiteral("IDSOLOBSCAN"))->AsString();
        stCdLoja = p.FieldByName(QStringLiteral("CDLOJA"))->AsString();
        stCdCaixa = p.FieldByName(QStringLiteral("CDCAIXA"))->AsString();
        boDisplayOk = p.FieldByName(QStringLiteral("DISPLAYOK"))->AsBoolean();
        stIdTipoImpNf1 = p.FieldByName(QStringLiteral("IDTIPOIMPNF1"))->AsString();
        stCdPortImpNf1 = p.FieldByName(QStringLiteral("CDPORTIMPNF1"))->AsString();
        stIdTipoImpNf5 = p.FieldByName(QStringLiteral("IDTIPOIMPNF5"))->AsString();
        stCdPortaImpNf5 = p.FieldByName(QStringLiteral("CDPORTAIMPNF5"))->AsString();
        inCtCancUltItem = p.FieldByName(QStringLiteral("CTCANCULTITEM"))->AsInteger();
        inCtCancItemGen = p.FieldByName(QStringLiteral("CTCANCITEMGEN"))->AsInteger();
        stCdProdConsum = p.FieldByName(QStringLiteral("CDPRODCONSUM"))->AsString();
        stCdProdConsuf = p.FieldByName(QStringLiteral("CDPRODCONSUF"))->AsString();
        stCdProdCouver = p.FieldByName(QStringLiteral("CDPRODCOUVER"))->AsString();
        boUtilizaImpFis = p.FieldByName(QStringLiteral("UTILIZAIMPFIS"))->AsBoolean();
        stNrSeqImprLoja1 = p.FieldByName(QStringLiteral("NRSEQIMPRLOJA1"))->AsString();
        stNrSeqImprLoja2 = p.FieldByName(QStringLiteral("NRSEQIMPRLOJA2"))->AsString();
        stCdPortImpNf3 = p.FieldByName(QStringLiteral("CDPORTIMPNF3"))->AsString();
        stIdTipoImpNf3 = p.FieldByName(QStringLiteral("IDTIPOIMPNF3"))->AsString();
        stIdImpCanSatNfce = p.FieldByName(QStringLiteral("IDIMPCANSATNFCE"))->AsString();
    } catch (const EDatabaseError& e) {
        RelancaComArquivo(e, fileName);
    }
}

void TComandoCancelamento::LeOperador()
{
    const QString fileName = HostFolder() + kArquivoOperador;
    if (!CarregaArquivo(cdsControleAcess, fileName))
        return;

    try {
        stCdOperador = cdsControleAcess.FieldByName(QStringLiteral("CDOPERADOR"))->AsString();
        stNmOperador = cdsControleAcess.FieldByName(QStringLiteral("NMOPERADOR"))->AsString();
    } catch (const EDatabaseError& e) {
        RelancaComArquivo(e, fileName);
    }
}

std::optional<QStringList> TComandoCancelamento::ItensNaoCancelados(QString& falha)
{
    // From the database, not from what the run believes it did: a list that
    // could not be read again tells nothing of what is left.
    try {
        CarregaProdutos();
    } catch (const EAbort&) {
        falha = stAvisoCarga; // the reload showed why
        return std::nullopt;
    } catch (const std::exception& e) {
        const auto* own = dynamic_cast<const Exception*>(&e);
        falha = own ? own->Message() : QString::fromUtf8(e.what());
        return std::nullopt;
    }
    cdsProdAux.CopyDataSet(cdsProduto);
    QStringList pendentes;
    for (cdsProdAux.First(); !cdsProdAux.Eof(); cdsProdAux.Next()) {
        const auto texto = [this](const char* campo) {
            return cdsProdAux.FieldByName(QLatin1String(campo))->AsString();
        };
        if (texto("IDSTPRCOMVEN") != kEstadoCancelado)
            pendentes << texto("NRPRODCOMVEN") + QLatin1Char(' ') + texto("NMPRODUTO");
    }
    return pendentes;
}

void TComandoCancelamento::Inicializa(QString nrComanda, QString dsComanda, QString modo, QString nrMesa)
{
    boCancelTodos = false;
    if (nrMesa == QLatin1String("T") && modo == QLatin1String("DLV_T")) {
        boCancelTodos = true;
        nrMesa.clear();
        modo = QStringLiteral("DLV");
    }

    doTotRestante = 0;
    inQtdMarcados = 0;

    stNrComanda = nrComanda;
    stDsComanda = dsComanda;
    stModo = modo;
    stNrMesa = nrMesa;

    ConectaModuloDados();

    LeParametros();
    LeOperador();

    // The backup printers and the integration flag only refine the printing
    // later on; a till whose server lacks them still cancels.
    try {
        cdsImpBackup.SetData(getImpBackup(stCdFilial, stCdCaixa));
    } catch (...) {}
    try {
        stImpCancInteg = getImpCancInteg(stCdFilial, stCdCaixa).toString();
    } catch (...) {}

    cdsProduto.SetFiltered(false);
    cdsProduto.SetFilter(kFiltroNaoCancelados);
    cdsProduto.SetFiltered(true);
    CarregaProdutos();
}

void TComandoCancelamento::CancelaTodos()
{
    // Nobody sees a window: the caller learns from the error which items a
    // stopped or refused run left standing.
    std::exception_ptr falha;
    QString motivo;
    try {
        Executa();
    } catch (const EAbort&) {
        falha = std::current_exception();
        motivo = stMensagemFim;
    } catch (const std::exception& e) {
        falha = std::current_exception();
        const auto* own = dynamic_cast<const Exception*>(&e);
        motivo = own ? own->Message() : QString::fromUtf8(e.what());
    }
    const auto comMotivo = [&motivo](const QString& texto) {
        return motivo.isEmpty() ? texto : motivo + QLatin1Char('\n') + texto;
    };
    QString semLeitura;
    const std::optional<QStringList> pendentes = ItensNaoCancelados(semLeitura);
    if (!pendentes)
        throw Exception(
            comMotivo(QStringLiteral("Não foi possível conferir o resultado do cancelamento: %1").arg(semLeitura)));
    if (!pendentes->isEmpty())
        throw Exception(comMotivo(QStringLiteral("Nem todos os itens do pedido foram cancelados. Não cancelados: %1.")
                                      .arg(pendentes->join(QStringLiteral("; ")))));
    if (falha)
        std::rethrow_exception(falha);
}
