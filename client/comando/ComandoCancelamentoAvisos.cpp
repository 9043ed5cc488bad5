// The end of a run for the production areas: the waiter of the order, the
// cancellation notice and the hand-over of the ticket rows to the till's print
// service, once per printer group and again on printer 3 where the till wants it.
#include "ComandoCancelamento.h"

#include "Exception.h"
#include "ResultChecks.h"
#include "Srv_kvp00917.h"
#include "ValoresCancelamento.h"
#include "ValueFunctions.h"
#include "VariaveisModulo.h"
#include "Wdc00002.h"

void TComandoCancelamento::BuscaGarcom(const QString& nrComanda)
{
    cdsGarcomMesa.SetData(MensagemMetodo(getGarcomMesa(stCdFilial, nrComanda), true, 0, QStringLiteral("getGarcomMesa"),
                                         kUnidade, stCdFilial + QLatin1Char('-') + nrComanda, QStringLiteral("002")));
}

void TComandoCancelamento::DespachaTickets(const TItemCancelado& ultimo, QVariantList& troca)
{
    BuscaGarcom(ultimo.NrComandaItem);

    const auto despacha = [&](const QString& modelo, const TClientDataSet& tickets) {
        const QString garcom = cdsGarcomMesa.IsEmpty()
            ? QString()
            : cdsGarcomMesa.FieldByName(QStringLiteral("NMFANVEN"))->AsString();
        const auto msg = [this](const char* chave) { return msgPadrao.Msg(QLatin1String(chave)); };
        namespace Nota = Wdc00002::NotaCancelamento;
        QVariantList valores(Nota::Tamanho);
        valores[Nota::Falso] = false;
        valores[Nota::ModeloImpressora] = modelo;
        valores[Nota::ComandaMostrada] = iif(stModo == QLatin1String("CMD"), stDsComanda, ultimo.NrComandaItem);
        valores[Nota::Mesa] = stNrMesa;
        valores[Nota::Garcom] = garcom;
        valores[Nota::GrupoMotivo] = ultimo.CdGrpOcor;
        valores[Nota::Motivo] = QLatin1Char(' ') + ultimo.TxMotivo;
        valores[Nota::Vazio7] = QString();
        valores[Nota::Pacote] = ToVariant(tickets.Data());
        valores[Nota::Titulo] = msg("MSG_CANC");
        valores[Nota::RotCupom] = msg("MSG_Cupom");
        valores[Nota::RotMotivo] = msg("MSG_MOTIVO");
        valores[Nota::RotGarcom] = msg("MSG_Garcom");
        valores[Nota::RotPedido] = msg("MSG_Pedido");
        valores[Nota::RotMesa] = msg("MSG_Mesa");
        valores[Nota::Vazio15] = QString();
        valores[Nota::NrComanda] = ultimo.NrComandaItem;
        valores[Nota::DsComanda] = stDsComanda;
        Wdc00002::DisparaImprimeCancProduto(valores, troca);
    };

    // Delivery orders of an integration that prints its own notices.
    const bool pula = stImpCancInteg == QLatin1String("N") && stModo == QLatin1String("DLV");
    if (!pula) {
        despacha(stIdTipoImpNf1, cdsDescProd);
        despacha(stIdTipoImpNf5, cdsDescProd2);
    }
    if (stIdImpCanSatNfce == QLatin1String("S")) {
        for (cdsDescProd.First(); !cdsDescProd.Eof(); cdsDescProd.Next()) {
            cdsDescProd.Edit();
            cdsDescProd.FieldByName(QStringLiteral("CDPORIMPPROD"))->SetAsString(stCdPortImpNf3);
            cdsDescProd.FieldByName(QStringLiteral("IDMODEIMPRES"))->SetAsString(stIdTipoImpNf3);
            cdsDescProd.Post();
        }
        if (!pula)
            despacha(stIdTipoImpNf3, cdsDescProd);
    }
}

void TComandoCancelamento::DespachaAposParada(TValoresCancelamento& v)
{
    // Rows already cancelled in the database must leave the kitchen too; a run
    // that stopped before its first cancellation has nothing to announce.
    if (v.Cancelados.isEmpty())
        return;
    try {
        DespachaTickets(v.Cancelados.constLast(), v.vaTroca);
    } catch (const Exception& e) {
        Aviso(e.Message());
    } catch (const std::exception& e) {
        Aviso(QString::fromUtf8(e.what()));
    }
}
