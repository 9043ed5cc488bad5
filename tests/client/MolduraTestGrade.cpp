// The toolkit's data grid on a dataset of its own: configured columns, the
// current row kept in step with the dataset both ways, titles, keys and
// double-clicks.
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "ClientDataSet.h"
#include "DBGrid.h"
#include "EventGuard.h"
#include "Exception.h"
#include "FieldDefs.h"

namespace {

TFieldDef Texto(const char* name, int size, const QString& label = {})
{
    return StringField(QLatin1String(name), size, false, label);
}

TColumn Coluna(const char* field, const QString& title, int width, const QColor& background = {})
{
    TColumn c;
    c.FieldName = QLatin1String(field);
    c.Title = title;
    c.Width = width;
    c.TitleFont.setPixelSize(13);
    c.TitleFont.setBold(true);
    c.TitleBackground = background;
    return c;
}

class FrameTestGrid : public ::testing::Test {
protected:
    void SetUp() override
    {
        ds.FieldDefs() = {Texto("CODIGO", 6), Texto("NOME", 30), Texto("VENDEDOR", 4, QStringLiteral("Garçom")),
                          Texto("STATUS", 1)};
        ds.CreateDataSet();
        for (int i = 1; i <= 6; ++i) {
            ds.Append();
            ds.FieldByName(QStringLiteral("CODIGO"))->SetAsString(QStringLiteral("%1").arg(i, 6, 10, QLatin1Char('0')));
            ds.FieldByName(QStringLiteral("NOME"))->SetAsString(QStringLiteral("Item %1").arg(i));
            ds.FieldByName(QStringLiteral("VENDEDOR"))->SetAsString(QStringLiteral("07"));
            ds.FieldByName(QStringLiteral("STATUS"))->SetAsString(i % 2 ? QStringLiteral("1") : QStringLiteral("6"));
            ds.Post();
        }
        ds.First();

        grid = std::make_unique<TDBGrid>();
        grid->resize(500, 300);
        grid->SetDataSet(&ds);
        grid->Columns() = {Coluna("STATUS", QStringLiteral("S"), 20, QColor(204, 91, 44)),
                           Coluna("NOME", QStringLiteral("Produto"), 200, QColor(204, 91, 44)),
                           Coluna("VENDEDOR", QString(), 0, QColor(204, 91, 44))};
        grid->ApplyColumns();
        grid->show();
        QCoreApplication::processEvents();
    }

    void TearDown() override
    {
        grid.reset();
        SetDefaultExceptionHandler({});
    }

    QPoint Celula(int row, const char* field) const
    {
        const QModelIndex index = grid->model()->index(row, grid->FieldColumn(QLatin1String(field)));
        return grid->visualRect(index).center();
    }

    TClientDataSet ds;
    std::unique_ptr<TDBGrid> grid;
};

TEST_F(FrameTestGrid, ShowsOnlyTheConfiguredColumnsInTheirOrderAndWidths)
{
    QHeaderView* header = grid->horizontalHeader();
    const int status = grid->FieldColumn(QStringLiteral("STATUS"));
    const int nome = grid->FieldColumn(QStringLiteral("NOME"));
    const int vendedor = grid->FieldColumn(QStringLiteral("VENDEDOR"));
    const int codigo = grid->FieldColumn(QStringLiteral("CODIGO"));
    EXPECT_TRUE(grid->isColumnHidden(codigo));
    EXPECT_EQ(header->visualIndex(status), 0);
    EXPECT_EQ(header->visualIndex(nome), 1);
    EXPECT_EQ(header->visualIndex(vendedor), 2);
    EXPECT_EQ(grid->columnWidth(status), 20);
    EXPECT_EQ(grid->columnWidth(nome), 200);
    // The default width fits the field's label as its title.
    EXPECT_GE(grid->columnWidth(vendedor),
              QFontMetrics(grid->Columns()[2].TitleFont).horizontalAdvance(QStringLiteral("Garçom")));
    EXPECT_EQ(grid->ColumnAt(nome)->Title, QStringLiteral("Produto"));
    EXPECT_EQ(grid->ColumnAt(codigo), nullptr);
    EXPECT_FALSE(grid->verticalHeader()->isVisible());
    EXPECT_EQ(grid->editTriggers(), QAbstractItemView::NoEditTriggers);

    // A filter rebuilds the model; the column set stays.
    ds.SetFilter(QStringLiteral("STATUS <> '6'"));
    ds.SetFiltered(true);
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_TRUE(grid->isColumnHidden(codigo));
    EXPECT_EQ(header->visualIndex(status), 0);
    EXPECT_EQ(grid->columnWidth(nome), 200);
}

TEST_F(FrameTestGrid, CurrentRowFollowsTheDataSetBothWays)
{
    ds.SetRecNo(4);
    EXPECT_EQ(grid->currentIndex().row(), 3);
    ds.Last();
    EXPECT_EQ(grid->currentIndex().row(), 5);

    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, Celula(1, "NOME"));
    EXPECT_EQ(ds.RecNo(), 2);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("CODIGO"))->AsString(), QStringLiteral("000002"));

    // After a filter the grid shows the dataset's new current row.
    ds.SetFilter(QStringLiteral("STATUS = '6'"));
    ds.SetFiltered(true);
    EXPECT_EQ(grid->currentIndex().row(), ds.RecNo() - 1);
    grid->setFocus();
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(ds.RecNo(), 2);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("CODIGO"))->AsString(), QStringLiteral("000004"));
}

TEST_F(FrameTestGrid, TitleClickGivesTheModelColumnAndTitlesAreDrawnInTheirColours)
{
    QSignalSpy spy(grid.get(), &TDBGrid::TitleClick);
    QHeaderView* header = grid->horizontalHeader();
    const int nome = grid->FieldColumn(QStringLiteral("NOME"));
    const int x = header->sectionViewportPosition(nome) + header->sectionSize(nome) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), nome);

    const QImage image = header->grab().toImage();
    EXPECT_EQ(image.pixelColor(header->sectionViewportPosition(nome) + 150, 2), QColor(204, 91, 44));
}

TEST_F(FrameTestGrid, KeyHandlerRunsFirstAndMaySwallowTheKey)
{
    grid->setFocus();
    QList<int> seen;
    grid->OnKeyDown = [&](QKeyEvent* key) {
        seen << key->key();
        return key->key() == Qt::Key_Down; // swallow Down only
    };
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(ds.RecNo(), 1);
    QTest::keyClick(grid.get(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(ds.RecNo(), 6);
    EXPECT_TRUE(seen.contains(Qt::Key_Down));
    EXPECT_TRUE(seen.contains(Qt::Key_End));
}

TEST_F(FrameTestGrid, AFailingKeyHandlerIsReportedAndUsesTheKeyUp)
{
    QStringList reported;
    SetDefaultExceptionHandler([&](const QString& m) { reported << m; });
    grid->setFocus();
    grid->OnKeyDown = [](QKeyEvent*) -> bool { throw Exception(QStringLiteral("falhou a tecla")); };
    QTest::keyClick(grid.get(), Qt::Key_Down);
    EXPECT_EQ(reported, QStringList{QStringLiteral("falhou a tecla")});
    EXPECT_EQ(ds.RecNo(), 1);
}

TEST_F(FrameTestGrid, DoubleClickOnARowMakesItCurrentAndSignals)
{
    QSignalSpy spy(grid.get(), &TDBGrid::DblClick);
    const QPoint p = Celula(2, "NOME");
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, p);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, p);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(ds.RecNo(), 3);
}

} // namespace
