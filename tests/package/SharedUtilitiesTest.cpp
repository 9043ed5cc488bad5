// Value functions, result checks and the message table of the shared package.
#include <cmath>
#include <gtest/gtest.h>

#include "DataPacket.h"
#include "Exception.h"
#include "HostServices.h"
#include "Messages.h"
#include "ResultChecks.h"
#include "ValueFunctions.h"

TEST(SharedUtilitiesTrunc2, CutsToCentsWithoutLosingOneToBinaryError)
{
    // 0.29 * 100 is 28.999999999999996 in binary: a naive cut gives 0.28.
    EXPECT_DOUBLE_EQ(Trunc2(0.29), 0.29);
    EXPECT_DOUBLE_EQ(Trunc2(0.57), 0.57);
    EXPECT_DOUBLE_EQ(Trunc2(1.0 / 3.0), 0.33);
    EXPECT_DOUBLE_EQ(Trunc2(2.0 / 3.0), 0.66); // cut, not rounded
    EXPECT_DOUBLE_EQ(Trunc2(2.675), 2.67);
    EXPECT_DOUBLE_EQ(Trunc2(-1.239), -1.23); // towards zero
    EXPECT_DOUBLE_EQ(Trunc2(1234567.899), 1234567.89);
    EXPECT_FALSE(std::signbit(Trunc2(-0.001))); // no negative zero on a ticket
}

TEST(SharedUtilitiesValueFunctions, IifAndEmptyString)
{
    EXPECT_EQ(iif(true, 1, 2).toInt(), 1);
    EXPECT_EQ(iif(false, 1, 2).toInt(), 2);
    EXPECT_TRUE(EmptyString(QString()));
    EXPECT_TRUE(EmptyString(QStringLiteral("")));
    EXPECT_FALSE(EmptyString(QStringLiteral(" "))); // a blank is a value
}

TEST(SharedUtilitiesResultChecks, PacketsPassAndFailureTextsRaiseWithTheirContext)
{
    TDataPacket packet;
    packet.FieldDefs << TFieldDef{QStringLiteral("A")};
    packet.Rows << QVariantList{QStringLiteral("x")};
    const QVariant ok = MensagemMetodo(ToVariant(packet), true, 0, QStringLiteral("getitemMesa"),
                                       QStringLiteral("Cli_Kvp00917"), QStringLiteral("0001-10-S"),
                                       QStringLiteral("002"));
    EXPECT_EQ(ToDataPacket(ok), packet);

    try {
        MensagemMetodo(QStringLiteral("Erro no banco de dados: tabela ausente"), true, 0, QStringLiteral("getitemMesa"),
                       QStringLiteral("Cli_Kvp00917"), QStringLiteral("0001-10-S"), QStringLiteral("002"));
        FAIL() << "a failure text must raise";
    } catch (const Exception& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("tabela ausente")));
        EXPECT_TRUE(e.Message().contains(QStringLiteral("getitemMesa")));
        EXPECT_TRUE(e.Message().contains(QStringLiteral("0001-10-S")));
    }
    // An empty failure text is still a failure.
    EXPECT_THROW(MensagemMetodo(QString(""), true, 0, {}, {}, {}, {}), Exception);
}

TEST(SharedUtilitiesResultChecks, WritesSucceedWithNothingOrTrueAndFailWithAnyText)
{
    EXPECT_NO_THROW(CheckResultServ(QVariant(), true, 0));
    EXPECT_NO_THROW(CheckResultServ(QVariant(true), true, 0));
    try {
        CheckResultServ(QStringLiteral("Item 000001 da comanda 10 não encontrado."), true, 0);
        FAIL() << "a failure text must raise";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Item 000001 da comanda 10 não encontrado."));
    }
    EXPECT_THROW(CheckResultServ(QString(""), true, 0), Exception);
}

TEST(SharedUtilitiesMessageTable, LooksUpTextsByExactKey)
{
    const TMessages m({QStringLiteral("MSG_CANC| Cancelamento de Pedido"), QStringLiteral("MSG_Mesa|Mesa   :"),
                       QStringLiteral("Sit_6|Cancelado"), QStringLiteral("PIPE|a|b")});
    EXPECT_EQ(m.Msg(QStringLiteral("MSG_CANC")), QStringLiteral(" Cancelamento de Pedido")); // blanks kept
    EXPECT_EQ(m.Msg(QStringLiteral("MSG_Mesa")), QStringLiteral("Mesa   :"));
    EXPECT_EQ(m.Msg(QStringLiteral("PIPE")), QStringLiteral("a|b"));
    EXPECT_EQ(m.Msg(QStringLiteral("Sit_")), QString()); // no prefix match
    EXPECT_EQ(m.Msg(QStringLiteral("sit_6")), QString()); // keys are case-sensitive
}

TEST(SharedUtilitiesHostServices, FooterNamesTheScreen)
{
    EXPECT_EQ(MontaRodapeGeral(true, QStringLiteral("KVP00917"), QStringLiteral("S")),
              QStringLiteral("F1 - Menu Fiscal - Kvp00917"));
}
