#pragma once
// A year of restaurant sales for the measuring tools (kvp-explain, kvp-bench):
// item lines with the tabs, sales, production rows, components and bookings
// that go with them, and the set-up tables of a large restaurant.
#include <QString>

#include "ado/ADO.h"

// An open tab of the filled database, with its sale and table.
struct SalesKeys {
    QString comanda, venda, mesa;
};

// INSERT ... SELECT over a number series, in the text of each engine.
struct SalesFiller {
    TADOConnection& c;
    TSqlDialect d;
    bool verbose = true;

    QString pad(const QString& expr, int width) const;
    QString stamp(const QString& minutesExpr) const;
    // INSERT INTO table (columns) SELECT values FROM 1..count AS I
    void series(const QString& table, const QString& columns, const QString& values, qint64 count);
};

// Fills an empty schema with `items` item lines (at least 400 tabs).
SalesKeys FillSales(TADOConnection& c, qint64 items, bool verbose);

// A database of the tool's own: a new SQLite file ("sqlite" names a temporary
// one), or a schema of its own on a PostgreSQL server, dropped at the end.
class ScratchDatabase {
public:
    // Raises Exception when the file exists or the schema cannot be created.
    ScratchDatabase(const QString& target, const QString& prefix);
    ~ScratchDatabase();
    void Keep() { m_keep = true; }
    const QString& Url() const { return m_url; } // the connection string to use
    TSqlDialect Dialect() const { return m_dialect; }

private:
    QString m_target, m_url, m_schema;
    TSqlDialect m_dialect = TSqlDialect::Unknown;
    bool m_keep = false;
};
