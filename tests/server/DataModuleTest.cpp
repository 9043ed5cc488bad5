// The data module's connection, statements and transactions against a real
// database of each engine.
#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "ADOSqlStorage.h"
#include "Connection.h"
#include "DadosComanda.h"
#include "DbFixture.h"
#include "Exception.h"
#include "QrvProxCodigo.h"
#include "RdmCancelaProd.h"
#include "ServiceGuard.h"
#include "Srv_kvp00917.h"

namespace {

class DataModuleTest : public DbEngineTest {
protected:
    TADOConnection& con() { return rdmCancelaProd->adcCancelaProd; }

    void addProduto(const QString& code, const QVariant& name)
    {
        exec(QStringLiteral("INSERT INTO PRODUTO (CDPRODUTO, NMPRODUTO) VALUES (?, ?)"), {code, name});
    }
    void addItem(const QString& filial, const QString& comanda, const QString& numero)
    {
        exec(QStringLiteral("INSERT INTO ITCOMANDAVEN (CDFILIAL, NRCOMANDA, NRPRODCOMVEN) VALUES (?, ?, ?)"),
             {filial, comanda, numero});
    }
    int produtos() { return scalar(QStringLiteral("SELECT COUNT(*) FROM PRODUTO")).toInt(); }
};

TEST_P(DataModuleTest, FailingStatementBecomesOperatorTextWithoutRaising)
{
    addProduto(QStringLiteral("P1"), QStringLiteral("Filé"));
    TADOQuery good(&con(), QStringLiteral("adqTesteBom"));
    good.SetSQL(QStringLiteral("SELECT CDPRODUTO, NMPRODUTO FROM PRODUTO"));
    TDataSetProvider provider(&good, QStringLiteral("dspTesteBom"));
    const QVariant ok = RunService([&](TrdmCancelaProd&) { return provider.Data(); });
    ASSERT_TRUE(IsDataPacket(ok));
    EXPECT_EQ(ToDataPacket(ok).Rows.size(), 1);
    EXPECT_FALSE(good.Active()) << "a provider closes the query it opened";

    TADOQuery bad(&con(), QStringLiteral("adqTesteRuim"));
    bad.SetSQL(QStringLiteral("SELECT COLUNAINEXISTENTE FROM PRODUTO WHERE CDPRODUTO = :P_CDPRODUTO"));
    bad.SetParam(QStringLiteral("P_CDPRODUTO"), QStringLiteral("P1"));
    QVariant result;
    EXPECT_NO_THROW(result = RunService([&](TrdmCancelaProd&) {
                        bad.Open();
                        return QVariant(true);
                    }));
    ASSERT_EQ(result.typeId(), QMetaType::QString);
    const QString text = result.toString();
    EXPECT_TRUE(text.startsWith(QStringLiteral("Erro no banco de dados: "))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("colunainexistente"), Qt::CaseInsensitive)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("adqTesteRuim"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("SELECT"))) << "no statement dump: " << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1Char('\n'))) << text.toStdString();

    // Neither a failing conversion nor an unknown exception escapes.
    const QVariant conv = RunService(
        [](TrdmCancelaProd&) -> QVariant { throw EConvertError(QStringLiteral("'1,x' inválido")); });
    EXPECT_EQ(conv.toString(), QStringLiteral("'1,x' inválido"));
    const QVariant unknown = RunService([](TrdmCancelaProd&) -> QVariant { throw 42; });
    EXPECT_EQ(unknown.typeId(), QMetaType::QString);
    EXPECT_FALSE(unknown.toString().isEmpty());
}

TEST_P(DataModuleTest, StartTransInsideAnOpenTransactionJoinsIt)
{
    TADOCommand insert(&con(), QStringLiteral("acmTeste"));
    insert.SetSQL(QStringLiteral("INSERT INTO PRODUTO (CDPRODUTO, NMPRODUTO) VALUES (:C, :N)"));

    // Outside a transaction: the end operations do nothing.
    EXPECT_FALSE(con().InTransaction());
    EXPECT_NO_THROW(rdmCancelaProd->CommitTrans());
    EXPECT_NO_THROW(rdmCancelaProd->RollbackTrans());

    rdmCancelaProd->StartTrans();
    ASSERT_TRUE(con().InTransaction());
    insert.SetParam(QStringLiteral("C"), QStringLiteral("P1"));
    insert.SetParam(QStringLiteral("N"), QStringLiteral("um"));
    insert.Execute();
    rdmCancelaProd->StartTrans(); // already open: joins, neither nests nor commits
    insert.SetParam(QStringLiteral("C"), QStringLiteral("P2"));
    insert.Execute();
    rdmCancelaProd->RollbackTrans();
    EXPECT_FALSE(con().InTransaction());
    EXPECT_EQ(produtos(), 0) << "both writes belonged to the one transaction";

    rdmCancelaProd->StartTrans();
    insert.SetParam(QStringLiteral("C"), QStringLiteral("P3"));
    insert.Execute();
    rdmCancelaProd->CommitTrans();
    EXPECT_FALSE(con().InTransaction());
    EXPECT_EQ(produtos(), 1);

    // Outside a transaction every write commits by itself.
    insert.SetParam(QStringLiteral("C"), QStringLiteral("P4"));
    insert.Execute();
    EXPECT_EQ(produtos(), 2);

    con().BeginTrans();
    EXPECT_THROW(con().BeginTrans(), EDatabaseError) << "a nested begin would go unnoticed";
    con().RollbackTrans();
    EXPECT_THROW(con().CommitTrans(), EDatabaseError);
}

TEST_P(DataModuleTest, RollbackRecoversTheConnectionAfterAFailureInATransaction)
{
    TADOCommand insert(&con(), QStringLiteral("acmTeste"));
    insert.SetSQL(QStringLiteral("INSERT INTO PRODUTO (CDPRODUTO, NMPRODUTO) VALUES (:C, 'x')"));
    rdmCancelaProd->StartTrans();
    insert.SetParam(QStringLiteral("C"), QStringLiteral("P1"));
    insert.Execute();
    EXPECT_THROW(insert.Execute(), EADOError) << "duplicate key";
    rdmCancelaProd->RollbackTrans();
    insert.SetParam(QStringLiteral("C"), QStringLiteral("P2"));
    EXPECT_NO_THROW(insert.Execute());
    EXPECT_EQ(rows(QStringLiteral("SELECT CDPRODUTO FROM PRODUTO")), (QList<QVariantList>{{QStringLiteral("P2")}}));
}

TEST_P(DataModuleTest, SqliteTransactionTakesTheWriteLockWhenItBegins)
{
    if (engine() != TestEngine::SQLite)
        GTEST_SKIP() << "PostgreSQL locks rows, not the database";
    rdmCancelaProd->StartTrans(); // nothing written yet

    const QString name = QStringLiteral("outroCaixa");
    {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        other.setDatabaseName(databaseUrl());
        other.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=0"));
        ASSERT_TRUE(other.open());
        QSqlQuery q(other);
        EXPECT_FALSE(q.exec(QStringLiteral("INSERT INTO PRODUTO (CDPRODUTO) VALUES ('X')")));
        EXPECT_EQ(q.lastError().nativeErrorCode(), QStringLiteral("5")) << q.lastError().text().toStdString();
        rdmCancelaProd->CommitTrans();
        EXPECT_TRUE(q.exec(QStringLiteral("INSERT INTO PRODUTO (CDPRODUTO) VALUES ('X')")));
        other.close();
    }
    QSqlDatabase::removeDatabase(name);
}

TEST_P(DataModuleTest, ParametersBindByNameOutsideLiteralsAndComments)
{
    TADOCommand insert(&con(), QStringLiteral("acmTeste"));
    insert.SetSQL(QStringLiteral("INSERT INTO PRODUTO (CDPRODUTO, NMPRODUTO, CDARVPROD, NMPRODIMPFIS) "
                                 "VALUES (:P_COD, ':P_NAO_E', :p_cod, :P_TEXTO) -- :P_COMENTARIO"));
    EXPECT_EQ(insert.ParamNames(), (QStringList{QStringLiteral("P_COD"), QStringLiteral("P_TEXTO")}));
    insert.SetParam(QStringLiteral("p_Cod"), QStringLiteral("A1"));
    insert.SetParam(QStringLiteral("P_TEXTO"), QStringLiteral("  com brancos  "));
    EXPECT_EQ(insert.Execute(), 1);

    insert.SetParam(QStringLiteral("P_COD"), QStringLiteral("A2"));
    insert.SetParam(QStringLiteral("P_TEXTO"), QString()); // empty text, not NULL
    insert.Execute();

    EXPECT_EQ(rows(QStringLiteral(
                  "SELECT CDPRODUTO, NMPRODUTO, CDARVPROD, NMPRODIMPFIS FROM PRODUTO ORDER BY CDPRODUTO")),
              (QList<QVariantList>{{QStringLiteral("A1"), QStringLiteral(":P_NAO_E"), QStringLiteral("A1"),
                                    QStringLiteral("  com brancos  ")},
                                   {QStringLiteral("A2"), QStringLiteral(":P_NAO_E"), QStringLiteral("A2"),
                                    QStringLiteral("")}}));

    EXPECT_THROW(insert.SetParam(QStringLiteral("P_OUTRO"), 1), EDatabaseError);

    // Columns too are found whatever the case they are asked in.
    TADOQuery lida(&con(), QStringLiteral("adqTeste"));
    lida.SetSQL(QStringLiteral("SELECT CDPRODUTO FROM PRODUTO WHERE CDPRODUTO = :P_COD"));
    lida.SetParam(QStringLiteral("p_cod"), QStringLiteral("A2"));
    lida.Open();
    EXPECT_EQ(lida.FieldAsString(QStringLiteral("cdProduto")), QStringLiteral("A2"));
    QStringList lidos;
    lida.ScanColumn(QStringLiteral("cdproduto"), [&lidos](const QVariant& v) { lidos << v.toString(); });
    EXPECT_EQ(lidos, QStringList{QStringLiteral("A2")});
    EXPECT_THROW(lida.ScanColumn(QStringLiteral("NMPRODUTO"), [](const QVariant&) {}), EDatabaseError);

    if (engine() == TestEngine::PostgreSQL) {
        TADOQuery cast(&con(), QStringLiteral("adqCast"));
        cast.SetSQL(
            QStringLiteral("SELECT CDPRODUTO::text AS C, :P_X::integer + 1 AS N FROM PRODUTO WHERE CDPRODUTO = :P_C"));
        EXPECT_EQ(cast.ParamNames(), (QStringList{QStringLiteral("P_X"), QStringLiteral("P_C")}));
        cast.SetParam(QStringLiteral("P_X"), 41);
        cast.SetParam(QStringLiteral("P_C"), QStringLiteral("A1"));
        cast.Open();
        EXPECT_EQ(cast.FieldValue(QStringLiteral("N")).toInt(), 42);
    }
}

TEST_P(DataModuleTest, UnboundPlaceholderIsAnErrorNamingItAndNothingRuns)
{
    TADOCommand insert(&con(), QStringLiteral("acmTeste"));
    insert.SetSQL(QStringLiteral("INSERT INTO PRODUTO (CDPRODUTO, NMPRODUTO) VALUES (:P_CDPRODUTO, :P_NMPRODUTO)"));
    insert.SetParam(QStringLiteral("P_CDPRODUTO"), QStringLiteral("P1"));
    try {
        insert.Execute();
        FAIL() << "executed with P_NMPRODUTO unbound";
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("P_NMPRODUTO"))) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains(QStringLiteral("acmTeste"))) << e.Message().toStdString();
    }
    EXPECT_EQ(produtos(), 0);

    // A value bound once stays for the next execution, as with a prepared statement.
    insert.SetParam(QStringLiteral("P_NMPRODUTO"), QVariant());
    insert.Execute();
    insert.SetParam(QStringLiteral("P_CDPRODUTO"), QStringLiteral("P2"));
    insert.Execute();
    EXPECT_EQ(scalar(QStringLiteral("SELECT COUNT(*) FROM PRODUTO WHERE NMPRODUTO IS NULL")).toInt(), 2);
}

TEST_P(DataModuleTest, OpenReadsTypedValuesAlikeOnEveryEngine)
{
    const QDateTime when(QDate(2024, 5, 1), QTime(19, 45, 12));
    exec(QStringLiteral("INSERT INTO ITCOMANDAVEN (CDFILIAL, NRCOMANDA, NRPRODCOMVEN, QTPRODCOMVEN, VRPRECCOMVEN, "
                        "DTHRINCOMVEN, TXPRODCOMVEN) VALUES ('0001', '10', '000001', 2, 0.29, ?, 'Sem gelo')"),
         {when});
    exec(QStringLiteral("INSERT INTO ITCOMANDAVEN (CDFILIAL, NRCOMANDA, NRPRODCOMVEN, QTPRODCOMVEN, VRPRECCOMVEN) "
                        "VALUES ('0001', '10', '000002', 0.355, 1234.56)"));

    TADOQuery q(&con(), QStringLiteral("adqTeste"));
    q.SetSQL(QStringLiteral("SELECT NRPRODCOMVEN, QTPRODCOMVEN, VRPRECCOMVEN, DTHRINCOMVEN, TXPRODCOMVEN, "
                            "COUNT(*) OVER () AS TOTAL FROM ITCOMANDAVEN WHERE NRCOMANDA = :P_NRCOMANDA "
                            "ORDER BY NRPRODCOMVEN"));
    q.SetParam(QStringLiteral("P_NRCOMANDA"), QStringLiteral("10"));
    q.Open();
    const TDataPacket& p = q.Packet();
    ASSERT_EQ(p.FieldDefs.size(), 6);
    EXPECT_EQ(p.FieldDefs[0].Name, QStringLiteral("NRPRODCOMVEN")) << "names in capitals on every engine";
    EXPECT_EQ(p.FieldDefs[0].DataType, TFieldType::ftString);
    EXPECT_EQ(p.FieldDefs[1].DataType, TFieldType::ftFloat);
    EXPECT_EQ(p.FieldDefs[3].DataType, TFieldType::ftDateTime);
    EXPECT_EQ(p.FieldDefs[5].DataType, TFieldType::ftInteger);
    ASSERT_EQ(q.RecordCount(), 2);
    EXPECT_EQ(q.FieldValue(QStringLiteral("VRPRECCOMVEN")).toDouble(), 0.29);
    EXPECT_EQ(q.FieldValue(QStringLiteral("DTHRINCOMVEN")).toDateTime(), when);
    EXPECT_EQ(q.FieldValue(QStringLiteral("TOTAL")).typeId(), QMetaType::Int);
    q.Next();
    EXPECT_EQ(q.FieldValue(QStringLiteral("QTPRODCOMVEN")).toDouble(), 0.355);
    EXPECT_EQ(q.FieldValue(QStringLiteral("VRPRECCOMVEN")).toDouble(), 1234.56);
    EXPECT_FALSE(q.FieldValue(QStringLiteral("DTHRINCOMVEN")).isValid()) << "null stays null";
    EXPECT_EQ(q.FieldAsString(QStringLiteral("TXPRODCOMVEN")), QString());
    EXPECT_THROW(q.FieldValue(QStringLiteral("NAOEXISTE")), EDatabaseError);

    // A field list fixes names, types and sizes; a column it names must exist.
    TADOQuery fixed(&con(), QStringLiteral("adqFixo"));
    fixed.SetSQL(QStringLiteral(
        "SELECT 'U' AS IDCHECK, NRPRODCOMVEN, TXPRODCOMVEN FROM ITCOMANDAVEN WHERE NRPRODCOMVEN = '000001'"));
    fixed.PersistentFields = {{QStringLiteral("TXPRODCOMVEN"), TFieldType::ftString, 3},
                              {QStringLiteral("NRPRODCOMVEN"), TFieldType::ftInteger}};
    fixed.Open();
    EXPECT_EQ(fixed.Packet().FieldDefs, fixed.PersistentFields);
    EXPECT_EQ(fixed.Packet().Rows, (QList<QVariantList>{{QStringLiteral("Sem"), 1}}));
    fixed.Close();
    fixed.PersistentFields.append({QStringLiteral("NMPRODUTO"), TFieldType::ftString, 50});
    EXPECT_THROW(fixed.Open(), EDatabaseError);
}

TEST_P(DataModuleTest, StoragesGiveEveryStatementTheTextOfTheDatabaseInUse)
{
    const TSqlDialect dialect = engine() == TestEngine::SQLite ? TSqlDialect::SQLite : TSqlDialect::PostgreSQL;
    EXPECT_EQ(con().Dialect(), dialect);
    for (TADOSqlStorage* storage : rdmCancelaProd->Storages()) {
        ASSERT_NE(storage->Linked, nullptr) << storage->Name().toStdString();
        EXPECT_EQ(storage->Linked->SQL(), storage->Texts.value(dialect)) << storage->Name().toStdString();
    }

    // A storage added before connecting is applied on connect.
    freeModule();
    rdmCancelaProd = new TrdmCancelaProd();
    TADOQuery own(&rdmCancelaProd->adcCancelaProd, QStringLiteral("adqProprio"));
    own.SetSQL(QStringLiteral("SELECT 'padrão' AS T"));
    TADOSqlStorage* storage = rdmCancelaProd->AddStorage(&own, QStringLiteral("assProprio"));
    storage->Texts[TSqlDialect::SQLite] = QStringLiteral("SELECT 'sqlite' AS T");
    storage->Texts[TSqlDialect::PostgreSQL] = QStringLiteral("SELECT 'postgres' AS T");
    storage->Texts[TSqlDialect::Oracle] = QStringLiteral("SELECT 'oracle' AS T FROM DUAL");
    rdmCancelaProd->adcCancelaProd.Open();
    own.Open();
    EXPECT_EQ(own.FieldAsString(QStringLiteral("T")),
              engine() == TestEngine::SQLite ? QStringLiteral("sqlite") : QStringLiteral("postgres"));

    // Without a text for this database the connect fails and says which.
    rdmCancelaProd->adcCancelaProd.Close();
    storage->Texts.remove(dialect);
    try {
        rdmCancelaProd->adcCancelaProd.Open();
        FAIL() << "connected without a text for " << DialectName(dialect).toStdString();
    } catch (const EDatabaseError& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("assProprio"))) << e.Message().toStdString();
        EXPECT_TRUE(e.Message().contains(DialectName(dialect))) << e.Message().toStdString();
    }
    EXPECT_FALSE(rdmCancelaProd->adcCancelaProd.Connected());
    freeModule();
}

TEST_P(DataModuleTest, NextItemNumberKeepsTheTabsFormat)
{
    TdtmQrvProxCodigo next(con());
    EXPECT_EQ(next.PrxItemComanda(QStringLiteral("0001"), QStringLiteral("10"), 1), QStringLiteral("000001"));

    addItem(QStringLiteral("0001"), QStringLiteral("10"), QStringLiteral("000001"));
    addItem(QStringLiteral("0001"), QStringLiteral("10"), QStringLiteral("000002"));
    addItem(QStringLiteral("0001"), QStringLiteral("10"), QStringLiteral("000010"));
    addItem(QStringLiteral("0001"), QStringLiteral("10"), QStringLiteral("ADIC01"));
    addItem(QStringLiteral("0001"), QStringLiteral("11"), QStringLiteral("000050"));
    addItem(QStringLiteral("0002"), QStringLiteral("10"), QStringLiteral("000070"));
    EXPECT_EQ(next.PrxItemComanda(QStringLiteral("0001"), QStringLiteral("10"), 1), QStringLiteral("000011"));
    EXPECT_EQ(next.PrxItemComanda(QStringLiteral("0001"), QStringLiteral("10"), 5), QStringLiteral("000015"));

    // By value, not by text: "99" sorts after "100".
    addItem(QStringLiteral("0001"), QStringLiteral("20"), QStringLiteral("99"));
    addItem(QStringLiteral("0001"), QStringLiteral("20"), QStringLiteral("100"));
    EXPECT_EQ(next.PrxItemComanda(QStringLiteral("0001"), QStringLiteral("20"), 1), QStringLiteral("101"));

    addItem(QStringLiteral("0001"), QStringLiteral("30"), QStringLiteral("999999"));
    EXPECT_THROW(next.PrxItemComanda(QStringLiteral("0001"), QStringLiteral("30"), 1), EDatabaseError);

    // Inside the caller's transaction it sees the caller's own new lines.
    rdmCancelaProd->StartTrans();
    TADOCommand insert(&con(), QStringLiteral("acmTeste"));
    insert.SetSQL(
        QStringLiteral("INSERT INTO ITCOMANDAVEN (CDFILIAL, NRCOMANDA, NRPRODCOMVEN) VALUES ('0001', '40', :N)"));
    insert.SetParam(QStringLiteral("N"), next.PrxItemComanda(QStringLiteral("0001"), QStringLiteral("40"), 1));
    insert.Execute();
    EXPECT_EQ(next.PrxItemComanda(QStringLiteral("0001"), QStringLiteral("40"), 1), QStringLiteral("000002"));
    rdmCancelaProd->RollbackTrans();
}

// While one till holds a number it took, not yet written, another till of
// the same tab gets none (it would get the same one); once the first has
// written it, the second gets the next.
TEST_P(DataModuleTest, TwoTillsTakeNumbersOfOneTabOneAfterTheOther)
{
    const QString filial = QStringLiteral("0001"), comanda = QStringLiteral("CONC10");
    const auto insere = [&](TADOConnection& c, const QString& numero) {
        TADOCommand insert(&c, QStringLiteral("acmTeste"));
        insert.SetSQL(
            QStringLiteral("INSERT INTO ITCOMANDAVEN (CDFILIAL, NRCOMANDA, NRPRODCOMVEN) VALUES (:F, :C, :N)"));
        insert.SetParam(QStringLiteral("F"), filial);
        insert.SetParam(QStringLiteral("C"), comanda);
        insert.SetParam(QStringLiteral("N"), numero);
        insert.Execute();
    };
    const auto outro = otherTill();
    TADOConnection& c = outro->adcCancelaProd;
    const auto numeroDoOutro = [&] {
        try {
            c.BeginTrans();
            const QString numero = TdtmQrvProxCodigo(c).PrxItemComanda(filial, comanda, 1);
            insere(c, numero);
            c.CommitTrans();
            return numero;
        } catch (const Exception&) {
            if (c.InTransaction())
                c.RollbackTrans();
            return QString();
        }
    };

    rdmCancelaProd->StartTrans();
    const QString first = TdtmQrvProxCodigo(con()).PrxItemComanda(filial, comanda, 1);
    ASSERT_EQ(first, QStringLiteral("000001"));
    EXPECT_EQ(numeroDoOutro(), QString()) << "the other till took a number while this one still held its own";
    EXPECT_NO_THROW(insere(con(), first));
    rdmCancelaProd->CommitTrans();
    EXPECT_EQ(numeroDoOutro(), QStringLiteral("000002"));
}

// The items of the default tab as the module reads them now.
int itensDaComanda()
{
    return PacketColumn(getItemMesa(od::kFilial, od::kComanda, QStringLiteral("CMD"), QString(), QString(), QString()),
                        QStringLiteral("NRPRODCOMVEN"))
        .size();
}

TEST_P(DataModuleTest, TheSessionOutlivesTheDataModuleUntilTheDatabaseSettingChanges)
{
    DadosComanda data([this](const QString& sql, const QVariantList& b) { exec(sql, b); });
    data.Produto({});
    data.VendaComComanda();
    data.Item({});
    ASSERT_EQ(itensDaComanda(), 1);
    const QString session = con().ConnectionName();
    const auto preparados = [this] {
        QSqlQuery q(con().Database());
        return q.exec(QStringLiteral("SELECT COUNT(*) FROM pg_prepared_statements")) && q.next() ? q.value(0).toInt()
                                                                                                 : -1;
    };
    const int preparadosAntes = engine() == TestEngine::PostgreSQL ? preparados() : 0;

    // The next call's data module takes the session over, statements prepared.
    connectModule();
    EXPECT_TRUE(con().SessionReused());
    EXPECT_EQ(con().ConnectionName(), session);
    EXPECT_EQ(itensDaComanda(), 1);
    if (engine() == TestEngine::PostgreSQL) {
        EXPECT_EQ(preparados(), preparadosAntes) << "a statement already seen is not planned again";
    }

    // Another database named between calls is the one the next call reaches.
    const QByteArray setting = qgetenv("KVP_DATABASE");
    const QString outro = engine() == TestEngine::SQLite ? databaseUrl() + QStringLiteral(".outro")
                                                         : QStringLiteral("postgresql://kvp@127.0.0.1:1/outro");
    qputenv("KVP_DATABASE", outro.toUtf8());
    freeModule();
    TrdmCancelaProd module;
    EXPECT_THROW(module.adcCancelaProd.Open(), EDatabaseError);
    EXPECT_TRUE(module.adcCancelaProd.LastError().contains(QStringLiteral("outro")))
        << module.adcCancelaProd.LastError().toStdString();

    qputenv("KVP_DATABASE", setting);
    connectModule();
    EXPECT_FALSE(con().SessionReused());
    EXPECT_EQ(itensDaComanda(), 1);
}

TEST_P(DataModuleTest, ASessionThatLostItsDatabaseIsReplacedWithoutAnError)
{
    DadosComanda data([this](const QString& sql, const QVariantList& b) { exec(sql, b); });
    data.Produto({});
    data.VendaComComanda();
    data.Item({});
    const QString file = databaseUrl();
    if (engine() == TestEngine::SQLite) {
        // A copy of the file as it is now, restored below over a newer one.
        exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
        ASSERT_TRUE(QFile::copy(file, file + QStringLiteral(".copia")));
        freeModule();
        data.Item({.NRPRODCOMVEN = QStringLiteral("000002")});
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(file + QLatin1String(suffix));
        ASSERT_TRUE(QFile::rename(file + QStringLiteral(".copia"), file));
    } else {
        // The server ends the session (a restart, an administrator).
        QSqlQuery q(con().Database());
        ASSERT_TRUE(q.exec(QStringLiteral("SELECT pg_backend_pid()")) && q.next());
        const int pid = q.value(0).toInt();
        q.finish();
        freeModule();
        exec(QStringLiteral("SELECT pg_terminate_backend(?)"), {pid});
        data.Item({.NRPRODCOMVEN = QStringLiteral("000002")});
    }

    connectModule();
    EXPECT_FALSE(con().SessionReused());
    EXPECT_EQ(itensDaComanda(), engine() == TestEngine::SQLite ? 1 : 2)
        << "the file in place now, not the one deleted under the kept session";
}

KVP_INSTANTIATE_ENGINES(DataModuleTest);

} // namespace
