// Databases that upgrade in place: a database made by the first schema (kept
// as SQL text per engine, with rows) reaches the current one through
// `kvp-dbinit --upgrade` and keeps every row; a second upgrade changes
// nothing; a newer or foreign database is refused untouched; the package and
// the till refuse an old database at connect time with the way out; the
// tills' role runs a whole cancellation and cannot change the schema.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUrl>

#include "Connection.h"
#include "DbFixture.h"
#include "Exception.h"
#include "RdmCancelaProd.h"
#include "Schema.h"
#include "Srv_kvp00917.h"

namespace {

struct Execucao {
    int exitCode = -1;
    QString out;
    QString err;
};

Execucao runProgram(const QString& program, const QStringList& args, const QProcessEnvironment& env = {})
{
    QProcess p;
    const QString bin = qEnvironmentVariable("KVP_BIN_DIR", QCoreApplication::applicationDirPath());
    QProcessEnvironment e = env.isEmpty() ? QProcessEnvironment::systemEnvironment() : env;
    e.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(e);
    p.start(bin + QLatin1Char('/') + program, args);
    Execucao r;
    if (!p.waitForFinished(180000)) {
        p.kill();
        p.waitForFinished();
        r.err = program + QStringLiteral(" did not finish");
        return r;
    }
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

QString fixture(const QString& name)
{
    QFile f(QStringLiteral(KVP_FIXTURES_DIR "/") + name);
    if (!f.open(QIODevice::ReadOnly))
        throw std::runtime_error(("missing fixture " + name).toStdString());
    return QString::fromUtf8(f.readAll());
}

// Statements of a fixture: ';' at the end of a line ends one; "--" lines are comments.
QStringList statementsOf(const QString& text)
{
    QStringList statements;
    QString current;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1String("--")))
            continue;
        current += line + QLatin1Char('\n');
        if (line.trimmed().endsWith(QLatin1Char(';'))) {
            current = current.trimmed();
            current.chop(1);
            statements << current;
            current.clear();
        }
    }
    return statements;
}

class UpgradeTest : public DbEngineTest {
protected:
    void TearDown() override
    {
        freeModule();
        if (!m_schema.isEmpty())
            exec(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(m_schema));
        if (!m_role.isEmpty()) {
            exec(QStringLiteral("DROP OWNED BY %1").arg(m_role));
            exec(QStringLiteral("DROP ROLE %1").arg(m_role));
        }
        DbEngineTest::TearDown();
    }

    // A database of its own for the tool (a file, or a schema on the test
    // server), with `prefix` reaching its tables from the fixture's connection.
    QString otherDatabase()
    {
        if (engine() == TestEngine::SQLite) {
            const QString db = QDir(m_dir.path()).filePath(QStringLiteral("vendas.db"));
            // Attaching creates the file.
            exec(QStringLiteral("ATTACH DATABASE ? AS novo"), {db});
            m_prefix = QStringLiteral("novo.");
            return db;
        }
        m_schema = QStringLiteral("kvp_upg_%1").arg(QCoreApplication::applicationPid());
        exec(QStringLiteral("CREATE SCHEMA %1").arg(m_schema));
        m_prefix = m_schema + QLatin1Char('.');
        return withSchema(qEnvironmentVariable("KVP_TEST_PG_URL"));
    }

    QString withSchema(const QString& url) const
    {
        return url + (url.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) + QStringLiteral("options=")
            + QString::fromLatin1(QUrl::toPercentEncoding(QStringLiteral("-c search_path=%1").arg(m_schema)));
    }

    // Runs a fixture's statements on the tool's database, its tables named with the prefix.
    void load(const QString& name)
    {
        static const QRegularExpression table(QStringLiteral("\\b(CREATE TABLE|INSERT INTO|ON) ([A-Z]+)\\b"));
        static const QRegularExpression index(QStringLiteral("\\bCREATE INDEX ([A-Z_]+)"));
        for (QString sql : statementsOf(fixture(name))) {
            sql.replace(table, QStringLiteral("\\1 ") + m_prefix + QStringLiteral("\\2"));
            // SQLite names an attached database's index, not its table.
            if (engine() == TestEngine::SQLite)
                sql.replace(index, QStringLiteral("CREATE INDEX ") + m_prefix + QStringLiteral("\\1"));
            if (engine() == TestEngine::SQLite)
                sql.replace(QStringLiteral(" ON ") + m_prefix, QStringLiteral(" ON "));
            exec(sql);
        }
    }

    void loadFirstSchema()
    {
        load(engine() == TestEngine::SQLite ? QStringLiteral("esquema-v1.sqlite.sql")
                                            : QStringLiteral("esquema-v1.postgresql.sql"));
        load(QStringLiteral("dados-v1.sql"));
    }

    QString t(const QString& table) const { return m_prefix + table; }

    // Every row of every table of the module, as text, table by table.
    QStringList everyRow()
    {
        QStringList all;
        for (const KvpSchema::Table& table : KvpSchema::Tables()) {
            QStringList names;
            for (const KvpSchema::Column& c : table.Columns)
                names << c.Name;
            for (const QVariantList& row : rows(QStringLiteral("SELECT %1 FROM %2 ORDER BY %1")
                                                    .arg(names.join(QStringLiteral(", ")), t(table.Name)))) {
                QStringList values;
                for (const QVariant& v : row)
                    values << (v.isNull() ? QStringLiteral("<null>") : v.toString());
                all << table.Name + QLatin1Char('|') + values.join(QLatin1Char('|'));
            }
        }
        return all;
    }

    QStringList indexColumns(const QString& index)
    {
        QList<QVariantList> found = engine() == TestEngine::SQLite
            ? rows(QStringLiteral("SELECT name FROM pragma_index_info('%1', 'novo') ORDER BY seqno").arg(index))
            : rows(QStringLiteral("SELECT a.attname FROM pg_index x JOIN pg_class i ON i.oid = x.indexrelid "
                                  "JOIN pg_namespace n ON n.oid = i.relnamespace "
                                  "CROSS JOIN LATERAL unnest(x.indkey) WITH ORDINALITY AS k(attnum, ord) "
                                  "JOIN pg_attribute a ON a.attrelid = x.indrelid AND a.attnum = k.attnum "
                                  "WHERE n.nspname = ? AND i.relname = ? ORDER BY k.ord"),
                   {m_schema, index.toLower()});
        QStringList columns;
        for (const QVariantList& row : found)
            columns << row.value(0).toString().toUpper();
        return columns;
    }

    int versionRows()
    {
        return scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(t(QStringLiteral("KVPVERSAO")))).toInt();
    }

    QStringList backups() const { return QDir(m_dir.path()).entryList({QStringLiteral("*.bak*")}, QDir::Files); }

    // The package's connect, as a call makes it: the error it raises, empty when it connected.
    QString moduleConnectError(const QString& db)
    {
        qputenv("KVP_DATABASE", db.toUtf8());
        freeModule();
        rdmCancelaProd = new TrdmCancelaProd();
        try {
            ConectaModuloDados();
        } catch (const Exception& e) {
            return e.Message();
        }
        return QString();
    }

    QTemporaryDir m_dir;
    QString m_schema;
    QString m_prefix;
    QString m_role;
};

TEST_P(UpgradeTest, FirstSchemaReachesTheCurrentOneKeepingEveryRowAndASecondRunChangesNothing)
{
    const QString db = otherDatabase();
    loadFirstSchema();
    const QStringList before = everyRow();
    ASSERT_GT(before.size(), 10);
    ASSERT_EQ(indexColumns(QStringLiteral("IX_VENDAREST_MESA")),
              (QStringList{QStringLiteral("CDFILIAL"), QStringLiteral("CDLOJA"), QStringLiteral("NRMESA")}));

    // The package and the till say what to do instead of failing on a statement later.
    const QString refused = moduleConnectError(db);
    EXPECT_TRUE(refused.contains(QStringLiteral("kvp-dbinit --upgrade"))) << refused.toStdString();
    EXPECT_TRUE(refused.contains(QStringLiteral("não registra a versão do esquema"))) << refused.toStdString();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("KVP_DATABASE"), db);
    const Execucao report = runProgram(QStringLiteral("till"), {QStringLiteral("--report")}, env);
    EXPECT_EQ(report.exitCode, 1);
    EXPECT_TRUE(report.err.contains(QStringLiteral("kvp-dbinit --upgrade"))) << report.err.toStdString();

    const Execucao upgrade = runProgram(QStringLiteral("kvp-dbinit"), {db, QStringLiteral("--upgrade")});
    ASSERT_EQ(upgrade.exitCode, 0) << upgrade.err.toStdString();
    EXPECT_TRUE(upgrade.out.contains(QStringLiteral("índice IX_VENDAREST_MESA refeito"))) << upgrade.out.toStdString();
    EXPECT_EQ(indexColumns(QStringLiteral("IX_VENDAREST_MESA")),
              (QStringList{QStringLiteral("CDFILIAL"), QStringLiteral("CDLOJA"), QStringLiteral("NRMESA"),
                           QStringLiteral("DTHRFECHMESA")}));
    EXPECT_EQ(everyRow(), before);
    EXPECT_EQ(scalar(QStringLiteral("SELECT MAX(NRVERSAO) FROM %1").arg(t(QStringLiteral("KVPVERSAO")))).toInt(),
              kVersaoEsquema);
    if (engine() == TestEngine::SQLite) {
        EXPECT_EQ(backups(), QStringList{QStringLiteral("vendas.db.v0.bak")});
    }

    const QStringList upgraded = everyRow();
    const Execucao again = runProgram(QStringLiteral("kvp-dbinit"), {db, QStringLiteral("--upgrade")});
    EXPECT_EQ(again.exitCode, 0) << again.err.toStdString();
    EXPECT_TRUE(again.out.contains(QStringLiteral("Nada foi alterado"))) << again.out.toStdString();
    EXPECT_EQ(everyRow(), upgraded);
    EXPECT_EQ(versionRows(), 1);
    if (engine() == TestEngine::SQLite) {
        EXPECT_EQ(backups().size(), 1) << "nothing to do, nothing copied";
    }

    // The module now opens the old rows.
    EXPECT_EQ(moduleConnectError(db), QString());
}

TEST_P(UpgradeTest, MissingTablesAndColumnsAreAddedWithTheirDefaults)
{
    const QString db = otherDatabase();
    loadFirstSchema();
    exec(QStringLiteral("DROP TABLE %1").arg(t(QStringLiteral("MOVBENEFICIOCTR"))));
    exec(QStringLiteral("ALTER TABLE %1 DROP COLUMN IDPRODREFIL").arg(t(QStringLiteral("ITCOMANDAVEN"))));
    const int items = scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(t(QStringLiteral("ITCOMANDAVEN")))).toInt();
    ASSERT_GT(items, 0);

    const Execucao upgrade = runProgram(QStringLiteral("kvp-dbinit"), {db, QStringLiteral("--upgrade")});
    ASSERT_EQ(upgrade.exitCode, 0) << upgrade.err.toStdString();
    EXPECT_TRUE(upgrade.out.contains(QStringLiteral("tabela MOVBENEFICIOCTR criada"))) << upgrade.out.toStdString();
    EXPECT_TRUE(upgrade.out.contains(QStringLiteral("coluna ITCOMANDAVEN.IDPRODREFIL criada")))
        << upgrade.out.toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(t(QStringLiteral("MOVBENEFICIOCTR")))).toInt(), 0);
    EXPECT_EQ(
        scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE IDPRODREFIL = 'N'").arg(t(QStringLiteral("ITCOMANDAVEN"))))
            .toInt(),
        items)
        << "rows that were there take the column's default";
    EXPECT_EQ(moduleConnectError(db), QString());
}

TEST_P(UpgradeTest, NewerOrForeignDatabasesAreRefusedAndLeftUntouched)
{
    const QString db = otherDatabase();
    ASSERT_EQ(runProgram(QStringLiteral("kvp-dbinit"), {db, QStringLiteral("--demo")}).exitCode, 0);
    exec(QStringLiteral("INSERT INTO %1 (NRVERSAO) VALUES (%2)")
             .arg(t(QStringLiteral("KVPVERSAO")))
             .arg(kVersaoEsquema + 1));
    const QStringList newer = everyRow();
    const Execucao refused = runProgram(QStringLiteral("kvp-dbinit"), {db, QStringLiteral("--upgrade")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("mais nova"))) << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(QStringLiteral("Nada foi alterado"))) << refused.err.toStdString();
    EXPECT_EQ(everyRow(), newer);
    EXPECT_EQ(versionRows(), 2);
    EXPECT_TRUE(backups().isEmpty());
    const QString connect = moduleConnectError(db);
    EXPECT_TRUE(connect.contains(QStringLiteral("mais nova que a deste programa"))) << connect.toStdString();

    // Another system's tables, one of them named as one of ours.
    for (const KvpSchema::Table& table : KvpSchema::Tables())
        exec(QStringLiteral("DROP TABLE %1").arg(t(table.Name)));
    exec(QStringLiteral("DROP TABLE %1").arg(t(QStringLiteral("KVPVERSAO"))));
    exec(QStringLiteral("CREATE TABLE %1 (CDCLIENTE VARCHAR(10))").arg(t(QStringLiteral("CLIENTE"))));
    exec(QStringLiteral("CREATE TABLE %1 (CODIGO VARCHAR(10))").arg(t(QStringLiteral("PRODUTO"))));
    const Execucao foreign = runProgram(QStringLiteral("kvp-dbinit"), {db, QStringLiteral("--upgrade")});
    EXPECT_EQ(foreign.exitCode, 1);
    EXPECT_TRUE(foreign.err.contains(QStringLiteral("não é um banco deste sistema"))) << foreign.err.toStdString();
    const QString tables = engine() == TestEngine::SQLite
        ? QStringLiteral("SELECT UPPER(name) FROM novo.sqlite_master WHERE type = 'table' ORDER BY 1")
        : QStringLiteral("SELECT UPPER(table_name) FROM information_schema.tables WHERE table_schema = '%1' ORDER BY 1")
              .arg(m_schema);
    EXPECT_EQ(rows(tables), (QList<QVariantList>{{QStringLiteral("CLIENTE")}, {QStringLiteral("PRODUTO")}}));
    EXPECT_TRUE(backups().isEmpty());

    // A table of ours without its key column: not ours either.
    exec(QStringLiteral("CREATE TABLE %1 (CDFILIAL VARCHAR(4))").arg(t(QStringLiteral("VENDAREST"))));
    exec(QStringLiteral("CREATE TABLE %1 (CDFILIAL VARCHAR(4), NRCOMANDA VARCHAR(10))")
             .arg(t(QStringLiteral("COMANDAVEN"))));
    exec(QStringLiteral("CREATE TABLE %1 (CDFILIAL VARCHAR(4))").arg(t(QStringLiteral("ITCOMANDAVEN"))));
    const Execucao keyless = runProgram(QStringLiteral("kvp-dbinit"), {db, QStringLiteral("--upgrade")});
    EXPECT_EQ(keyless.exitCode, 1);
    EXPECT_TRUE(keyless.err.contains(QStringLiteral("não tem a coluna"))) << keyless.err.toStdString();
    EXPECT_EQ(rows(tables).size(), 5) << "no table created";
}

TEST_P(UpgradeTest, TheTillsRoleCancelsAnItemAndCannotChangeTheSchema)
{
    const QString db = otherDatabase();
    m_role = QStringLiteral("kvp_caixa_%1").arg(QCoreApplication::applicationPid());
    const Execucao created = runProgram(QStringLiteral("kvp-dbinit"),
                                        {db, QStringLiteral("--demo"), QStringLiteral("--role"), m_role});
    if (engine() == TestEngine::SQLite) {
        // A file has no roles: said, not pretended.
        m_role.clear();
        EXPECT_EQ(created.exitCode, 1);
        EXPECT_TRUE(created.err.contains(QStringLiteral("só vale para PostgreSQL"))) << created.err.toStdString();
        EXPECT_EQ(rows(QStringLiteral("SELECT name FROM novo.sqlite_master")), QList<QVariantList>())
            << "nothing created";
        return;
    }
    ASSERT_EQ(created.exitCode, 0) << created.err.toStdString();

    // The test server trusts loopback: the role logs in by name.
    QUrl url(qEnvironmentVariable("KVP_TEST_PG_URL"));
    url.setUserName(m_role);
    url.setPassword(QString());
    const QString asTill = withSchema(url.toString());

    QFile example(QStringLiteral(KVP_SCENARIOS_DIR "/cancela-feijoada.json"));
    ASSERT_TRUE(example.open(QIODevice::ReadOnly));
    QJsonObject scenario = QJsonDocument::fromJson(example.readAll()).object();
    scenario.insert(QStringLiteral("database"), asTill);
    const QString file = m_dir.filePath(QStringLiteral("cenario.json"));
    const QString record = m_dir.filePath(QStringLiteral("registro.json"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(QJsonDocument(scenario).toJson());
    out.close();
    const Execucao run = runProgram(QStringLiteral("till"),
                                    {QStringLiteral("--scenario"), file, QStringLiteral("--record"), record});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QFile recorded(record);
    ASSERT_TRUE(recorded.open(QIODevice::ReadOnly));
    const QJsonObject outcome
        = QJsonDocument::fromJson(recorded.readAll()).object().value(QStringLiteral("outcome")).toObject();
    EXPECT_EQ(outcome.value(QStringLiteral("ended")).toString(), QStringLiteral("concluido"))
        << outcome.value(QStringLiteral("error")).toString().toStdString();
    EXPECT_EQ(scalar(QStringLiteral("SELECT IDSTPRCOMVEN FROM %1 WHERE NRCOMANDA = '1010' AND NRPRODCOMVEN = '000007'")
                         .arg(t(QStringLiteral("ITCOMANDAVEN"))))
                  .toString(),
              QStringLiteral("6"));

    // The same role, straight: what a till never does is refused by the server.
    QSqlDatabase till = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("papel"));
    till.setHostName(url.host());
    till.setPort(url.port(5432));
    till.setUserName(m_role);
    till.setDatabaseName(url.path().mid(1));
    ASSERT_TRUE(till.open()) << till.lastError().text().toStdString();
    {
        QSqlQuery q(till);
        ASSERT_TRUE(q.exec(QStringLiteral("SET search_path TO %1").arg(m_schema)));
        EXPECT_TRUE(q.exec(QStringLiteral("SELECT COUNT(*) FROM VENDAREST")));
        for (const char* sql : {"CREATE TABLE XTESTE (A INTEGER)", "ALTER TABLE ITCOMANDAVEN ADD COLUMN XTESTE INTEGER",
                                "DROP INDEX IX_VENDAREST_MESA", "DELETE FROM ITCOMANDAVEN",
                                "UPDATE PRODUTO SET NMPRODUTO = 'x'", "INSERT INTO KVPVERSAO (NRVERSAO) VALUES (99)"})
            EXPECT_FALSE(q.exec(QString::fromLatin1(sql))) << sql;
    }
    till.close();
    till = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("papel"));
}

KVP_INSTANTIATE_ENGINES(UpgradeTest);

} // namespace
