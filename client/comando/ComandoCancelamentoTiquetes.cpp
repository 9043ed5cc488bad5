// The production tickets of a run: two datasets of ticket rows, one per
// printer group (each product's first and second production printer), filled
// row by row as the command cancels, along the row's path.
#include "ComandoCancelamento.h"

#include "FieldDefs.h"
#include "ResultChecks.h"
#include "Srv_kvp00917.h"
#include "ValoresCancelamento.h"
#include "VariaveisModulo.h"

namespace {

QList<TFieldDef> CamposTicket()
{
    const auto texto = [](const char* nome, int tamanho) { return StringField(QLatin1String(nome), tamanho); };
    return {texto("NMPRODUTO", 50),    FloatField(QStringLiteral("QTPRODCOMVEN")),
            texto("CDPORIMPPROD", 15), texto("IDIMPCANITEM", 1),
            texto("IDMODEIMPRES", 5),  texto("NMPRODUTOPAI", 50),
            texto("CDPRODUTO", 10),    texto("NRSEQUITVEND", 10),
            texto("CDGRPOCOR", 2),     texto("DSOCORR", 40),
            texto("DSENDPORTA", 50)};
}

// One ticket row; a field the path does not name stays null.
void Acrescenta(TClientDataSet& ds, const QVariantMap& valores)
{
    ds.Append();
    for (auto i = valores.cbegin(); i != valores.cend(); ++i)
        ds.FieldByName(i.key())->SetValue(i.value());
    ds.Post();
}

QString Texto(const TClientDataSet& ds, const char* campo)
{
    return ds.FieldByName(QLatin1String(campo))->AsString();
}

} // namespace

void TComandoCancelamento::RecriaTickets()
{
    for (TClientDataSet* ds : {&cdsDescProd, &cdsDescProd2}) {
        ds->Close();
        ds->FieldDefs() = CamposTicket();
        ds->CreateDataSet();
    }
}

QVariant TComandoCancelamento::Consulta(const QVariant& resultado, const QString& tag, const QStringList& contexto)
{
    return MensagemMetodo(resultado, true, 0, tag, kUnidade, contexto.join(QLatin1Char('-')), stIdEsquema);
}

void TComandoCancelamento::LinhaImpressoraLoja(int grupo, const QString& cdProduto, QVariantMap valores)
{
    TClientDataSet& impressora = grupo == 1 ? cdsImprLoja : cdsImprLoja2;
    const QStringList contexto{stCdFilial, stCdLoja, cdProduto};
    if (grupo == 1)
        impressora.SetData(
            Consulta(getImprLoja(stCdFilial, stCdLoja, cdProduto), QStringLiteral("getImprLoja"), contexto));
    else
        impressora.SetData(
            Consulta(getImprLoja2(stCdFilial, stCdLoja, cdProduto), QStringLiteral("getImprLoja2"), contexto));

    // No printer of its own: the till's printer of the group stands in.
    QString sequencia;
    if (!impressora.IsEmpty()) {
        impressora.First();
        valores.insert(QStringLiteral("CDPORIMPPROD"), Texto(impressora, "CDPORTAIMPR"));
        valores.insert(QStringLiteral("IDMODEIMPRES"), Texto(impressora, "IDMODEIMPRES"));
        sequencia = Texto(impressora, "NRSEQIMPRLOJA");
    } else {
        valores.insert(QStringLiteral("CDPORIMPPROD"), grupo == 1 ? stCdPortImpNf1 : stCdPortaImpNf5);
        valores.insert(QStringLiteral("IDMODEIMPRES"), grupo == 1 ? stIdTipoImpNf1 : stIdTipoImpNf5);
    }
    if (sequencia.isEmpty())
        sequencia = grupo == 1 ? stNrSeqImprLoja1 : stNrSeqImprLoja2;
    // The address by the printer's exact number; none when the till's map lacks it.
    if (!sequencia.isEmpty() && cdsImpBackup.Active()
        && cdsImpBackup.Locate(QStringLiteral("NRSEQIMPRLOJA"), {sequencia}))
        valores.insert(QStringLiteral("DSENDPORTA"), Texto(cdsImpBackup, "DSENDPORTA"));

    Acrescenta(grupo == 1 ? cdsDescProd : cdsDescProd2, valores);
}

void TComandoCancelamento::GeraTickets(const TItemCancelado& c)
{
    if (c.Caminho == TItemCancelado::TCaminho::Normal) {
        TicketsNormal(c);
    } else if (c.Caminho == TItemCancelado::TCaminho::Combo) {
        TicketsCombo(c);
    } else {
        const QVariantMap valores{{QStringLiteral("NMPRODUTO"), c.Linha.NmProduto},
                                  {QStringLiteral("QTPRODCOMVEN"), c.Linha.QtProdComVen},
                                  {QStringLiteral("IDIMPCANITEM"), QStringLiteral("S")},
                                  {QStringLiteral("CDGRPOCOR"), c.CdGrpOcor},
                                  {QStringLiteral("DSOCORR"), c.TxMotivo}};
        LinhaImpressoraLoja(1, c.Linha.CdProduto, valores);
        LinhaImpressoraLoja(2, c.Linha.CdProduto, valores);
    }
}

void TComandoCancelamento::TicketsNormal(const TItemCancelado& c)
{
    const TLinhaItem& l = c.Linha;
    const QStringList contexto{stCdFilial, l.NrVendaRest, l.NrComanda, l.NrProdComVen};
    cdsProdutoNormal.SetData(Consulta(getProdutoNormal(stCdFilial, l.NrVendaRest, l.NrComanda, l.NrProdComVen),
                                      QStringLiteral("getProdutoNomal"), contexto));
    // A partial cancellation withdraws the typed quantity, also of every component.
    const auto quantidade = [&c](const TClientDataSet& ds) {
        return c.QtdeCanc > 0 ? c.QtdeCanc : ds.FieldByName(QStringLiteral("QTPRODCOMVEN"))->AsFloat();
    };

    if (!cdsProdutoNormal.IsEmpty()) {
        const TClientDataSet& p = cdsProdutoNormal;
        const QVariantMap valores{{QStringLiteral("NMPRODUTO"), Texto(p, "NMPRODUTO")},
                                  {QStringLiteral("CDPRODUTO"), Texto(p, "CDPRODUTO")},
                                  {QStringLiteral("IDIMPCANITEM"), Texto(p, "IDIMPCANITEM")},
                                  {QStringLiteral("NRSEQUITVEND"), Texto(p, "NRSEQUITVEND")},
                                  {QStringLiteral("QTPRODCOMVEN"), quantidade(p)},
                                  {QStringLiteral("CDGRPOCOR"), c.CdGrpOcor},
                                  {QStringLiteral("DSOCORR"), c.TxMotivo}};
        LinhaImpressoraLoja(1, Texto(p, "CDPRODUTO"), valores);
        LinhaImpressoraLoja(2, Texto(p, "CDPRODUTO"), valores);
        return;
    }

    // A composite product: its components go to the kitchen, under its name.
    cdsProdutoFilho.SetData(Consulta(getProdutoFilho(stCdFilial, l.NrVendaRest, l.NrComanda, l.NrProdComVen),
                                     QStringLiteral("getProdutoFilho"), contexto));
    cdsNomeProdutoPai.SetData(Consulta(getNomeProdutoPai(stCdFilial, l.NrVendaRest, l.NrComanda, l.NrProdComVen),
                                       QStringLiteral("getNomeProdutoPai"), contexto));
    const QString pai = cdsNomeProdutoPai.IsEmpty() ? QString() : Texto(cdsNomeProdutoPai, "NMPRODUTO");
    for (cdsProdutoFilho.First(); !cdsProdutoFilho.Eof(); cdsProdutoFilho.Next()) {
        const TClientDataSet& f = cdsProdutoFilho;
        const QVariantMap valores{{QStringLiteral("NMPRODUTO"), Texto(f, "NMPRODUTO")},
                                  {QStringLiteral("CDPRODUTO"), Texto(f, "CDPRODUTO")},
                                  {QStringLiteral("IDIMPCANITEM"), Texto(f, "IDIMPCANITEM")},
                                  {QStringLiteral("CDPORIMPPROD"), Texto(f, "CDPORIMPPROD")},
                                  {QStringLiteral("NRSEQUITVEND"), Texto(f, "NRSEQUITVEND")},
                                  {QStringLiteral("QTPRODCOMVEN"), quantidade(f)},
                                  {QStringLiteral("NMPRODUTOPAI"), pai},
                                  {QStringLiteral("CDGRPOCOR"), c.CdGrpOcor},
                                  {QStringLiteral("DSOCORR"), c.TxMotivo}};
        Acrescenta(cdsDescProd, valores);
        Acrescenta(cdsDescProd2, valores);
    }
}

void TComandoCancelamento::TicketsCombo(const TItemCancelado& c)
{
    const TLinhaItem& l = c.Linha;
    // The production-port record decides the first group's row only.
    const auto linhas = [&](const QString& cdProduto, const QString& nome, double quantidade) {
        cdsPortaProd.SetData(Consulta(getBuscaPortaProd(stCdFilial, stCdLoja, cdProduto, QString()),
                                      QStringLiteral("getBuscaPortaProd"), {stCdFilial, stCdLoja, cdProduto}));
        const QVariantMap valores{{QStringLiteral("NMPRODUTO"), nome},
                                  {QStringLiteral("QTPRODCOMVEN"), quantidade},
                                  {QStringLiteral("IDIMPCANITEM"), QStringLiteral("S")},
                                  {QStringLiteral("CDGRPOCOR"), c.CdGrpOcor},
                                  {QStringLiteral("DSOCORR"), c.TxMotivo}};
        if (!cdsPortaProd.IsEmpty())
            LinhaImpressoraLoja(1, cdProduto, valores);
        LinhaImpressoraLoja(2, cdProduto, valores);
    };

    if (l.CdProdPromocao != l.CdProduto) {
        linhas(l.CdProduto, l.NmProduto, l.QtProdComVen);
        return;
    }
    // The promotion's own product is not produced: its components are.
    cdsProdutoFilho.SetData(Consulta(getProdutoFilho(stCdFilial, l.NrVendaRest, l.NrComanda, l.NrProdComVen),
                                     QStringLiteral("getProdutoFilho"),
                                     {stCdFilial, l.NrVendaRest, l.NrComanda, l.NrProdComVen}));
    for (cdsProdutoFilho.First(); !cdsProdutoFilho.Eof(); cdsProdutoFilho.Next())
        linhas(Texto(cdsProdutoFilho, "CDPRODUTO"), Texto(cdsProdutoFilho, "NMPRODUTO"),
               cdsProdutoFilho.FieldByName(QStringLiteral("QTPRODCOMVEN"))->AsFloat());
}
