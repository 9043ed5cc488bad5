// The cancellation command: the checks and confirmations before the first
// write, the exits that end it early, and the end of a run.
#include "ComandoCancelamento.h"

#include <QLocale>
#include <QScopeGuard>
#include <exception>

#include "Exception.h"
#include "ResultChecks.h"
#include "Srv_kvp00917.h"
#include "ValoresCancelamento.h"
#include "ValueFunctions.h"
#include "VariaveisModulo.h"
#include "Wdc00002.h"

using namespace Cli_kvp00917;

namespace {

// Value of a marked row for the advance-payment rule.
double ValorLinha(const TClientDataSet& ds)
{
    const auto n = [&ds](const char* campo) { return ds.FieldByName(QLatin1String(campo))->AsFloat(); };
    return n("VRPRECCOMVEN") * n("QTPRODCOMVEN") - n("VRDESCCOMVEN") + n("VRACRCOMVEN");
}

} // namespace

void TComandoCancelamento::Aviso(const QString& texto)
{
    // The first notice of a run is the one that ended it.
    if (stAvisoExecucao.isEmpty())
        stAvisoExecucao = texto;
    m_operador.Avisa(texto, stIdEsquema);
}

bool TComandoCancelamento::Pergunta(TOperadorCancelamento::TPergunta qual, const QString& texto)
{
    return m_operador.Pergunta(qual, texto, stIdEsquema);
}

void TComandoCancelamento::RestauraFiltro(const TValoresCancelamento& v)
{
    cdsProduto.SetFiltered(false);
    if (!v.stFiltroSalvo.isEmpty()) {
        cdsProduto.SetFilter(v.stFiltroSalvo);
        cdsProduto.SetFiltered(true);
    }
}

QString TComandoCancelamento::MensagemFimExecucao() const
{
    return stMensagemFim;
}

void TComandoCancelamento::Executa()
{
    stAvisoExecucao.clear();
    // However the run ends, the caller is told of the notice that ended it.
    const auto fim = qScopeGuard([this] { stMensagemFim = stAvisoExecucao; });
    TValoresCancelamento v;
    cdsProdAux.CopyDataSet(cdsProduto);

    if (!stNrMesa.isEmpty() && stModo == QLatin1String("RES")) {
        const QVariant livre = MensagemMetodo(getValidaMesa(stCdFilial, stCdLoja, stNrMesa), true, 0,
                                              QStringLiteral("getValidaMesa"), kUnidade,
                                              stCdFilial + QLatin1Char('-') + stCdLoja + QLatin1Char('-') + stNrMesa,
                                              QStringLiteral("002"));
        if (!livre.toBool()) {
            Aviso(msgPadrao.Msg(QStringLiteral("Mes_Err")));
            Abort();
        }
    }

    v.boPerguntaProduzido = MensagemMetodo(getInfoProdProduz(), true, 0, QStringLiteral("getInfoProdProduz"), kUnidade,
                                           QString(), QStringLiteral("002"))
                                .toBool();

    v.stFiltroSalvo = cdsProduto.Filtered() ? cdsProduto.Filter() : QString();
    cdsProduto.SetFiltered(false);
    cdsProduto.SetFilter(kFiltroMarcados);
    cdsProduto.SetFiltered(true);

    if (cdsProduto.IsEmpty()) {
        RestauraFiltro(v);
        CarregaProdutos();
        return;
    }

    // The access code: "last item" when the first marked row stands, in the
    // list as the server sent it, at the position of the last row's number.
    cdsProdAux.Last();
    bool numero = false;
    const int ultimo = QLocale().toInt(cdsProdAux.FieldByName(QStringLiteral("NRPRODCOMVEN"))->AsString(), &numero);
    const auto campo = [this](const char* nome) { return cdsProduto.FieldByName(QLatin1String(nome))->Value(); };
    cdsProdAux.Locate(QStringLiteral("CDPRODUTO;CDARVPROD;DTHRINCOMVEN"),
                      {campo("CDPRODUTO"), campo("CDARVPROD"), campo("DTHRINCOMVEN")}, {.CaseInsensitive = true});
    v.inCodAcesso = numero && cdsProdAux.RecNo() == ultimo ? inCtCancUltItem : inCtCancItemGen;

    if (!boCancelTodos && v.boPerguntaProduzido
        && Pergunta(TOperadorCancelamento::TPergunta::Produzido, msgPadrao.Msg(QStringLiteral("Prod_Produz"))))
        v.stProduzido = QStringLiteral("S");

    if (doTotRestante > 0) {
        for (cdsProduto.First(); !cdsProduto.Eof(); cdsProduto.Next())
            v.doTotalMarcado += ValorLinha(cdsProduto);
        if (Trunc2(doTotRestante) < Trunc2(v.doTotalMarcado)) {
            Aviso(msgPadrao.Msg(QStringLiteral("Canc_N_Perm")));
            cdsProduto.SetFiltered(false);
            CarregaProdutos();
            return;
        }
    }

    if (!Wdc00002::VerificaAcesso(v.inCodAcesso, stCdOperador, v.stSupervisor)) {
        RestauraFiltro(v);
        CarregaProdutos();
        return;
    }

    if (!boCancelTodos
        && !Pergunta(TOperadorCancelamento::TPergunta::Confirmacao,
                     QStringLiteral("Confirma o Cancelamento de %1 Produto(s) ?").arg(cdsProduto.RecordCount()))) {
        RestauraFiltro(v);
        return;
    }

    RecriaTickets();
    cdsProduto.First();
    v.vaTroca = TValoresCancelamento::NovaTroca();
    try {
        ExecutaItens(v);
    } catch (...) {
        EncerraAposParada(v, std::current_exception());
    }
    try {
        if (!v.Cancelados.isEmpty())
            DespachaTickets(v.Cancelados.constLast(), v.vaTroca);
    } catch (...) {
        // Everything is cancelled; only the print service failed. Nothing is
        // dispatched again: what reached it may have printed.
        MostraFalha(std::current_exception());
        RecarregaAposParada(v);
        Abort();
    }

    RestauraFiltro(v);
    CarregaProdutos();
}

void TComandoCancelamento::MostraFalha(const std::exception_ptr& falha)
{
    try {
        std::rethrow_exception(falha);
    } catch (const EAbort&) {
        // Shown where it happened.
    } catch (const Exception& e) {
        Aviso(e.Message());
    } catch (const std::exception& e) {
        Aviso(QString::fromUtf8(e.what()));
    } catch (...) {
        Aviso(QStringLiteral("Erro desconhecido no cancelamento de produto."));
    }
}

void TComandoCancelamento::RecarregaAposParada(const TValoresCancelamento& v)
{
    // The list still shows the cancelled rows marked: show what the database
    // holds, and keep marked only the rows the run did not reach, so that
    // nothing invites a second cancellation and nothing has to be marked again.
    try {
        RestauraFiltro(v);
        CarregaProdutosMantendoMarcas(v.Tratados);
    } catch (...) {
        // The reload has shown its own failure; the stop is what to report.
    }
}

void TComandoCancelamento::EncerraAposParada(TValoresCancelamento& v, const std::exception_ptr& falha)
{
    // The operator reads why the run stopped before the kitchen is told of the
    // rows it had cancelled: those are in the database, so they are told all
    // the same.
    MostraFalha(falha);
    DespachaAposParada(v);
    RecarregaAposParada(v);
    Abort();
}
