#include "DadosComanda.h"

#include "DataPacket.h"
#include "Exception.h"
#include "ado/ADO.h"

namespace {

// Empty text of a struct member stays empty text; only an empty QVariant is NULL.
QVariant Txt(const QString& s)
{
    return s.isNull() ? QVariant(QStringLiteral("")) : QVariant(s);
}

} // namespace

// A column is named once, by its struct member: the text is the member's name.
#define KVP_COL(row, column)                                                                                           \
    {                                                                                                                  \
        QStringLiteral(#column), (row).column                                                                          \
    }
#define KVP_TXT(row, column)                                                                                           \
    {                                                                                                                  \
        QStringLiteral(#column), Txt((row).column)                                                                     \
    }

void BreakStatement(TADOStatement& statement, const QString& tableReference)
{
    const QString sql = statement.SQL();
    if (!sql.contains(tableReference))
        throw Exception(QStringLiteral("%1 does not contain %2").arg(statement.Name(), tableReference));
    statement.SetSQL(QString(sql).replace(tableReference, QStringLiteral("TABELA_AUSENTE")));
}

QStringList RowText(const QVariantList& row)
{
    QStringList out;
    for (const QVariant& v : row)
        out << (v.isNull()                            ? QStringLiteral("null")
                    : v.typeId() == QMetaType::Double ? QString::number(v.toDouble(), 'g', 10)
                                                      : v.toString());
    return out;
}

QStringList PacketColumn(const QVariant& result, const QString& field)
{
    const TDataPacket packet = ToDataPacket(result);
    const int k = packet.indexOf(field);
    if (k < 0)
        throw EDatabaseError(QStringLiteral("Campo '%1' não encontrado").arg(field));
    QStringList values;
    for (const QVariantList& row : packet.Rows)
        values << row[k].toString();
    return values;
}

void DadosComanda::Insert(const QString& table, const QList<QPair<QString, QVariant>>& columns)
{
    QStringList names;
    QStringList marks;
    QVariantList binds;
    for (const auto& [name, value] : columns) {
        names << name;
        marks << QStringLiteral("?");
        binds << value;
    }
    m_exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
               .arg(table, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))),
           binds);
}

void DadosComanda::Venda(const od::Venda& v)
{
    Insert(QStringLiteral("VENDAREST"),
           {KVP_COL(v, CDFILIAL), KVP_COL(v, NRVENDAREST), KVP_COL(v, CDLOJA), KVP_COL(v, NRMESA),
            KVP_COL(v, CDOPERADOR), KVP_COL(v, DTHRABERMESA), KVP_COL(v, DTHRFECHMESA), KVP_COL(v, CDVENDEDOR)});
}

void DadosComanda::Comanda(const od::Comanda& c)
{
    Insert(QStringLiteral("COMANDAVEN"),
           {KVP_COL(c, CDFILIAL), KVP_COL(c, NRCOMANDA), KVP_COL(c, NRVENDAREST), KVP_COL(c, DSCOMANDA),
            KVP_COL(c, IDSTCOMANDA), KVP_COL(c, VRACRCOMANDA), KVP_COL(c, CDLOJA)});
}

void DadosComanda::VendaComComanda(const od::Venda& v, const od::Comanda& c)
{
    Venda(v);
    Comanda(c);
}

void DadosComanda::Item(const od::Item& i)
{
    Insert(
        QStringLiteral("ITCOMANDAVEN"),
        {KVP_COL(i, CDFILIAL),        KVP_COL(i, NRVENDAREST),   KVP_COL(i, NRCOMANDA),      KVP_COL(i, NRPRODCOMVEN),
         KVP_COL(i, CDPRODUTO),       KVP_COL(i, QTPRODCOMVEN),  KVP_COL(i, VRPRECCOMVEN),   KVP_COL(i, VRDESCCOMVEN),
         KVP_COL(i, VRACRCOMVEN),     KVP_COL(i, IDSTPRCOMVEN),  KVP_TXT(i, TXPRODCOMVEN),   KVP_COL(i, DTHRINCOMVEN),
         KVP_TXT(i, NRSEQPRODCOM),    KVP_TXT(i, NRSEQPRODPAI),  KVP_TXT(i, CDPRODPROMOCAO), KVP_TXT(i, DSCOMANDAORI),
         KVP_TXT(i, NRCOMANDAORI),    KVP_TXT(i, NRPRODCOMORI),  KVP_TXT(i, CDVENDEDOR),     KVP_TXT(i, NRLUGARMESA),
         KVP_TXT(i, NRSEQBENECONSIT), KVP_TXT(i, IDDIVIDECONTA), KVP_TXT(i, IDPRODREFIL),    KVP_TXT(i, IDPRODIMPFIS),
         KVP_TXT(i, CDSENHAPED),      KVP_TXT(i, NRMESAORIG),    KVP_TXT(i, CDLOJAORIG),     KVP_TXT(i, CDLOJA)});
}

void DadosComanda::Produto(const od::Produto& p)
{
    Insert(QStringLiteral("PRODUTO"),
           {KVP_COL(p, CDPRODUTO), KVP_COL(p, NMPRODUTO), KVP_COL(p, NMPRODIMPFIS), KVP_COL(p, CDARVPROD),
            KVP_COL(p, IDPESAPROD), KVP_COL(p, IDTIPOCOMPPROD), KVP_COL(p, CDNVPRODUTO)});
}

void DadosComanda::ProdLoja(const od::ProdLoja& p)
{
    Insert(QStringLiteral("PRODLOJA"),
           {KVP_COL(p, CDFILIAL), KVP_COL(p, CDLOJA), KVP_COL(p, CDPRODUTO), KVP_COL(p, CDPORIMPPROD),
            KVP_COL(p, DSENDIMPPROD), KVP_COL(p, IDIMPCANITEM), KVP_COL(p, NRSEQIMPRPROD), KVP_COL(p, NRSEQIMPRPROD2),
            KVP_COL(p, NRSEQIMPRPUXA)});
}

void DadosComanda::Pedido(const QString& table, const od::Pedido& p, bool comData)
{
    QList<QPair<QString, QVariant>> cols{KVP_COL(p, CDFILIAL),     KVP_COL(p, NRVENDAREST), KVP_COL(p, NRCOMANDA),
                                         KVP_COL(p, NRPRODCOMVEN), KVP_COL(p, QTPRODPEQRV), KVP_COL(p, IDSITITPEDQRV)};
    if (comData)
        cols.append({QStringLiteral("DTCANCITPED"), QVariant()});
    Insert(table, cols);
}

void DadosComanda::PedidoQrv(const od::Pedido& p)
{
    Pedido(QStringLiteral("ITPEDIDOQRV"), p, true);
}

void DadosComanda::PedidoQrvRel(const od::Pedido& p)
{
    Pedido(QStringLiteral("ITPEDIDOQRVREL"), p, false);
}

void DadosComanda::Caixa(const od::Caixa& c)
{
    Insert(QStringLiteral("CAIXA"),
           {KVP_COL(c, CDFILIAL), KVP_COL(c, CDCAIXA), KVP_COL(c, CDLOJA), KVP_COL(c, NRSEQIMPRLOJA1),
            KVP_COL(c, NRSEQIMPRLOJA1BK), KVP_COL(c, NRSEQIMPRLOJA2), KVP_COL(c, NRSEQIMPRLOJA2BK),
            KVP_COL(c, NRSEQIMPRLOJA5), KVP_COL(c, NRSEQIMPRLOJA5BK), KVP_COL(c, IDIMPCANPEDINT)});
}

void DadosComanda::Componente(const od::Item& item, const QString& cdProduto, double quantidade,
                              const QString& idImpPrGrPromo)
{
    Insert(QStringLiteral("ITCOMANDAEST"),
           {KVP_COL(item, CDFILIAL),
            KVP_COL(item, NRVENDAREST),
            KVP_COL(item, NRCOMANDA),
            KVP_COL(item, NRPRODCOMVEN),
            {QStringLiteral("CDPRODUTO"), cdProduto},
            {QStringLiteral("QTPROCOMEST"), quantidade},
            {QStringLiteral("IDIMPPRGRPROMO"), idImpPrGrPromo}});
}

void DadosComanda::Mesa(const QString& nrMesa, const QString& idStMesaAux, const QString& cdLoja)
{
    Insert(QStringLiteral("MESA"),
           {{QStringLiteral("CDFILIAL"), od::kFilial},
            {QStringLiteral("CDLOJA"), cdLoja},
            {QStringLiteral("NRMESA"), nrMesa},
            {QStringLiteral("IDSTMESAAUX"), idStMesaAux}});
}

void DadosComanda::Juncao(const QString& nrJunMesa, const QStringList& mesas, const QString& cdLoja)
{
    Insert(QStringLiteral("JUNCAOMESA"),
           {{QStringLiteral("CDFILIAL"), od::kFilial},
            {QStringLiteral("CDLOJA"), cdLoja},
            {QStringLiteral("NRJUNMESA"), nrJunMesa}});
    for (const QString& mesa : mesas)
        Insert(QStringLiteral("MESAJUNCAO"),
               {{QStringLiteral("CDFILIAL"), od::kFilial},
                {QStringLiteral("CDLOJA"), cdLoja},
                {QStringLiteral("NRJUNMESA"), nrJunMesa},
                {QStringLiteral("NRMESA"), mesa}});
}

void DadosComanda::Vendedor(const QString& cdVendedor, const QString& nmFanVen, const QString& nrInsJurVen)
{
    Insert(QStringLiteral("VENDEDOR"),
           {{QStringLiteral("CDVENDEDOR"), cdVendedor},
            {QStringLiteral("NMFANVEN"), nmFanVen},
            {QStringLiteral("NRINSJURVEN"), nrInsJurVen}});
}

void DadosComanda::ParamGeral(const QString& idInfProdProduz)
{
    Insert(QStringLiteral("PARAMGERAL"), {{QStringLiteral("IDINFPRODPRODUZ"), idInfProdProduz}});
}

void DadosComanda::Adiantamento(const QString& nrComanda, const QVariant& vrMov)
{
    Insert(QStringLiteral("MOVCAIXAMOB"),
           {{QStringLiteral("CDFILIAL"), od::kFilial},
            {QStringLiteral("NRCOMANDA"), nrComanda},
            {QStringLiteral("VRMOV"), vrMov}});
}

void DadosComanda::Loja(const QString& cdGrpOcorCan, const QString& cdLoja)
{
    Insert(QStringLiteral("LOJA"),
           {{QStringLiteral("CDFILIAL"), od::kFilial},
            {QStringLiteral("CDLOJA"), cdLoja},
            {QStringLiteral("CDGRPOCORCAN"), cdGrpOcorCan}});
}

void DadosComanda::GrupoOcor(const QString& cdGrpOcor)
{
    Insert(QStringLiteral("GRUPOCOR"), {{QStringLiteral("CDGRPOCOR"), cdGrpOcor}});
}

void DadosComanda::Ocorrencia(const QString& cdGrpOcor, const QString& cdOcorr, const QString& dsOcorr,
                              const QVariant& cdProduto, const QString& idControlaObs, const QString& cdTipRisco)
{
    Insert(QStringLiteral("OCORRENCIA"),
           {{QStringLiteral("CDGRPOCOR"), cdGrpOcor},
            {QStringLiteral("CDOCORR"), cdOcorr},
            {QStringLiteral("CDTIPRISCO"), cdTipRisco},
            {QStringLiteral("DSOCORR"), dsOcorr},
            {QStringLiteral("CDPRODUTO"), cdProduto},
            {QStringLiteral("IDCONTROLAOBS"), idControlaObs}});
}

void DadosComanda::ProdOcorre(const QString& cdProduto, const QString& cdGrpOcor, const QString& cdOcorr)
{
    Insert(QStringLiteral("PRODOCORRE"),
           {{QStringLiteral("CDPRODUTO"), cdProduto},
            {QStringLiteral("CDGRPOCOR"), cdGrpOcor},
            {QStringLiteral("CDOCORR"), cdOcorr}});
}

void DadosComanda::ObsItem(const QString& nrProdComVen, const QString& cdGrpOcor, const QString& cdOcorr,
                           const QString& nrComanda, const QString& nrVendaRest)
{
    Insert(QStringLiteral("OBSITCOMANDAVEN"),
           {{QStringLiteral("CDFILIAL"), od::kFilial},
            {QStringLiteral("NRVENDAREST"), nrVendaRest},
            {QStringLiteral("NRCOMANDA"), nrComanda},
            {QStringLiteral("NRPRODCOMVEN"), nrProdComVen},
            {QStringLiteral("CDGRPOCOR"), cdGrpOcor},
            {QStringLiteral("CDOCORR"), cdOcorr}});
}

void DadosComanda::Impressora(const QString& cdImpressora, const QString& idModeImpres)
{
    Insert(QStringLiteral("IMPRESSORA"),
           {{QStringLiteral("CDIMPRESSORA"), cdImpressora}, {QStringLiteral("IDMODEIMPRES"), idModeImpres}});
}

void DadosComanda::Porta(const QString& cdPortaImpr, const QString& dsEndPorta)
{
    Insert(QStringLiteral("MAPIMPRLOJA"),
           {{QStringLiteral("CDPORTAIMPR"), cdPortaImpr}, {QStringLiteral("DSENDPORTA"), dsEndPorta}});
}

void DadosComanda::ImprLoja(const QString& nrSeqImprLoja, const QString& cdPortaImpr, const QString& cdImpressora,
                            const QString& cdLoja)
{
    Insert(QStringLiteral("IMPRLOJA"),
           {{QStringLiteral("CDFILIAL"), od::kFilial},
            {QStringLiteral("CDLOJA"), cdLoja},
            {QStringLiteral("NRSEQIMPRLOJA"), nrSeqImprLoja},
            {QStringLiteral("CDPORTAIMPR"), cdPortaImpr},
            {QStringLiteral("CDIMPRESSORA"), cdImpressora}});
}

void DadosComanda::BeneficioSaldo(const od::Beneficio& b, double qtdeBeneficio)
{
    Insert(QStringLiteral("MOVBENEFICIOCTR"),
           {KVP_COL(b, CDCLIENTE),
            KVP_COL(b, CDCONSUMIDOR),
            KVP_COL(b, CDCAMPANHA),
            KVP_COL(b, NRSEQPRODCAMP),
            KVP_COL(b, NRSEQBENEFICIO),
            {QStringLiteral("QTDEBENEFICIO"), qtdeBeneficio}});
}

void DadosComanda::BeneficioConsumo(const QString& nrSeqBeneCons, const od::Beneficio& b, const QString& cdCaixa,
                                    const QString& cdFilial)
{
    Insert(QStringLiteral("MOVBENEFICIOCONS"),
           {{QStringLiteral("NRSEQBENECONS"), nrSeqBeneCons},
            {QStringLiteral("CDFILIAL"), cdFilial},
            {QStringLiteral("CDCAIXA"), cdCaixa},
            KVP_COL(b, CDCLIENTE),
            KVP_COL(b, CDCONSUMIDOR),
            KVP_COL(b, CDCAMPANHA),
            KVP_COL(b, NRSEQPRODCAMP),
            KVP_COL(b, NRSEQBENEFICIO)});
}
