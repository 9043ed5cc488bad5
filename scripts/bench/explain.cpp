// kvp-explain DATABASE [--items N] [--keep] [--pages]
//
// Fills a fresh database with a year of restaurant sales (N item lines,
// 1 000 000 by default, and the tabs, sales, production rows, components and
// bookings that go with them), then asks the engine for the plan of every
// statement of the data module, in the text of that engine, and reports each
// full scan of a sales table. Exit code 1 when there is one. On PostgreSQL
// --pages also runs each read query once and prints the pages it touched.
//
// DATABASE: "sqlite" (a temporary file), a SQLite file path that does not
// exist yet, or a postgresql:// URL (a schema of its own is created there and
// dropped at the end unless --keep).
#include <QCoreApplication>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTextStream>
#include <memory>

#include "ADOSqlStorage.h"
#include "Connection.h"
#include "Exception.h"
#include "RdmCancelaProd.h"
#include "SalesData.h"
#include "Schema.h"
#include "Srv_kvp00917.h"
#include "ado/ADO.h"

namespace {

QTextStream out(stdout);

const QStringList kSalesTables = {QStringLiteral("ITCOMANDAVEN"),     QStringLiteral("COMANDAVEN"),
                                  QStringLiteral("VENDAREST"),        QStringLiteral("ITPEDIDOQRV"),
                                  QStringLiteral("ITPEDIDOQRVREL"),   QStringLiteral("ITCOMANDAEST"),
                                  QStringLiteral("OBSITCOMANDAVEN"),  QStringLiteral("MOVCAIXAMOB"),
                                  QStringLiteral("MOVBENEFICIOCONS"), QStringLiteral("MOVBENEFICIOCTR")};

// A literal for a parameter, from its name: the values of an open tab of the
// filled database, numbers for quantities and amounts, a time for stamps.
QString literalFor(const QString& param, const SalesKeys& k, TSqlDialect d)
{
    QString n = param.toUpper();
    if (n.startsWith(QLatin1String("P_")))
        n = n.mid(2);
    const QMap<QString, QString> text = {
        {QStringLiteral("CDFILIAL"), QStringLiteral("0001")},
        {QStringLiteral("CDLOJA"), QStringLiteral("01")},
        {QStringLiteral("CDCAIXA"), QStringLiteral("001")},
        {QStringLiteral("NRCOMANDA"), k.comanda},
        {QStringLiteral("NRVENDAREST"), k.venda},
        {QStringLiteral("NRMESA"), k.mesa},
        {QStringLiteral("NRPRODCOMVEN"), QStringLiteral("000003")},
        {QStringLiteral("CDPRODUTO"), QStringLiteral("000123")},
        {QStringLiteral("NRSEQBENECONS"), QStringLiteral("0000000123")},
        {QStringLiteral("TCDPRODUTO"), QString()},
        {QStringLiteral("IDSTPRCOMVEN"), QStringLiteral("6")},
        {QStringLiteral("IDSTCOMANDA"), QStringLiteral("1")},
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

QString withLiterals(const TADOStatement& s, const SalesKeys& k, TSqlDialect d)
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

// PostgreSQL: the text prepared with $1..$n, as the driver prepares it, and
// the literals to execute it with. After a few executions the server may
// keep one generic plan for every value, which cannot fold a parameter the way
// a literal is folded: that plan must use an index too.
QString withPositions(const TADOStatement& s, QStringList& literals, const SalesKeys& k)
{
    // One $n per occurrence, each with its own value: a name used twice may
    // be typed differently at each place, as the driver leaves it.
    static const QRegularExpression placeholder(QStringLiteral("(?<!:):([A-Za-z_][A-Za-z0-9_]*)"));
    const QStringList names = s.ParamNames();
    const QString sql = s.SQL();
    QString out;
    literals.clear();
    qsizetype last = 0;
    auto it = placeholder.globalMatch(sql);
    while (it.hasNext()) {
        const auto m = it.next();
        if (!names.contains(m.captured(1), Qt::CaseInsensitive))
            continue;
        literals << literalFor(m.captured(1), k, TSqlDialect::PostgreSQL);
        out += QStringView(sql).mid(last, m.capturedStart() - last);
        out += QStringLiteral("$%1").arg(literals.size());
        last = m.capturedEnd();
    }
    out += QStringView(sql).mid(last);
    return out;
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
            static const QStringList keywords = {QStringLiteral("WHERE"),  QStringLiteral("SET"),
                                                 QStringLiteral("ON"),     QStringLiteral("JOIN"),
                                                 QStringLiteral("INNER"),  QStringLiteral("LEFT"),
                                                 QStringLiteral("GROUP"),  QStringLiteral("ORDER"),
                                                 QStringLiteral("UNION"),  QStringLiteral("VALUES"),
                                                 QStringLiteral("SELECT"), QStringLiteral("FOR")};
            if (!alias.isEmpty() && !keywords.contains(alias.toUpper()))
                map[alias] = table;
        }
    }
    return map;
}

struct Verdict {
    QStringList plan;
    QStringList fullScans; // sales tables read whole
    QString error;
};

Verdict explain(TADOConnection& c, const TADOStatement& s, const SalesKeys& k, bool generic = false)
{
    Verdict v;
    const TSqlDialect d = c.Dialect();
    const QString sql = withLiterals(s, k, d);
    QSqlQuery q(c.Database());
    const QString prefix = d == TSqlDialect::SQLite ? QStringLiteral("EXPLAIN QUERY PLAN ")
                                                    : QStringLiteral("EXPLAIN ");
    if (generic) {
        QStringList literals;
        const QString positional = withPositions(s, literals, k);
        QSqlQuery setup(c.Database());
        const bool ok = setup.exec(QStringLiteral("DEALLOCATE ALL"))
            && setup.exec(QStringLiteral("SET plan_cache_mode = force_generic_plan"))
            && setup.exec(QStringLiteral("PREPARE kvp_generico AS ") + positional)
            && q.exec(
                QStringLiteral("EXPLAIN EXECUTE kvp_generico")
                + (literals.isEmpty() ? QString() : QStringLiteral("(%1)").arg(literals.join(QStringLiteral(", ")))));
        if (!ok) {
            v.error = (q.lastError().isValid() ? q.lastError() : setup.lastError()).text();
            setup.exec(QStringLiteral("RESET plan_cache_mode"));
            return v;
        }
        setup.exec(QStringLiteral("RESET plan_cache_mode"));
    } else if (!q.exec(prefix + sql)) {
        v.error = q.lastError().text();
        return v;
    }
    const int detail = d == TSqlDialect::SQLite ? q.record().indexOf(QStringLiteral("detail")) : 0;
    const QMap<QString, QString> names = aliases(sql);
    static const QRegularExpression sqliteScan(QStringLiteral("^SCAN (\\w+)( USING (COVERING )?INDEX \\w+)?"));
    static const QRegularExpression pgScan(QStringLiteral("Seq Scan on (\\w+)"));
    static const QRegularExpression derived(QStringLiteral("^(?:MATERIALIZE|CO-ROUTINE) (\\w+)"));
    QStringList derivedTables; // SQLite names subqueries as written ("a"), tables by alias ("A")
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

// PostgreSQL, a read query run once: the pages it touched (shared buffers hit
// or read, the top node's count) and the server's own time. Pages do not
// depend on the machine's load, so they tell whether a statement's work
// grows with the tables.
QString paginas(TADOConnection& c, const TADOStatement& s, const SalesKeys& k)
{
    if (!dynamic_cast<const TADOQuery*>(&s))
        return QString();
    QSqlQuery q(c.Database());
    if (!q.exec(QStringLiteral("EXPLAIN (ANALYZE, BUFFERS) ") + withLiterals(s, k, c.Dialect())))
        return q.lastError().text();
    static const QRegularExpression buffers(QStringLiteral("Buffers: shared( hit=(\\d+))?( read=(\\d+))?"));
    static const QRegularExpression tempo(QStringLiteral("Execution Time: ([0-9.]+) ms"));
    qint64 paginas = -1;
    QString ms;
    while (q.next()) {
        const QString line = q.value(0).toString();
        const auto b = buffers.match(line);
        if (paginas < 0 && b.hasMatch())
            paginas = b.captured(2).toLongLong() + b.captured(4).toLongLong();
        const auto t = tempo.match(line);
        if (t.hasMatch())
            ms = t.captured(1);
    }
    return QStringLiteral("%1 páginas, %2 ms no servidor").arg(qMax<qint64>(paginas, 0)).arg(ms);
}

QList<TADOStatement*> statementsOf(TrdmCancelaProd& m)
{
    return {&m.adqItComanda,
            &m.adqItComandaJuncao,
            &m.adqOcorCanc,
            &m.adqOcorrTodos,
            &m.adqBuscaPortaProd,
            &m.adqGarcomMesa,
            &m.adqImprLoja,
            &m.adqImprLoja2,
            &m.adqProdutoNormal,
            &m.adqProdutoFilho,
            &m.adqProdutosAdicionaisFilhos,
            &m.adqNomeProdutoPai,
            &m.adqImpBackup,
            &m.adqComandaVen,
            &m.adqPesqAcres,
            &m.adqBuscaSomaAcrescimo,
            &m.adqItem,
            &m.adqItPedidoQrvRel,
            &m.adqVerificaStatus,
            &m.adqVerificaStatus2,
            &m.adqValidaMesa,
            &m.adqInfoProdProduz,
            &m.adqImpCancInteg,
            &m.adqTotAdiantamento,
            &m.acmInsItemCan,
            &m.acmUpdQuant,
            &m.acmUpdStatus,
            &m.acmUpdQtdeItPedidoQrv,
            &m.acmUpdQtdeItPedidoQrvRel,
            &m.acmUpdSitItPedidoQrv,
            &m.acmUpdSitItPedidoQrvRel,
            &m.acmUpdBeneficio,
            &m.acmUpdQtdeBeneficio,
            &m.acmUpdComanda,
            &m.acmUpdPedidos,
            &m.AcmUpnAcres};
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QString target;
    qint64 items = 1000000;
    bool keep = false, pages = false;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--items") && i + 1 < args.size())
            items = args[++i].toLongLong();
        else if (args[i] == QLatin1String("--keep"))
            keep = true;
        else if (args[i] == QLatin1String("--pages"))
            pages = true;
        else
            target = args[i];
    }
    if (target.isEmpty() || items < 1000) {
        QTextStream(stderr) << "Uso: kvp-explain sqlite|ARQUIVO.db|postgresql://... [--items N] [--keep] [--pages]\n";
        return 2;
    }

    std::unique_ptr<ScratchDatabase> scratch;
    try {
        scratch = std::make_unique<ScratchDatabase>(target, QStringLiteral("kvp_explain"));
    } catch (const Exception& e) {
        QTextStream(stderr) << "Falha: " << MaskPasswordIn(e.Message(), target) << "\n";
        return 2;
    }
    if (keep)
        scratch->Keep();
    const QString database = scratch->Url();

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
        const SalesKeys keys = FillSales(c, items, true);
        c.CommitTrans();
        c.Execute(QStringLiteral("ANALYZE"));

        qputenv("KVP_DATABASE", database.toUtf8());
        TrdmCancelaProd module;
        module.adcCancelaProd.Open();
        out << "\nPlano de cada instrução (comanda " << keys.comanda << ", venda " << keys.venda << ", mesa "
            << keys.mesa << "):\n";
        for (TADOStatement* s : statementsOf(module)) {
            if (s->SQL().trimmed().isEmpty()) {
                out << QStringLiteral("  %1 sem texto\n").arg(s->Name(), -28);
                ++failures;
                continue;
            }
            Verdict v = explain(c, *s, keys);
            QString generico;
            if (v.error.isEmpty() && v.fullScans.isEmpty() && c.Dialect() == TSqlDialect::PostgreSQL) {
                v = explain(c, *s, keys, true);
                generico = QStringLiteral(" (plano genérico)");
            }
            if (!v.error.isEmpty()) {
                out << QStringLiteral("  %1 ERRO%2: %3\n").arg(s->Name().leftJustified(28), generico, v.error);
                ++failures;
            } else if (!v.fullScans.isEmpty()) {
                out << QStringLiteral("  %1 LEITURA COMPLETA de %2%3\n")
                           .arg(s->Name().leftJustified(28), v.fullScans.join(QStringLiteral(", ")), generico);
                for (const QString& line : v.plan)
                    out << "      " << line << "\n";
                ++fullScans;
            } else if (const QString p = pages ? paginas(c, *s, keys) : QString(); !p.isEmpty()) {
                out << QStringLiteral("  %1 ok (%2)\n").arg(s->Name(), -28).arg(p);
            } else {
                out << QStringLiteral("  %1 ok\n").arg(s->Name(), -28);
            }
        }
    } catch (const Exception& e) {
        out << "Falha: " << MaskPasswordIn(e.Message(), database) << "\n";
        ++failures;
    }

    scratch.reset();
    out << "\n"
        << (fullScans + failures == 0 ? "Todas as instruções usam índices."
                                      : "Há instruções que leem tabelas de vendas inteiras ou falharam.")
        << "\n";
    return fullScans + failures == 0 ? 0 : 1;
}
