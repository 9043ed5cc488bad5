#include <QAtomicInt>
#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>

#include "ADO.h"
#include "ADOErrors.h"
#include "ConnectionString.h"

EADOError::~EADOError() = default;

QString DialectName(TSqlDialect d)
{
    switch (d) {
    case TSqlDialect::SQLite: return QStringLiteral("SQLite");
    case TSqlDialect::PostgreSQL: return QStringLiteral("PostgreSQL");
    case TSqlDialect::Oracle: return QStringLiteral("Oracle");
    case TSqlDialect::MSSQL: return QStringLiteral("SQL Server");
    case TSqlDialect::Unknown: break;
    }
    return QStringLiteral("desconhecido");
}

struct TADOConnection::Private {
    QString name;
    QString connectionName;          // of the QSqlDatabase, unique
    QString driver;                  // driver of the registered QSqlDatabase
    QSqlDatabase db;
    TSqlDialect dialect = TSqlDialect::Unknown;
    QString connectionString;        // the one connected with, for masking its passwords
    QString lastError;
    bool inTransaction = false;
};

namespace {
QAtomicInt connectionSerial;

// Connection-level failure: the sentence an operator reads at start-up.
[[noreturn]] void raiseConnectError(const QString& display, const QString& reason, const QString& connectionString,
                                    const QString& nativeCode = QString())
{
    const QString text = MaskPasswordIn(reason, connectionString);
    throw EADOError(QStringLiteral("Não foi possível conectar ao banco de dados %1: %2").arg(display, text), QString(),
                    text, nativeCode);
}
} // namespace

TADOConnection::TADOConnection(QObject* parent, const QString& name) : QObject(parent), d(std::make_unique<Private>())
{
    d->name = name;
    d->connectionName = QStringLiteral("%1#%2").arg(name).arg(connectionSerial.fetchAndAddOrdered(1) + 1);
    setObjectName(name);
}

TADOConnection::~TADOConnection()
{
    if (d->db.isValid() && d->db.isOpen())
        d->db.close();
    const bool registered = d->db.isValid();
    d->db = QSqlDatabase();
    if (registered)
        QSqlDatabase::removeDatabase(d->connectionName);
}

bool TADOConnection::Connected() const
{
    return d->db.isValid() && d->db.isOpen();
}

TSqlDialect TADOConnection::Dialect() const
{
    return d->dialect;
}

TSqlDialect TADOConnection::DialectOf(const QString& connectionString)
{
    try {
        return ParseConnectionString(connectionString).Dialect;
    } catch (const Exception&) {
        return TSqlDialect::Unknown;
    }
}

QSqlDatabase TADOConnection::Database() const
{
    return d->db;
}

QString TADOConnection::ConnectionName() const
{
    return d->connectionName;
}

QString TADOConnection::DisplayName() const
{
    return MaskPassword(ConnectionString.trimmed());
}

QString TADOConnection::LastError() const
{
    return d->lastError;
}

void TADOConnection::SetConnected(bool on)
{
    if (on == Connected())
        return;
    if (!on) {
        // The server drops an open transaction with the session.
        d->inTransaction = false;
        d->db.close();
        return;
    }

    d->lastError.clear();
    try {
        if (BeforeConnect)
            BeforeConnect(*this);
        const QString display = DisplayName();
        const TConnectionTarget target = ParseConnectionString(ConnectionString);
        d->connectionString = ConnectionString;
        d->dialect = target.Dialect;

        if (!QSqlDatabase::isDriverAvailable(target.Driver))
            raiseConnectError(display, QStringLiteral("o driver %1 do Qt não está instalado").arg(target.Driver), QString());
        if (target.Driver == QLatin1String("QSQLITE")) {
            const QFileInfo file(target.DatabaseName);
            if (file.isDir() || target.DatabaseName.endsWith(QLatin1Char('/')))
                raiseConnectError(display, QStringLiteral("o caminho é uma pasta, não um arquivo"), QString());
            if (!file.absoluteDir().exists())
                raiseConnectError(display, QStringLiteral("a pasta %1 não existe").arg(file.absolutePath()), QString());
            if (!file.exists() && !CreateIfMissing)
                raiseConnectError(display, QStringLiteral("o arquivo não existe"), QString());
        }

        if (d->db.isValid() && d->driver != target.Driver) {
            d->db = QSqlDatabase();
            QSqlDatabase::removeDatabase(d->connectionName);
        }
        if (!d->db.isValid()) {
            d->db = QSqlDatabase::addDatabase(target.Driver, d->connectionName);
            d->driver = target.Driver;
        }
        d->db.setDatabaseName(target.DatabaseName);
        d->db.setHostName(target.Host);
        d->db.setPort(target.Port);
        d->db.setUserName(target.User);
        d->db.setPassword(target.Password);
        d->db.setConnectOptions(target.Options);
        if (!d->db.open()) {
            const QSqlError e = d->db.lastError();
            QString reason = e.databaseText().isEmpty() ? e.driverText() : e.databaseText();
            raiseConnectError(display, CollapseEngineText(reason), ConnectionString, e.nativeErrorCode());
        }
        d->inTransaction = false;
        if (AfterConnect) {
            try {
                AfterConnect(*this);
            } catch (...) {
                d->db.close();
                throw;
            }
        }
    } catch (const Exception& e) {
        d->lastError = e.Message();
        throw;
    }
}

int TADOConnection::Execute(const QString& sql)
{
    if (!Connected())
        throw EDatabaseError(QStringLiteral("%1: a conexão com o banco de dados não está aberta").arg(d->name));
    QSqlQuery q(d->db);
    if (!q.exec(sql))
        RaiseStatementError(d->name, q.lastError(), d->connectionString);
    return q.numRowsAffected();
}

bool TADOConnection::InTransaction() const
{
    return d->inTransaction && Connected();
}

void TADOConnection::BeginTrans()
{
    if (!Connected())
        throw EDatabaseError(QStringLiteral("%1: a conexão com o banco de dados não está aberta").arg(d->name));
    if (d->inTransaction)
        throw EDatabaseError(QStringLiteral("%1: já existe uma transação aberta nesta conexão").arg(d->name));
    switch (d->dialect) {
    case TSqlDialect::SQLite:
        // Take the write lock now: a deferred BEGIN that reads and then writes
        // fails at once when another till wrote in between.
        Execute(QStringLiteral("BEGIN IMMEDIATE"));
        break;
    case TSqlDialect::PostgreSQL:
        Execute(QStringLiteral("BEGIN"));
        break;
    default:
        if (!d->db.transaction())
            RaiseStatementError(d->name, d->db.lastError(), d->connectionString);
        break;
    }
    d->inTransaction = true;
}

void TADOConnection::CommitTrans()
{
    if (!d->inTransaction)
        throw EDatabaseError(QStringLiteral("%1: não há transação aberta para confirmar").arg(d->name));
    try {
        if (d->dialect == TSqlDialect::SQLite || d->dialect == TSqlDialect::PostgreSQL)
            Execute(QStringLiteral("COMMIT"));
        else if (!d->db.commit())
            RaiseStatementError(d->name, d->db.lastError(), d->connectionString);
    } catch (...) {
        // A commit that failed has written nothing; leave no transaction behind.
        try {
            if (d->dialect == TSqlDialect::SQLite || d->dialect == TSqlDialect::PostgreSQL)
                Execute(QStringLiteral("ROLLBACK"));
            else
                d->db.rollback();
        } catch (...) {
        }
        d->inTransaction = false;
        throw;
    }
    d->inTransaction = false;
}

void TADOConnection::RollbackTrans()
{
    if (!d->inTransaction)
        throw EDatabaseError(QStringLiteral("%1: não há transação aberta para desfazer").arg(d->name));
    d->inTransaction = false;
    if (d->dialect == TSqlDialect::SQLite || d->dialect == TSqlDialect::PostgreSQL) {
        QSqlQuery q(d->db);
        if (!q.exec(QStringLiteral("ROLLBACK"))) {
            // SQLite ends a transaction by itself after some failures (disk
            // full, interrupted); there is nothing left to undo then.
            if (d->dialect == TSqlDialect::SQLite && q.lastError().databaseText().contains(QLatin1String("no transaction")))
                return;
            RaiseStatementError(d->name, q.lastError(), d->connectionString);
        }
    } else if (!d->db.rollback()) {
        RaiseStatementError(d->name, d->db.lastError(), d->connectionString);
    }
}
