// The order and table queries read through the exported service functions.
#include <QDateTime>
#include <gtest/gtest.h>

#include "DadosComandaTest.h"
#include "DataPacket.h"
#include "DbFixture.h"
#include "RdmCancelaProd.h"
#include "Srv_kvp00917.h"

using namespace od;

class OrdersQueryTest : public DadosComandaTest {
protected:
    // A tab with four kinds of products: plain, fiscal-named, consumption charge, cover charge.
    void Produtos()
    {
        data.Produto({});
        data.Produto({.CDPRODUTO = "P2", .NMPRODUTO = "Chopp", .NMPRODIMPFIS = "CHOPP 300ML"});
        data.Produto({.CDPRODUTO = "CONS", .NMPRODUTO = "Consumação"});
        data.Produto({.CDPRODUTO = "COUV", .NMPRODUTO = "Couvert"});
        data.Produto({.CDPRODUTO = "X", .NMPRODUTO = "Código X"});
    }
};

TEST_P(OrdersQueryTest, TabListGivesEveryColumnAndLeavesOutChargesAndRefills)
{
    Produtos();
    data.VendaComComanda({}, {.VRACRCOMANDA = 2.5});
    data.Item({.NRPRODCOMVEN = "000001", .QTPRODCOMVEN = 1.5, .TXPRODCOMVEN = "sem cebola", .NRLUGARMESA = "03"});
    data.Item({.NRPRODCOMVEN = "000002", .CDPRODUTO = "P2", .IDSTPRCOMVEN = "6"});
    data.Item({.NRPRODCOMVEN = "000003", .CDPRODUTO = "CONS"});
    data.Item({.NRPRODCOMVEN = "000004", .CDPRODUTO = "COUV"});
    data.Item({.NRPRODCOMVEN = "000005", .CDPRODUTO = "X"});
    data.Item({.NRPRODCOMVEN = "000006", .IDPRODREFIL = "S"});

    // The empty cover code binds "X": the cover is listed, the product "X" is not.
    const TDataPacket p = ToDataPacket(getItemMesa(kFilial, kComanda, "CMD", "CONS", "", ""));
    QStringList names;
    for (const TFieldDef& f : p.FieldDefs)
        names << f.Name;
    EXPECT_EQ(names.join(','),
              "IDCHECK,NRPRODCOMVEN,QTPRODCOMVEN,VRPRECCOMVEN,TXPRODCOMVEN,IDSTPRCOMVEN,VRDESCCOMVEN,CDARVPROD,"
              "NMPRODUTO,CDPRODUTO,DTHRINCOMVEN,NRCOMANDA,IDPRODIMPFIS,NRSEQPRODCOM,VRACRCOMVEN,VRACRCOMANDA,"
              "IDPESAPROD,DSCOMANDAORI,NRPRODCOMORI,NRCOMANDAORI,CDVENDEDOR,NRVENDAREST,NRLUGARMESA,"
              "NRSEQBENECONSIT,IDDIVIDECONTA,NRSEQPRODPAI,CDPRODPROMOCAO");
    const TFieldDef& nome = p.FieldDefs[p.indexOf("NMPRODUTO")];
    EXPECT_TRUE(nome.ReadOnly);
    EXPECT_EQ(nome.Size, 50);
    EXPECT_EQ(p.FieldDefs[0].Size, 1);

    // Every tab row gets seat "01"; the fiscal name wins; cancelled items are listed.
    QStringList linhas;
    for (const QVariantList& row : p.Rows) {
        QVariantList campos;
        for (const char* f : {"NRPRODCOMVEN", "IDCHECK", "NMPRODUTO", "QTPRODCOMVEN", "IDSTPRCOMVEN", "TXPRODCOMVEN",
                              "NRLUGARMESA", "VRACRCOMANDA"})
            campos << row[p.indexOf(f)];
        linhas << RowText(campos).join('|');
    }
    linhas.sort();
    EXPECT_EQ(linhas,
              QStringList({"000001|U|Filé à parmegiana|1.5|1|sem cebola|01|2.5", "000002|U|CHOPP 300ML|1|6||01|2.5",
                           "000004|U|Couvert|1|1||01|2.5"}));
    EXPECT_EQ(p.Rows[0][p.indexOf("DTHRINCOMVEN")].toDateTime(), kAbertura.addSecs(600));
}

TEST_P(OrdersQueryTest, ClosedSaleAndTabInStateFourListNothing)
{
    data.Produto({});
    data.VendaComComanda({.DTHRFECHMESA = kAbertura.addSecs(3600)}, {});
    data.Item({});
    data.VendaComComanda({.NRVENDAREST = "0000000002"},
                         {.NRCOMANDA = "0000000200", .NRVENDAREST = "0000000002", .IDSTCOMANDA = "4"});
    data.Item({.NRVENDAREST = "0000000002", .NRCOMANDA = "0000000200"});

    EXPECT_TRUE(PacketColumn(getItemMesa(kFilial, kComanda, "CMD", "A", "B", "C"), "NRPRODCOMVEN").isEmpty());
    EXPECT_TRUE(PacketColumn(getItemMesa(kFilial, "0000000200", "DLV", "A", "B", "C"), "NRPRODCOMVEN").isEmpty());
}

TEST_P(OrdersQueryTest, TableListHoldsJoinedTablesAndOnlyTableServiceTabs)
{
    data.Produto({});
    auto venda = [&](const QString& nrVenda, const QString& mesa, const QString& comanda, const QString& rotulo) {
        data.VendaComComanda({.NRVENDAREST = nrVenda, .NRMESA = mesa},
                             {.NRCOMANDA = comanda, .NRVENDAREST = nrVenda, .DSCOMANDA = rotulo});
        data.Item({.NRVENDAREST = nrVenda, .NRCOMANDA = comanda, .NRLUGARMESA = mesa.right(2)});
    };
    venda("V1", "0010", "C10", "RES_0010");
    venda("V2", "0011", "C11", "PKR_0011"); // joined with 0010
    venda("V3", "0011", "C11B", "CMD_0011"); // right table, but not a table-service tab
    venda("V4", "0012", "C12", "RES_0012"); // a table not joined
    data.Juncao("J1", {"0010", "0011"});

    const QVariant r = getItemMesa(kFilial, "C10", "RES", "", "", "");
    QStringList comandas = PacketColumn(r, "NRCOMANDA");
    comandas.sort();
    EXPECT_EQ(comandas, QStringList({"C10", "C11"}));
    QStringList lugares = PacketColumn(r, "NRLUGARMESA");
    lugares.sort();
    EXPECT_EQ(lugares, QStringList({"10", "11"})); // the stored seats

    // Without a joining the table stands alone; a second call lists the second table.
    EXPECT_EQ(PacketColumn(getItemMesa(kFilial, "C12", "RES", "", "", ""), "NRCOMANDA"), QStringList({"C12"}));
    // An unknown tab finds no table and lists nothing.
    EXPECT_TRUE(PacketColumn(getItemMesa(kFilial, "NADA", "RES", "", "", ""), "NRCOMANDA").isEmpty());

    // A table in two joinings has no one list: an error, not one of the two.
    data.Juncao("J2", {"0010", "0012"});
    const QVariant duas = getItemMesa(kFilial, "C10", "RES", "", "", "");
    EXPECT_EQ(duas.typeId(), QMetaType::QString);
    EXPECT_FALSE(duas.toString().isEmpty());
}

// Children are followed on the screen only while they stand below their parent,
// so both lists must come in item-number order whatever order the rows were
// stored in and whichever way the engine runs the union.
TEST_P(OrdersQueryTest, BothListsComeInItemNumberOrder)
{
    data.Produto({});
    data.VendaComComanda({}, {.DSCOMANDA = "RES_0010"});
    for (const char* nr : {"000004", "000001", "000003", "000002"})
        data.Item({.NRPRODCOMVEN = nr, .NRSEQPRODPAI = QString(nr) > "000002" ? "000002" : ""});
    data.VendaComComanda({.NRVENDAREST = "V2", .NRMESA = "0011"},
                         {.NRCOMANDA = "C11", .NRVENDAREST = "V2", .DSCOMANDA = "RES_0011"});
    data.Item({.NRVENDAREST = "V2", .NRCOMANDA = "C11", .NRPRODCOMVEN = "000002"});
    data.Item({.NRVENDAREST = "V2", .NRCOMANDA = "C11", .NRPRODCOMVEN = "000001"});
    data.Juncao("J1", {kMesa, "0011"});
    // Small tables are sorted by chance; make PostgreSQL hash wherever it may.
    if (engine() == TestEngine::PostgreSQL)
        rdmCancelaProd->adcCancelaProd.Execute(QStringLiteral("SET enable_sort TO off"));

    EXPECT_EQ(PacketColumn(getItemMesa(kFilial, kComanda, "CMD", "", "", ""), "NRPRODCOMVEN"),
              QStringList({"000001", "000002", "000003", "000004"}));

    const QVariant mesa = getItemMesa(kFilial, kComanda, "RES", "", "", "");
    QStringList ordem;
    const QStringList itens = PacketColumn(mesa, "NRPRODCOMVEN");
    const QStringList comandas = PacketColumn(mesa, "NRCOMANDA");
    for (int i = 0; i < itens.size(); ++i)
        ordem << itens[i] + '/' + comandas[i];
    EXPECT_EQ(ordem,
              QStringList({"000001/" + kComanda, "000001/C11", "000002/" + kComanda, "000002/C11", "000003/" + kComanda,
                           "000004/" + kComanda}));
}

TEST_P(OrdersQueryTest, TableStateWaiterAndProducedSwitch)
{
    for (const char* estado : {"R", "S", "D", "L"})
        data.Mesa(QStringLiteral("M") + estado, estado);
    QStringList livres;
    for (const char* mesa : {"MR", "MS", "MD", "ML", "SEM"}) // a table without a row is free
        livres << getValidaMesa(kFilial, kLoja, mesa).toString();
    EXPECT_EQ(livres, QStringList({"false", "false", "false", "true", "true"}));

    data.Vendedor(kVendedor, "Joana", "123");
    data.Vendedor("0099", "Outro", "999");
    data.VendaComComanda();
    data.Item({.CDVENDEDOR = "0099"}); // the item's waiter is not the sale's
    const QVariant garcom = getGarcomMesa(kFilial, kComanda);
    EXPECT_EQ(PacketColumn(garcom, "CDVENDEDOR"), QStringList({kVendedor}));
    EXPECT_EQ(PacketColumn(garcom, "NMFANVEN"), QStringList({"Joana"}));

    EXPECT_EQ(getInfoProdProduz(), QVariant(false)); // no row
    data.ParamGeral("S");
    EXPECT_EQ(getInfoProdProduz(), QVariant(true));
    exec("UPDATE PARAMGERAL SET IDINFPRODPRODUZ = 'N'");
    EXPECT_EQ(getInfoProdProduz(), QVariant(false));
}

TEST_P(OrdersQueryTest, BalanceAfterAdvancePayments)
{
    data.VendaComComanda();
    data.Item(
        {.NRPRODCOMVEN = "000001", .QTPRODCOMVEN = 2.0, .VRPRECCOMVEN = 10.0, .VRDESCCOMVEN = 1.0, .VRACRCOMVEN = 0.5});
    data.Item({.NRPRODCOMVEN = "000002", .VRPRECCOMVEN = 100.0, .IDSTPRCOMVEN = "6"}); // not counted

    EXPECT_DOUBLE_EQ(getValAdiantamento(kFilial, kComanda), 0.0); // no payment: null reads 0
    data.Adiantamento(kComanda, 5.0);
    data.Adiantamento(kComanda, QVariant()); // a null payment counts 0
    EXPECT_NEAR(getValAdiantamento(kFilial, kComanda), 14.5, 1e-9);

    BreakStatement(rdmCancelaProd->adqTotAdiantamento, "MOVCAIXAMOB");
    EXPECT_DOUBLE_EQ(getValAdiantamento(kFilial, kComanda), 0.0); // a failure gives 0
}

TEST_P(OrdersQueryTest, ReasonsOfTheProductOrTheStoresWholeList)
{
    data.Loja("10");
    data.Loja("20", "02");
    data.Loja("30", "03");
    data.GrupoOcor("10");
    data.GrupoOcor("20");
    data.GrupoOcor("30");
    data.Ocorrencia("10", "03", "Cliente desistiu");
    data.Ocorrencia("10", "01", "Demora");
    data.Ocorrencia("10", "02", "Produto errado");
    data.Ocorrencia("20", "01", "Sem vínculo");
    data.Ocorrencia("30", "09", "Nunca ligado");
    data.ProdOcorre("P1", "10", "02");
    data.ProdOcorre("P9", "10", "03");
    data.ProdOcorre("P9", "10", "01");

    EXPECT_EQ(PacketColumn(getOcorCanc(kFilial, kLoja, "P1", ""), "DSOCORR"), QStringList({"Produto errado"}));
    // Nothing linked to P5: every reason of the store's group linked to any product, by code.
    EXPECT_EQ(PacketColumn(getOcorCanc(kFilial, kLoja, "P5", ""), "CDOCORR"), QStringList({"01", "02", "03"}));
    // The whole list matches links by reason code alone: group 20's "01" rides on group 10's link.
    EXPECT_EQ(PacketColumn(getOcorCanc(kFilial, "02", "P5", ""), "DSOCORR"), QStringList({"Sem vínculo"}));
    // A group none of whose reasons is linked anywhere gives an empty list.
    EXPECT_TRUE(PacketColumn(getOcorCanc(kFilial, "03", "P1", ""), "CDOCORR").isEmpty());
}

TEST_P(OrdersQueryTest, ReadFailureGivesTheTextAndRepeatedCallsFollowTheirArguments)
{
    data.Produto({});
    data.VendaComComanda();
    data.Item({.NRPRODCOMVEN = "000001"});
    data.VendaComComanda({.NRVENDAREST = "V2"}, {.NRCOMANDA = "C2", .NRVENDAREST = "V2"});
    data.Item({.NRVENDAREST = "V2", .NRCOMANDA = "C2", .NRPRODCOMVEN = "000009"});

    EXPECT_EQ(PacketColumn(getItemMesa(kFilial, kComanda, "CMD", "", "", ""), "NRPRODCOMVEN"), QStringList({"000001"}));
    EXPECT_EQ(PacketColumn(getItemMesa(kFilial, "C2", "CMD", "", "", ""), "NRPRODCOMVEN"), QStringList({"000009"}));

    BreakStatement(rdmCancelaProd->adqItComanda, "ITCOMANDAVEN IT");
    const QVariant falha = getItemMesa(kFilial, kComanda, "CMD", "", "", "");
    ASSERT_EQ(falha.typeId(), QMetaType::QString);
    EXPECT_FALSE(falha.toString().isEmpty());
    EXPECT_EQ(getValidaMesa(kFilial, kLoja, "0010").typeId(), QMetaType::Bool); // the module still works
}

KVP_INSTANTIATE_ENGINES(OrdersQueryTest);
