// The item loop of the cancellation command: each marked row once, along its
// path (split-bill group, combo group, typed quantity or whole row).
#include "ComandoCancelamento.h"

#include "CamposItem.h"
#include "Exception.h"
#include "FilterExpression.h"
#include "ResultChecks.h"
#include "Srv_kvp00917.h"
#include "TextoQuantidade.h"
#include "ValoresCancelamento.h"
#include "VariaveisModulo.h"
#include "Wdc00002.h"

using namespace Cli_kvp00917;

namespace {

// Rendered as text, the quantity sorts after "1" (2, 10, 1,5): it is asked.
bool PedeQuantidade(const TLinhaItem& l)
{
    return QtdeToStr(l.QtProdComVen).compare(QLatin1String("1")) > 0;
}

// A row whose cancellation committed is handled, and its ticket is owed from
// here on, whatever fails after.
void Anota(TValoresCancelamento& v, TItemCancelado::TCaminho caminho, const TLinhaItem& l)
{
    v.Tratados.insert(l.Chave());
    v.Cancelados.append({caminho, l, v.doQtdeCanc, v.stCdGrpOcor, v.stTxMotivo, v.stNrComandaItem});
}

} // namespace

void TComandoCancelamento::ExecutaItens(TValoresCancelamento& v)
{
    while (!cdsProduto.Eof()) {
        const TLinhaItem l = TLinhaItem::De(cdsProduto);
        if (v.Tratados.contains(l.Chave())) {
            cdsProduto.Next();
            continue;
        }

        QVariantList linha{QStringLiteral("Cancelamento de Item Kvp00917 ---  Código Arv: ") + l.CdArvProd
                           + QStringLiteral(" Nome: ") + l.NmProduto + QStringLiteral(" Qtde: ")
                           + QtdeToStr(l.QtProdComVen)};
        Wdc00002::LogImpNFiscal(linha, v.vaTroca);

        v.doQtdeCanc = 0;
        v.stNrComandaItem = l.NrComanda;
        if (stIdSolObsCan == QLatin1String("S"))
            PerguntaMotivo(v, l);

        if (l.IdDivideConta == QLatin1String("S")) {
            CaminhoDivideConta(v);
            continue;
        }
        if (!l.NrSeqProdCom.isEmpty()) {
            CaminhoCombo(v);
            continue;
        }
        if (PedeQuantidade(l))
            CaminhoParcial(v, l);
        else
            CaminhoInteiro(v, l);

        Protegido([&] {
            BuscaGarcom(l.NrComanda);
            v.vaTroca = TValoresCancelamento::NovaTroca();
        });
        PassoDelivery(v, l);
        cdsProduto.Next();
    }
}

void TComandoCancelamento::CaminhoDivideConta(TValoresCancelamento& v)
{
    // Every not-cancelled split-bill row of the product, marked or not.
    const QString produto = cdsProduto.FieldByName(QStringLiteral("CDPRODUTO"))->AsString();
    cdsProduto.SetFilter(QStringLiteral("IDSTPRCOMVEN <> '6' AND IDDIVIDECONTA = 'S' AND CDPRODUTO = ")
                         + TFilterExpression::QuotedText(produto));
    cdsProduto.SetFiltered(true);
    ConfirmaGrupo();

    cdsProduto.First();
    while (!cdsProduto.Eof()) {
        const TLinhaItem l = TLinhaItem::De(cdsProduto);
        if (!v.Tratados.contains(l.Chave())) {
            Protegido([&] {
                NaTransacao([&] {
                    BaixaAcrescimo(l.NrComanda, l.VrAcrComVen);
                    CancelaLinha(v, l);
                });
            });
            Anota(v, TItemCancelado::TCaminho::DivideConta, l);
            Protegido([&] { GeraTickets(v.Cancelados.constLast()); });
            Protegido(
                [&] { RegistraAcesso(v, l, msgPadrao.Msg(QStringLiteral("Mot_Prod")), QtdeToStr(l.QtProdComVen)); });
        }
        cdsProduto.Delete();
    }

    cdsProduto.SetFilter(kFiltroMarcados);
    cdsProduto.SetFiltered(true);
    cdsProduto.First();
}

void TComandoCancelamento::CaminhoCombo(TValoresCancelamento& v)
{
    // Combo groups are numbered per comanda, as items are: a table's list may
    // hold another comanda's combo under the same number.
    const TLinhaItem marcada = TLinhaItem::De(cdsProduto);
    cdsProdutoCombo.CopyDataSet(cdsProduto);
    cdsProdutoCombo.SetFiltered(false);
    cdsProdutoCombo.SetFilter(QStringLiteral("IDSTPRCOMVEN <> '6' AND NRSEQPRODCOM = ")
                              + TFilterExpression::QuotedText(marcada.NrSeqProdCom)
                              + QStringLiteral(" AND NRCOMANDA = ") + TFilterExpression::QuotedText(marcada.NrComanda));
    cdsProdutoCombo.SetFiltered(true);
    ConfirmaGrupo();

    QList<TLinhaItem> membros;
    for (cdsProdutoCombo.First(); !cdsProdutoCombo.Eof(); cdsProdutoCombo.Next()) {
        const TLinhaItem m = TLinhaItem::De(cdsProdutoCombo);
        if (!v.Tratados.contains(m.Chave()))
            membros.append(m);
    }

    // The tab's surcharge goes down by the members' own surcharges, and the
    // whole group is written or nothing of it.
    Protegido([&] {
        NaTransacao([&] {
            for (const TLinhaItem& m : std::as_const(membros)) {
                BaixaAcrescimo(m.NrComanda, m.VrAcrComVen);
                CancelaLinha(v, m);
            }
        });
    });
    v.Tratados.insert(marcada.Chave());
    const qsizetype primeiro = v.Cancelados.size();
    for (const TLinhaItem& m : std::as_const(membros))
        Anota(v, TItemCancelado::TCaminho::Combo, m);
    Protegido([&] {
        for (qsizetype i = primeiro; i < v.Cancelados.size(); ++i)
            GeraTickets(v.Cancelados.at(i));
    });
    Protegido([&] {
        for (const TLinhaItem& m : std::as_const(membros))
            RegistraAcesso(v, m, msgPadrao.Msg(QStringLiteral("Mot_Prod_Comb")), QtdeToStr(m.QtProdComVen));
    });
}

void TComandoCancelamento::CaminhoParcial(TValoresCancelamento& v, const TLinhaItem& l)
{
    PerguntaQuantidade(v, l);
    Protegido([&] {
        // The row's share, from the quantity the write finds stored: it
        // refuses a row whose quantity is no longer the one listed.
        NaTransacao([&] {
            BaixaAcrescimo(l.NrComanda, l.VrAcrComVen / l.QtProdComVen * v.doQtdeCanc);
            CancelaQuantidade(v, l);
        });
    });
    Anota(v, TItemCancelado::TCaminho::Normal, l);
    Protegido([&] { GeraTickets(v.Cancelados.constLast()); });
    Protegido([&] {
        RegistraAcesso(v, l, msgPadrao.Msg(QStringLiteral("Mot_Prod")), QtdeToStr(v.doQtdeCanc));
        MostraDisplay(QtdeToStr(v.doQtdeCanc), l.NmProduto);
    });
}

void TComandoCancelamento::CaminhoInteiro(TValoresCancelamento& v, const TLinhaItem& l)
{
    Protegido([&] {
        NaTransacao([&] {
            BaixaAcrescimo(l.NrComanda, l.VrAcrComVen);
            CancelaLinha(v, l);
        });
    });
    Anota(v, TItemCancelado::TCaminho::Normal, l);
    Protegido([&] { GeraTickets(v.Cancelados.constLast()); });
    Protegido([&] {
        // The detail always says 1 here, also for a fraction cancelled whole.
        RegistraAcesso(v, l, msgPadrao.Msg(QStringLiteral("Mot_Prod")), QStringLiteral("1"));
        MostraDisplay(QtdeToStr(l.QtProdComVen), l.NmProduto);
    });
}

void TComandoCancelamento::PassoDelivery(const TValoresCancelamento& v, const TLinhaItem& l)
{
    // Only when the whole row is gone.
    if (stModo != QLatin1String("DLV") || (v.doQtdeCanc != 0 && l.QtProdComVen != v.doQtdeCanc))
        return;
    const QString estado(kEstadoCancelado);
    MensagemMetodo(setStatusPedidos(stCdFilial, l.NrVendaRest, l.NrComanda, l.NrProdComVen, estado), true, 0,
                   QStringLiteral("setStatusPedidos"), kUnidade,
                   QStringList{stCdFilial, l.NrVendaRest, l.NrComanda, l.NrProdComVen, estado}.join(QLatin1Char('-')),
                   QStringLiteral("002"));
}
