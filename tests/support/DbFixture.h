#pragma once
// Database tests run once per engine: every test gets an empty database with the
// schema (a SQLite file of its own, or a schema of its own on the test
// PostgreSQL server named by KVP_TEST_PG_URL), KVP_DATABASE pointing at it, and
// rdmCancelaProd created and connected. Arranging and checking go through a
// connection of the fixture's own, never through the module's.
#include <QList>
#include <QString>
#include <QVariant>
#include <gtest/gtest.h>

enum class TestEngine { SQLite, PostgreSQL };

std::string EngineName(const ::testing::TestParamInfo<TestEngine>& info);

class DbEngineTest : public ::testing::TestWithParam<TestEngine> {
protected:
    void SetUp() override;       // skips PostgreSQL only outside CI when no server is given
    void TearDown() override;    // frees rdmCancelaProd, drops the database

    TestEngine engine() const { return GetParam(); }
    QString databaseUrl() const { return m_url; }   // the KVP_DATABASE value of this test

    // On the fixture's own connection; positional ? binds; raise on error (test fails).
    void exec(const QString& sql, const QVariantList& binds = {});
    QVariant scalar(const QString& sql, const QVariantList& binds = {});
    QList<QVariantList> rows(const QString& sql, const QVariantList& binds = {});

    // Creates and connects rdmCancelaProd (SetUp does it; tests that free it can call again).
    void connectModule();
    void freeModule();

private:
    QString m_url;
    QString m_connectionName;
    QString m_pgSchema;
    QString m_sqliteFile;
};

#define KVP_INSTANTIATE_ENGINES(Suite)                                                          \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite,                                                    \
                             ::testing::Values(TestEngine::SQLite, TestEngine::PostgreSQL), EngineName)
