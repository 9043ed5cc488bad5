// Printer and product lookups behind the production tickets.
#include <gtest/gtest.h>

#include "DadosComandaTest.h"
#include "DataPacket.h"
#include "DbFixture.h"
#include "RdmCancelaProd.h"
#include "Srv_kvp00917.h"

using namespace od;

class PrinterLookupTest : public DadosComandaTest {};

TEST_P(PrinterLookupTest, AdditionalItemsBetweenOrdinaryItems)
{
    data.VendaComComanda();
    data.Produto({});
    data.Produto({.CDPRODUTO = "BACON", .NMPRODUTO = "Adicional de bacon"});
    data.Produto({.CDPRODUTO = "OVO", .NMPRODUTO = "Adicional de ovo"});
    data.Ocorrencia("50", "01", "+ bacon", "BACON", "A");
    data.Ocorrencia("50", "02", "+ ovo", "OVO", "A");
    data.Ocorrencia("50", "03", "sem sal", "P1", "N"); // not an additional: P1 stays ordinary
    data.ObsItem("000001", "50", "01");
    data.ObsItem("000001", "50", "02");
    data.ObsItem("000004", "50", "03");
    const char* produtos[] = {"P1", "BACON", "OVO", "P1", "BACON"};
    for (int i = 0; i < 5; ++i)
        data.Item({.NRPRODCOMVEN = QStringLiteral("00000%1").arg(i + 1), .CDPRODUTO = produtos[i]});

    const QVariant primeiro = getProdutosAdicionaisFilhos(kFilial, kVenda, kComanda, "000001");
    QStringList itens = PacketColumn(primeiro, "NRPRODCOMVEN");
    itens.sort();
    EXPECT_EQ(itens, QStringList({"000002", "000003"}));
    EXPECT_EQ(PacketColumn(primeiro, "NRPRODCOMVENLIMITE"), QStringList({"000004", "000004"}));

    const QVariant ultimo = getProdutosAdicionaisFilhos(kFilial, kVenda, kComanda, "000004");
    EXPECT_EQ(PacketColumn(ultimo, "NRPRODCOMVEN"), QStringList({"000005"}));
    EXPECT_EQ(PacketColumn(ultimo, "NRPRODCOMVENULTIMO"), QStringList({"000004"}));
    EXPECT_TRUE(
        PacketColumn(getProdutosAdicionaisFilhos(kFilial, kVenda, kComanda, "000002"), "NRPRODCOMVEN").isEmpty());
}

TEST_P(PrinterLookupTest, TillPrintersWithTheirBackupsIncludingProductPrinters)
{
    data.Impressora("EPS", "1");
    data.Impressora("BEM", "2");
    for (const char* n : {"01", "02", "03", "04", "05", "91", "92"})
        data.Porta(QStringLiteral("PT") + n, QStringLiteral("192.168.0.%1:9100").arg(QLatin1String(n)));
    data.ImprLoja("01", "PT01", "EPS");
    data.ImprLoja("02", "PT02", "EPS");
    data.ImprLoja("03", "PT03", "BEM"); // a product printer only
    data.ImprLoja("04", "PT04", "EPS"); // its port has no address row
    data.ImprLoja("91", "PT91", "BEM");
    data.ImprLoja("92", "PT92", "EPS");
    exec("DELETE FROM MAPIMPRLOJA WHERE CDPORTAIMPR = 'PT04'");
    data.Caixa({.NRSEQIMPRLOJA1 = "01",
                .NRSEQIMPRLOJA1BK = "91",
                .NRSEQIMPRLOJA2 = "02",
                .NRSEQIMPRLOJA2BK = "92",
                .NRSEQIMPRLOJA5 = "04",
                .NRSEQIMPRLOJA5BK = "91"});
    data.Caixa({.CDCAIXA = "002", .NRSEQIMPRLOJA1 = "02", .NRSEQIMPRLOJA1BK = "92"});
    data.ProdLoja({.NRSEQIMPRPROD = "03", .NRSEQIMPRPROD2 = "01"});
    data.ProdLoja({.CDPRODUTO = "P2", .NRSEQIMPRPROD = "03", .NRSEQIMPRPUXA = "04"});

    const QVariant r = getImpBackup(kFilial, kCaixa);
    const QStringList principal = PacketColumn(r, "NRSEQIMPRLOJA");
    const QStringList backup = PacketColumn(r, "NRSEQIMPRLOJABK");
    QStringList pares;
    for (int i = 0; i < principal.size(); ++i)
        pares << principal[i] + ">" + backup[i];
    pares.sort();
    // 01 as the till's first printer and as P1's second one (with the second
    // backup), 03 from both products but once; 04 has no port address, so
    // neither the till's nor the products' pair with it is listed.
    EXPECT_EQ(pares, QStringList({"01>91", "01>92", "02>92", "03>91"}));
    EXPECT_EQ(PacketColumn(r, "CDCAIXA").filter(kCaixa).size(), principal.size());
    const TDataPacket p = ToDataPacket(r);
    for (const QVariantList& row : p.Rows) {
        if (row[0].toString() == "03") {
            EXPECT_EQ(QStringList({row[p.indexOf("IDMODEIMPRES")].toString(),
                                   row[p.indexOf("IDMODEIMPRESBK")].toString(),
                                   row[p.indexOf("DSENDPORTABK")].toString()}),
                      QStringList({"2", "2", "192.168.0.91:9100"}));
        }
    }
}

TEST_P(PrinterLookupTest, ProductPortsStorePrintersAndTicketLines)
{
    data.Produto({});
    data.Produto({.CDPRODUTO = "P2", .NMPRODUTO = "Combo", .IDTIPOCOMPPROD = "3"});
    data.Produto({.CDPRODUTO = "P3", .NMPRODUTO = "Suco", .CDNVPRODUTO = "2"}); // not the deepest level
    data.Produto({.CDPRODUTO = "P4", .NMPRODUTO = "Brinde"});
    data.ProdLoja({});
    data.ProdLoja({.CDPRODUTO = "P2", .IDIMPCANITEM = "N", .NRSEQIMPRPROD = "01", .NRSEQIMPRPROD2 = "02"});
    data.ProdLoja({.CDPRODUTO = "P3"});
    data.ProdLoja({.CDPRODUTO = "P4"});
    data.Impressora("EPS", "1");
    data.ImprLoja("01", "PT01", "EPS");
    data.ImprLoja("02", "PT02", "EPS");

    EXPECT_EQ(PacketColumn(getBuscaPortaProd(kFilial, kLoja, "P1", ""), "DSENDIMPPROD"), QStringList({"COZINHA"}));
    EXPECT_TRUE(PacketColumn(getBuscaPortaProd(kFilial, kLoja, "P2", ""), "CDPRODUTO").isEmpty()); // "N"
    EXPECT_TRUE(PacketColumn(getBuscaPortaProd(kFilial, kLoja, "P3", ""), "CDPRODUTO").isEmpty());
    EXPECT_EQ(PacketColumn(getImprLoja(kFilial, kLoja, "P2"), "CDPORTAIMPR"), QStringList({"PT01"}));
    EXPECT_EQ(PacketColumn(getImprLoja2(kFilial, kLoja, "P2"), "CDPORTAIMPR"), QStringList({"PT02"}));
    EXPECT_TRUE(PacketColumn(getImprLoja(kFilial, kLoja, "P1"), "CDPORTAIMPR").isEmpty());

    data.VendaComComanda();
    const od::Item combo{.NRPRODCOMVEN = "000001", .CDPRODUTO = "P2", .QTPRODCOMVEN = 2.0};
    data.Item(combo);
    data.Item({.NRPRODCOMVEN = "000002", .QTPRODCOMVEN = 3.0});
    data.Componente(combo, "P1", 2.0, "N");
    data.Componente(combo, "P4", 1.0, "S"); // a promotion gift: not on the ticket

    EXPECT_TRUE(PacketColumn(getProdutoNormal(kFilial, kVenda, kComanda, "000001"), "CDPRODUTO").isEmpty());
    const QVariant normal = getProdutoNormal(kFilial, kVenda, kComanda, "000002");
    EXPECT_EQ(PacketColumn(normal, "NRSEQUITVEND"), QStringList({"000002"}));
    EXPECT_EQ(PacketColumn(normal, "QTPRODCOMVEN"), QStringList({"3"}));
    const QVariant filhos = getProdutoFilho(kFilial, kVenda, kComanda, "000001");
    EXPECT_EQ(PacketColumn(filhos, "CDPRODUTO"), QStringList({"P1"}));
    EXPECT_EQ(PacketColumn(filhos, "QTPRODCOMVEN"), QStringList({"2"}));
    EXPECT_TRUE(PacketColumn(getProdutoFilho(kFilial, kVenda, kComanda, "000002"), "CDPRODUTO").isEmpty());
    EXPECT_EQ(PacketColumn(getNomeProdutoPai(kFilial, kVenda, kComanda, "000001"), "NMPRODUTO"),
              QStringList({"Combo"}));
}

TEST_P(PrinterLookupTest, IntegratedOrderSwitchOfTheTill)
{
    data.Caixa({.IDIMPCANPEDINT = "N"});
    EXPECT_EQ(getImpCancInteg(kFilial, kCaixa), QVariant(QStringLiteral("N")));
    EXPECT_EQ(getImpCancInteg(kFilial, "777").toString(), QString());
    BreakStatement(rdmCancelaProd->adqImpCancInteg, "CAIXA");
    EXPECT_FALSE(getImpCancInteg(kFilial, kCaixa).toString().isEmpty()); // the failure text
}

KVP_INSTANTIATE_ENGINES(PrinterLookupTest);
