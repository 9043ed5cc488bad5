// What the cancellation command does for one row: its writes (the row, its
// origin row, the tab's surcharge) in one transaction, the access log entry
// and the customer display; and the guarded block that stops a run.
#include "ComandoCancelamento.h"

#include "Exception.h"
#include "ResultChecks.h"
#include "Srv_kvp00917.h"
#include "TextoQuantidade.h"
#include "ValoresCancelamento.h"
#include "ValueFunctions.h"
#include "Wdc00001.h"
#include "Wdc00002.h"

void TComandoCancelamento::Protegido(const std::function<void()>& bloco)
{
    try {
        bloco();
    } catch (const EAbort&) {
        throw;
    } catch (const Exception& e) {
        Aviso(e.Message());
        Abort();
    } catch (const std::exception& e) {
        Aviso(QString::fromUtf8(e.what()));
        Abort();
    }
}

void TComandoCancelamento::NaTransacao(const std::function<void()>& escritas)
{
    // The write services leave a transaction opened here for us to commit,
    // and roll it back themselves when they fail.
    IniciaTransacao();
    try {
        escritas();
        ConfirmaTransacao();
    } catch (...) {
        try {
            DesfazTransacao();
        } catch (...) {
            // The write's failure is the one to report.
        }
        throw;
    }
}

void TComandoCancelamento::BaixaAcrescimo(const QString& nrComanda, double valor)
{
    CheckResultServ(setAcrescimo(stCdFilial, stCdCaixa, nrComanda, valor), true, 0);
}

void TComandoCancelamento::CancelaLinha(TValoresCancelamento& v, const TLinhaItem& l)
{
    const auto grava = [&](const QString& nrVendaRest, const QString& nrComanda, const QString& nrProdComVen,
                           const QString& nrSeqBeneCons, const QString& qtListada, const QString& idStListado,
                           const QString& idOrigem) {
        CheckResultServ(setStatusItemComanda(stCdFilial, stCdCaixa, nrVendaRest, nrComanda, nrProdComVen, v.stCdGrpOcor,
                                             v.stCdGrpOcor, v.stTxMotivo, stCdOperador, v.stSupervisor, nrSeqBeneCons,
                                             v.stProduzido, qtListada, idStListado, idOrigem),
                        true, 0);
    };
    // The row must still be what the operator saw.
    grava(l.NrVendaRest, l.NrComanda, l.NrProdComVen, l.NrSeqBeneConsIt, QtdeToStr(l.QtProdComVen), l.IdStPrComVen,
          QString());
    // The benefit went back with the item itself: a booking made at another
    // till is not deleted there, so naming it again would give it back twice.
    if (l.TemOrigem()) {
        grava(QString(), l.NrComandaOri, l.NrProdComOri, QString(), QString(), QString(), QStringLiteral("S"));
        AnotaOrigem(v, l);
    }
}

void TComandoCancelamento::CancelaQuantidade(TValoresCancelamento& v, const TLinhaItem& l)
{
    const QString motivo = EmptyString(v.stTxMotivo) ? QString() : v.stTxMotivo;
    const QString supervisor = EmptyString(v.stSupervisor) ? QString() : v.stSupervisor;
    const auto grava = [&](const QString& nrVendaRest, const QString& nrComanda, const QString& nrProdComVen,
                           const QString& qtListada, const QString& idStListado, const QString& idOrigem) {
        CheckResultServ(setCancelaProd(stCdFilial, stCdCaixa, nrVendaRest, nrComanda, nrProdComVen,
                                       QtdeToStr(v.doQtdeCanc), v.stCdGrpOcor, v.stCdGrpOcor, motivo, stCdOperador,
                                       v.stProduzido, supervisor, qtListada, idStListado, idOrigem),
                        true, 0);
    };
    grava(l.NrVendaRest, l.NrComanda, l.NrProdComVen, QtdeToStr(l.QtProdComVen), l.IdStPrComVen, QString());
    if (l.TemOrigem()) {
        grava(QString(), l.NrComandaOri, l.NrProdComOri, QString(), QString(), QStringLiteral("S"));
        AnotaOrigem(v, l);
    }
}

void TComandoCancelamento::AnotaOrigem(TValoresCancelamento& v, const TLinhaItem& l)
{
    // Cancelled with the taken item (or found cancelled already): when the list
    // reaches it as a marked row of its own, there is nothing left to write.
    v.Tratados.insert(l.ChaveOrigem());
}

void TComandoCancelamento::RegistraAcesso(const TValoresCancelamento& v, const TLinhaItem& l, const QString& palavra,
                                          const QString& quantidade)
{
    QString acao, titulo;
    if (v.inCodAcesso == 4) {
        acao = QStringLiteral("CAN_ULT");
        titulo = msgPadrao.Msg(QStringLiteral("Mot_Can_Ult1"));
    } else if (v.inCodAcesso == 5) {
        acao = QStringLiteral("CAN_GEN");
        titulo = msgPadrao.Msg(QStringLiteral("Mot_Can_Gen1"));
    } else {
        return;
    }
    const QString detalhe = palavra + QLatin1Char(' ') + l.CdProduto + QStringLiteral(" - ") + l.NmProduto
        + QStringLiteral(" - ") + msgPadrao.Msg(QStringLiteral("QTDE")) + QLatin1Char(' ') + quantidade
        + QStringLiteral(" - ") + msgPadrao.Msg(QStringLiteral("Mot_Mesa")) + QLatin1Char(' ') + stNrMesa
        + QLatin1Char('/') + stDsComanda + QStringLiteral(" - Nr. Coman: ") + v.stNrComandaItem;
    Wdc00002::LogControleAcess(stCdFilial, stCdCaixa, acao, stCdOperador, stNmOperador, v.stSupervisor, titulo, detalhe,
                               l.NrVendaRest, v.stNrComandaItem, stDsComanda, stNrMesa, 0, 0);
}

void TComandoCancelamento::MostraDisplay(const QString& quantidade, const QString& nome)
{
    if (!boDisplayOk)
        return;
    Wdc00001::LimpaDisplay();
    Wdc00001::DisplayEnviaTexto(quantidade + QStringLiteral("x ") + nome, 1, 1, 0, 0);
    Wdc00001::DisplayEnviaTexto(msgPadrao.Msg(QStringLiteral("ITEM_CANC")), 2, 3, 0, 0);
}
