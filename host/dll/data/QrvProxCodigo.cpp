#include "QrvProxCodigo.h"

#include "Exception.h"
#include "ado/ADO.h"

namespace {
// The item number column's width, and the format of a tab's first number.
constexpr int kColumnWidth = 6;
} // namespace

TdtmQrvProxCodigo::TdtmQrvProxCodigo(TADOConnection& connection) : m_connection(connection) {}

TdtmQrvProxCodigo::~TdtmQrvProxCodigo() = default;

QString TdtmQrvProxCodigo::PrxItemComanda(const QString& cdFilial, const QString& nrComanda, int step)
{
    if (step < 1)
        step = 1;

    if (m_connection.Dialect() == TSqlDialect::PostgreSQL && m_connection.InTransaction()) {
        // Two tills splitting different items of one tab hold different item
        // rows; this lock, kept to their commit, makes them take numbers one
        // after the other. It is taken last, so it cannot close a wait cycle.
        TADOQuery lock(&m_connection, QStringLiteral("adqTravaItComanda"));
        lock.SetSQL(QStringLiteral("SELECT pg_advisory_xact_lock(917, "
                                   "hashtext(CAST(:P_CDFILIAL AS TEXT) || '/' || CAST(:P_NRCOMANDA AS TEXT)))"));
        lock.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
        lock.SetParam(QStringLiteral("P_NRCOMANDA"), nrComanda);
        lock.Open();
    }

    // Item numbers are text; the highest one is found by value, not by text
    // order, over the tab's numeric numbers.
    TADOQuery numbers(&m_connection, QStringLiteral("adqProxItComanda"));
    numbers.SetSQL(QStringLiteral("SELECT NRPRODCOMVEN FROM ITCOMANDAVEN "
                                  "WHERE CDFILIAL = :P_CDFILIAL AND NRCOMANDA = :P_NRCOMANDA"));
    numbers.SetParam(QStringLiteral("P_CDFILIAL"), cdFilial);
    numbers.SetParam(QStringLiteral("P_NRCOMANDA"), nrComanda);

    // A tab holds every line it ever had: each number is read and checked as
    // it comes, with no copy of the list kept.
    qlonglong highest = 0;
    int width = 0;
    numbers.ScanColumn(QStringLiteral("NRPRODCOMVEN"), [&](const QVariant& v) {
        const QString number = v.toString().trimmed();
        if (number.isEmpty())
            return;
        qlonglong value = 0;
        bool ok = true;
        for (const QChar c : number) {
            if (c.unicode() < '0' || c.unicode() > '9') {
                ok = false;
                break;
            }
            value = value * 10 + (c.unicode() - '0');
        }
        // Past 18 digits the sum above may overflow: the library's conversion
        // says whether the number fits at all.
        if (ok && number.size() > 18)
            value = number.toLongLong(&ok);
        if (!ok)
            return;
        highest = qMax(highest, value);
        width = qMax(width, int(number.size()));
    });
    if (width == 0)
        width = kColumnWidth;

    // A tab numbered "1", "2", ... goes on to "10": only a number that no
    // longer fits the column means the tab has run out.
    const QString next = QStringLiteral("%1").arg(highest + step, width, 10, QLatin1Char('0'));
    if (next.size() > qMax(width, kColumnWidth))
        throw EDatabaseError(QStringLiteral("A comanda %1 não tem mais números de item livres (último: %2).")
                                 .arg(nrComanda)
                                 .arg(highest, width, 10, QLatin1Char('0')));
    return next;
}
