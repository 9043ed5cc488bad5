// The order's items on the screen: what the tab and table lists hold, the
// show-cancelled switch, the cancel button, navigation and reloads.
#include "DBGrid.h"
#include "DataSetTableModel.h"
#include "ListaItensTestSupport.h"

namespace {

class ItemListTest : public TelaDbTest {
protected:
    void SetUp() override
    {
        TelaDbTest::SetUp();
        if (IsSkipped())
            return;
        GravaParametros();
        Dados().Produto({});
    }

    // Visible rows as comanda/item, sorted (the lists have no order of their own).
    static QStringList Itens(TClientDataSet& ds)
    {
        QStringList out;
        for (ds.First(); !ds.Eof(); ds.Next())
            out << ds.FieldByName(QStringLiteral("NRCOMANDA"))->AsString() + QLatin1Char('/') + ItemAtual(ds);
        out.sort();
        return out;
    }

    const QString kItem = od::kComanda + QLatin1Char('/');
};

TEST_P(ItemListTest, TabListLeavesOutChargesAndRefillsAndShowsCancelledOnRequest)
{
    DadosComanda d = Dados();
    d.Produto({.CDPRODUTO = QStringLiteral("P2")});
    for (const char* p : {"CDPRODCONSUM", "CDPRODCONSUF", "CDPRODCOUVER"})
        d.Produto({.CDPRODUTO = Parametro(p).toString(), .NMPRODUTO = QLatin1String(p)});
    d.VendaComComanda();
    d.Item({.NRPRODCOMVEN = QStringLiteral("000001"), .QTPRODCOMVEN = 2.5});
    d.Item({.NRPRODCOMVEN = QStringLiteral("000002"),
            .CDPRODUTO = QStringLiteral("P2"),
            .IDSTPRCOMVEN = QStringLiteral("6")});
    d.Item({.NRPRODCOMVEN = QStringLiteral("000003"), .IDPRODREFIL = QStringLiteral("S")});
    int nr = 4;
    for (const char* p : {"CDPRODCONSUM", "CDPRODCONSUF", "CDPRODCOUVER"})
        d.Item({.NRPRODCOMVEN = QStringLiteral("00000%1").arg(nr++), .CDPRODUTO = Parametro(p).toString()});

    TfrmCancelaProd& f = Abre(od::kComanda, QStringLiteral("CMD"));
    EXPECT_EQ(Itens(f.cdsProduto), QStringList({kItem + "000001"}));
    EXPECT_TRUE(f.sbtCancelar->isEnabled());
    f.sbtProdCanc->click();
    EXPECT_EQ(Itens(f.cdsProduto), QStringList({kItem + "000001", kItem + "000002"}));
    f.sbtProdCanc->click();
    EXPECT_EQ(Itens(f.cdsProduto), QStringList({kItem + "000001"}));

    // What the grid shows of the item: name, seat, date and time of entry.
    f.cdsProduto.First();
    auto texto = [&](const char* campo) {
        return f.dtsProduto->index(0, f.dtsProduto->fieldColumn(QLatin1String(campo))).data().toString();
    };
    const QDateTime entrada = od::kAbertura.addSecs(600);
    EXPECT_EQ(texto("NMPRODUTO"), "Filé à parmegiana");
    EXPECT_EQ(texto("NRLUGARMESA"), "01");
    EXPECT_TRUE(texto("DTHRINCOMVEN").contains(QLocale::system().toString(entrada.date(), QLocale::ShortFormat)));
    EXPECT_TRUE(texto("DTHRINCOMVEN").contains(entrada.toString(QStringLiteral("mm:ss"))))
        << texto("DTHRINCOMVEN").toStdString();
    EXPECT_EQ(f.cdsProduto.FieldByName(QStringLiteral("QTPRODCOMVEN"))->AsFloat(), 2.5);
}

TEST_P(ItemListTest, AllCancelledOrderOpensEmptyUntilCancelledItemsAreShown)
{
    DadosComanda d = Dados();
    d.VendaComComanda();
    d.Item({.NRPRODCOMVEN = QStringLiteral("000001"), .IDSTPRCOMVEN = QStringLiteral("6")});
    d.Item({.NRPRODCOMVEN = QStringLiteral("000002"), .IDSTPRCOMVEN = QStringLiteral("6")});

    TfrmCancelaProd& f = Abre(od::kComanda, QStringLiteral("CMD"));
    EXPECT_EQ(f.cdsProduto.RecordCount(), 0);
    EXPECT_FALSE(f.sbtCancelar->isEnabled());
    f.sbtProdCanc->click();
    EXPECT_EQ(f.cdsProduto.RecordCount(), 2);
    EXPECT_TRUE(f.sbtCancelar->isEnabled());
    f.sbtProdCanc->click();
    EXPECT_FALSE(f.sbtCancelar->isEnabled());
}

TEST_P(ItemListTest, TableListTakesTheServiceTabsOfTheTableAndItsJoinedTable)
{
    DadosComanda d = Dados();
    d.Juncao(QStringLiteral("1"), {QStringLiteral("0010"), QStringLiteral("0011")});
    d.VendaComComanda({}, {.DSCOMANDA = QStringLiteral("RES_0010")});
    d.Comanda({.NRCOMANDA = QStringLiteral("0000000101"), .DSCOMANDA = QStringLiteral("BALCAO")});
    d.Venda({.NRVENDAREST = QStringLiteral("0000000002"), .NRMESA = QStringLiteral("0011")});
    d.Comanda({.NRCOMANDA = QStringLiteral("0000000200"),
               .NRVENDAREST = QStringLiteral("0000000002"),
               .DSCOMANDA = QStringLiteral("PKR_0011")});
    d.Venda({.NRVENDAREST = QStringLiteral("0000000003"), .NRMESA = QStringLiteral("0012")});
    d.Comanda({.NRCOMANDA = QStringLiteral("0000000300"),
               .NRVENDAREST = QStringLiteral("0000000003"),
               .DSCOMANDA = QStringLiteral("RES_0012")});
    d.Item({.NRPRODCOMVEN = QStringLiteral("000001")});
    d.Item({.NRPRODCOMVEN = QStringLiteral("000002"), .NRSEQPRODPAI = QStringLiteral("000001")});
    d.Item({.NRCOMANDA = QStringLiteral("0000000101")});
    d.Item({.NRVENDAREST = QStringLiteral("0000000002"), .NRCOMANDA = QStringLiteral("0000000200")});
    d.Item({.NRVENDAREST = QStringLiteral("0000000003"), .NRCOMANDA = QStringLiteral("0000000300")});

    TfrmCancelaProd& f = Abre(od::kComanda, QStringLiteral("RES"), od::kMesa);
    EXPECT_EQ(Itens(f.cdsProduto), QStringList({kItem + "000001", kItem + "000002", "0000000200/000001"}));

    // The child on this tab takes its parent here, not item 000001 of tab 200.
    ASSERT_TRUE(
        f.cdsProduto.Locate(QStringLiteral("NRCOMANDA;NRPRODCOMVEN"), {od::kComanda, QStringLiteral("000002")}));
    f.dbgProdutoDblClick();
    f.cdsProduto.SetFilter(QStringLiteral("IDCHECK = 'C'"));
    f.cdsProduto.SetFiltered(true);
    EXPECT_EQ(Itens(f.cdsProduto), QStringList({kItem + "000001", kItem + "000002"}));
}

TEST_P(ItemListTest, ClosedSalesAndClosedTabsListNothing)
{
    DadosComanda d = Dados();
    d.VendaComComanda({.DTHRFECHMESA = od::kAbertura.addSecs(7200)}, {.DSCOMANDA = QStringLiteral("RES_0010")});
    d.Item({});
    d.Venda({.NRVENDAREST = QStringLiteral("0000000002"), .NRMESA = QStringLiteral("0020")});
    d.Comanda({.NRCOMANDA = QStringLiteral("0000000200"),
               .NRVENDAREST = QStringLiteral("0000000002"),
               .DSCOMANDA = QStringLiteral("RES_0020"),
               .IDSTCOMANDA = QStringLiteral("4")});
    d.Item({.NRVENDAREST = QStringLiteral("0000000002"), .NRCOMANDA = QStringLiteral("0000000200")});

    for (const QString& modo : {QStringLiteral("CMD"), QStringLiteral("RES")}) {
        EXPECT_EQ(Abre(od::kComanda, modo, od::kMesa).cdsProduto.RecordCount(), 0) << modo.toStdString();
        EXPECT_EQ(Abre(QStringLiteral("0000000200"), modo, QStringLiteral("0020")).cdsProduto.RecordCount(), 0)
            << modo.toStdString();
        EXPECT_FALSE(tela->sbtCancelar->isEnabled());
    }
    EXPECT_TRUE(fake->Mensagens().isEmpty());
}

TEST_P(ItemListTest, NavigationReloadAndBalance)
{
    DadosComanda d = Dados();
    d.VendaComComanda();
    d.Item({.NRPRODCOMVEN = QStringLiteral("000001"), .QTPRODCOMVEN = 2.0});
    d.Item({.NRPRODCOMVEN = QStringLiteral("000002"), .IDSTPRCOMVEN = QStringLiteral("6")});
    d.Item({.NRPRODCOMVEN = QStringLiteral("000003"), .VRPRECCOMVEN = 4.5});
    d.Adiantamento(od::kComanda, 5.0);

    TfrmCancelaProd& f = Abre(od::kComanda, QStringLiteral("CMD"));
    EXPECT_DOUBLE_EQ(Cli_kvp00917::doTotRestante, 19.5); // 2 x 10.00 + 4.50, less 5.00 paid ahead
    f.sbtUltimo->click();
    f.sbtRolarBaixo->click();
    EXPECT_EQ(f.cdsProduto.RecNo(), 2);
    f.sbtRolarCima->click();
    f.sbtRolarCima->click();
    EXPECT_EQ(f.cdsProduto.RecNo(), 1);
    f.sbtRolarBaixo->click();
    EXPECT_EQ(f.dbgProduto->currentIndex().row(), 1);
    f.BlendedBitBtn1->click();
    EXPECT_EQ(f.cdsProduto.RecNo(), 1);

    // A reload reads the database again, drops the marks, keeps the filter.
    f.sbtProdCanc->click();
    f.dbgProdutoTitleClick(f.dbgProduto->FieldColumn(QStringLiteral("IDCHECK")));
    d.Item({.NRPRODCOMVEN = QStringLiteral("000004"), .VRPRECCOMVEN = 7.0});
    f.CarregaProdutos();
    EXPECT_EQ(Marcas(f.cdsProduto).filter(QLatin1String("U")).size(), 4);
    EXPECT_EQ(FrmCancelaProdListProbe::QtdMarcados(f), 0);
    EXPECT_DOUBLE_EQ(Cli_kvp00917::doTotRestante, 26.5);
}

KVP_INSTANTIATE_ENGINES(ItemListTest);

} // namespace
