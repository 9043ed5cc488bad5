// The client dataset through its public surface: fields and conversions, the
// cursor, editing under a filter, locate, notifications and data packets.
#include <QSignalSpy>
#include <gtest/gtest.h>

#include "ClientDataSet.h"
#include "Exception.h"

namespace {

TFieldDef Def(const QString& name, TFieldType type, int size = 0, bool readOnly = false)
{
    return TFieldDef{name, type, size, readOnly, QString()};
}

// A small order list: number, product, status, mark, quantity, entry time.
TDataPacket Items()
{
    TDataPacket p;
    p.FieldDefs = {Def("NRPRODCOMVEN", TFieldType::ftString, 6), Def("CDPRODUTO", TFieldType::ftString, 10),
                   Def("IDSTPRCOMVEN", TFieldType::ftString, 1), Def("IDCHECK", TFieldType::ftString, 1),
                   Def("QTPRODCOMVEN", TFieldType::ftFloat),     Def("DTHRINCOMVEN", TFieldType::ftDateTime)};
    const QDateTime t(QDate(2024, 3, 1), QTime(12, 0));
    p.Rows = {{"001", "abc", "1", "U", 1.0, t},
              {"002", "XYZ", "6", "U", 2.0, t.addSecs(60)},
              {"003", "abc", "2", "C", 0.5, t.addSecs(120)},
              {"004", "def", "1", "C", 3.0, t.addSecs(180)},
              {"005", "ghi", "6", "C", 1.0, t.addSecs(240)}};
    return p;
}

QStringList Walk(TClientDataSet& ds, const QString& field = "NRPRODCOMVEN")
{
    QStringList seen;
    ds.First();
    while (!ds.Eof()) {
        seen << ds.FieldByName(field)->AsString();
        ds.Next();
    }
    return seen;
}

void Mark(TClientDataSet& ds, const QString& value)
{
    ds.Edit();
    ds.FieldByName("IDCHECK")->SetAsString(value);
    ds.Post();
}

} // namespace

TEST(ClientDataSetFields, TextIsCutToItsWidthInCharactersAndTypedValuesConvert)
{
    TClientDataSet ds;
    ds.FieldDefs() = {Def("NOME", TFieldType::ftString, 4), Def("QT", TFieldType::ftInteger),
                      Def("VR", TFieldType::ftFloat),       Def("OK", TFieldType::ftBoolean),
                      Def("DT", TFieldType::ftDateTime),    Def("NM", TFieldType::ftString, 10, true)};
    ds.CreateDataSet();
    ds.Append();
    ds.FieldByName("NOME")->SetAsString(QStringLiteral("Garçom"));
    ds.FieldByName("QT")->SetValue(QVariant(qlonglong(42)));
    ds.FieldByName("VR")->SetValue(QStringLiteral("1.25"));
    ds.FieldByName("OK")->SetValue(QStringLiteral("S"));
    ds.FieldByName("DT")->SetValue(QStringLiteral("2024-03-01T10:20:30.456"));
    EXPECT_THROW(ds.FieldByName("NM")->SetAsString("x"), EDatabaseError);
    EXPECT_THROW(ds.FieldByName("VR")->SetValue(QStringLiteral("1,5")), EConvertError);
    EXPECT_THROW(ds.FieldByName("QT")->SetValue(QStringLiteral("2.5")), EConvertError);
    ds.Post();

    EXPECT_EQ(ds.FieldByName("NOME")->AsString(), QStringLiteral("Garç"));
    EXPECT_EQ(ds.FieldByName("QT")->AsInteger(), 42);
    EXPECT_EQ(ds.FieldByName("QT")->Value().typeId(), QMetaType::Int);
    EXPECT_DOUBLE_EQ(ds.FieldByName("VR")->AsFloat(), 1.25);
    EXPECT_TRUE(ds.FieldByName("OK")->AsBoolean());
    EXPECT_EQ(ds.FieldByName("DT")->AsDateTime(), QDateTime(QDate(2024, 3, 1), QTime(10, 20, 30, 456)));
    EXPECT_TRUE(ds.FieldByName("NM")->IsNull());
    EXPECT_EQ(ds.FieldByName("NM")->AsString(), QString());

    // A character outside the basic plane counts once and is never split.
    ds.Edit();
    ds.FieldByName("NOME")->SetAsString(QStringLiteral("ab\U0001F600cd"));
    ds.FieldByName("VR")->SetAsString(QString()); // blank text in a number field is null
    ds.Post();
    EXPECT_EQ(ds.FieldByName("NOME")->AsString(), QStringLiteral("ab\U0001F600c"));
    EXPECT_TRUE(ds.FieldByName("VR")->IsNull());

    try {
        ds.FieldByName("NOPE");
        FAIL() << "no error for an unknown field";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Campo 'NOPE' não encontrado"));
    }
    EXPECT_EQ(ds.FindField("nome"), ds.FieldByName("NOME"));
    EXPECT_THROW(ds.FieldByName("QT")->SetAsInteger(1), EDatabaseError); // not in edit mode
}

TEST(ClientDataSetCursor, WalksVisibleRowsWithEofAndBofLikeTheScreenExpects)
{
    TClientDataSet ds;
    EXPECT_TRUE(ds.Eof() && ds.Bof() && ds.IsEmpty());
    ds.SetData(Items());
    EXPECT_EQ(ds.RecNo(), 1);
    EXPECT_TRUE(ds.Bof());
    EXPECT_FALSE(ds.Eof());
    EXPECT_EQ(Walk(ds), QStringList({"001", "002", "003", "004", "005"}));
    EXPECT_EQ(ds.RecNo(), 5); // Next on the last row stays there
    ds.Prior();
    EXPECT_FALSE(ds.Eof());
    EXPECT_EQ(ds.RecNo(), 4);
    ds.First();
    ds.Prior();
    EXPECT_TRUE(ds.Bof());
    EXPECT_EQ(ds.RecNo(), 1);
    ds.Last();
    EXPECT_TRUE(ds.Eof());
    EXPECT_EQ(ds.FieldByName("NRPRODCOMVEN")->AsString(), "005");
    ds.SetRecNo(3);
    EXPECT_EQ(ds.FieldByName("NRPRODCOMVEN")->AsString(), "003");
    EXPECT_THROW(ds.SetRecNo(6), EDatabaseError);

    ds.SetFilter("IDSTPRCOMVEN <> '6'");
    EXPECT_EQ(ds.RecNo(), 3); // text set while unfiltered moves nothing
    ds.SetFiltered(true);
    EXPECT_EQ(ds.RecordCount(), 3);
    EXPECT_EQ(ds.RecNo(), 1);
    EXPECT_EQ(Walk(ds), QStringList({"001", "003", "004"}));
    ds.Last();
    ds.SetFilter("IDCHECK = 'C'"); // replaced while filtered: back to the first visible row
    EXPECT_EQ(ds.RecNo(), 1);
    EXPECT_EQ(Walk(ds), QStringList({"003", "004", "005"}));
    ds.SetFilter("IDCHECK = 'Z'");
    EXPECT_TRUE(ds.IsEmpty() && ds.Eof() && ds.Bof());
    EXPECT_EQ(ds.RecNo(), 0);
}

TEST(ClientDataSetEditing, PostedRowThatLeavesTheFilterGivesWayToTheNextRow)
{
    TClientDataSet ds;
    ds.SetData(Items());
    ds.SetFilter("IDSTPRCOMVEN <> '6'AND IDCHECK = 'C'");
    ds.SetFiltered(true);
    ASSERT_EQ(Walk(ds), QStringList({"003", "004"}));

    // Unmarking every visible row without calling Next visits each row once.
    ds.First();
    QStringList unmarked;
    while (!ds.Eof()) {
        unmarked << ds.FieldByName("NRPRODCOMVEN")->AsString();
        Mark(ds, "U");
    }
    EXPECT_EQ(unmarked, QStringList({"003", "004"}));
    EXPECT_TRUE(ds.IsEmpty());

    ds.SetFiltered(false);
    EXPECT_EQ(Walk(ds, "IDCHECK"), QStringList({"U", "U", "U", "U", "C"}));

    // An edit that keeps the row visible leaves the cursor where it was.
    ds.SetFilter("IDSTPRCOMVEN <> '6'");
    ds.SetFiltered(true);
    ds.SetRecNo(2);
    QSignalSpy rowChanged(&ds, &TClientDataSet::RowChanged);
    QSignalSpy scrolled(&ds, &TClientDataSet::AfterScroll);
    Mark(ds, "C");
    EXPECT_EQ(ds.RecNo(), 2);
    ASSERT_EQ(rowChanged.count(), 1);
    EXPECT_EQ(rowChanged[0][0].toInt(), 1);
    EXPECT_EQ(scrolled.count(), 0);

    // The last visible row leaving the view: the row before it is current and
    // the walk is over.
    ds.Last();
    ds.Edit();
    ds.FieldByName("IDSTPRCOMVEN")->SetAsString("6");
    ds.Post();
    EXPECT_EQ(ds.RecordCount(), 2);
    EXPECT_EQ(ds.FieldByName("NRPRODCOMVEN")->AsString(), "003");
    EXPECT_TRUE(ds.Eof());
}

TEST(ClientDataSetEditing, InsertAppendCancelDeleteAndEmpty)
{
    TClientDataSet ds;
    ds.SetData(Items());
    ds.SetRecNo(2);
    ds.Insert();
    EXPECT_EQ(ds.State(), TDataSetState::dsInsert);
    ds.FieldByName("NRPRODCOMVEN")->SetAsString("X01");
    ds.Next(); // moving posts the pending insert
    EXPECT_EQ(ds.State(), TDataSetState::dsBrowse);
    EXPECT_EQ(Walk(ds), QStringList({"001", "X01", "002", "003", "004", "005"}));

    ds.Append();
    ds.FieldByName("NRPRODCOMVEN")->SetAsString("X02");
    ds.Cancel();
    EXPECT_EQ(ds.RecordCount(), 6);
    ds.Append();
    ds.FieldByName("NRPRODCOMVEN")->SetAsString("X03");
    ds.Post();
    EXPECT_EQ(ds.RecNo(), 7);
    EXPECT_EQ(ds.FieldByName("NRPRODCOMVEN")->AsString(), "X03");

    ds.Edit();
    ds.FieldByName("NRPRODCOMVEN")->SetAsString("zzz");
    ds.Cancel();
    EXPECT_EQ(ds.FieldByName("NRPRODCOMVEN")->AsString(), "X03");

    // Deleting makes the next row current; at the end the previous one, with Eof.
    ds.SetRecNo(2);
    ds.Delete();
    EXPECT_EQ(ds.FieldByName("NRPRODCOMVEN")->AsString(), "002");
    ds.Last();
    ds.Delete();
    EXPECT_EQ(ds.FieldByName("NRPRODCOMVEN")->AsString(), "005");
    EXPECT_TRUE(ds.Eof());

    // Deleting under a filter removes exactly the visible rows it walks.
    ds.SetFilter("CDPRODUTO = 'abc'");
    ds.SetFiltered(true);
    ds.First();
    while (!ds.Eof())
        ds.Delete();
    ds.SetFiltered(false);
    EXPECT_EQ(Walk(ds), QStringList({"002", "004", "005"}));

    ds.EmptyDataSet();
    EXPECT_TRUE(ds.IsEmpty());
    EXPECT_THROW(ds.Delete(), EDatabaseError);
    ds.Close();
    EXPECT_FALSE(ds.Active());
    EXPECT_THROW(ds.FieldByName("IDCHECK")->Value(), EDatabaseError);

    // Reopened, it is empty with the same fields, and still takes any structure.
    ds.Open();
    EXPECT_TRUE(ds.Active() && ds.IsEmpty());
    EXPECT_EQ(ds.FieldCount(), 6);
    TDataPacket other;
    other.FieldDefs = {Def("CDVENDEDOR", TFieldType::ftString, 4)};
    other.Rows = {{"0001"}};
    ds.SetData(other);
    EXPECT_EQ(ds.FieldCount(), 1);
}

TEST(ClientDataSetLocate, FindsByKeyListAmongVisibleRows)
{
    TClientDataSet ds;
    ds.SetData(Items());
    const QDateTime t(QDate(2024, 3, 1), QTime(12, 2));
    TLocateOptions ci;
    ci.CaseInsensitive = true;
    EXPECT_FALSE(ds.Locate("CDPRODUTO;IDCHECK;DTHRINCOMVEN", {"ABC", "c", t}));
    EXPECT_EQ(ds.RecNo(), 1);
    EXPECT_TRUE(ds.Locate("cdproduto;IDCHECK;DTHRINCOMVEN", {"ABC", "c", t}, ci));
    EXPECT_EQ(ds.FieldByName("NRPRODCOMVEN")->AsString(), "003");
    // The key value converts to the field's type: a number for a float field.
    EXPECT_TRUE(ds.Locate("QTPRODCOMVEN", {"3"}));
    EXPECT_EQ(ds.FieldByName("NRPRODCOMVEN")->AsString(), "004");
    TLocateOptions partial;
    partial.PartialKey = true;
    EXPECT_TRUE(ds.Locate("CDPRODUTO", {"gh"}, partial));
    EXPECT_EQ(ds.RecNo(), 5);

    ds.SetFilter("IDSTPRCOMVEN <> '6'");
    ds.SetFiltered(true);
    EXPECT_FALSE(ds.Locate("CDPRODUTO", {"XYZ"})); // hidden rows are not found
    EXPECT_THROW(ds.Locate("CDPRODUTO;IDCHECK", {"abc"}), EDatabaseError);
    EXPECT_THROW(ds.Locate("CDPRODUTO;NADA", {"abc", "x"}), EDatabaseError);
    EXPECT_THROW(ds.Locate("QTPRODCOMVEN", {"lots"}), EConvertError);
}

TEST(ClientDataSetNotifications, AfterScrollDataChangedAndBatches)
{
    TClientDataSet ds;
    QSignalSpy scrolled(&ds, &TClientDataSet::AfterScroll);
    QSignalSpy changed(&ds, &TClientDataSet::DataChanged);
    ds.SetData(Items());
    EXPECT_EQ(scrolled.count(), 1);
    EXPECT_EQ(changed.count(), 1);
    ds.Next();
    ds.Next();
    ds.First();
    EXPECT_EQ(scrolled.count(), 4);
    ds.Prior(); // already first: nothing moved
    EXPECT_EQ(scrolled.count(), 4);
    ds.Delete();
    EXPECT_EQ(scrolled.count(), 5);
    EXPECT_EQ(changed.count(), 2);
    ds.SetFiltered(true);
    EXPECT_EQ(changed.count(), 3);

    scrolled.clear();
    changed.clear();
    ds.DisableControls();
    ds.DisableControls();
    ds.Next();
    Mark(ds, "C");
    ds.Delete();
    ds.EnableControls();
    EXPECT_TRUE(ds.ControlsDisabled());
    EXPECT_EQ(scrolled.count() + changed.count(), 0);
    ds.EnableControls();
    EXPECT_FALSE(ds.ControlsDisabled());
    EXPECT_EQ(scrolled.count(), 1);
    EXPECT_EQ(changed.count(), 1);
    ds.EnableControls(); // unbalanced: ignored
    EXPECT_EQ(changed.count(), 1);
}

TEST(ClientDataSetPackets, SetDataKeepsTheFilterAndNeverHalfLoads)
{
    TClientDataSet ds;
    ds.SetFilter("IDSTPRCOMVEN <> '6'");
    ds.SetFiltered(true);
    ds.SetData(Items());
    EXPECT_EQ(ds.RecordCount(), 3);
    EXPECT_EQ(ds.RecNo(), 1);
    EXPECT_EQ(ds.Data().Rows.size(), 5); // the packet holds the hidden rows too

    // Reloading (as after a cancellation) replaces every row and keeps the filter.
    TDataPacket reload = Items();
    reload.Rows[0][2] = "6";
    ds.Last();
    ds.SetData(ToVariant(reload));
    EXPECT_EQ(ds.Filter(), QStringLiteral("IDSTPRCOMVEN <> '6'"));
    EXPECT_EQ(Walk(ds), QStringList({"003", "004"}));

    // A failure text instead of a packet, a short row or a bad value change nothing.
    try {
        ds.SetData(QVariant(QStringLiteral("Falha ao ler os itens da comanda: conexão perdida")));
        FAIL() << "a failure text was loaded";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Falha ao ler os itens da comanda: conexão perdida"));
    }
    TDataPacket bad = Items();
    bad.Rows[3].removeLast();
    EXPECT_THROW(ds.SetData(bad), EDatabaseError);
    bad = Items();
    bad.Rows[4][4] = "muito";
    EXPECT_THROW(ds.SetData(bad), EDatabaseError);
    EXPECT_EQ(Walk(ds), QStringList({"003", "004"}));

    // A filter the new structure cannot satisfy is refused while in force.
    TDataPacket other;
    other.FieldDefs = {Def("CDVENDEDOR", TFieldType::ftString, 4)};
    other.Rows = {{"0001"}};
    EXPECT_THROW(ds.SetData(other), EDatabaseError);
    EXPECT_EQ(ds.RecordCount(), 2);

    // CopyDataSet takes every row of the source, whatever its filter.
    TClientDataSet copy;
    copy.CopyDataSet(ds);
    EXPECT_EQ(copy.RecordCount(), 5);
    EXPECT_EQ(copy.Data(), ds.Data());
}

TEST(ClientDataSetPackets, DeclaredFieldsSurviveLoadsAndConvertIncomingValues)
{
    TClientDataSet ds;
    ds.FieldDefs() = {Def("NRPRODCOMVEN", TFieldType::ftString, 2), Def("QTPRODCOMVEN", TFieldType::ftFloat),
                      Def("NMPRODUTO", TFieldType::ftString, 50, true)};
    ds.CreateDataSet();
    TField* name = ds.FieldByName("NMPRODUTO");
    name->SetDisplayLabel(QStringLiteral("Produto"));
    name->SetOnGetText([](const TField& f, void*) { return f.AsString().toUpper(); }, nullptr);

    // Columns arrive in another order, with other types, and one more column.
    TDataPacket p;
    p.FieldDefs = {Def("nmproduto", TFieldType::ftString, 80), Def("CDVENDEDOR", TFieldType::ftString, 4),
                   Def("QTPRODCOMVEN", TFieldType::ftInteger), Def("NRPRODCOMVEN", TFieldType::ftInteger)};
    p.Rows = {{"pizza", "0007", qlonglong(2), 123}, {QVariant(), "0008", 1, QVariant()}};
    ds.SetData(p);

    ASSERT_EQ(ds.FieldCount(), 4);
    EXPECT_EQ(ds.Fields(3)->FieldName(), "CDVENDEDOR");
    EXPECT_EQ(ds.FieldByName("NMPRODUTO"), name); // same field object, hook and label kept
    EXPECT_EQ(name->DisplayLabel(), QStringLiteral("Produto"));
    EXPECT_TRUE(name->ReadOnly());
    EXPECT_EQ(name->DisplayText(), QStringLiteral("PIZZA"));
    EXPECT_EQ(ds.FieldByName("NRPRODCOMVEN")->AsString(), "12");
    EXPECT_EQ(ds.FieldByName("QTPRODCOMVEN")->Value().typeId(), QMetaType::Double);
    ds.Next();
    EXPECT_TRUE(ds.FieldByName("NRPRODCOMVEN")->IsNull());

    p.FieldDefs.removeFirst();
    for (QVariantList& row : p.Rows)
        row.removeFirst();
    try {
        ds.SetData(p);
        FAIL() << "a packet without a declared field was loaded";
    } catch (const EDatabaseError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Campo 'NMPRODUTO' não encontrado"));
    }
    EXPECT_EQ(ds.RecordCount(), 2);
}
