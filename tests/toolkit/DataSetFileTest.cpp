// Dataset files: what is saved comes back exactly, a hand-edited file is read,
// and a damaged one is refused with the file's name and the reason.
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

#include "ClientDataSet.h"
#include "DataSetFile.h"
#include "Exception.h"

namespace {

class DataSetFile : public ::testing::Test {
protected:
    QTemporaryDir dir;

    QString Path(const QString& name) const { return dir.filePath(name); }

    void Write(const QString& name, const QByteArray& bytes) const
    {
        QFile f(Path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

    // The message of the error that loading the file raises ("" if none).
    QString LoadError(const QString& name) const
    {
        TClientDataSet ds;
        try {
            ds.LoadFromFile(Path(name));
        } catch (const EDatabaseError& e) {
            EXPECT_FALSE(ds.Active());
            return e.Message();
        }
        return QString();
    }
};

} // namespace

TEST_F(DataSetFile, EveryTypeRoundTripsWithNullsApartFromEmptyText)
{
    TClientDataSet ds;
    ds.FieldDefs() = {{"TX", TFieldType::ftString, 2000, false, QStringLiteral("Garçom")},
                      {"NR", TFieldType::ftInteger, 0, true, {}},
                      {"VR", TFieldType::ftFloat, 0, false, {}},
                      {"OK", TFieldType::ftBoolean, 0, false, {}},
                      {"DT", TFieldType::ftDateTime, 0, false, {}}};
    ds.CreateDataSet();
    QString longText;
    for (int i = 0; i < 2000; ++i)
        longText += QChar(u"açãoé \t\r\n<&>'\""[i % 14]);
    const QList<QVariantList> rows = {
        {QStringLiteral("Garçom"), 7, 0.1 + 0.2, true, QDateTime(QDate(2024, 2, 29), QTime(23, 59, 58, 999))},
        {QString(""), std::numeric_limits<int>::min(), 1e-300, false,
         QDateTime(QDate(1999, 12, 31), QTime(0, 0, 0, 1), QTimeZone::utc())},
        {QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
        {longText, 0, -std::numeric_limits<double>::max(), true, QDateTime(QDate(2024, 1, 1), QTime(0, 0))},
        {QStringLiteral("  leading and trailing  "), 1, 5e-324, false, QVariant()},
        {QStringLiteral("bell\x07"
                        "and nul"),
         2, std::nextafter(1.0, 2.0), true, QVariant()},
    };
    TDataPacket p = ds.Data();
    p.Rows = rows;
    ds.SetData(p);
    ds.SaveToFile(Path("PARAMETROSQRV.CDS"));

    TClientDataSet back;
    back.LoadFromFile(Path("PARAMETROSQRV.CDS"));
    EXPECT_EQ(back.Data(), ds.Data());
    EXPECT_EQ(back.FieldByName("TX")->DisplayLabel(), QStringLiteral("Garçom"));
    EXPECT_TRUE(back.FieldByName("NR")->ReadOnly());
    EXPECT_EQ(back.FieldByName("TX")->Size(), 2000);
    back.SetRecNo(2);
    EXPECT_FALSE(back.FieldByName("TX")->IsNull());
    EXPECT_EQ(back.FieldByName("DT")->AsDateTime().timeSpec(), Qt::UTC);
    back.SetRecNo(3);
    EXPECT_TRUE(back.FieldByName("TX")->IsNull());
    back.SetRecNo(4);
    EXPECT_EQ(back.FieldByName("TX")->AsString(), longText);
    // Bits, not just near enough.
    for (int r = 0; r < rows.size(); ++r) {
        back.SetRecNo(r + 1);
        if (!rows[r][2].isNull()) {
            EXPECT_EQ(back.FieldByName("VR")->AsFloat(), rows[r][2].toDouble()) << r;
        }
    }
}

TEST_F(DataSetFile, HandEditedFileIsReadWhateverItsLayout)
{
    Write("ControleAcess.cds",
          "<?xml version='1.0' encoding='UTF-8'?>\r\n"
          "<dataset>\n"
          "\t<fields>\n"
          "   <field type='STRING'   name='CDOPERADOR' size='4' />\n"
          "\n\n<field name=\"NMOPERADOR\"\n      type=\"string\"/>\n"
          "<field name='QT' type='integer'/><field name='ATIVO' type='boolean'/>\n"
          "</fields>\n"
          "  <rows>\n"
          "      <row>\n"
          "  <value field='NMOPERADOR'>João da Silva</value>\n"
          "        <value field='CDOPERADOR'>000123</value>\n"
          "     <value field='QT'>\n   12\n   </value>\n"
          "     <value field='ATIVO'> true </value>\n"
          "      </row>\n"
          "<row><value field='QT'>   </value><value field='NMOPERADOR'></value></row>\n"
          "  </rows>\n"
          "</dataset>\n");
    TClientDataSet ds;
    ds.LoadFromFile(Path("ControleAcess.cds"));
    EXPECT_EQ(ds.RecordCount(), 2);
    EXPECT_EQ(ds.FieldByName("CDOPERADOR")->AsString(), "0001"); // cut to its width
    EXPECT_EQ(ds.FieldByName("NMOPERADOR")->AsString(), QStringLiteral("João da Silva"));
    EXPECT_EQ(ds.FieldByName("QT")->AsInteger(), 12);
    EXPECT_TRUE(ds.FieldByName("ATIVO")->AsBoolean());
    ds.Next();
    EXPECT_TRUE(ds.FieldByName("CDOPERADOR")->IsNull()); // left out of the row
    EXPECT_TRUE(ds.FieldByName("QT")->IsNull()); // blank number
    EXPECT_FALSE(ds.FieldByName("NMOPERADOR")->IsNull()); // empty text is not null
}

TEST_F(DataSetFile, DamagedFilesAreRefusedNamingTheFileAndTheFault)
{
    TClientDataSet ds;
    ds.FieldDefs() = {{"CDFILIAL", TFieldType::ftString, 4, false, {}},
                      {"INCOR1", TFieldType::ftInteger, 0, false, {}}};
    ds.CreateDataSet();
    ds.Append();
    ds.FieldByName("CDFILIAL")->SetAsString("0001");
    ds.FieldByName("INCOR1")->SetAsInteger(3);
    ds.Post();
    ds.SaveToFile(Path("good.cds"));
    QFile good(Path("good.cds"));
    ASSERT_TRUE(good.open(QIODevice::ReadOnly));
    const QByteArray xml = good.readAll();

    const QString field = QStringLiteral("<fields><field name='A' type='%1'/></fields>");
    const struct {
        QByteArray bytes;
        const char* fault;
    } cases[] = {
        {xml.left(xml.size() / 2), "truncado"},
        {xml.left(xml.indexOf("</rows>")), "truncado"},
        {QByteArray(), "vazio"},
        {"CDFILIAL;INCOR1\n0001;3\n", "não é um XML bem formado"},
        {"<dataset><fields></dataset>", "não é um XML bem formado"},
        {"<table/>", "esperado <dataset>"},
        {"<dataset version='9'/>", "versão de formato 9"},
        {"<dataset><rows/></dataset>", "vem antes de <fields>"},
        {"<dataset></dataset>", "não há elemento <fields>"},
        {"<dataset>" + field.arg("money").toUtf8() + "</dataset>", "tipo desconhecido 'money'"},
        {"<dataset><fields><field type='string'/></fields></dataset>", "não tem nome"},
        {"<dataset>" + field.arg("integer").toUtf8() + "<rows><row><value field='A'>1,5</value></row></rows></dataset>",
         "linha 1, campo 'A'"},
        {"<dataset>" + field.arg("string").toUtf8() + "<rows><row><value field='B'>x</value></row></rows></dataset>",
         "campo desconhecido 'B'"},
        {"<dataset>" + field.arg("string").toUtf8()
             + "<rows><row><value field='A'>x</value><value field='A'>y</value></row></rows></dataset>",
         "dois valores"},
        {"<dataset>" + field.arg("datetime").toUtf8()
             + "<rows><row><value field='A'>ontem</value></row></rows></dataset>",
         "não é uma data e hora válida"},
    };
    int n = 0;
    for (const auto& c : cases) {
        const QString name = QStringLiteral("bad%1.cds").arg(++n);
        Write(name, c.bytes);
        const QString error = LoadError(name);
        EXPECT_TRUE(error.contains(Path(name))) << n << ": " << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.fault))) << n << ": " << error.toStdString();
    }

    const QString missing = LoadError("nowhere.cds");
    EXPECT_TRUE(missing.contains(Path("nowhere.cds")) && missing.contains("não existe")) << missing.toStdString();

    // A structure the dataset declared must be in the file.
    TClientDataSet declared;
    declared.FieldDefs() = {{"CDLOJA", TFieldType::ftString, 4, false, {}}};
    declared.CreateDataSet();
    try {
        declared.LoadFromFile(Path("good.cds"));
        FAIL() << "loaded a file without the declared field";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains("Campo 'CDLOJA' não encontrado") && e.Message().contains(Path("good.cds")));
    }

    // A save that cannot be written says so and leaves the old file whole.
    EXPECT_THROW(ds.SaveToFile(Path("no/such/dir/x.cds")), EDatabaseError);
    TClientDataSet reread;
    reread.LoadFromFile(Path("good.cds"));
    EXPECT_EQ(reread.Data(), ds.Data());
}
