// The prompts the item loop runs for one marked item: the reason, the
// confirmation of a split-bill or combo group, and the quantity to cancel.
// Giving up ends the run silently (the run's end shows the list anew).
#include "ComandoCancelamento.h"

#include "Exception.h"
#include "ResultChecks.h"
#include "Srv_kvp00917.h"
#include "TextoQuantidade.h"
#include "ValoresCancelamento.h"
#include "VariaveisModulo.h"
#include "Wdc00002.h"

using namespace Cli_kvp00917;

void TComandoCancelamento::PerguntaMotivo(TValoresCancelamento& v, const TLinhaItem& l)
{
    cdsObs.SetData(
        MensagemMetodo(getOcorCanc(stCdFilial, stCdLoja, l.CdProduto, QString()), true, 0,
                       QStringLiteral("getOcorCanc"), kUnidade,
                       stCdFilial + QLatin1Char('-') + stCdLoja + QLatin1Char('-') + l.CdProduto + QLatin1Char('-'),
                       QStringLiteral("002")));
    QVariantList resultado(Wdc00002::ResultadoObservacao::Tamanho);
    QString texto;
    Wdc00002::Observacao({QStringLiteral("S"), QStringLiteral("CP"), l.CdProduto, l.NmProduto, QString()}, resultado,
                         texto);
    v.stCdGrpOcor = resultado.value(Wdc00002::ResultadoObservacao::Grupo).toString();
    if (texto.isEmpty() || texto == QLatin1String("erro"))
        Abort();
    v.stTxMotivo = texto;
}

void TComandoCancelamento::ConfirmaGrupo()
{
    if (!boCancelTodos && !Pergunta(TOperadorCancelamento::TPergunta::Grupo, msgPadrao.Msg(QStringLiteral("CONF_COM"))))
        Abort();
}

void TComandoCancelamento::PerguntaQuantidade(TValoresCancelamento& v, const TLinhaItem& l)
{
    QString digitado;
    if (!Wdc00002::TecladoNumerico(digitado, msgPadrao.Msg(QStringLiteral("CANCELA")),
                                   msgPadrao.Msg(QStringLiteral("INF_QUANT")),
                                   msgPadrao.Msg(QStringLiteral("QTDE_DEVE")), 10, 0,
                                   l.IdPesaProd == QLatin1String("S"), 0, 0, 0))
        Abort();

    double quantidade = 0;
    try {
        quantidade = StrToQtde(digitado);
    } catch (const EConvertError& e) {
        Aviso(e.Message());
        Abort();
    }
    if (quantidade <= 0) {
        Aviso(msgPadrao.Msg(QStringLiteral("Maior_0")));
        Abort();
    }
    if (l.QtProdComVen < quantidade) {
        Aviso(msgPadrao.Msg(QStringLiteral("Quant_Maior")));
        Abort();
    }
    v.doQtdeCanc = quantidade;
}
