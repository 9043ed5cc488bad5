// The shared package's next item number of a tab whose numbers are shorter
// than the item number column, on a real database of each engine.
#include <gtest/gtest.h>

#include "DbFixture.h"
#include "Exception.h"
#include "QrvProxCodigo.h"
#include "RdmCancelaProd.h"
#include "Srv_kvp00917.h"

namespace {

class NextItemNumberTest : public DbEngineTest {
protected:
    void Item(const QString& comanda, const QString& numero)
    {
        exec(QStringLiteral("INSERT INTO ITCOMANDAVEN (CDFILIAL, NRCOMANDA, NRPRODCOMVEN) VALUES (?, ?, ?)"),
             {QStringLiteral("0001"), comanda, numero});
    }
    QString Proximo(const QString& comanda)
    {
        return TdtmQrvProxCodigo(rdmCancelaProd->adcCancelaProd).PrxItemComanda(QStringLiteral("0001"), comanda, 1);
    }
};

TEST_P(NextItemNumberTest, ShortNumbersGrowIntoTheColumnInsteadOfRunningOut)
{
    Item(QStringLiteral("10"), QStringLiteral("9"));
    EXPECT_EQ(Proximo(QStringLiteral("10")), QStringLiteral("10"));

    Item(QStringLiteral("20"), QStringLiteral("01"));
    Item(QStringLiteral("20"), QStringLiteral("99"));
    EXPECT_EQ(Proximo(QStringLiteral("20")), QStringLiteral("100"));

    // The column is full only past six digits.
    Item(QStringLiteral("30"), QStringLiteral("99999"));
    EXPECT_EQ(Proximo(QStringLiteral("30")), QStringLiteral("100000"));
    Item(QStringLiteral("40"), QStringLiteral("999999"));
    EXPECT_THROW(Proximo(QStringLiteral("40")), EDatabaseError);
}

KVP_INSTANTIATE_ENGINES(NextItemNumberTest);

} // namespace
