// Marking items: the toggle and the group that follows it, keys and taps on
// the grid, the check column's title. Rows come in a known order.
#include <QHeaderView>
#include <QKeyEvent>
#include <QTest>

#include "DBGrid.h"
#include "ListaItensTestSupport.h"

namespace {

const QString kTab1 = QStringLiteral("0000000101"), kTab2 = QStringLiteral("0000000102");

class SelectionTest : public ::testing::Test {
protected:
    void TearDown() override { Cli_kvp00917::boCancelTodos = false; }

    void Carrega(const QList<QStringList>& linhas, bool ocultaCancelados = true)
    {
        FrmCancelaProdListProbe::Carrega(f, PacoteItens(linhas));
        f.FiltroProdCanc(ocultaCancelados);
    }
    // Toggles the row at a position (1-based) as a double-click would.
    void Alterna(int recNo)
    {
        f.cdsProduto.SetRecNo(recNo);
        f.dbgProdutoDblClick();
    }
    QStringList Marcas() { return ::Marcas(f.cdsProduto); }
    int Contagem() const { return FrmCancelaProdListProbe::QtdMarcados(f); }
    int ColunaMarca() const { return f.dbgProduto->FieldColumn(QStringLiteral("IDCHECK")); }

    TfrmCancelaProd f;
};

TEST_F(SelectionTest, ParentTakesOnlyTheChildrenDirectlyBelowItAndTheCursorLandsAfterThem)
{
    Carrega({{"000001"}, {"000002"}, {"000003", "000002"}, {"000004", "000002"}, {"000005"}});
    Alterna(2);
    EXPECT_EQ(Marcas(), QStringList({"0:000001U", "0:000002C", "0:000003C", "0:000004C", "0:000005U"}));
    EXPECT_EQ(ItemAtual(f.cdsProduto), "000005");
    EXPECT_EQ(Contagem(), 3);

    Carrega({{"000001"}, {"000002"}, {"000003", "000001"}, {"000004", "000001"}});
    Alterna(1); // its children stand elsewhere
    EXPECT_EQ(Marcas(), QStringList({"0:000001C", "0:000002U", "0:000003U", "0:000004U"}));
    EXPECT_EQ(ItemAtual(f.cdsProduto), "000002");

    Carrega({{"000001"}, {"000002", "000001"}, {"000003", "000001"}});
    Alterna(1); // children up to the end: the cursor stays on the last one
    EXPECT_EQ(Marcas(), QStringList({"0:000001C", "0:000002C", "0:000003C"}));
    EXPECT_EQ(ItemAtual(f.cdsProduto), "000003");
}

TEST_F(SelectionTest, ChildTakesSiblingsAndParentWhereverTheyStand)
{
    Carrega({{"000001"}, {"000002"}, {"000003", "000001"}, {"000004", "000001"}});
    Alterna(3);
    EXPECT_EQ(Marcas(), QStringList({"0:000001C", "0:000002U", "0:000003C", "0:000004C"}));
    EXPECT_EQ(f.cdsProduto.RecNo(), 4);
    EXPECT_EQ(Contagem(), 3);
    Alterna(4); // unmarking one child unmarks the whole group
    EXPECT_EQ(Marcas(), QStringList({"0:000001U", "0:000002U", "0:000003U", "0:000004U"}));
    EXPECT_EQ(Contagem(), 0);
}

TEST_F(SelectionTest, GroupsAreLookedForOnlyInTheToggledRowsComanda)
{
    // A table's list: two tabs, each numbering its items from 000001.
    Carrega({{"000001", "", kTab1},
             {"000001", "", kTab2},
             {"000002", "000001", kTab1},
             {"000002", "000001", kTab2},
             {"000003", "", kTab1}});
    Alterna(4);
    EXPECT_EQ(Marcas(), QStringList({"1:000001U", "2:000001C", "1:000002U", "2:000002C", "1:000003U"}));
    Alterna(4);
    EXPECT_EQ(Contagem(), 0);

    // The child of tab 1 two rows down follows its parent; tab 2's rows do not.
    Alterna(1);
    EXPECT_EQ(Marcas(), QStringList({"1:000001C", "2:000001U", "1:000002C", "2:000002U", "1:000003U"}));
    EXPECT_EQ(f.cdsProduto.RecNo(), 4);
    EXPECT_EQ(Contagem(), 2);
}

TEST_F(SelectionTest, CancelledRowsEmptyListsAndCancelAllRunsRestrictTheToggle)
{
    Carrega({{"000001", "", "0000000100", "6"}, {"000002", "000001"}, {"000003"}}, false);
    Alterna(1); // cancelled and unmarked: nothing anywhere
    EXPECT_EQ(Marcas(), QStringList({"0:000001U", "0:000002U", "0:000003U"}));
    EXPECT_EQ(f.cdsProduto.RecNo(), 1);
    Alterna(2); // its child still can be; the mark reaches the cancelled parent
    EXPECT_EQ(Marcas(), QStringList({"0:000001C", "0:000002C", "0:000003U"}));

    Carrega({});
    f.dbgProdutoDblClick();
    f.dbgProdutoTitleClick(ColunaMarca());
    EXPECT_EQ(f.cdsProduto.RecordCount(), 0);

    // Cancel-all: marks are only added, no group, no move.
    Cli_kvp00917::boCancelTodos = true;
    Carrega({{"000001"}, {"000002", "000001"}, {"000003"}});
    Alterna(1);
    Alterna(1);
    EXPECT_EQ(Marcas(), QStringList({"0:000001C", "0:000002U", "0:000003U"}));
    EXPECT_EQ(f.cdsProduto.RecNo(), 1);
    EXPECT_EQ(Contagem(), 1);
}

TEST_F(SelectionTest, SpaceMarksDownTheListAndCtrlDeleteIsSwallowed)
{
    Carrega({{"000001"}, {"000002"}, {"000003"}});
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(f.dbgProduto, Qt::Key_Space);
    EXPECT_EQ(Marcas(), QStringList({"0:000001C", "0:000002C", "0:000003C"}));
    EXPECT_EQ(ItemAtual(f.cdsProduto), "000003");

    QTest::keyClick(f.dbgProduto, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(Marcas(), QStringList({"0:000001C", "0:000002C", "0:000003C"}));
    QKeyEvent ctrlDelete(QEvent::KeyPress, Qt::Key_Delete, Qt::ControlModifier);
    QKeyEvent ctrlShiftDelete(QEvent::KeyPress, Qt::Key_Delete, Qt::ControlModifier | Qt::ShiftModifier);
    QKeyEvent soDelete(QEvent::KeyPress, Qt::Key_Delete, Qt::NoModifier);
    EXPECT_TRUE(f.dbgProdutoKeyDown(&ctrlDelete));
    EXPECT_FALSE(f.dbgProdutoKeyDown(&ctrlShiftDelete));
    EXPECT_FALSE(f.dbgProdutoKeyDown(&soDelete));
}

TEST_F(SelectionTest, CheckColumnTitleMarksEveryVisibleRowThenClearsThem)
{
    Carrega({{"000001"}, {"000002", "", "0000000100", "6"}, {"000003"}, {"000004"}}, false);
    f.cdsProduto.Last();
    f.dbgProdutoTitleClick(f.dbgProduto->FieldColumn(QStringLiteral("NMPRODUTO")));
    EXPECT_EQ(Contagem(), 0);

    f.dbgProdutoTitleClick(ColunaMarca());
    EXPECT_EQ(Marcas(), QStringList({"0:000001C", "0:000002U", "0:000003C", "0:000004C"}));
    EXPECT_EQ(Contagem(), 3);
    EXPECT_EQ(f.cdsProduto.RecNo(), 1);

    Alterna(3); // one row unmarked: the count is still above 0, so the title clears
    f.dbgProdutoTitleClick(ColunaMarca());
    EXPECT_EQ(Marcas(), QStringList({"0:000001U", "0:000002U", "0:000003U", "0:000004U"}));
    EXPECT_EQ(Contagem(), 0);
}

TEST_F(SelectionTest, TapsOnTheShownGridReachTheRules)
{
    Carrega({{"000001"}, {"000002"}, {"000003"}});
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    QTableView* grid = f.dbgProduto;

    QHeaderView* titulos = grid->horizontalHeader();
    const QPoint titulo(titulos->sectionViewportPosition(ColunaMarca()) + 10, titulos->height() / 2);
    QTest::mouseClick(titulos->viewport(), Qt::LeftButton, {}, titulo);
    EXPECT_EQ(Contagem(), 3);
    QTest::mouseClick(titulos->viewport(), Qt::LeftButton, {}, titulo);
    EXPECT_EQ(Contagem(), 0);

    const int produto = f.dbgProduto->FieldColumn(QStringLiteral("NMPRODUTO"));
    const QPoint celula = grid->visualRect(grid->model()->index(1, produto)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, celula);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, celula);
    EXPECT_EQ(Marcas(), QStringList({"0:000001U", "0:000002C", "0:000003U"}));
    EXPECT_EQ(ItemAtual(f.cdsProduto), "000003");
    f.hide();
}

} // namespace
