#pragma once
// Per-engine database tests that arrange their orders through OrderData.
#include "DbFixture.h"
#include "OrderData.h"

class OrderDataTest : public DbEngineTest {
protected:
    OrderData data{[this](const QString& sql, const QVariantList& b) { exec(sql, b); }};
};

// The same, with the default sale and its tab already in place.
class OpenTabTest : public OrderDataTest {
protected:
    void SetUp() override
    {
        OrderDataTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        data.VendaComComanda();
    }
};
