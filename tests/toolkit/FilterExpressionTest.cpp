// The filter language, through the dataset that uses it: which rows a text
// lets through, and how a bad text is refused.
#include <gtest/gtest.h>

#include "ClientDataSet.h"
#include "Exception.h"
#include "FilterExpression.h"

namespace {

// Rows A to F: a text code, a mark, a free text, a quantity (float), a count
// (integer), a flag and a date; row E holds nulls only beside its code.
TClientDataSet* MakeDataSet(QObject* parent)
{
    auto* ds = new TClientDataSet(parent);
    TDataPacket p;
    p.FieldDefs = {{"COD", TFieldType::ftString, 1, false, {}}, {"ST", TFieldType::ftString, 1, false, {}},
                   {"TX", TFieldType::ftString, 40, false, {}}, {"QT", TFieldType::ftFloat, 0, false, {}},
                   {"NR", TFieldType::ftInteger, 0, false, {}}, {"OK", TFieldType::ftBoolean, 0, false, {}},
                   {"DT", TFieldType::ftDateTime, 0, false, {}}};
    const QDateTime t(QDate(2024, 5, 10), QTime(9, 30));
    p.Rows = {{"A", "6", "d'agua", 1.5, 1, true, t},
              {"B", "1", "pão", 2.0, 2, false, t.addDays(1)},
              {"C", "6", "", 0.5, -3, true, t.addDays(-1)},
              {"D", "2", "AND", 10.0, 10, false, t},
              {"E", QVariant(), QVariant(), QVariant(), QVariant(), QVariant(), QVariant()},
              {"F", "C", "x", -1.0, 0, true, t}};
    ds->SetData(p);
    return ds;
}

class FilterExpression : public ::testing::Test {
protected:
    QObject owner;
    TClientDataSet* ds = MakeDataSet(&owner);

    QString Pass(const QString& text)
    {
        ds->SetFiltered(false);
        ds->SetFilter(text);
        ds->SetFiltered(true);
        QString codes;
        for (ds->First(); !ds->Eof(); ds->Next())
            codes += ds->FieldByName("COD")->AsString();
        return codes;
    }
};

} // namespace

TEST_F(FilterExpression, TextsOfTheScreenAndKeywordCase)
{
    EXPECT_EQ(Pass("ST <> '6'"), "BDEF");
    EXPECT_EQ(Pass("ST <> '6'AND COD = 'F'"), "F");
    EXPECT_EQ(Pass("ST <> '6'and COD='F'"), "F");
    EXPECT_EQ(Pass("st = '6' Or cod = 'B'"), "ABC");
    EXPECT_EQ(Pass("not ST = '6'"), "BDEF");
    EXPECT_EQ(Pass("  "), "ABCDEF");
    EXPECT_EQ(Pass("TX = 'd''agua'"), "A");
    EXPECT_EQ(Pass("TX = 'AND'"), "D"); // a keyword inside quotes is text
    EXPECT_EQ(Pass("TX = 'pão'"), "B");
    EXPECT_EQ(Pass("COD = 'a'"), ""); // text compares case-sensitively
    // A value from the data as a literal neither breaks nor widens the filter.
    EXPECT_EQ(Pass("TX = " + TFilterExpression::QuotedText("d'agua")), "A");
    EXPECT_EQ(Pass("TX = " + TFilterExpression::QuotedText("x' OR COD <> 'x")), "");
}

TEST_F(FilterExpression, PrecedenceOfNotAndOr)
{
    // NOT over AND over OR: NOT a OR b AND c == (NOT a) OR (b AND c)
    EXPECT_EQ(Pass("NOT ST = '6' OR COD = 'A' AND OK = TRUE"), "ABDEF");
    EXPECT_EQ(Pass("NOT (ST = '6' OR COD = 'A') AND OK"), "F");
    EXPECT_EQ(Pass("COD = 'A' OR COD = 'B' AND ST = '6'"), "A");
    EXPECT_EQ(Pass("(COD = 'A' OR COD = 'B') AND ST = '1'"), "B");
    EXPECT_EQ(Pass("NOT NOT OK"), "ACF");
}

TEST_F(FilterExpression, NumbersDatesAndNulls)
{
    EXPECT_EQ(Pass("QT > 1"), "ABD");
    EXPECT_EQ(Pass("QT >= '1.5'"), "ABD"); // text literal read as a number in the C locale
    EXPECT_EQ(Pass("QT < -0.5"), "F");
    EXPECT_EQ(Pass("NR <= 1e0"), "ACEF");
    EXPECT_EQ(Pass("NR = QT"), "BDE"); // two numeric fields compare as numbers (nulls as 0)
    EXPECT_EQ(Pass("DT > '2024-05-10'"), "ABDF");
    EXPECT_EQ(Pass("DT < '2024-05-10T09:30:00'"), "CE"); // a null date sorts first
    // A null never hides a row by accident: text as '', number as 0, flag as False.
    EXPECT_EQ(Pass("ST <> '6'"), "BDEF");
    EXPECT_EQ(Pass("TX = ''"), "CE");
    EXPECT_EQ(Pass("QT = 0"), "E");
    EXPECT_EQ(Pass("NOT OK"), "BDE");
    EXPECT_EQ(Pass("TX IS NULL"), "E");
    EXPECT_EQ(Pass("TX is not null AND TX = ''"), "C");
}

TEST_F(FilterExpression, BadTextsAreRefusedWithTheProblemAndTheTextAndTheOldFilterStays)
{
    ASSERT_EQ(Pass("ST <> '6'"), "BDEF");
    ds->Last();
    const struct {
        const char* text;
        const char* problem;
    } cases[] = {
        {"NADA = '1'", "campo desconhecido 'NADA'"},
        {"(ST = '6'", "falta ')'"},
        {"ST = '6')", "parênteses desbalanceados"},
        {"ST = '6' AND", "'AND' na posição 10 não tem operando à direita"},
        {"ST =", "não tem operando à direita"},
        {"= '6'", "não tem operando à esquerda"},
        {"OR ST = '6'", "não tem operando à esquerda"},
        {"NOT", "não tem o que negar"},
        {"ST = '6", "texto literal sem fim a partir da posição 6"},
        {"ST = '6' COD = 'A'", "esperado AND ou OR"},
        {"ST # '6'", "caractere '#' inesperado"},
        {"QT > 'um'", "'um' na posição 6 não é um número"},
        {"DT = 5", "não é uma data e hora"},
        {"ST", "não é lógico"},
        {"'x'", "esperado um operador de comparação"},
        {"ST = NULL", "IS NULL"},
        {"()", "parênteses vazios"},
    };
    for (const auto& c : cases) {
        try {
            ds->SetFilter(QString::fromUtf8(c.text));
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const EDatabaseError& e) {
            EXPECT_TRUE(e.Message().contains(QString::fromUtf8(c.problem))) << e.what();
            EXPECT_TRUE(e.Message().contains(QString::fromUtf8(c.text))) << e.what();
        }
        EXPECT_EQ(ds->Filter(), QStringLiteral("ST <> '6'"));
        EXPECT_EQ(ds->RecordCount(), 4);
        EXPECT_EQ(ds->RecNo(), 4); // the cursor did not move either
    }
    // Pathological texts end in an error, not a crash.
    EXPECT_THROW(ds->SetFilter(QString(5000, u'(') + "OK" + QString(5000, u')')), EDatabaseError);
    EXPECT_THROW(ds->SetFilter(QString(5000, u'(')), EDatabaseError);
    EXPECT_THROW(ds->SetFilter("ST = -"), EDatabaseError);
    QString chain = "OK";
    for (int i = 0; i < 5000; ++i)
        chain += " AND OK";
    EXPECT_EQ(Pass(chain), "ACF"); // long flat chains are fine
}

TEST(FilterExpressionOnClosedDataSet, SyntaxIsCheckedAtOnceAndFieldsWhenDataArrives)
{
    TClientDataSet ds;
    EXPECT_THROW(ds.SetFilter("A = 'x' AND"), EDatabaseError);
    ds.SetFilter("NADA = 'x'"); // no structure yet: the name cannot be checked
    ds.SetFiltered(true);
    TDataPacket p;
    p.FieldDefs = {{"COD", TFieldType::ftString, 1, false, {}}};
    p.Rows = {{"A"}};
    EXPECT_THROW(ds.SetData(p), EDatabaseError);
    ds.SetFiltered(false);
    ds.SetData(p); // switched off, the filter waits until it is switched on
    EXPECT_EQ(ds.RecordCount(), 1);
    EXPECT_THROW(ds.SetFiltered(true), EDatabaseError);
    EXPECT_FALSE(ds.Filtered());
    EXPECT_EQ(ds.RecordCount(), 1);
}
