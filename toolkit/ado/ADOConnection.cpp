#include <QAtomicInt>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <map>
#include <sys/stat.h>
#include <unordered_map>

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

// One open database session: the driver's connection and the statements
// prepared on it. It may outlive the TADOConnection that opened it (KeepSession).
struct TADOSession {
    QString connectionName; // of the QSqlDatabase, unique
    QString connectionString; // as connected
    QSqlDatabase db;
    TSqlDialect dialect = TSqlDialect::Unknown;
    // SQLite: the file as opened; a file deleted or replaced since is another database.
    QString file;
    bool identified = false;
    dev_t device = 0;
    ino_t inode = 0;
    std::unordered_map<QString, std::unique_ptr<QSqlQuery>> prepared;

    ~TADOSession()
    {
        prepared.clear();
        if (db.isValid() && db.isOpen())
            db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(connectionName);
    }

    bool Keepable() const
    {
        return db.isOpen() && (dialect == TSqlDialect::PostgreSQL || (dialect == TSqlDialect::SQLite && identified));
    }

    // A kept session is taken over only when it still reaches the same database.
    bool StillWorks()
    {
        if (!db.isOpen())
            return false;
        if (dialect == TSqlDialect::SQLite) {
            struct stat st {};
            return identified && ::stat(QFile::encodeName(file).constData(), &st) == 0 && st.st_dev == device
                && st.st_ino == inode;
        }
        // A server restarted, or a session ended by the server or a network
        // cut, shows only when the connection is used.
        QSqlQuery q(db);
        const bool ok = q.exec(QStringLiteral("SELECT 1")) && q.next();
        q.finish();
        return ok;
    }
};

struct TADOConnection::Private {
    QString name;
    std::unique_ptr<TADOSession> session;
    TSqlDialect dialect = TSqlDialect::Unknown;
    QString connectionString; // the one connected with, for masking its passwords
    QString lastError;
    bool inTransaction = false;
    bool reused = false;
};

namespace {
QAtomicInt connectionSerial;

// Sessions kept for the process by KeepSession name. Never destroyed with the
// other statics (the SQL drivers may be gone by then): released when the
// application object ends or the package is unloaded.
std::map<QString, std::unique_ptr<TADOSession>>& keptSessions()
{
    static auto* kept = new std::map<QString, std::unique_ptr<TADOSession>>;
    return *kept;
}

void releaseKeptSessions()
{
    keptSessions().clear();
}

TADOTrace& traceSlot()
{
    static TADOTrace trace;
    return trace;
}

// Connection-level failure: the sentence an operator reads at start-up.
[[noreturn]] void raiseConnectError(const QString& display, const QString& reason, const QString& connectionString,
                                    const QString& nativeCode = QString())
{
    const QString text = MaskPasswordIn(reason, connectionString);
    throw EADOError(QStringLiteral("Não foi possível conectar ao banco de dados %1: %2").arg(display, text), QString(),
                    text, nativeCode);
}
} // namespace

void SetADOTrace(TADOTrace trace)
{
    traceSlot() = std::move(trace);
}

const TADOTrace& ADOTrace()
{
    return traceSlot();
}

TADOConnection::TADOConnection(QObject* parent, const QString& name) : QObject(parent), d(std::make_unique<Private>())
{
    d->name = name;
    setObjectName(name);
}

TADOConnection::~TADOConnection()
{
    try {
        SetConnected(false);
    } catch (...) {
        // A session that cannot be handed over is simply closed.
    }
    d->session.reset();
}

void TADOConnection::ReleaseKeptSessions()
{
    releaseKeptSessions();
}

bool TADOConnection::SessionReused() const
{
    return d->reused;
}

QSqlQuery& TADOConnection::Prepared(const QString& sql, const QString& statement)
{
    if (!Connected())
        throw EDatabaseError(QStringLiteral("%1: a conexão com o banco de dados não está aberta").arg(statement));
    auto& cache = d->session->prepared;
    const auto found = cache.find(sql);
    if (found != cache.end())
        return *found->second;
    auto q = std::make_unique<QSqlQuery>(d->session->db);
    q->setForwardOnly(true);
    if (!q->prepare(sql))
        RaiseStatementError(statement, q->lastError(), d->connectionString);
    return *cache.emplace(sql, std::move(q)).first->second;
}

void TADOConnection::ForgetPrepared(const QString& sql)
{
    if (d->session)
        d->session->prepared.erase(sql);
}

bool TADOConnection::Connected() const
{
    return d->session && d->session->db.isOpen();
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
    return d->session ? d->session->db : QSqlDatabase();
}

QString TADOConnection::ConnectionName() const
{
    return d->session ? d->session->connectionName : QString();
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
        std::unique_ptr<TADOSession> session = std::move(d->session);
        bool keep = !KeepSession.isEmpty() && session && session->Keepable();
        if (d->inTransaction && session) {
            // A kept session must not carry this connection's transaction on.
            QSqlQuery q(session->db);
            keep = q.exec(QStringLiteral("ROLLBACK")) && keep;
        }
        // The server drops an open transaction with the session.
        d->inTransaction = false;
        if (keep) {
            static const bool cleanup = [] {
                qAddPostRoutine(releaseKeptSessions);
                return true;
            }();
            Q_UNUSED(cleanup);
            keptSessions()[KeepSession] = std::move(session);
        }
        return;
    }

    d->lastError.clear();
    d->reused = false;
    d->session.reset(); // one that lost its server
    try {
        if (BeforeConnect)
            BeforeConnect(*this);
        const QString display = DisplayName();
        const TConnectionTarget target = ParseConnectionString(ConnectionString);
        d->connectionString = ConnectionString;
        d->dialect = target.Dialect;

        if (!KeepSession.isEmpty()) {
            auto& kept = keptSessions();
            const auto found = kept.find(KeepSession);
            if (found != kept.end()) {
                std::unique_ptr<TADOSession> session = std::move(found->second);
                kept.erase(found);
                // Another database setting, or a session that no longer works:
                // closed here without a word, and a new one opened below.
                if (session->connectionString == ConnectionString && session->StillWorks()) {
                    d->session = std::move(session);
                    d->reused = true;
                }
            }
        }

        if (!d->session) {
            if (!QSqlDatabase::isDriverAvailable(target.Driver))
                raiseConnectError(display, QStringLiteral("o driver %1 do Qt não está instalado").arg(target.Driver),
                                  QString());
            if (target.Driver == QLatin1String("QSQLITE")) {
                const QFileInfo file(target.DatabaseName);
                if (file.isDir() || target.DatabaseName.endsWith(QLatin1Char('/')))
                    raiseConnectError(display, QStringLiteral("o caminho é uma pasta, não um arquivo"), QString());
                if (!file.absoluteDir().exists())
                    raiseConnectError(display, QStringLiteral("a pasta %1 não existe").arg(file.absolutePath()),
                                      QString());
                if (!file.exists() && !CreateIfMissing)
                    raiseConnectError(display, QStringLiteral("o arquivo não existe"), QString());
            }

            auto session = std::make_unique<TADOSession>();
            session->connectionName = QStringLiteral("%1#%2").arg(d->name).arg(connectionSerial.fetchAndAddOrdered(1)
                                                                               + 1);
            session->connectionString = ConnectionString;
            session->dialect = target.Dialect;
            session->db = QSqlDatabase::addDatabase(target.Driver, session->connectionName);
            session->db.setDatabaseName(target.DatabaseName);
            session->db.setHostName(target.Host);
            session->db.setPort(target.Port);
            session->db.setUserName(target.User);
            session->db.setPassword(target.Password);
            session->db.setConnectOptions(target.Options);
            if (!session->db.open()) {
                const QSqlError e = session->db.lastError();
                QString reason = e.databaseText().isEmpty() ? e.driverText() : e.databaseText();
                raiseConnectError(display, CollapseEngineText(reason), ConnectionString, e.nativeErrorCode());
            }
            if (target.Driver == QLatin1String("QSQLITE")) {
                struct stat st {};
                session->file = target.DatabaseName;
                session->identified = ::stat(QFile::encodeName(session->file).constData(), &st) == 0;
                session->device = st.st_dev;
                session->inode = st.st_ino;
            }
            d->session = std::move(session);
        }
        d->inTransaction = false;
        if (AfterConnect) {
            try {
                AfterConnect(*this);
            } catch (...) {
                d->session.reset();
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
    QSqlQuery q(Database());
    if (!q.exec(sql))
        RaiseStatementError(d->name, q.lastError(), d->connectionString);
    if (ADOTrace())
        ADOTrace()({sql, {}, false, q.isSelect()});
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
    case TSqlDialect::PostgreSQL: Execute(QStringLiteral("BEGIN")); break;
    default:
        if (!Database().transaction())
            RaiseStatementError(d->name, Database().lastError(), d->connectionString);
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
        else if (!Database().commit())
            RaiseStatementError(d->name, Database().lastError(), d->connectionString);
    } catch (...) {
        // A commit that failed has written nothing; leave no transaction behind.
        try {
            if (d->dialect == TSqlDialect::SQLite || d->dialect == TSqlDialect::PostgreSQL)
                Execute(QStringLiteral("ROLLBACK"));
            else
                Database().rollback();
        } catch (...) {}
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
        QSqlQuery q(Database());
        if (!q.exec(QStringLiteral("ROLLBACK"))) {
            // SQLite ends a transaction by itself after some failures (disk
            // full, interrupted); there is nothing left to undo then.
            if (d->dialect == TSqlDialect::SQLite
                && q.lastError().databaseText().contains(QLatin1String("no transaction")))
                return;
            RaiseStatementError(d->name, q.lastError(), d->connectionString);
        }
    } else if (!Database().rollback()) {
        RaiseStatementError(d->name, Database().lastError(), d->connectionString);
    }
}
