#pragma once
// Database tests run once per engine: every test gets an empty database with the
// schema (a SQLite file of its own, or a schema of its own on the test
// PostgreSQL server named by KVP_TEST_PG_URL), KVP_DATABASE pointing at it, and
// rdmCancelaProd created and connected. Arranging and checking go through a
// connection of the fixture's own, never through the module's.
#include <QList>
#include <QString>
#include <QVariant>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "RdmCancelaProd.h"
#include "Srv_kvp00917.h"

enum class TestEngine { SQLite, PostgreSQL };

std::string EngineName(const ::testing::TestParamInfo<TestEngine>& info);

class DbEngineTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override; // skips PostgreSQL only outside CI when no server is given
    void TearDown() override; // frees rdmCancelaProd, drops the database

    TestEngine engine() const { return GetParam(); }
    QString databaseUrl() const { return m_url; } // the KVP_DATABASE value of this test

    // On the fixture's own connection; positional ? binds; raise on error (test fails).
    void exec(const QString& sql, const QVariantList& binds = {});
    QVariant scalar(const QString& sql, const QVariantList& binds = {});
    QList<QVariantList> rows(const QString& sql, const QVariantList& binds = {});

    // Creates and connects rdmCancelaProd (SetUp does it; tests that free it can call again).
    void connectModule();
    void freeModule();

    // Another till: a data module of its own, connected to this test's
    // database. It never waits for a lock: a statement that would wait for one
    // held elsewhere fails at once, so a test can run it in the middle of the
    // module's call (see afterStatement) without waiting for itself.
    std::unique_ptr<TrdmCancelaProd> otherTill();
    // Runs service calls as that till (the service functions work on rdmCancelaProd).
    template <typename Call> static auto asTill(TrdmCancelaProd& till, Call&& call)
    {
        TrdmCancelaProd* own = rdmCancelaProd;
        rdmCancelaProd = &till;
        auto result = call();
        rdmCancelaProd = own;
        return result;
    }

    // Runs the disabled test `workerTest` of this program in two processes at
    // once, two tills on this test's database, each making `calls` calls (it
    // reads KVP_TILL_CALLS); both must pass.
    void runTillsAtOnce(const QString& workerTest, int calls);

    // Runs `action` once, right after the module's connection has run the
    // statement named `statement` (any statement when empty): inside the call,
    // between a read and the writes that follow it.
    void afterStatement(const QString& statement, std::function<void()> action);
    // Makes the module's connection fail with a real database error right after
    // its n-th statement (counted from now).
    void failAfterStatement(int n);
    // Calls `write` once per statement it runs, failing it right after the
    // first, then the second statement, and so on, checking `nothingStayed`
    // after each failure, until a call runs through. Returns how many statement
    // positions failed.
    int failEachStatement(const std::function<QVariant()>& write, const std::function<void(int)>& nothingStayed,
                          const QVariant& success = QVariant());

private:
    QString m_url;
    QString m_connectionName;
    QString m_pgSchema;
    QString m_sqliteFile;
};

#define KVP_INSTANTIATE_ENGINES(Suite)                                                                                 \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite, ::testing::Values(TestEngine::SQLite, TestEngine::PostgreSQL), EngineName)
