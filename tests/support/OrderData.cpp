#include "OrderData.h"

#include "DataPacket.h"
#include "Exception.h"
#include "ado/ADO.h"

namespace {

// Empty text of a struct member stays empty text; only an empty QVariant is NULL.
QVariant Txt(const QString& s)
{
    return s.isNull() ? QVariant(QStringLiteral("")) : QVariant(s);
}

}  // namespace

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
        out << (v.isNull()                          ? QStringLiteral("null")
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

void OrderData::Insert(const QString& table, const QList<QPair<QString, QVariant>>& columns)
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

void OrderData::Venda(const od::Venda& v)
{
    Insert(QStringLiteral("VENDAREST"), {{QStringLiteral("CDFILIAL"), v.CDFILIAL},
                                         {QStringLiteral("NRVENDAREST"), v.NRVENDAREST},
                                         {QStringLiteral("CDLOJA"), v.CDLOJA},
                                         {QStringLiteral("NRMESA"), v.NRMESA},
                                         {QStringLiteral("CDOPERADOR"), v.CDOPERADOR},
                                         {QStringLiteral("DTHRABERMESA"), v.DTHRABERMESA},
                                         {QStringLiteral("DTHRFECHMESA"), v.DTHRFECHMESA},
                                         {QStringLiteral("CDVENDEDOR"), v.CDVENDEDOR}});
}

void OrderData::Comanda(const od::Comanda& c)
{
    Insert(QStringLiteral("COMANDAVEN"), {{QStringLiteral("CDFILIAL"), c.CDFILIAL},
                                          {QStringLiteral("NRCOMANDA"), c.NRCOMANDA},
                                          {QStringLiteral("NRVENDAREST"), c.NRVENDAREST},
                                          {QStringLiteral("DSCOMANDA"), c.DSCOMANDA},
                                          {QStringLiteral("IDSTCOMANDA"), c.IDSTCOMANDA},
                                          {QStringLiteral("VRACRCOMANDA"), c.VRACRCOMANDA},
                                          {QStringLiteral("CDLOJA"), c.CDLOJA}});
}

void OrderData::VendaComComanda(const od::Venda& v, const od::Comanda& c)
{
    Venda(v);
    Comanda(c);
}

void OrderData::Item(const od::Item& i)
{
    Insert(QStringLiteral("ITCOMANDAVEN"),
           {{QStringLiteral("CDFILIAL"), i.CDFILIAL},
            {QStringLiteral("NRVENDAREST"), i.NRVENDAREST},
            {QStringLiteral("NRCOMANDA"), i.NRCOMANDA},
            {QStringLiteral("NRPRODCOMVEN"), i.NRPRODCOMVEN},
            {QStringLiteral("CDPRODUTO"), i.CDPRODUTO},
            {QStringLiteral("QTPRODCOMVEN"), i.QTPRODCOMVEN},
            {QStringLiteral("VRPRECCOMVEN"), i.VRPRECCOMVEN},
            {QStringLiteral("VRDESCCOMVEN"), i.VRDESCCOMVEN},
            {QStringLiteral("VRACRCOMVEN"), i.VRACRCOMVEN},
            {QStringLiteral("IDSTPRCOMVEN"), i.IDSTPRCOMVEN},
            {QStringLiteral("TXPRODCOMVEN"), Txt(i.TXPRODCOMVEN)},
            {QStringLiteral("DTHRINCOMVEN"), i.DTHRINCOMVEN},
            {QStringLiteral("NRSEQPRODCOM"), Txt(i.NRSEQPRODCOM)},
            {QStringLiteral("NRSEQPRODPAI"), Txt(i.NRSEQPRODPAI)},
            {QStringLiteral("CDPRODPROMOCAO"), Txt(i.CDPRODPROMOCAO)},
            {QStringLiteral("DSCOMANDAORI"), Txt(i.DSCOMANDAORI)},
            {QStringLiteral("NRCOMANDAORI"), Txt(i.NRCOMANDAORI)},
            {QStringLiteral("NRPRODCOMORI"), Txt(i.NRPRODCOMORI)},
            {QStringLiteral("CDVENDEDOR"), Txt(i.CDVENDEDOR)},
            {QStringLiteral("NRLUGARMESA"), Txt(i.NRLUGARMESA)},
            {QStringLiteral("NRSEQBENECONSIT"), Txt(i.NRSEQBENECONSIT)},
            {QStringLiteral("IDDIVIDECONTA"), Txt(i.IDDIVIDECONTA)},
            {QStringLiteral("IDPRODREFIL"), Txt(i.IDPRODREFIL)},
            {QStringLiteral("IDPRODIMPFIS"), Txt(i.IDPRODIMPFIS)},
            {QStringLiteral("CDSENHAPED"), Txt(i.CDSENHAPED)},
            {QStringLiteral("NRMESAORIG"), Txt(i.NRMESAORIG)},
            {QStringLiteral("CDLOJAORIG"), Txt(i.CDLOJAORIG)},
            {QStringLiteral("CDLOJA"), Txt(i.CDLOJA)}});
}

void OrderData::Produto(const od::Produto& p)
{
    Insert(QStringLiteral("PRODUTO"), {{QStringLiteral("CDPRODUTO"), p.CDPRODUTO},
                                       {QStringLiteral("NMPRODUTO"), p.NMPRODUTO},
                                       {QStringLiteral("NMPRODIMPFIS"), p.NMPRODIMPFIS},
                                       {QStringLiteral("CDARVPROD"), p.CDARVPROD},
                                       {QStringLiteral("IDPESAPROD"), p.IDPESAPROD},
                                       {QStringLiteral("IDTIPOCOMPPROD"), p.IDTIPOCOMPPROD},
                                       {QStringLiteral("CDNVPRODUTO"), p.CDNVPRODUTO}});
}

void OrderData::ProdLoja(const od::ProdLoja& p)
{
    Insert(QStringLiteral("PRODLOJA"), {{QStringLiteral("CDFILIAL"), p.CDFILIAL},
                                        {QStringLiteral("CDLOJA"), p.CDLOJA},
                                        {QStringLiteral("CDPRODUTO"), p.CDPRODUTO},
                                        {QStringLiteral("CDPORIMPPROD"), p.CDPORIMPPROD},
                                        {QStringLiteral("DSENDIMPPROD"), p.DSENDIMPPROD},
                                        {QStringLiteral("IDIMPCANITEM"), p.IDIMPCANITEM},
                                        {QStringLiteral("NRSEQIMPRPROD"), p.NRSEQIMPRPROD},
                                        {QStringLiteral("NRSEQIMPRPROD2"), p.NRSEQIMPRPROD2},
                                        {QStringLiteral("NRSEQIMPRPUXA"), p.NRSEQIMPRPUXA}});
}

void OrderData::Pedido(const QString& table, const od::Pedido& p, bool comData)
{
    QList<QPair<QString, QVariant>> cols{{QStringLiteral("CDFILIAL"), p.CDFILIAL},
                                         {QStringLiteral("NRVENDAREST"), p.NRVENDAREST},
                                         {QStringLiteral("NRCOMANDA"), p.NRCOMANDA},
                                         {QStringLiteral("NRPRODCOMVEN"), p.NRPRODCOMVEN},
                                         {QStringLiteral("QTPRODPEQRV"), p.QTPRODPEQRV},
                                         {QStringLiteral("IDSITITPEDQRV"), p.IDSITITPEDQRV}};
    if (comData)
        cols.append({QStringLiteral("DTCANCITPED"), QVariant()});
    Insert(table, cols);
}

void OrderData::PedidoQrv(const od::Pedido& p)
{
    Pedido(QStringLiteral("ITPEDIDOQRV"), p, true);
}

void OrderData::PedidoQrvRel(const od::Pedido& p)
{
    Pedido(QStringLiteral("ITPEDIDOQRVREL"), p, false);
}

void OrderData::Caixa(const od::Caixa& c)
{
    Insert(QStringLiteral("CAIXA"), {{QStringLiteral("CDFILIAL"), c.CDFILIAL},
                                     {QStringLiteral("CDCAIXA"), c.CDCAIXA},
                                     {QStringLiteral("CDLOJA"), c.CDLOJA},
                                     {QStringLiteral("NRSEQIMPRLOJA1"), c.NRSEQIMPRLOJA1},
                                     {QStringLiteral("NRSEQIMPRLOJA1BK"), c.NRSEQIMPRLOJA1BK},
                                     {QStringLiteral("NRSEQIMPRLOJA2"), c.NRSEQIMPRLOJA2},
                                     {QStringLiteral("NRSEQIMPRLOJA2BK"), c.NRSEQIMPRLOJA2BK},
                                     {QStringLiteral("NRSEQIMPRLOJA5"), c.NRSEQIMPRLOJA5},
                                     {QStringLiteral("NRSEQIMPRLOJA5BK"), c.NRSEQIMPRLOJA5BK},
                                     {QStringLiteral("IDIMPCANPEDINT"), c.IDIMPCANPEDINT}});
}

void OrderData::Componente(const od::Item& item, const QString& cdProduto, double quantidade,
                           const QString& idImpPrGrPromo)
{
    Insert(QStringLiteral("ITCOMANDAEST"), {{QStringLiteral("CDFILIAL"), item.CDFILIAL},
                                            {QStringLiteral("NRVENDAREST"), item.NRVENDAREST},
                                            {QStringLiteral("NRCOMANDA"), item.NRCOMANDA},
                                            {QStringLiteral("NRPRODCOMVEN"), item.NRPRODCOMVEN},
                                            {QStringLiteral("CDPRODUTO"), cdProduto},
                                            {QStringLiteral("QTPROCOMEST"), quantidade},
                                            {QStringLiteral("IDIMPPRGRPROMO"), idImpPrGrPromo}});
}

void OrderData::Mesa(const QString& nrMesa, const QString& idStMesaAux, const QString& cdLoja)
{
    Insert(QStringLiteral("MESA"), {{QStringLiteral("CDFILIAL"), od::kFilial},
                                    {QStringLiteral("CDLOJA"), cdLoja},
                                    {QStringLiteral("NRMESA"), nrMesa},
                                    {QStringLiteral("IDSTMESAAUX"), idStMesaAux}});
}

void OrderData::Juncao(const QString& nrJunMesa, const QStringList& mesas, const QString& cdLoja)
{
    Insert(QStringLiteral("JUNCAOMESA"), {{QStringLiteral("CDFILIAL"), od::kFilial},
                                          {QStringLiteral("CDLOJA"), cdLoja},
                                          {QStringLiteral("NRJUNMESA"), nrJunMesa}});
    for (const QString& mesa : mesas)
        Insert(QStringLiteral("MESAJUNCAO"), {{QStringLiteral("CDFILIAL"), od::kFilial},
                                              {QStringLiteral("CDLOJA"), cdLoja},
                                              {QStringLiteral("NRJUNMESA"), nrJunMesa},
                                              {QStringLiteral("NRMESA"), mesa}});
}

void OrderData::Vendedor(const QString& cdVendedor, const QString& nmFanVen, const QString& nrInsJurVen)
{
    Insert(QStringLiteral("VENDEDOR"), {{QStringLiteral("CDVENDEDOR"), cdVendedor},
                                        {QStringLiteral("NMFANVEN"), nmFanVen},
                                        {QStringLiteral("NRINSJURVEN"), nrInsJurVen}});
}

void OrderData::ParamGeral(const QString& idInfProdProduz)
{
    Insert(QStringLiteral("PARAMGERAL"), {{QStringLiteral("IDINFPRODPRODUZ"), idInfProdProduz}});
}

void OrderData::Adiantamento(const QString& nrComanda, const QVariant& vrMov)
{
    Insert(QStringLiteral("MOVCAIXAMOB"), {{QStringLiteral("CDFILIAL"), od::kFilial},
                                           {QStringLiteral("NRCOMANDA"), nrComanda},
                                           {QStringLiteral("VRMOV"), vrMov}});
}

void OrderData::Loja(const QString& cdGrpOcorCan, const QString& cdLoja)
{
    Insert(QStringLiteral("LOJA"), {{QStringLiteral("CDFILIAL"), od::kFilial},
                                    {QStringLiteral("CDLOJA"), cdLoja},
                                    {QStringLiteral("CDGRPOCORCAN"), cdGrpOcorCan}});
}

void OrderData::GrupoOcor(const QString& cdGrpOcor)
{
    Insert(QStringLiteral("GRUPOCOR"), {{QStringLiteral("CDGRPOCOR"), cdGrpOcor}});
}

void OrderData::Ocorrencia(const QString& cdGrpOcor, const QString& cdOcorr, const QString& dsOcorr,
                           const QVariant& cdProduto, const QString& idControlaObs, const QString& cdTipRisco)
{
    Insert(QStringLiteral("OCORRENCIA"), {{QStringLiteral("CDGRPOCOR"), cdGrpOcor},
                                          {QStringLiteral("CDOCORR"), cdOcorr},
                                          {QStringLiteral("CDTIPRISCO"), cdTipRisco},
                                          {QStringLiteral("DSOCORR"), dsOcorr},
                                          {QStringLiteral("CDPRODUTO"), cdProduto},
                                          {QStringLiteral("IDCONTROLAOBS"), idControlaObs}});
}

void OrderData::ProdOcorre(const QString& cdProduto, const QString& cdGrpOcor, const QString& cdOcorr)
{
    Insert(QStringLiteral("PRODOCORRE"), {{QStringLiteral("CDPRODUTO"), cdProduto},
                                          {QStringLiteral("CDGRPOCOR"), cdGrpOcor},
                                          {QStringLiteral("CDOCORR"), cdOcorr}});
}

void OrderData::ObsItem(const QString& nrProdComVen, const QString& cdGrpOcor, const QString& cdOcorr,
                        const QString& nrComanda, const QString& nrVendaRest)
{
    Insert(QStringLiteral("OBSITCOMANDAVEN"), {{QStringLiteral("CDFILIAL"), od::kFilial},
                                               {QStringLiteral("NRVENDAREST"), nrVendaRest},
                                               {QStringLiteral("NRCOMANDA"), nrComanda},
                                               {QStringLiteral("NRPRODCOMVEN"), nrProdComVen},
                                               {QStringLiteral("CDGRPOCOR"), cdGrpOcor},
                                               {QStringLiteral("CDOCORR"), cdOcorr}});
}

void OrderData::Impressora(const QString& cdImpressora, const QString& idModeImpres)
{
    Insert(QStringLiteral("IMPRESSORA"), {{QStringLiteral("CDIMPRESSORA"), cdImpressora},
                                          {QStringLiteral("IDMODEIMPRES"), idModeImpres}});
}

void OrderData::Porta(const QString& cdPortaImpr, const QString& dsEndPorta)
{
    Insert(QStringLiteral("MAPIMPRLOJA"), {{QStringLiteral("CDPORTAIMPR"), cdPortaImpr},
                                           {QStringLiteral("DSENDPORTA"), dsEndPorta}});
}

void OrderData::ImprLoja(const QString& nrSeqImprLoja, const QString& cdPortaImpr, const QString& cdImpressora,
                         const QString& cdLoja)
{
    Insert(QStringLiteral("IMPRLOJA"), {{QStringLiteral("CDFILIAL"), od::kFilial},
                                        {QStringLiteral("CDLOJA"), cdLoja},
                                        {QStringLiteral("NRSEQIMPRLOJA"), nrSeqImprLoja},
                                        {QStringLiteral("CDPORTAIMPR"), cdPortaImpr},
                                        {QStringLiteral("CDIMPRESSORA"), cdImpressora}});
}

void OrderData::BeneficioSaldo(const od::Beneficio& b, double qtdeBeneficio)
{
    Insert(QStringLiteral("MOVBENEFICIOCTR"), {{QStringLiteral("CDCLIENTE"), b.CDCLIENTE},
                                               {QStringLiteral("CDCONSUMIDOR"), b.CDCONSUMIDOR},
                                               {QStringLiteral("CDCAMPANHA"), b.CDCAMPANHA},
                                               {QStringLiteral("NRSEQPRODCAMP"), b.NRSEQPRODCAMP},
                                               {QStringLiteral("NRSEQBENEFICIO"), b.NRSEQBENEFICIO},
                                               {QStringLiteral("QTDEBENEFICIO"), qtdeBeneficio}});
}

void OrderData::BeneficioConsumo(const QString& nrSeqBeneCons, const od::Beneficio& b, const QString& cdCaixa,
                                 const QString& cdFilial)
{
    Insert(QStringLiteral("MOVBENEFICIOCONS"), {{QStringLiteral("NRSEQBENECONS"), nrSeqBeneCons},
                                                {QStringLiteral("CDFILIAL"), cdFilial},
                                                {QStringLiteral("CDCAIXA"), cdCaixa},
                                                {QStringLiteral("CDCLIENTE"), b.CDCLIENTE},
                                                {QStringLiteral("CDCONSUMIDOR"), b.CDCONSUMIDOR},
                                                {QStringLiteral("CDCAMPANHA"), b.CDCAMPANHA},
                                                {QStringLiteral("NRSEQPRODCAMP"), b.NRSEQPRODCAMP},
                                                {QStringLiteral("NRSEQBENEFICIO"), b.NRSEQBENEFICIO}});
}
