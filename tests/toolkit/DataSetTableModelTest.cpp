// The table model follows its dataset: filter switches, posted edits, batches
// and the cursor, and shows display text, values and labels.
#include <QAbstractItemModelTester>
#include <QLocale>
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "ClientDataSet.h"
#include "DataSetTableModel.h"

namespace {

QString StatusText(const TField& f, void*)
{
    return f.AsString() == QLatin1String("6") ? QStringLiteral("Cancelado") : QStringLiteral("Ativo");
}

class DataSetTableModel : public ::testing::Test {
protected:
    void SetUp() override
    {
        TDataPacket p;
        p.FieldDefs = {{"NRPRODCOMVEN", TFieldType::ftString, 6, false, {}},
                       {"IDSTPRCOMVEN", TFieldType::ftString, 1, false, {}},
                       {"CDVENDEDOR", TFieldType::ftString, 4, false, QStringLiteral("Garçom")},
                       {"DTHRINCOMVEN", TFieldType::ftDateTime, 0, false, {}}};
        for (int i = 1; i <= 300; ++i)
            p.Rows.append({QString::number(i).rightJustified(3, u'0'), i % 3 == 0 ? "6" : "1", "0001",
                           QDateTime(QDate(2024, 6, 1), QTime(8, 0)).addSecs(i)});
        ds.SetData(p);
        ds.FieldByName("IDSTPRCOMVEN")->SetOnGetText(StatusText, nullptr);
    }

    TClientDataSet ds;
    TDataSetTableModel model{&ds};
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

} // namespace

TEST_F(DataSetTableModel, ShowsDisplayTextValuesAndLabels)
{
    EXPECT_EQ(model.rowCount(), 300);
    EXPECT_EQ(model.columnCount(), 4);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal).toString(), QStringLiteral("Garçom"));
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("NRPRODCOMVEN"));
    EXPECT_EQ(model.fieldColumn("cdvendedor"), 2);
    EXPECT_EQ(model.fieldColumn("NADA"), -1);

    // Cells of rows other than the current one use the hook on that row and
    // leave the cursor alone.
    QSignalSpy scrolled(&ds, &TClientDataSet::AfterScroll);
    EXPECT_EQ(model.index(2, 1).data().toString(), QStringLiteral("Cancelado"));
    EXPECT_EQ(model.index(3, 1).data().toString(), QStringLiteral("Ativo"));
    EXPECT_EQ(model.index(2, 1).data(Qt::EditRole).toString(), QStringLiteral("6"));
    EXPECT_EQ(model.index(2, 1).data(TDataSetTableModel::FieldNameRole).toString(), QStringLiteral("IDSTPRCOMVEN"));
    EXPECT_EQ(ds.RecNo(), 1);
    EXPECT_EQ(scrolled.count(), 0);

    // Date-times show the system's short date and the time with seconds, without
    // the zone name, which would not fit the grid.
    const QDateTime when(QDate(2024, 6, 1), QTime(8, 0, 5));
    const QLocale sys = QLocale::system();
    const QString shown = model.index(4, 3).data().toString();
    EXPECT_TRUE(shown.startsWith(sys.toString(when.date(), QLocale::ShortFormat) + ' ')) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("8:00:05"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(when.timeZoneAbbreviation())) << shown.toStdString();
    EXPECT_EQ(model.index(4, 3).data(Qt::EditRole).toDateTime(), when);
}

TEST_F(DataSetTableModel, FollowsFilterSwitchesPostedEditsAndTheCursor)
{
    QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    QSignalSpy current(&model, &TDataSetTableModel::currentRowChanged);

    ds.SetFilter("IDSTPRCOMVEN <> '6'");
    EXPECT_EQ(reset.count(), 0); // text alone, filter still off
    ds.SetFiltered(true);
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(model.rowCount(), 200);
    EXPECT_EQ(model.index(2, 0).data().toString(), QStringLiteral("004"));

    // A posted edit that keeps the row visible updates that row only.
    ds.SetRecNo(5);
    current.clear();
    ds.Edit();
    ds.FieldByName("CDVENDEDOR")->SetAsString("0002");
    ds.Post();
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].value<QModelIndex>(), model.index(4, 0));
    EXPECT_EQ(changed[0][1].value<QModelIndex>(), model.index(4, 3));
    EXPECT_EQ(model.index(4, 2).data().toString(), QStringLiteral("0002"));
    EXPECT_EQ(reset.count(), 1);

    // One the filter now hides leaves the list; the next row takes its place.
    ds.Edit();
    ds.FieldByName("IDSTPRCOMVEN")->SetAsString("6");
    ds.Post();
    EXPECT_EQ(reset.count(), 2);
    EXPECT_EQ(model.rowCount(), 199);
    EXPECT_EQ(model.index(4, 0).data().toString(), QStringLiteral("008"));
    ASSERT_FALSE(current.isEmpty());
    EXPECT_EQ(current.last()[0].toInt(), 4);
    EXPECT_EQ(model.index(0, 0).data(TDataSetTableModel::CurrentRowRole).toInt(), 4);

    ds.SetFiltered(false);
    EXPECT_EQ(model.rowCount(), 300);
    EXPECT_EQ(current.last()[0].toInt(), 0);

    // A batch costs one reset, however many rows it touches.
    reset.clear();
    changed.clear();
    ds.DisableControls();
    for (ds.First(); !ds.Eof(); ds.Next()) {
        ds.Edit();
        ds.FieldByName("IDSTPRCOMVEN")->SetAsString("1");
        ds.Post();
    }
    ds.EnableControls();
    EXPECT_EQ(reset.count(), 1);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(model.index(299, 1).data().toString(), QStringLiteral("Ativo"));

    ds.Close();
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 0);
}

TEST(DataSetTableModelWithoutDataSet, ADataSetThatGoesAwayLeavesAnEmptyModel)
{
    auto* ds = new TClientDataSet;
    TDataPacket p;
    p.FieldDefs = {{"A", TFieldType::ftInteger, 0, false, {}}};
    p.Rows = {{1}, {2}};
    ds->SetData(p);
    TDataSetTableModel model(ds);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(model.rowCount(), 2);
    delete ds;
    EXPECT_EQ(model.DataSet(), nullptr);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(model.index(0, 0).isValid());
}
