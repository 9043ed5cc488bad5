#pragma once
// The restaurant sales tables the cancellation screen reads and writes: their
// columns, keys and the indexes behind the screen's statements, and the DDL of
// each engine. Only the database tool and the tests create them; the package
// itself never does.
//
// Types: codes and numbers are text (VARCHAR with their length); quantities and
// money are exact decimals where the engine has them (SQLite keeps them as
// REAL); date-times carry no zone (the module writes the machine's local time).
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include "Connection.h"
#include "ado/ADO.h"

namespace KvpSchema {

enum class Kind { Text, Quantity, Amount, DateTime };

// Decimals a quantity column keeps; the database would round away any further one.
inline constexpr int kCasasQuantidade = 3;

struct Column {
    QString Name;
    Kind Type = Kind::Text;
    int Length = 0; // Text only
    QString Default; // SQL literal, empty for none
};

struct Index {
    QString Name;
    QStringList Columns;
};

struct Table {
    QString Name;
    QList<Column> Columns;
    QStringList PrimaryKey; // empty: a movement table without a key of its own
    QList<Index> Indexes;
};

namespace detail {
inline Column T(const char* name, int length, const char* def = "")
{
    return {QString::fromLatin1(name), Kind::Text, length, QString::fromLatin1(def)};
}
inline Column Q(const char* name, const char* def = "")
{
    return {QString::fromLatin1(name), Kind::Quantity, 0, QString::fromLatin1(def)};
}
inline Column A(const char* name, const char* def = "")
{
    return {QString::fromLatin1(name), Kind::Amount, 0, QString::fromLatin1(def)};
}
inline Column D(const char* name)
{
    return {QString::fromLatin1(name), Kind::DateTime, 0, QString()};
}
inline QStringList L(std::initializer_list<const char*> names)
{
    QStringList list;
    for (const char* n : names)
        list << QString::fromLatin1(n);
    return list;
}
} // namespace detail

inline const QList<Table>& Tables()
{
    using namespace detail;
    static const QList<Table> tables = {
        // Sale of a table and its tabs.
        {QStringLiteral("VENDAREST"),
         {T("CDFILIAL", 4), T("NRVENDAREST", 10), T("CDLOJA", 4), T("NRMESA", 4), T("CDOPERADOR", 12),
          D("DTHRABERMESA"), D("DTHRFECHMESA"), T("CDVENDEDOR", 4)},
         L({"CDFILIAL", "NRVENDAREST"}),
         // A table's sales of the whole year share its number: with the
         // closing moment in the key, the open one is found without reading
         // them all.
         {{QStringLiteral("IX_VENDAREST_MESA"), L({"CDFILIAL", "CDLOJA", "NRMESA", "DTHRFECHMESA"})}}},
        {QStringLiteral("COMANDAVEN"),
         {T("CDFILIAL", 4), T("NRCOMANDA", 10), T("NRVENDAREST", 10), T("DSCOMANDA", 30), T("IDSTCOMANDA", 1),
          A("VRACRCOMANDA", "0"), T("CDLOJA", 4)},
         L({"CDFILIAL", "NRCOMANDA"}),
         {{QStringLiteral("IX_COMANDAVEN_VENDA"), L({"CDFILIAL", "NRVENDAREST"})}}},
        {QStringLiteral("ITCOMANDAVEN"),
         {T("CDFILIAL", 4),         T("NRCOMANDA", 10),           T("NRPRODCOMVEN", 6),
          T("NRVENDAREST", 10),     T("CDPRODUTO", 10),           Q("QTPRODCOMVEN"),
          A("VRPRECCOMVEN"),        A("VRDESCCOMVEN", "0"),       A("VRACRCOMVEN", "0"),
          T("TXPRODCOMVEN", 2000),  T("IDSTPRCOMVEN", 1),         D("DTHRINCOMVEN"),
          T("IDPRODIMPFIS", 1),     T("NRSEQPRODCOM", 3),         T("NRSEQPRODPAI", 6),
          T("CDPRODPROMOCAO", 10),  T("DSCOMANDAORI", 10),        T("NRCOMANDAORI", 10),
          T("NRPRODCOMORI", 6),     T("CDVENDEDOR", 4),           T("NRLUGARMESA", 4),
          T("NRSEQBENECONSIT", 10), T("IDDIVIDECONTA", 1, "'N'"), T("IDPRODREFIL", 1, "'N'"),
          T("CDGRPOCOR", 2),        T("CDSUPERVISOR", 12),        T("CDOPERCANC", 12),
          T("IDPRODPRODUZ", 1),     D("DTHRPRODCANVEN"),          T("CDSENHAPED", 10),
          T("NRMESAORIG", 4),       T("CDLOJAORIG", 4),           T("CDLOJA", 4)},
         L({"CDFILIAL", "NRCOMANDA", "NRPRODCOMVEN"}),
         {}},
        {QStringLiteral("ITCOMANDAEST"),
         {T("CDFILIAL", 4), T("NRVENDAREST", 10), T("NRCOMANDA", 10), T("NRPRODCOMVEN", 6), T("CDPRODUTO", 10),
          Q("QTPROCOMEST"), T("IDIMPPRGRPROMO", 1, "'N'")},
         L({"CDFILIAL", "NRCOMANDA", "NRPRODCOMVEN", "NRVENDAREST", "CDPRODUTO"}),
         {}},
        {QStringLiteral("OBSITCOMANDAVEN"),
         {T("CDFILIAL", 4), T("NRVENDAREST", 10), T("NRCOMANDA", 10), T("NRPRODCOMVEN", 6), T("CDGRPOCOR", 2),
          T("CDOCORR", 2)},
         {},
         {{QStringLiteral("IX_OBSITCOMANDAVEN_COMANDA"), L({"CDFILIAL", "NRCOMANDA", "NRVENDAREST"})}}},

        // Production-order rows.
        {QStringLiteral("ITPEDIDOQRV"),
         {T("CDFILIAL", 4), T("NRVENDAREST", 10), T("NRCOMANDA", 10), T("NRPRODCOMVEN", 6), T("IDSITITPEDQRV", 1),
          D("DTCANCITPED"), Q("QTPRODPEQRV")},
         L({"CDFILIAL", "NRCOMANDA", "NRPRODCOMVEN", "NRVENDAREST"}),
         {}},
        {QStringLiteral("ITPEDIDOQRVREL"),
         {T("CDFILIAL", 4), T("NRVENDAREST", 10), T("NRCOMANDA", 10), T("NRPRODCOMVEN", 6), T("IDSITITPEDQRV", 1),
          Q("QTPRODPEQRV")},
         L({"CDFILIAL", "NRCOMANDA", "NRPRODCOMVEN", "NRVENDAREST"}),
         {}},

        // Products, printers and store set-up.
        {QStringLiteral("PRODUTO"),
         {T("CDPRODUTO", 10), T("NMPRODUTO", 50), T("NMPRODIMPFIS", 50), T("CDARVPROD", 20), T("IDPESAPROD", 1),
          T("IDTIPOCOMPPROD", 1), T("CDNVPRODUTO", 2)},
         L({"CDPRODUTO"}),
         {{QStringLiteral("IX_PRODUTO_NIVEL"), L({"CDNVPRODUTO"})}}},
        {QStringLiteral("PRODLOJA"),
         {T("CDFILIAL", 4), T("CDLOJA", 4), T("CDPRODUTO", 10), T("CDPORIMPPROD", 10), T("DSENDIMPPROD", 60),
          T("IDIMPCANITEM", 1, "'N'"), T("NRSEQIMPRPROD", 4), T("NRSEQIMPRPROD2", 4), T("NRSEQIMPRPUXA", 4)},
         L({"CDFILIAL", "CDLOJA", "CDPRODUTO"}),
         {}},
        {QStringLiteral("IMPRLOJA"),
         {T("CDFILIAL", 4), T("CDLOJA", 4), T("NRSEQIMPRLOJA", 4), T("NMIMPRLOJA", 30), T("CDPORTAIMPR", 10),
          T("CDIMPRESSORA", 10)},
         L({"CDFILIAL", "CDLOJA", "NRSEQIMPRLOJA"}),
         {}},
        {QStringLiteral("IMPRESSORA"),
         {T("CDIMPRESSORA", 10), T("NMIMPRESSORA", 30), T("IDMODEIMPRES", 2)},
         L({"CDIMPRESSORA"}),
         {}},
        {QStringLiteral("MAPIMPRLOJA"), {T("CDPORTAIMPR", 10), T("DSENDPORTA", 60)}, L({"CDPORTAIMPR"}), {}},
        {QStringLiteral("CAIXA"),
         {T("CDFILIAL", 4), T("CDCAIXA", 4), T("CDLOJA", 4), T("NRSEQIMPRLOJA1", 4), T("NRSEQIMPRLOJA2", 4),
          T("NRSEQIMPRLOJA5", 4), T("NRSEQIMPRLOJA1BK", 4), T("NRSEQIMPRLOJA2BK", 4), T("NRSEQIMPRLOJA5BK", 4),
          T("IDIMPCANPEDINT", 1)},
         L({"CDFILIAL", "CDCAIXA"}),
         {}},
        {QStringLiteral("PARAMGERAL"), {T("IDINFPRODPRODUZ", 1)}, {}, {}},

        // Tables and people.
        {QStringLiteral("MESA"),
         {T("CDFILIAL", 4), T("CDLOJA", 4), T("NRMESA", 4), T("IDSTMESAAUX", 1)},
         L({"CDFILIAL", "CDLOJA", "NRMESA"}),
         {}},
        {QStringLiteral("JUNCAOMESA"),
         {T("CDFILIAL", 4), T("CDLOJA", 4), T("NRJUNMESA", 4)},
         L({"CDFILIAL", "CDLOJA", "NRJUNMESA"}),
         {}},
        {QStringLiteral("MESAJUNCAO"),
         {T("CDFILIAL", 4), T("CDLOJA", 4), T("NRJUNMESA", 4), T("NRMESA", 4)},
         L({"CDFILIAL", "CDLOJA", "NRJUNMESA", "NRMESA"}),
         {{QStringLiteral("IX_MESAJUNCAO_MESA"), L({"CDFILIAL", "CDLOJA", "NRMESA"})}}},
        {QStringLiteral("VENDEDOR"),
         {T("CDVENDEDOR", 4), T("NMFANVEN", 40), T("NRINSJURVEN", 20)},
         L({"CDVENDEDOR"}),
         {}},
        {QStringLiteral("LOJA"),
         {T("CDFILIAL", 4), T("CDLOJA", 4), T("NMLOJA", 40), T("CDGRPOCORCAN", 2)},
         L({"CDFILIAL", "CDLOJA"}),
         {}},

        // Cancellation reasons and observations.
        {QStringLiteral("GRUPOCOR"), {T("CDGRPOCOR", 2), T("DSGRPOCOR", 40)}, L({"CDGRPOCOR"}), {}},
        {QStringLiteral("OCORRENCIA"),
         {T("CDGRPOCOR", 2), T("CDOCORR", 2), T("CDTIPRISCO", 2), T("DSOCORR", 40), T("CDPRODUTO", 10),
          T("IDCONTROLAOBS", 1)},
         L({"CDGRPOCOR", "CDOCORR"}),
         {}},
        {QStringLiteral("PRODOCORRE"),
         {T("CDPRODUTO", 10), T("CDGRPOCOR", 2), T("CDOCORR", 2)},
         L({"CDPRODUTO", "CDGRPOCOR", "CDOCORR"}),
         {{QStringLiteral("IX_PRODOCORRE_OCORRENCIA"), L({"CDGRPOCOR", "CDOCORR"})}}},

        // Money and benefits.
        {QStringLiteral("MOVCAIXAMOB"),
         {T("CDFILIAL", 4), T("NRCOMANDA", 10), A("VRMOV")},
         {},
         {{QStringLiteral("IX_MOVCAIXAMOB_COMANDA"), L({"CDFILIAL", "NRCOMANDA"})}}},
        {QStringLiteral("MOVBENEFICIOCONS"),
         {T("NRSEQBENECONS", 10), T("CDFILIAL", 4), T("CDCAIXA", 4), T("CDCLIENTE", 20), T("CDCONSUMIDOR", 20),
          T("CDCAMPANHA", 20), T("NRSEQPRODCAMP", 20), T("NRSEQBENEFICIO", 20)},
         L({"NRSEQBENECONS", "CDFILIAL", "CDCAIXA"}),
         {}},
        {QStringLiteral("MOVBENEFICIOCTR"),
         {T("CDCLIENTE", 20), T("CDCONSUMIDOR", 20), T("CDCAMPANHA", 20), T("NRSEQPRODCAMP", 20),
          T("NRSEQBENEFICIO", 20), Q("QTDEBENEFICIO", "0")},
         L({"CDCLIENTE", "CDCONSUMIDOR", "CDCAMPANHA", "NRSEQPRODCAMP", "NRSEQBENEFICIO"}),
         {}},
    };
    return tables;
}

inline QStringList TableNames()
{
    QStringList names;
    for (const Table& t : Tables())
        names << t.Name;
    return names;
}

inline QString ColumnType(const Column& c, TSqlDialect dialect)
{
    switch (c.Type) {
    case Kind::Text:
        return (dialect == TSqlDialect::Oracle ? QStringLiteral("VARCHAR2(%1)") : QStringLiteral("VARCHAR(%1)"))
            .arg(c.Length);
    case Kind::Quantity:
        if (dialect == TSqlDialect::SQLite)
            return QStringLiteral("REAL");
        return (dialect == TSqlDialect::Oracle ? QStringLiteral("NUMBER(15,%1)") : QStringLiteral("NUMERIC(15,%1)"))
            .arg(kCasasQuantidade);
    case Kind::Amount:
        if (dialect == TSqlDialect::SQLite)
            return QStringLiteral("REAL");
        return dialect == TSqlDialect::Oracle ? QStringLiteral("NUMBER(15,2)") : QStringLiteral("NUMERIC(15,2)");
    case Kind::DateTime:
        switch (dialect) {
        case TSqlDialect::PostgreSQL: return QStringLiteral("TIMESTAMP");
        case TSqlDialect::Oracle: return QStringLiteral("DATE");
        default: return QStringLiteral("DATETIME");
        }
    }
    return QString();
}

inline QString CreateIndexStatement(const Table& t, const Index& ix)
{
    return QStringLiteral("CREATE INDEX %1 ON %2 (%3)").arg(ix.Name, t.Name, ix.Columns.join(QStringLiteral(", ")));
}

// A column as CREATE TABLE and ALTER TABLE ... ADD COLUMN write it.
inline QString ColumnDefinition(const Table& t, const Column& c, TSqlDialect dialect)
{
    QString line = QStringLiteral("%1 %2").arg(c.Name, ColumnType(c, dialect));
    if (!c.Default.isEmpty())
        line += QStringLiteral(" DEFAULT ") + c.Default;
    if (t.PrimaryKey.contains(c.Name))
        line += QStringLiteral(" NOT NULL");
    return line;
}

// CREATE TABLE and its CREATE INDEX statements.
inline QStringList CreateTableStatements(const Table& t, TSqlDialect dialect)
{
    QStringList lines;
    for (const Column& c : t.Columns)
        lines << QStringLiteral("    ") + ColumnDefinition(t, c, dialect);
    if (!t.PrimaryKey.isEmpty())
        lines << QStringLiteral("    CONSTRAINT PK_%1 PRIMARY KEY (%2)")
                     .arg(t.Name, t.PrimaryKey.join(QStringLiteral(", ")));
    QStringList statements{QStringLiteral("CREATE TABLE %1 (\n%2\n)").arg(t.Name, lines.join(QStringLiteral(",\n")))};
    for (const Index& ix : t.Indexes)
        statements << CreateIndexStatement(t, ix);
    return statements;
}

// The table that records which schema versions a database went through (one
// row per version, the highest is the database's).
inline QString CreateVersionTableStatement(TSqlDialect dialect)
{
    return QStringLiteral("CREATE TABLE %1 (\n    NRVERSAO INTEGER NOT NULL,\n    DTHRVERSAO %2,\n"
                          "    CONSTRAINT PK_%1 PRIMARY KEY (NRVERSAO)\n)")
        .arg(QString::fromLatin1(kTabelaVersao), ColumnType(Column{QString(), Kind::DateTime, 0, QString()}, dialect));
}

inline QString RecordVersionStatement(int version)
{
    return QStringLiteral("INSERT INTO %1 (NRVERSAO, DTHRVERSAO) VALUES (%2, CURRENT_TIMESTAMP)")
        .arg(QString::fromLatin1(kTabelaVersao))
        .arg(version);
}

// CREATE TABLE and CREATE INDEX statements, in an order that runs on an empty
// database, then the version table with this program's version in it.
inline QStringList CreateStatements(TSqlDialect dialect)
{
    QStringList statements;
    for (const Table& t : Tables())
        statements << CreateTableStatements(t, dialect);
    statements << CreateVersionTableStatement(dialect) << RecordVersionStatement(kVersaoEsquema);
    return statements;
}

// What a till's database role may do on each table, besides reading: the
// writes of the cancellation and nothing else. Tables not named here are
// read only; no table's definition may be changed.
inline QList<QPair<QString, QString>> TillWriteRights()
{
    return {
        {QStringLiteral("ITCOMANDAVEN"), QStringLiteral("INSERT, UPDATE")},
        {QStringLiteral("COMANDAVEN"), QStringLiteral("UPDATE")},
        {QStringLiteral("ITPEDIDOQRV"), QStringLiteral("UPDATE")},
        {QStringLiteral("ITPEDIDOQRVREL"), QStringLiteral("UPDATE")},
        {QStringLiteral("MOVBENEFICIOCTR"), QStringLiteral("UPDATE")},
        {QStringLiteral("MOVBENEFICIOCONS"), QStringLiteral("DELETE")},
    };
}

} // namespace KvpSchema
