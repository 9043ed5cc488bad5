#include "SalesData.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTextStream>
#include <QUrl>

#include "Exception.h"

QString SalesFiller::pad(const QString& expr, int width) const
{
    // Built by hand: "%0" in a format would be taken for a placeholder.
    if (d == TSqlDialect::SQLite)
        return QStringLiteral("printf('%0") + QString::number(width) + QStringLiteral("d', ") + expr + QLatin1Char(')');
    return QStringLiteral("lpad(CAST(%1 AS TEXT), %2, '0')").arg(expr, QString::number(width));
}

QString SalesFiller::stamp(const QString& minutesExpr) const
{
    return d == TSqlDialect::SQLite
        ? QStringLiteral("strftime('%Y-%m-%dT%H:%M:%S.000', '2024-01-01 11:00:00', '+' || (%1) || ' minutes')")
              .arg(minutesExpr)
        : QStringLiteral("TIMESTAMP '2024-01-01 11:00:00' + (%1) * INTERVAL '1 minute'").arg(minutesExpr);
}

void SalesFiller::series(const QString& table, const QString& columns, const QString& values, qint64 count)
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
    if (verbose) {
        QTextStream out(stdout);
        out << QStringLiteral("  %1: %2 linhas (%3 s)\n")
                   .arg(table, -16)
                   .arg(count)
                   .arg(t.elapsed() / 1000.0, 0, 'f', 1);
    }
}

SalesKeys FillSales(TADOConnection& c, qint64 items, bool verbose)
{
    SalesFiller f{c, c.Dialect(), verbose};
    const qint64 tabs = qMax<qint64>(items / 10, 400);
    const qint64 sales = tabs / 2;
    const int mesas = 200;
    // Item k belongs to tab (k-1)/10+1; tab t to sale (t+1)/2; the last `mesas`
    // sales are open, one per table.
    const QString tabOfItem = QStringLiteral("((I - 1) / 10 + 1)");
    const QString saleOfTab = QStringLiteral("((I + 1) / 2)");

    f.series(QStringLiteral("VENDAREST"),
             QStringLiteral(
                 "CDFILIAL, NRVENDAREST, CDLOJA, NRMESA, CDOPERADOR, DTHRABERMESA, DTHRFECHMESA, CDVENDEDOR"),
             QStringLiteral("'0001', %1, '01', %2, '0001', %3, CASE WHEN I > %4 THEN NULL ELSE %5 END, %6")
                 .arg(f.pad(QStringLiteral("I"), 10), f.pad(QStringLiteral("I % 200 + 1"), 4),
                      f.stamp(QStringLiteral("I")), QString::number(sales - mesas), f.stamp(QStringLiteral("I + 90")),
                      f.pad(QStringLiteral("I % 20 + 1"), 4)),
             sales);
    f.series(QStringLiteral("COMANDAVEN"),
             QStringLiteral("CDFILIAL, NRCOMANDA, NRVENDAREST, DSCOMANDA, IDSTCOMANDA, VRACRCOMANDA, CDLOJA"),
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
             QString(itemKey).replace(QLatin1String("(I - 1)"), QLatin1String("(I * 10 - 1)"))
                 + QStringLiteral(", 'P', 1"),
             items / 10);
    f.series(QStringLiteral("ITCOMANDAEST"),
             QStringLiteral("CDFILIAL, NRCOMANDA, NRPRODCOMVEN, NRVENDAREST, CDPRODUTO, QTPROCOMEST, IDIMPPRGRPROMO"),
             QString(itemKey).replace(QLatin1String("(I - 1)"), QLatin1String("(I * 5 - 1)"))
                 + QStringLiteral(", %1, 1, 'N'").arg(f.pad(QStringLiteral("I % 2000 + 1"), 6)),
             items / 5);
    f.series(QStringLiteral("OBSITCOMANDAVEN"),
             QStringLiteral("CDFILIAL, NRCOMANDA, NRPRODCOMVEN, NRVENDAREST, CDGRPOCOR, CDOCORR"),
             QString(itemKey).replace(QLatin1String("(I - 1)"), QLatin1String("(I * 20 - 1)"))
                 + QStringLiteral(", '02', '02'"),
             items / 20);
    f.series(QStringLiteral("MOVCAIXAMOB"), QStringLiteral("CDFILIAL, NRCOMANDA, VRMOV"),
             QStringLiteral("'0001', %1, 20").arg(f.pad(QStringLiteral("I * 2"), 10)), tabs / 2);
    f.series(
        QStringLiteral("MOVBENEFICIOCONS"),
        QStringLiteral(
            "NRSEQBENECONS, CDFILIAL, CDCAIXA, CDCLIENTE, CDCONSUMIDOR, CDCAMPANHA, NRSEQPRODCAMP, NRSEQBENEFICIO"),
        QStringLiteral("%1, '0001', '001', %2, '0001', 'FIDELIDADE', '001', '01'")
            .arg(f.pad(QStringLiteral("I"), 10), f.pad(QStringLiteral("I"), 8)),
        items / 20);
    f.series(QStringLiteral("MOVBENEFICIOCTR"),
             QStringLiteral("CDCLIENTE, CDCONSUMIDOR, CDCAMPANHA, NRSEQPRODCAMP, NRSEQBENEFICIO, QTDEBENEFICIO"),
             QStringLiteral("%1, '0001', 'FIDELIDADE', '001', '01', 3").arg(f.pad(QStringLiteral("I"), 8)), items / 20);

    // Set-up tables, at the size of a large restaurant.
    f.series(QStringLiteral("PRODUTO"),
             QStringLiteral("CDPRODUTO, NMPRODUTO, CDARVPROD, IDPESAPROD, IDTIPOCOMPPROD, CDNVPRODUTO"),
             QStringLiteral(
                 "%1, 'Produto ' || I, %1, 'N', CAST(I % 4 AS VARCHAR(1)), CASE WHEN I <= 20 THEN '1' ELSE '3' END")
                 .arg(f.pad(QStringLiteral("I"), 6)),
             2000);
    f.series(QStringLiteral("PRODLOJA"),
             QStringLiteral("CDFILIAL, CDLOJA, CDPRODUTO, CDPORIMPPROD, DSENDIMPPROD, IDIMPCANITEM, NRSEQIMPRPROD, "
                            "NRSEQIMPRPROD2, NRSEQIMPRPUXA"),
             QStringLiteral("'0001', '01', %1, 'COZ', '10.0.0.50:9100', 'S', '01', CASE WHEN I % 3 = 0 THEN '02' END, "
                            "CASE WHEN I % 7 = 0 THEN '03' END")
                 .arg(f.pad(QStringLiteral("I"), 6)),
             2000);
    f.series(QStringLiteral("PRODOCORRE"), QStringLiteral("CDPRODUTO, CDGRPOCOR, CDOCORR"),
             QStringLiteral("%1, '01', %2")
                 .arg(f.pad(QStringLiteral("(I - 1) / 3 + 1"), 6), f.pad(QStringLiteral("(I - 1) % 3 + 1"), 2)),
             6000);
    f.series(QStringLiteral("OCORRENCIA"),
             QStringLiteral("CDGRPOCOR, CDOCORR, CDTIPRISCO, DSOCORR, CDPRODUTO, IDCONTROLAOBS"),
             QStringLiteral(
                 "%1, %2, '01', 'Motivo ' || I, CASE WHEN I > 10 THEN %3 END, CASE WHEN I > 10 THEN 'A' ELSE 'N' END")
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
             QStringLiteral("'0001', '01', %1, %2")
                 .arg(f.pad(QStringLiteral("(I + 1) / 2"), 4), f.pad(QStringLiteral("I"), 4)),
             mesas / 2);
    f.series(QStringLiteral("VENDEDOR"), QStringLiteral("CDVENDEDOR, NMFANVEN, NRINSJURVEN"),
             QStringLiteral("%1, 'Garçom ' || I, '000'").arg(f.pad(QStringLiteral("I"), 4)), 20);
    f.series(QStringLiteral("LOJA"), QStringLiteral("CDFILIAL, CDLOJA, CDGRPOCORCAN"),
             QStringLiteral("'0001', %1, '01'").arg(f.pad(QStringLiteral("I"), 2)), 1);
    f.series(QStringLiteral("IMPRESSORA"), QStringLiteral("CDIMPRESSORA, IDMODEIMPRES"),
             QStringLiteral("'IMP' || I, '1'"), 2);
    f.series(QStringLiteral("MAPIMPRLOJA"), QStringLiteral("CDPORTAIMPR, DSENDPORTA"),
             QStringLiteral("'P' || I, '10.0.0.' || I || ':9100'"), 6);
    f.series(QStringLiteral("IMPRLOJA"), QStringLiteral("CDFILIAL, CDLOJA, NRSEQIMPRLOJA, CDPORTAIMPR, CDIMPRESSORA"),
             QStringLiteral("'0001', '01', %1, 'P' || I, 'IMP' || (I % 2 + 1)").arg(f.pad(QStringLiteral("I"), 2)), 6);
    f.series(
        QStringLiteral("CAIXA"),
        QStringLiteral("CDFILIAL, CDCAIXA, CDLOJA, NRSEQIMPRLOJA1, NRSEQIMPRLOJA1BK, NRSEQIMPRLOJA2, NRSEQIMPRLOJA2BK, "
                       "NRSEQIMPRLOJA5, NRSEQIMPRLOJA5BK, IDIMPCANPEDINT"),
        QStringLiteral("'0001', %1, '01', '01', '04', '02', '05', '03', '06', 'S'").arg(f.pad(QStringLiteral("I"), 3)),
        5);
    f.series(QStringLiteral("PARAMGERAL"), QStringLiteral("IDINFPRODPRODUZ"), QStringLiteral("'S'"), 1);

    const auto pad = [](qint64 v, int w) { return QStringLiteral("%1").arg(v, w, 10, QLatin1Char('0')); };
    return {pad(tabs, 10), pad(sales, 10), pad(sales % 200 + 1, 4)};
}

ScratchDatabase::ScratchDatabase(const QString& target, const QString& prefix) : m_target(target), m_url(target)
{
    if (target == QLatin1String("sqlite"))
        m_url = QDir::temp().filePath(QStringLiteral("%1-%2.db").arg(prefix).arg(QCoreApplication::applicationPid()));
    m_dialect = TADOConnection::DialectOf(m_url);
    if (m_dialect == TSqlDialect::SQLite && QFile::exists(m_url))
        throw Exception(QStringLiteral("%1 já existe: informe um arquivo novo.").arg(m_url));
    if (m_dialect == TSqlDialect::PostgreSQL) {
        m_schema = QStringLiteral("%1_%2").arg(prefix).arg(QRandomGenerator::global()->bounded(1000000));
        m_schema.replace(QLatin1Char('-'), QLatin1Char('_'));
        TADOConnection admin(nullptr, QStringLiteral("adcAdmin"));
        admin.ConnectionString = target;
        admin.Open();
        admin.Execute(QStringLiteral("CREATE SCHEMA %1").arg(m_schema));
        m_url += (m_url.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) + QStringLiteral("options=")
            + QString::fromLatin1(QUrl::toPercentEncoding(QStringLiteral("-c search_path=%1").arg(m_schema)));
    }
}

ScratchDatabase::~ScratchDatabase()
{
    QTextStream out(stdout);
    if (m_keep) {
        out << "Banco mantido: " << MaskPassword(m_url) << "\n";
        return;
    }
    if (m_dialect == TSqlDialect::SQLite) {
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(m_url + QLatin1String(suffix));
    } else if (!m_schema.isEmpty()) {
        TADOConnection admin(nullptr, QStringLiteral("adcAdmin"));
        admin.ConnectionString = m_target;
        try {
            admin.Open();
            admin.Execute(QStringLiteral("SET client_min_messages TO warning"));
            admin.Execute(QStringLiteral("DROP SCHEMA %1 CASCADE").arg(m_schema));
        } catch (const Exception& e) {
            out << "Falha ao apagar o esquema " << m_schema << ": " << e.Message() << "\n";
        }
    }
}
