#include "DbFixture.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTimeZone>
#include <QUrl>
#include <stdexcept>

#include "Exception.h"
#include "Schema.h"

namespace {

QAtomicInt fixtureSerial;

QString uniqueSuffix()
{
    return QStringLiteral("%1_%2_%3")
        .arg(QCoreApplication::applicationPid())
        .arg(fixtureSerial.fetchAndAddOrdered(1) + 1)
        .arg(QRandomGenerator::global()->bounded(1000000));
}

QSqlQuery runOn(const QString& connectionName, const QString& sql, const QVariantList& binds)
{
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    // PostgreSQL prepares only queries and data changes; DDL runs as it is.
    bool ok = binds.isEmpty() ? q.exec(sql) : q.prepare(sql);
    if (ok && !binds.isEmpty()) {
        for (const QVariant& b : binds)
            q.addBindValue(b);
        ok = q.exec();
    }
    if (!ok)
        throw std::runtime_error(QStringLiteral("%1\n  in: %2").arg(q.lastError().text(), sql).toStdString());
    return q;
}

void runPlain(const QString& connectionName, const QString& sql)
{
    QSqlQuery q(QSqlDatabase::database(connectionName, false));
    if (!q.exec(sql))
        throw std::runtime_error(QStringLiteral("%1\n  in: %2").arg(q.lastError().text(), sql).toStdString());
}

} // namespace

std::string EngineName(const ::testing::TestParamInfo<TestEngine>& info)
{
    return info.param == TestEngine::SQLite ? "SQLite" : "PostgreSQL";
}

void DbEngineTest::SetUp()
{
    m_connectionName = QStringLiteral("fixture_%1").arg(uniqueSuffix());
    TSqlDialect dialect = TSqlDialect::SQLite;

    if (engine() == TestEngine::PostgreSQL) {
        const QString base = qEnvironmentVariable("KVP_TEST_PG_URL").trimmed();
        if (base.isEmpty()) {
            m_connectionName.clear();
            if (!qEnvironmentVariableIsEmpty("CI"))
                FAIL() << "KVP_TEST_PG_URL is not set: the PostgreSQL tests cannot run under CI without a server";
            GTEST_SKIP() << "KVP_TEST_PG_URL is not set; PostgreSQL tests skipped";
        }
        const QUrl url(base);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
        db.setHostName(url.host());
        db.setPort(url.port(5432));
        db.setUserName(url.userName(QUrl::FullyDecoded));
        db.setPassword(url.password(QUrl::FullyDecoded));
        QString name = url.path(QUrl::FullyDecoded);
        while (name.startsWith(QLatin1Char('/')))
            name.remove(0, 1);
        db.setDatabaseName(name.isEmpty() ? url.userName(QUrl::FullyDecoded) : name);
        db.setConnectOptions(QStringLiteral("connect_timeout=10"));
        if (!db.open())
            FAIL() << "cannot reach the test PostgreSQL server " << base.toStdString() << ": "
                   << db.lastError().text().toStdString();
        m_pgSchema = QStringLiteral("kvp_t_%1").arg(uniqueSuffix());
        runPlain(m_connectionName, QStringLiteral("CREATE SCHEMA %1").arg(m_pgSchema));
        runPlain(m_connectionName, QStringLiteral("SET search_path TO %1").arg(m_pgSchema));
        runPlain(m_connectionName, QStringLiteral("SET client_min_messages TO warning"));
        // As the module's session: time stamps bound here mean the machine's local time.
        const QString zone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
        if (!zone.isEmpty())
            runPlain(m_connectionName, QStringLiteral("SET TIME ZONE '%1'").arg(zone));
        m_url = base + (base.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?'))
            + QStringLiteral("options=")
            + QString::fromLatin1(QUrl::toPercentEncoding(QStringLiteral("-c search_path=%1").arg(m_pgSchema)));
        dialect = TSqlDialect::PostgreSQL;
    } else {
        m_sqliteFile = QDir(QDir::tempPath()).filePath(QStringLiteral("kvp-test-%1.db").arg(uniqueSuffix()));
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        db.setDatabaseName(m_sqliteFile);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=10000"));
        if (!db.open())
            FAIL() << "cannot create " << m_sqliteFile.toStdString() << ": " << db.lastError().text().toStdString();
        runPlain(m_connectionName, QStringLiteral("PRAGMA journal_mode=WAL"));
        m_url = m_sqliteFile;
    }

    for (const QString& ddl : KvpSchema::CreateStatements(dialect))
        runPlain(m_connectionName, ddl);

    qputenv("KVP_DATABASE", m_url.toUtf8());
    connectModule();
}

void DbEngineTest::TearDown()
{
    freeModule();
    if (!m_connectionName.isEmpty()) {
        {
            QSqlDatabase db = QSqlDatabase::database(m_connectionName, false);
            if (db.isOpen() && !m_pgSchema.isEmpty()) {
                QSqlQuery q(db);
                q.exec(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(m_pgSchema));
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(m_connectionName);
        m_connectionName.clear();
    }
    if (!m_sqliteFile.isEmpty()) {
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(m_sqliteFile + QLatin1String(suffix));
        m_sqliteFile.clear();
    }
    m_pgSchema.clear();
    qunsetenv("KVP_DATABASE");
}

void DbEngineTest::exec(const QString& sql, const QVariantList& binds)
{
    runOn(m_connectionName, sql, binds);
}

QVariant DbEngineTest::scalar(const QString& sql, const QVariantList& binds)
{
    QSqlQuery q = runOn(m_connectionName, sql, binds);
    if (!q.next())
        return QVariant();
    return q.isNull(0) ? QVariant() : q.value(0);
}

QList<QVariantList> DbEngineTest::rows(const QString& sql, const QVariantList& binds)
{
    QSqlQuery q = runOn(m_connectionName, sql, binds);
    QList<QVariantList> result;
    const int columns = q.record().count();
    while (q.next()) {
        QVariantList row;
        for (int c = 0; c < columns; ++c)
            row << (q.isNull(c) ? QVariant() : q.value(c));
        result << row;
    }
    return result;
}

void DbEngineTest::connectModule()
{
    freeModule();
    rdmCancelaProd = new TrdmCancelaProd();
    try {
        rdmCancelaProd->adcCancelaProd.Open();
    } catch (const Exception& e) {
        FAIL() << "the data module did not connect: " << e.Message().toStdString();
    }
}

void DbEngineTest::freeModule()
{
    delete rdmCancelaProd;
    rdmCancelaProd = nullptr;
}

std::unique_ptr<TrdmCancelaProd> DbEngineTest::otherTill()
{
    auto till = std::make_unique<TrdmCancelaProd>();
    TADOConnection& c = till->adcCancelaProd;
    c.Open();
    c.Execute(engine() == TestEngine::PostgreSQL ? QStringLiteral("SET lock_timeout = 1")
                                                 : QStringLiteral("PRAGMA busy_timeout = 0"));
    return till;
}

void DbEngineTest::afterStatement(const QString& statement, std::function<void()> action)
{
    auto pending = std::make_shared<std::function<void()>>(std::move(action));
    rdmCancelaProd->adcCancelaProd.OnExecuteComplete = [statement, pending](TADOConnection&, const QString& name) {
        if (*pending && (statement.isEmpty() || name == statement)) {
            const auto run = std::exchange(*pending, nullptr);
            run();
        }
    };
}

void DbEngineTest::failAfterStatement(int n)
{
    auto count = std::make_shared<int>(0);
    rdmCancelaProd->adcCancelaProd.OnExecuteComplete = [n, count](TADOConnection& c, const QString&) {
        if (++*count == n)
            c.Execute(QStringLiteral("SELECT * FROM FALHA_NO_MEIO_DA_ESCRITA"));
    };
}

int DbEngineTest::failEachStatement(const std::function<QVariant()>& write,
                                    const std::function<void(int)>& nothingStayed, const QVariant& success)
{
    int n = 1;
    for (; n < 100; ++n) {
        failAfterStatement(n);
        const QVariant r = write();
        rdmCancelaProd->adcCancelaProd.OnExecuteComplete = nullptr;
        if (r == success)
            break;
        EXPECT_TRUE(r.toString().contains(QLatin1String("FALHA_NO_MEIO_DA_ESCRITA"), Qt::CaseInsensitive))
            << "after statement " << n << ": " << r.toString().toStdString();
        EXPECT_FALSE(rdmCancelaProd->adcCancelaProd.InTransaction()) << "after statement " << n;
        nothingStayed(n);
    }
    return n - 1;
}

void DbEngineTest::runTillsAtOnce(const QString& workerTest, int calls)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KVP_DATABASE"), databaseUrl());
    env.insert(QStringLiteral("KVP_TILL_CALLS"), QString::number(calls));
    std::unique_ptr<QProcess> tills[2];
    for (auto& p : tills) {
        p = std::make_unique<QProcess>();
        p->setProcessEnvironment(env);
        p->setProcessChannelMode(QProcess::MergedChannels);
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--gtest_filter=") + workerTest, QStringLiteral("--gtest_also_run_disabled_tests")});
    }
    for (auto& p : tills) {
        ASSERT_TRUE(p->waitForFinished(300000));
        const QString saida = QString::fromUtf8(p->readAll());
        EXPECT_EQ(p->exitCode(), 0) << saida.toStdString();
        EXPECT_TRUE(saida.contains(QLatin1String("[  PASSED  ] 1 test"))) << saida.toStdString();
    }
}
