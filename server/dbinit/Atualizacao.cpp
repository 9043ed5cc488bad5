#include "Atualizacao.h"

#include <QDateTime>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>

#include "Connection.h"
#include "Exception.h"
#include "Schema.h"
#include "ado/ADO.h"
#include "ado/ADOErrors.h"

namespace {

// The catalogue's answer, one column per row, in upper case.
QStringList column(TADOConnection& connection, const QString& sql, int field = 0)
{
    QSqlQuery q(connection.Database());
    if (!q.exec(sql))
        RaiseStatementError(QStringLiteral("catálogo"), q.lastError(), connection.ConnectionString);
    QStringList values;
    while (q.next())
        values << q.value(field).toString().toUpper();
    return values;
}

QStringList tablesOf(TADOConnection& connection)
{
    switch (connection.Dialect()) {
    case TSqlDialect::SQLite:
        return column(connection, QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
    case TSqlDialect::PostgreSQL:
        return column(connection,
                      QStringLiteral("SELECT table_name FROM information_schema.tables "
                                     "WHERE table_schema = current_schema()"));
    default: throw Exception(QStringLiteral("A atualização do esquema só é feita em SQLite e PostgreSQL."));
    }
}

// The names come from the schema's own definitions, never from input.
QSet<QString> columnsOf(TADOConnection& connection, const QString& table)
{
    const QString sql = connection.Dialect() == TSqlDialect::SQLite
        ? QStringLiteral("SELECT name FROM pragma_table_info('%1')").arg(table)
        : QStringLiteral("SELECT column_name FROM information_schema.columns "
                         "WHERE table_schema = current_schema() AND UPPER(table_name) = '%1'")
              .arg(table);
    const QStringList names = column(connection, sql);
    return QSet<QString>(names.begin(), names.end());
}

// The table's own indexes (not its key) and their columns in order.
QMap<QString, QStringList> indexesOf(TADOConnection& connection, const QString& table)
{
    const QString sql = connection.Dialect() == TSqlDialect::SQLite
        ? QStringLiteral("SELECT il.name, ii.name FROM pragma_index_list('%1') il, pragma_index_info(il.name) ii "
                         "WHERE il.origin = 'c' ORDER BY il.name, ii.seqno")
              .arg(table)
        : QStringLiteral("SELECT i.relname, a.attname FROM pg_index x "
                         "JOIN pg_class i ON i.oid = x.indexrelid JOIN pg_class t ON t.oid = x.indrelid "
                         "JOIN pg_namespace n ON n.oid = t.relnamespace "
                         "CROSS JOIN LATERAL unnest(x.indkey) WITH ORDINALITY AS k(attnum, ord) "
                         "JOIN pg_attribute a ON a.attrelid = t.oid AND a.attnum = k.attnum "
                         "WHERE n.nspname = current_schema() AND UPPER(t.relname) = '%1' AND NOT x.indisprimary "
                         "ORDER BY i.relname, k.ord")
              .arg(table);
    const QStringList names = column(connection, sql, 0);
    const QStringList columns = column(connection, sql, 1);
    QMap<QString, QStringList> indexes;
    for (int i = 0; i < names.size() && i < columns.size(); ++i)
        indexes[names.at(i)] << columns.at(i);
    return indexes;
}

struct Plan {
    QStringList statements;
    QStringList changes; // told to the user, one line each
    QString refusal; // not empty: nothing may be done
};

// What takes a database that has the module's tables to the current
// definitions: missing tables and columns are added, an index whose columns
// changed is made again. Extra tables, columns and indexes are left alone:
// they may be another program's.
Plan planUpgrade(TADOConnection& connection, const QStringList& present)
{
    Plan plan;
    const TSqlDialect dialect = connection.Dialect();
    for (const KvpSchema::Table& t : KvpSchema::Tables()) {
        if (!present.contains(t.Name)) {
            plan.statements << KvpSchema::CreateTableStatements(t, dialect);
            plan.changes << QStringLiteral("tabela %1 criada").arg(t.Name);
            continue;
        }
        const QSet<QString> columns = columnsOf(connection, t.Name);
        for (const KvpSchema::Column& c : t.Columns) {
            if (columns.contains(c.Name))
                continue;
            // A key column cannot be added to rows that exist: that table is not ours.
            if (t.PrimaryKey.contains(c.Name)) {
                plan.refusal = QStringLiteral("a tabela %1 não tem a coluna %2 da sua chave").arg(t.Name, c.Name);
                return plan;
            }
            plan.statements << QStringLiteral("ALTER TABLE %1 ADD COLUMN %2")
                                   .arg(t.Name, KvpSchema::ColumnDefinition(t, c, dialect));
            plan.changes << QStringLiteral("coluna %1.%2 criada").arg(t.Name, c.Name);
        }
        const QMap<QString, QStringList> indexes = indexesOf(connection, t.Name);
        for (const KvpSchema::Index& ix : t.Indexes) {
            const auto found = indexes.constFind(ix.Name.toUpper());
            if (found == indexes.constEnd()) {
                plan.statements << KvpSchema::CreateIndexStatement(t, ix);
                plan.changes << QStringLiteral("índice %1 criado").arg(ix.Name);
            } else if (*found != ix.Columns) {
                plan.statements << QStringLiteral("DROP INDEX %1").arg(ix.Name)
                                << KvpSchema::CreateIndexStatement(t, ix);
                plan.changes
                    << QStringLiteral("índice %1 refeito (%2)").arg(ix.Name, ix.Columns.join(QStringLiteral(", ")));
            }
        }
    }
    return plan;
}

// A copy next to the file, never over an earlier one.
QString backupPath(const QString& sqlitePath, int from)
{
    const QString base = QStringLiteral("%1.v%2.bak").arg(sqlitePath).arg(from);
    QString path = base;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QStringLiteral("%1.%2").arg(base).arg(n);
    return path;
}

} // namespace

QStringList ExistingModuleTables(TADOConnection& connection)
{
    const QStringList present = tablesOf(connection);
    QStringList ours;
    QStringList names = KvpSchema::TableNames();
    names << QString::fromLatin1(kTabelaVersao);
    for (const QString& t : std::as_const(names))
        if (present.contains(t))
            ours << t;
    return ours;
}

int UpgradeDatabase(TADOConnection& connection, const QString& sqlitePath, QTextStream& out, QTextStream& err)
{
    const QString display = connection.DisplayName();
    const int version = LeVersaoEsquema(connection);
    if (version == kVersaoEsquema) {
        out << "O banco de dados " << display << " já está na versão " << kVersaoEsquema
            << " do esquema. Nada foi alterado.\n";
        return 0;
    }
    if (version > kVersaoEsquema) {
        err << "O banco de dados " << display << " está na versão " << version
            << " do esquema, mais nova que a deste kvp-dbinit (" << kVersaoEsquema << "). Nada foi alterado.\n";
        return 1;
    }

    const QStringList present = tablesOf(connection);
    // Without a recorded version, the tables every version of the system had
    // tell its database from another's.
    if (version == 0) {
        QStringList missing;
        for (const char* core : {"VENDAREST", "COMANDAVEN", "ITCOMANDAVEN"})
            if (!present.contains(QString::fromLatin1(core)))
                missing << QString::fromLatin1(core);
        if (!missing.isEmpty()) {
            err << "O banco de dados " << display << " não é um banco deste sistema (faltam as tabelas "
                << missing.join(QStringLiteral(", "))
                << "). Nada foi alterado. Um banco vazio se prepara com kvp-dbinit BANCO, sem --upgrade.\n";
            return 1;
        }
    }
    Plan plan = planUpgrade(connection, present);
    if (!plan.refusal.isEmpty()) {
        err << "O banco de dados " << display << " não é um banco deste sistema: " << plan.refusal
            << ". Nada foi alterado.\n";
        return 1;
    }
    if (!present.contains(QString::fromLatin1(kTabelaVersao))) {
        plan.statements << KvpSchema::CreateVersionTableStatement(connection.Dialect());
        plan.changes << QStringLiteral("tabela %1 criada").arg(QString::fromLatin1(kTabelaVersao));
    }
    // Versions before 2 were not recorded; 2 is the first that is. A later
    // version adds its own step here, each in a transaction of its own.
    plan.statements << KvpSchema::RecordVersionStatement(kVersaoEsquema);

    if (connection.Dialect() == TSqlDialect::SQLite) {
        const QString copy = backupPath(sqlitePath, version);
        QSqlQuery q(connection.Database());
        q.prepare(QStringLiteral("VACUUM INTO ?"));
        q.addBindValue(copy);
        if (!q.exec()) {
            err << "A cópia de segurança " << copy << " não pôde ser feita: " << q.lastError().databaseText()
                << ". Nada foi alterado.\n";
            return 1;
        }
        out << "Cópia de segurança do banco antes da atualização: " << copy << "\n";
    }

    connection.BeginTrans();
    for (const QString& sql : std::as_const(plan.statements))
        connection.Execute(sql);
    connection.CommitTrans();

    out << "Banco de dados " << display << " atualizado da versão "
        << (version == 0 ? QStringLiteral("sem registro") : QString::number(version)) << " para a " << kVersaoEsquema
        << " do esquema:\n";
    for (const QString& change : std::as_const(plan.changes))
        out << "  " << change << "\n";
    return 0;
}

int GrantTillRole(TADOConnection& connection, const QString& role, QTextStream& out, QTextStream& err)
{
    if (connection.Dialect() != TSqlDialect::PostgreSQL) {
        err << "--role só vale para PostgreSQL: num arquivo SQLite o acesso é o do sistema de arquivos.\n";
        return 1;
    }
    // A plain lower-case name: no quoting games in the statements below.
    static const QRegularExpression valid(QStringLiteral("^[a-z_][a-z0-9_]{0,62}$"));
    if (!valid.match(role).hasMatch()) {
        err << "Nome de papel inválido: " << role << " (letras minúsculas, algarismos e _).\n";
        return 1;
    }
    const QString password = qEnvironmentVariable("KVP_ROLE_PASSWORD");

    QSqlQuery q(connection.Database());
    auto run = [&](const QString& sql) { connection.Execute(sql); };
    // The server quotes the password itself (format %L).
    auto formatted = [&](const QString& pattern) {
        if (!q.prepare(QStringLiteral("SELECT format(?, ?::text)")))
            RaiseStatementError(QStringLiteral("format"), q.lastError(), connection.ConnectionString);
        q.addBindValue(pattern);
        q.addBindValue(password);
        if (!q.exec() || !q.next())
            RaiseStatementError(QStringLiteral("format"), q.lastError(), connection.ConnectionString);
        return q.value(0).toString();
    };

    if (!q.prepare(QStringLiteral("SELECT COUNT(*) FROM pg_roles WHERE rolname = ?")))
        RaiseStatementError(QStringLiteral("pg_roles"), q.lastError(), connection.ConnectionString);
    q.addBindValue(role);
    if (!q.exec() || !q.next())
        RaiseStatementError(QStringLiteral("pg_roles"), q.lastError(), connection.ConnectionString);
    const bool exists = q.value(0).toInt() > 0;
    // As the server spells them: quoted below, so case matters.
    if (!q.exec(QStringLiteral("SELECT current_database(), current_schema()")) || !q.next())
        RaiseStatementError(QStringLiteral("current_database"), q.lastError(), connection.ConnectionString);
    QString database = q.value(0).toString();
    QString schema = q.value(1).toString();
    database.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    schema.replace(QLatin1Char('"'), QStringLiteral("\"\""));

    connection.BeginTrans();
    if (!exists)
        run(password.isEmpty() ? QStringLiteral("CREATE ROLE %1 LOGIN").arg(role)
                               : formatted(QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD %L").arg(role)));
    else if (!password.isEmpty())
        run(formatted(QStringLiteral("ALTER ROLE %1 PASSWORD %L").arg(role)));
    // Also taken back from a role that had more: a till never changes the schema.
    run(QStringLiteral("ALTER ROLE %1 NOSUPERUSER NOCREATEDB NOCREATEROLE").arg(role));
    run(QStringLiteral("GRANT CONNECT ON DATABASE \"%1\" TO %2").arg(database, role));
    run(QStringLiteral("REVOKE CREATE ON SCHEMA \"%1\" FROM %2").arg(schema, role));
    run(QStringLiteral("GRANT USAGE ON SCHEMA \"%1\" TO %2").arg(schema, role));
    QStringList tables = KvpSchema::TableNames();
    tables << QString::fromLatin1(kTabelaVersao);
    for (const QString& t : tables) {
        run(QStringLiteral("REVOKE ALL ON %1 FROM %2").arg(t, role));
        run(QStringLiteral("GRANT SELECT ON %1 TO %2").arg(t, role));
    }
    for (const auto& [table, rights] : KvpSchema::TillWriteRights())
        run(QStringLiteral("GRANT %1 ON %2 TO %3").arg(rights, table, role));
    connection.CommitTrans();

    out << "Papel " << role << (exists ? " atualizado" : " criado") << " em " << connection.DisplayName()
        << ": lê as tabelas do módulo e grava só o que o cancelamento grava; não altera o esquema.\n";
    if (!exists && password.isEmpty())
        out << "  Sem senha (KVP_ROLE_PASSWORD não definida): o servidor precisa autenticá-lo de outro modo.\n";
    return 0;
}
