// kvp-explain DATABASE [--items N] [--keep]
//
// Fills a fresh database with a year of restaurant sales (N item lines,
// 1 000 000 by default, and the tabs, sales, production rows, components and
// bookings that go with them), then asks the engine for the plan of every
// statement of the data module, in the text of that engine, and reports each
// full scan of a sales table. Exit code 1 when there is one.
//
// DATABASE: "sqlite" (a temporary file), a SQLite file path that does not
// exist yet, or a postgresql:// URL (a schema of its own is created there and
// dropped at the end unless --keep).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>
#include <QUrl>

#include "ADOSqlStorage.h"
#include "Connection.h"
#include "Exception.h"
#include "RdmCancelaProd.h"
#include "Srv_kvp00917.h"
#include "ado/ADO.h"
#include "Schema.h"

namespace {

QTextStream out(stdout);

const QStringList kSalesTables = {QStringLiteral("ITCOMANDAVEN"),    QStringLiteral("COMANDAVEN"),
                                  QStringLiteral("VENDAREST"),       QStringLiteral("ITPEDIDOQRV"),
                                  QStringLiteral("ITPEDIDOQRVREL"),  QStringLiteral("ITCOMANDAEST"),
                                  QStringLiteral("OBSITCOMANDAVEN"), QStringLiteral("MOVCAIXAMOB"),
                                  QStringLiteral("MOVBENEFICIOCONS"), QStringLiteral("MOVBENEFICIOCTR")};

struct Filler {
    TADOConnection& c;
    TSqlDialect d;

    QString pad(const QString& expr, int width) const
    {
        // Built by hand: "%0" in a format would be taken for a placeholder.
        if (d == TSqlDialect::SQLite)
            return QStringLiteral("printf('%0") + QString::number(width) + QStringLiteral("d', ") + expr + QLatin1Char(')');
        return QStringLiteral("lpad(CAST(%1 AS TEXT), %2, '0')").arg(expr, QString::number(width));
    }
    QString stamp(const QString& minutesExpr) const
    {
        return d == TSqlDialect::SQLite
            ? QStringLiteral("strftime('%Y-%m-%dT%H:%M:%S.000', '2024-01-01 11:00:00', '+' || (%1) || ' minutes')").arg(minutesExpr)
            : QStringLiteral("TIMESTAMP '2024-01-01 11:00:00' + (%1) * INTERVAL '1 minute'").arg(minutesExpr);
    }
    // INSERT INTO table (columns) SELECT values FROM 1..count AS I
    void series(const QString& table, const QString& columns, const QString& values, qint64 count)
    {
        QElapsedTimer t;
        t.start();
        QString sql;
        if (d == TSqlDialect::SQLite)
            sql = QStringLiteral("WITH RECURSIVE S(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM S WHERE I < %1) "
                                 "INSERT INTO %2 (%3) SELECT %4 FROM S")
                      .arg(QString::number(count), table, columns, values);
        else
            sql = QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM generate_series(1, %4) AS S(I)")
                      .arg(table, columns, values, QString::number(count));
        c.Execute(sql);
        out << QStringLiteral("  %1: %2 linhas (%3 s)\n").arg(table, -16).arg(count).arg(t.elapsed() / 1000.0, 0, 'f', 1);
        out.flush();
    }
};

struct Keys {
    QString comanda, venda, mesa;
};

Keys fill(TADOConnection& c, qint64 items)
{
    Filler f{c, c.Dialect()};
    const qint64 tabs = qMax<qint64>(items / 10, 400);
    const qint64 sales = tabs / 2;
    const int mesas = 200;
    // Item k belongs to tab (k-1)/10+1; tab t to sale (t+1)/2; the last `mesas`
    // sales are open, one per table.
    const QString tabOfItem = QStringLiteral("((I - 1) / 10 + 1)");
    const QString saleOfTab = QStringLiteral("((I + 1) / 2)");

    f.series(QStringLiteral("VENDAREST"), QStringLiteral("CDFILIAL, NRVENDAREST, CDLOJA, NRMESA, CDOPERADOR, DTHRABERMESA, DTHRFECHMESA, CDVENDEDOR"),
             QStringLiteral("'0001', %1, '01', %2, '0001', %3, CASE WHEN I > %4 THEN NULL ELSE %5 END, %6")
                 .arg(f.pad(QStringLiteral("I"), 10), f.pad(QStringLiteral("I % 200 + 1"), 4), f.stamp(QStringLiteral("I")),
                      QString::number(sales - mesas), f.stamp(QStringLiteral("I + 90")),
                      f.pad(QStringLiteral("I % 20 + 1"), 4)),
             sales);
    f.series(QStringLiteral("COMANDAVEN"), QStringLiteral("CDFILIAL, NRCOMANDA, NRVENDAREST, DSCOMANDA, IDSTCOMANDA, VRACRCOMANDA, CDLOJA"),
             QStringLiteral("'0001', %1, %2, 'RES_' || %3, '1', 1.5, '01'")
                 .arg(f.pad(QStringLiteral("I"), 10), f.pad(saleOfTab, 10), f.pad(QStringLiteral("I % 1000"), 4)),
             tabs);
    const QString itemKey = QStringLiteral("'0001', %1, %2, %3")
                                .arg(f.pad(tabOfItem, 10), f.pad(QStringLiteral("((I - 1) % 10 + 1)"), 6),
                                     f.pad(QStringLiteral("((%1 + 1) / 2)").arg(tabOfItem), 10));
    f.series(QStringLiteral("ITCOMANDAVEN"),
             QStringLiteral("CDFILIAL, NRCOMANDA, NRPRODCOMVEN, NRVENDAREST, CDPRODUTO, QTPRODCOMVEN, VRPRECCOMVEN, "
                            "VRDESCCOMVEN, VRACRCOMVEN, IDSTPRCOMVEN, DTHRINCOMVEN, IDPRODREFIL, IDDIVIDECONTA, "
                            "NRSEQBENECONSIT, CDVENDEDOR, NRLUGARMESA, CDLOJA"),
             itemKey
                 + QStringLiteral(", %1, 1, 10.5, 0, 0, CAST(I % 4 + 1 AS VARCHAR(1)), %2, 'N', 'N', "
                                  "CASE WHEN I % 20 = 0 THEN %3 END, '0001', '01', '01'")
                       .arg(f.pad(QStringLiteral("I % 2000 + 1"), 6), f.stamp(QStringLiteral("I / 10")),
                            f.pad(QStringLiteral("I / 20"), 10)),
             items);
    f.series(QStringLiteral("ITPEDIDOQRV"),
             QStringLiteral("CDFILIAL, NRCOMANDA, NRPRODCOMVEN, NRVENDAREST, IDSITITPEDQRV, QTPRODPEQRV"),
             itemKey + QStringLiteral(", 'P', 1"), items);
    f.series(QStringLiteral("ITPEDIDOQRVREL"),
             QStringLiteral("CDFILIAL, NRCOMANDA, NRPRODCOMVEN, NRVENDAREST, IDSITITPEDQRV, QTPRODPEQRV"),
             QString(itemKey).replace(QLatin1String("(I - 1)"), QLatin1String("(I * 10 - 1)")) + QStringLiteral(", 'P', 1"),
             items / 10);
    f.series(QStringLiteral("ITCOMANDAEST"),
             QStringLiteral("CDFILIAL, NRCOMANDA, NRPRODCOMVEN, NRVENDAREST, CDPRODUTO, QTPROCOMEST, IDIMPPRGRPROMO"),
             QString(itemKey).replace(QLatin1String("(I - 1)"), QLatin1String("(I * 5 - 1)"))
                 + QStringLiteral(", %1, 1, 'N'").arg(f.pad(QStringLiteral("I % 2000 + 1"), 6)),
             items / 5);
    f.series(QStringLiteral("OBSITCOMANDAVEN"),
             QStringLiteral("CDFILIAL, NRCOMANDA, NRPRODCOMVEN, NRVENDAREST, CDGRPOCOR, CDOCORR"),
             QString(itemKey).replace(QLatin1String("(I - 1)"), QLatin1String("(I * 20 - 1)")) + QStringLiteral(", '02', '02'"),
             items / 20);
    f.series(QStringLiteral("MOVCAIXAMOB"), QStringLiteral("CDFILIAL, NRCOMANDA, VRMOV"),
             QStringLiteral("'0001', %1, 20").arg(f.pad(QStringLiteral("I * 2"), 10)), tabs / 2);
    f.series(QStringLiteral("MOVBENEFICIOCONS"),
             QStringLiteral("NRSEQBENECONS, CDFILIAL, CDCAIXA, CDCLIENTE, CDCONSUMIDOR, CDCAMPANHA, NRSEQPRODCAMP, NRSEQBENEFICIO"),
             QStringLiteral("%1, '0001', '001', %2, '0001', 'FIDELIDADE', '001', '01'")
                 .arg(f.pad(QStringLiteral("I"), 10), f.pad(QStringLiteral("I"), 8)),
             items / 20);
    f.series(QStringLiteral("MOVBENEFICIOCTR"),
             QStringLiteral("CDCLIENTE, CDCONSUMIDOR, CDCAMPANHA, NRSEQPRODCAMP, NRSEQBENEFICIO, QTDEBENEFICIO"),
             QStringLiteral("%1, '0001', 'FIDELIDADE', '001', '01', 3").arg(f.pad(QStringLiteral("I"), 8)), items / 20);

    // Set-up tables, at the size of a large restaurant.
    f.series(QStringLiteral("PRODUTO"), QStringLiteral("CDPRODUTO, NMPRODUTO, CDARVPROD, IDPESAPROD, IDTIPOCOMPPROD, CDNVPRODUTO"),
             QStringLiteral("%1, 'Produto ' || I, %1, 'N', CAST(I % 4 AS VARCHAR(1)), CASE WHEN I <= 20 THEN '1' ELSE '3' END")
                 .arg(f.pad(QStringLiteral("I"), 6)),
             2000);
    f.series(QStringLiteral("PRODLOJA"),
             QStringLiteral("CDFILIAL, CDLOJA, CDPRODUTO, CDPORIMPPROD, DSENDIMPPROD, IDIMPCANITEM, NRSEQIMPRPROD, NRSEQIMPRPROD2, NRSEQIMPRPUXA"),
             QStringLiteral("'0001', '01', %1, 'COZ', '10.0.0.50:9100', 'S', '01', CASE WHEN I % 3 = 0 THEN '02' END, "
                            "CASE WHEN I % 7 = 0 THEN '03' END")
                 .arg(f.pad(QStringLiteral("I"), 6)),
             2000);
    f.series(QStringLiteral("PRODOCORRE"), QStringLiteral("CDPRODUTO, CDGRPOCOR, CDOCORR"),
             QStringLiteral("%1, '01', %2").arg(f.pad(QStringLiteral("(I - 1) / 3 + 1"), 6), f.pad(QStringLiteral("(I - 1) % 3 + 1"), 2)),
             6000);
    f.series(QStringLiteral("OCORRENCIA"), QStringLiteral("CDGRPOCOR, CDOCORR, CDTIPRISCO, DSOCORR, CDPRODUTO, IDCONTROLAOBS"),
             QStringLiteral("%1, %2, '01', 'Motivo ' || I, CASE WHEN I > 10 THEN %3 END, CASE WHEN I > 10 THEN 'A' ELSE 'N' END")
                 .arg(f.pad(QStringLiteral("(I - 1) / 10 + 1"), 2), f.pad(QStringLiteral("(I - 1) % 10 + 1"), 2),
                      f.pad(QStringLiteral("I"), 6)),
             20);
    f.series(QStringLiteral("GRUPOCOR"), QStringLiteral("CDGRPOCOR, DSGRPOCOR"),
             QStringLiteral("%1, 'Grupo ' || I").arg(f.pad(QStringLiteral("I"), 2)), 2);
    f.series(QStringLiteral("MESA"), QStringLiteral("CDFILIAL, CDLOJA, NRMESA, IDSTMESAAUX"),
             QStringLiteral("'0001', '01', %1, 'O'").arg(f.pad(QStringLiteral("I"), 4)), mesas);
    f.series(QStringLiteral("JUNCAOMESA"), QStringLiteral("CDFILIAL, CDLOJA, NRJUNMESA"),
             QStringLiteral("'0001', '01', %1").arg(f.pad(QStringLiteral("I"), 4)), mesas / 4);
    f.series(QStringLiteral("MESAJUNCAO"), QStringLiteral("CDFILIAL, CDLOJA, NRJUNMESA, NRMESA"),
             QStringLiteral("'0001', '01', %1, %2").arg(f.pad(QStringLiteral("(I + 1) / 2"), 4), f.pad(QStringLiteral("I"), 4)),
             mesas / 2);
    f.series(QStringLiteral("VENDEDOR"), QStringLiteral("CDVENDEDOR, NMFANVEN, NRINSJURVEN"),
             QStringLiteral("%1, 'Garçom ' || I, '000'").arg(f.pad(QStringLiteral("I"), 4)), 20);
    f.series(QStringLiteral("LOJA"), QStringLiteral("CDFILIAL, CDLOJA, CDGRPOCORCAN"), QStringLiteral("'0001', %1, '01'").arg(f.pad(QStringLiteral("I"), 2)), 1);
    f.series(QStringLiteral("IMPRESSORA"), QStringLiteral("CDIMPRESSORA, IDMODEIMPRES"),
             QStringLiteral("'IMP' || I, '1'"), 2);
    f.series(QStringLiteral("MAPIMPRLOJA"), QStringLiteral("CDPORTAIMPR, DSENDPORTA"),
             QStringLiteral("'P' || I, '10.0.0.' || I || ':9100'"), 6);
    f.series(QStringLiteral("IMPRLOJA"), QStringLiteral("CDFILIAL, CDLOJA, NRSEQIMPRLOJA, CDPORTAIMPR, CDIMPRESSORA"),
             QStringLiteral("'0001', '01', %1, 'P' || I, 'IMP' || (I % 2 + 1)").arg(f.pad(QStringLiteral("I"), 2)), 6);
    f.series(QStringLiteral("CAIXA"),
             QStringLiteral("CDFILIAL, CDCAIXA, CDLOJA, NRSEQIMPRLOJA1, NRSEQIMPRLOJA1BK, NRSEQIMPRLOJA2, NRSEQIMPRLOJA2BK, "
                            "NRSEQIMPRLOJA5, NRSEQIMPRLOJA5BK, IDIMPCANPEDINT"),
             QStringLiteral("'0001', %1, '01', '01', '04', '02', '05', '03', '06', 'S'").arg(f.pad(QStringLiteral("I"), 3)), 5);
    f.series(QStringLiteral("PARAMGERAL"), QStringLiteral("IDINFPRODPRODUZ"), QStringLiteral("'S'"), 1);

    const auto pad = [](qint64 v, int w) { return QStringLiteral("%1").arg(v, w, 10, QLatin1Char('0')); };
    return {pad(tabs, 10), pad(sales, 10), pad(sales % 200 + 1, 4)};
}

// A literal for a parameter, from its name: the values of an open tab of the
// filled database, numbers for quantities and amounts, a time for stamps.
QString literalFor(const QString& param, const Keys& k, TSqlDialect d)
{
    QString n = param.toUpper();
    if (n.startsWith(QLatin1String("P_")))
        n = n.mid(2);
    const QMap<QString, QString> text = {
        {QStringLiteral("CDFILIAL"), QStringLiteral("0001")},     {QStringLiteral("CDLOJA"), QStringLiteral("01")},
        {QStringLiteral("CDCAIXA"), QStringLiteral("001")},       {QStringLiteral("NRCOMANDA"), k.comanda},
        {QStringLiteral("NRVENDAREST"), k.venda},                 {QStringLiteral("NRMESA"), k.mesa},
        {QStringLiteral("NRPRODCOMVEN"), QStringLiteral("000003")}, {QStringLiteral("CDPRODUTO"), QStringLiteral("000123")},
        {QStringLiteral("NRSEQBENECONS"), QStringLiteral("0000000123")}, {QStringLiteral("TCDPRODUTO"), QString()},
        {QStringLiteral("IDSTPRCOMVEN"), QStringLiteral("6")},     {QStringLiteral("IDSTCOMANDA"), QStringLiteral("1")},
        {QStringLiteral("IDSITITPEDQRV"), QStringLiteral("C")},
    };
    if (text.contains(n))
        return QLatin1Char('\'') + text.value(n) + QLatin1Char('\'');
    if (n.startsWith(QLatin1String("QT")) || n.startsWith(QLatin1String("VR")) || n == QLatin1String("QUANTIDADE"))
        return QStringLiteral("1");
    if (n.startsWith(QLatin1String("DT")))
        return d == TSqlDialect::PostgreSQL ? QStringLiteral("TIMESTAMP '2024-06-01 12:00:00'")
                                            : QStringLiteral("'2024-06-01T12:00:00.000'");
    return QStringLiteral("'X'");
}

QString withLiterals(const TADOStatement& s, const Keys& k, TSqlDialect d)
{
    QString sql = s.SQL();
    QStringList names = s.ParamNames();
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) { return a.size() > b.size(); });
    for (const QString& name : names) {
        const QRegularExpression re(QStringLiteral("(?<!:):%1\\b").arg(QRegularExpression::escape(name)),
                                    QRegularExpression::CaseInsensitiveOption);
        sql.replace(re, literalFor(name, k, d));
    }
    return sql;
}

// Alias (or name) -> table, for SQLite's plans, which name aliases.
QMap<QString, QString> aliases(const QString& sql)
{
    QMap<QString, QString> map;
    for (const QString& table : KvpSchema::TableNames()) {
        const QRegularExpression re(QStringLiteral("\\b%1\\b(?:\\s+(?:AS\\s+)?([A-Za-z_][A-Za-z0-9_]*))?").arg(table),
                                    QRegularExpression::CaseInsensitiveOption);
        auto it = re.globalMatch(sql);
        while (it.hasNext()) {
            const auto m = it.next();
            map[table] = table;
            const QString alias = m.captured(1);
            static const QStringList keywords = {QStringLiteral("WHERE"), QStringLiteral("SET"), QStringLiteral("ON"),
                                                 QStringLiteral("JOIN"), QStringLiteral("INNER"), QStringLiteral("LEFT"),
                                                 QStringLiteral("GROUP"), QStringLiteral("ORDER"), QStringLiteral("UNION"),
                                                 QStringLiteral("VALUES"), QStringLiteral("SELECT"), QStringLiteral("FOR")};
            if (!alias.isEmpty() && !keywords.contains(alias.toUpper()))
                map[alias] = table;
        }
    }
    return map;
}

struct Verdict {
    QStringList plan;
    QStringList fullScans;   // sales tables read whole
    QString error;
};

Verdict explain(TADOConnection& c, const TADOStatement& s, const Keys& k)
{
    Verdict v;
    const TSqlDialect d = c.Dialect();
    const QString sql = withLiterals(s, k, d);
    QSqlQuery q(c.Database());
    const QString prefix = d == TSqlDialect::SQLite ? QStringLiteral("EXPLAIN QUERY PLAN ") : QStringLiteral("EXPLAIN ");
    if (!q.exec(prefix + sql)) {
        v.error = q.lastError().text();
        return v;
    }
    const int detail = d == TSqlDialect::SQLite ? q.record().indexOf(QStringLiteral("detail")) : 0;
    const QMap<QString, QString> names = aliases(sql);
    static const QRegularExpression sqliteScan(QStringLiteral("^SCAN (\\w+)( USING (COVERING )?INDEX \\w+)?"));
    static const QRegularExpression pgScan(QStringLiteral("Seq Scan on (\\w+)"));
    static const QRegularExpression derived(QStringLiteral("^(?:MATERIALIZE|CO-ROUTINE) (\\w+)"));
    QStringList derivedTables;   // SQLite names subqueries as written ("a"), tables by alias ("A")
    while (q.next()) {
        const QString line = q.value(detail).toString();
        v.plan << line;
        QString table;
        if (d == TSqlDialect::SQLite) {
            const auto dm = derived.match(line.trimmed());
            if (dm.hasMatch())
                derivedTables << dm.captured(1);
            const auto m = sqliteScan.match(line.trimmed());
            if (m.hasMatch() && !derivedTables.contains(m.captured(1)))
                table = names.value(m.captured(1), m.captured(1).toUpper());
        } else {
            const auto m = pgScan.match(line);
            if (m.hasMatch())
                table = m.captured(1).toUpper();
        }
        if (!table.isEmpty() && kSalesTables.contains(table) && !v.fullScans.contains(table))
            v.fullScans << table;
    }
    return v;
}

QList<TADOStatement*> statementsOf(TrdmCancelaProd& m)
{
    return {&m.adqItComanda, &m.adqItComandaJuncao, &m.adqOcorCanc, &m.adqOcorrTodos, &m.adqBuscaPortaProd,
            &m.adqGarcomMesa, &m.adqImprLoja, &m.adqImprLoja2, &m.adqProdutoNormal, &m.adqProdutoFilho,
            &m.adqProdutosAdicionaisFilhos, &m.adqNomeProdutoPai, &m.adqImpBackup, &m.adqComandaVen, &m.adqPesqAcres,
            &m.adqBuscaSomaAcrescimo, &m.adqItem, &m.adqItPedidoQrvRel, &m.adqVerificaStatus, &m.adqVerificaStatus2,
            &m.adqValidaMesa, &m.adqInfoProdProduz, &m.adqImpCancInteg, &m.adqTotAdiantamento, &m.acmInsItemCan,
            &m.acmUpdQuant, &m.acmUpdStatus, &m.acmUpdQtdeItPedidoQrv, &m.acmUpdQtdeItPedidoQrvRel,
            &m.acmUpdSitItPedidoQrv, &m.acmUpdSitItPedidoQrvRel, &m.acmUpdBeneficio, &m.acmUpdQtdeBeneficio,
            &m.acmUpdComanda, &m.acmUpdPedidos, &m.AcmUpnAcres};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString target;
    qint64 items = 1000000;
    bool keep = false;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--items") && i + 1 < args.size())
            items = args[++i].toLongLong();
        else if (args[i] == QLatin1String("--keep"))
            keep = true;
        else
            target = args[i];
    }
    if (target.isEmpty() || items < 1000) {
        QTextStream(stderr) << "Uso: kvp-explain sqlite|ARQUIVO.db|postgresql://... [--items N] [--keep]\n";
        return 2;
    }

    QString database = target;
    QString schema;
    if (target == QLatin1String("sqlite"))
        database = QDir::temp().filePath(QStringLiteral("kvp-explain-%1.db").arg(QCoreApplication::applicationPid()));
    const TSqlDialect dialect = TADOConnection::DialectOf(database);
    if (dialect == TSqlDialect::SQLite && QFile::exists(database)) {
        QTextStream(stderr) << database << " já existe: informe um arquivo novo.\n";
        return 2;
    }
    if (dialect == TSqlDialect::PostgreSQL) {
        schema = QStringLiteral("kvp_explain_%1").arg(QRandomGenerator::global()->bounded(1000000));
        TADOConnection admin(nullptr, QStringLiteral("adcAdmin"));
        admin.ConnectionString = database;
        try {
            admin.Open();
            admin.Execute(QStringLiteral("CREATE SCHEMA %1").arg(schema));
        } catch (const Exception& e) {
            QTextStream(stderr) << "Falha: " << MaskPasswordIn(e.Message(), database) << "\n";
            return 1;
        }
        database += (database.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) + QStringLiteral("options=")
            + QString::fromLatin1(QUrl::toPercentEncoding(QStringLiteral("-c search_path=%1").arg(schema)));
    }

    int fullScans = 0, failures = 0;
    try {
        TADOConnection c(nullptr, QStringLiteral("adcExplain"));
        c.ConnectionString = database;
        c.CreateIfMissing = true;
        c.Open();
        SetADODBSession(c);
        out << "Banco: " << MaskPassword(database) << " (" << DialectName(c.Dialect()) << ")\n";
        for (const QString& ddl : KvpSchema::CreateStatements(c.Dialect()))
            c.Execute(ddl);
        out << "Preenchendo com " << items << " itens de comanda...\n";
        out.flush();
        c.BeginTrans();
        const Keys keys = fill(c, items);
        c.CommitTrans();
        c.Execute(QStringLiteral("ANALYZE"));

        qputenv("KVP_DATABASE", database.toUtf8());
        TrdmCancelaProd module;
        module.adcCancelaProd.Open();
        out << "\nPlano de cada instrução (comanda " << keys.comanda << ", venda " << keys.venda << ", mesa " << keys.mesa
            << "):\n";
        for (TADOStatement* s : statementsOf(module)) {
            if (s->SQL().trimmed().isEmpty()) {
                out << QStringLiteral("  %1 sem texto\n").arg(s->Name(), -28);
                ++failures;
                continue;
            }
            const Verdict v = explain(c, *s, keys);
            if (!v.error.isEmpty()) {
                out << QStringLiteral("  %1 ERRO: %2\n").arg(s->Name().leftJustified(28), v.error);
                ++failures;
            } else if (!v.fullScans.isEmpty()) {
                out << QStringLiteral("  %1 LEITURA COMPLETA de %2\n").arg(s->Name().leftJustified(28), v.fullScans.join(QStringLiteral(", ")));
                for (const QString& line : v.plan)
                    out << "      " << line << "\n";
                ++fullScans;
            } else {
                out << QStringLiteral("  %1 ok\n").arg(s->Name(), -28);
            }
        }
    } catch (const Exception& e) {
        out << "Falha: " << MaskPasswordIn(e.Message(), database) << "\n";
        ++failures;
    }

    if (!keep) {
        if (dialect == TSqlDialect::SQLite) {
            for (const char* suffix : {"", "-wal", "-shm"})
                QFile::remove(database + QLatin1String(suffix));
        } else if (!schema.isEmpty()) {
            TADOConnection admin(nullptr, QStringLiteral("adcAdmin"));
            admin.ConnectionString = target;
            try {
                admin.Open();
                admin.Execute(QStringLiteral("SET client_min_messages TO warning"));
                admin.Execute(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(schema));
            } catch (const Exception& e) {
                out << "Falha ao apagar o esquema " << schema << ": " << e.Message() << "\n";
            }
        }
    } else {
        out << "Banco mantido: " << MaskPassword(database) << "\n";
    }
    out << "\n" << (fullScans + failures == 0 ? "Todas as instruções usam índices."
                                              : "Há instruções que leem tabelas de vendas inteiras ou falharam.")
        << "\n";
    return fullScans + failures == 0 ? 0 : 1;
}
