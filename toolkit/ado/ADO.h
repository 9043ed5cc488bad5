#pragma once
// Stand-ins for the database access components the data module is built from:
// one connection, parameterised queries that read their whole result, commands,
// and the provider that turns an open query into a data packet.
#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

#include "../DataPacket.h"
#include "../Exception.h"
#include "../toolkit_export.h"

enum class TSqlDialect { Unknown, SQLite, PostgreSQL, Oracle, MSSQL };

TOOLKIT_EXPORT QString DialectName(TSqlDialect d);

// The connection string with its password replaced by "****", fit for a message
// or a log line.
TOOLKIT_EXPORT QString MaskPassword(const QString& connectionString);
// A text with every occurrence of the connection string's password hidden.
TOOLKIT_EXPORT QString MaskPasswordIn(const QString& text, const QString& connectionString);

// Every statement a connection sends, as it is sent: the text (with ? for
// each placeholder when Prepared) and the values bound in order. Off unless a
// measuring tool sets it (scripts/bench replays what it sees through Qt SQL).
struct TADOTraceEntry {
    QString Sql;
    QVariantList Values;
    bool Prepared = false;
    bool ReturnsRows = false;
};
using TADOTrace = std::function<void(const TADOTraceEntry&)>;
TOOLKIT_EXPORT void SetADOTrace(TADOTrace trace);
TOOLKIT_EXPORT const TADOTrace& ADOTrace();

// A failure the database itself reported. Message() is complete and free of
// passwords; DatabaseText is the engine's own message (first line only, no
// statement excerpt), Statement the component that ran it (empty when the
// connection itself failed).
class TOOLKIT_EXPORT EADOError : public EDatabaseError {
public:
    EADOError(const QString& message, QString statement, QString databaseText, QString nativeCode)
        : EDatabaseError(message),
          Statement(std::move(statement)),
          DatabaseText(std::move(databaseText)),
          NativeCode(std::move(nativeCode))
    {}
    ~EADOError() override;
    QString Statement;
    QString DatabaseText;
    QString NativeCode; // SQLSTATE on PostgreSQL, result code on SQLite
};

class TOOLKIT_EXPORT TADOConnection : public QObject {
    Q_OBJECT
public:
    explicit TADOConnection(QObject* parent = nullptr, const QString& name = QStringLiteral("adcCancelaProd"));
    ~TADOConnection() override; // closes and removes its own QSqlDatabase connection

    // The whole connection string, replaced before every connect (BeforeConnect).
    QString ConnectionString;
    bool LoginPrompt = false;
    QString Provider = QStringLiteral("MSDAORA.1");
    // A SQLite file that does not exist is an error unless this is set (only
    // the tool that creates databases sets it).
    bool CreateIfMissing = false;

    // Events; each receives this connection.
    std::function<void(TADOConnection&)> BeforeConnect;
    std::function<void(TADOConnection&)> AfterConnect;
    // After each statement of this connection has run and been read (the
    // statement's name). Tests use it to stand between two statements of a
    // write: to act as another till there, or to make the database fail.
    std::function<void(TADOConnection&, const QString& statement)> OnExecuteComplete;

    // A name under which the database session outlives this connection (SQLite
    // and PostgreSQL): on close or destruction it is kept for the process, and
    // the next connect under the same name with the same connection string
    // takes it over, with its prepared statements, once a check shows that it
    // still works; a stale one is dropped quietly and a new one opened. Empty:
    // every connect opens a session of its own.
    QString KeepSession;
    // The last connect took over a kept session (its set-up is done already).
    bool SessionReused() const;
    // Closes every kept session (before the code of their drivers goes away).
    static void ReleaseKeptSessions();

    // The statement prepared on this session, kept for the next execution of
    // the same text (so PostgreSQL plans it once). Raises on a prepare error,
    // naming the statement.
    QSqlQuery& Prepared(const QString& sql, const QString& statement);
    // Drops a kept statement after an execution error, to be prepared afresh.
    void ForgetPrepared(const QString& sql);

    bool Connected() const;
    void SetConnected(bool on); // raises EDatabaseError with an operator-readable text
    void Open() { SetConnected(true); }
    void Close() { SetConnected(false); }

    TSqlDialect Dialect() const; // known once connected (or once a connect was tried)
    static TSqlDialect DialectOf(const QString& connectionString);
    QSqlDatabase Database() const;
    QString ConnectionName() const; // unique per instance
    // The database as an operator may see it: the connection string without password.
    QString DisplayName() const;
    // Text of the last failed connect (empty after a successful one).
    QString LastError() const;

    // Runs one statement without parameters (session settings, DDL); rows affected.
    int Execute(const QString& sql);

    // Tracked here (Qt cannot tell); SQLite begins with the write lock taken.
    // BeginTrans raises inside an open transaction, CommitTrans and
    // RollbackTrans outside one; a commit that fails leaves none open.
    bool InTransaction() const;
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// One statement parameter, by name; values persist between executions.
struct TOOLKIT_EXPORT TParameter {
    QString Name;
    QVariant Value;
    bool Assigned = false;
};

// Shared by queries and commands: text with :NAME placeholders, bound by name;
// one name used several times takes one value everywhere; executing with a
// placeholder never assigned raises an error naming it.
class TOOLKIT_EXPORT TADOStatement {
public:
    TADOStatement(TADOConnection* connection, QString name);
    virtual ~TADOStatement();

    TADOConnection* Connection;
    const QString& Name() const { return m_name; }

    QString SQL() const { return m_sql; }
    void SetSQL(const QString& text); // parses the placeholders
    QStringList ParamNames() const; // in order of first use
    void SetParam(const QString& name, const QVariant& value); // EDatabaseError on an unknown name

protected:
    // Executes on the connection's prepared statement of this text; raises
    // EDatabaseError carrying the database's message. The caller reads the
    // result at once and then finishes the query.
    QSqlQuery& Exec() const;
    // Signals OnExecuteComplete once the statement is done with.
    void Completed() const;

private:
    QString m_name;
    QString m_sql;
    QList<TParameter> m_params;
    QString m_positional; // the text with ? in place of each placeholder
    QStringList m_order; // parameter name per ?
};

// A read query: Open reads the whole result into memory (so the connection is
// free for the next statement at once).
class TOOLKIT_EXPORT TADOQuery : public TADOStatement {
public:
    using TADOStatement::TADOStatement;

    // Optional field list that fixes names, types and sizes of the result.
    QList<TFieldDef> PersistentFields;

    void Open();
    // Runs the query and hands one column of each row to `each` as it is
    // read, keeping nothing (the query stays closed): a scan over a long
    // result that needs no packet. EDatabaseError when the column is missing.
    void ScanColumn(const QString& field, const std::function<void(const QVariant&)>& each);
    void Close();
    bool Active() const { return m_active; }
    bool IsEmpty() const { return m_packet.Rows.isEmpty(); }
    int RecordCount() const { return m_packet.Rows.size(); }
    void First() { m_row = 0; }
    void Next()
    {
        if (m_row < m_packet.Rows.size())
            ++m_row;
    }
    bool Eof() const { return m_row >= m_packet.Rows.size(); }
    // Value of a column of the current row; EDatabaseError "Field 'X' not found".
    QVariant FieldValue(const QString& name) const;
    QString FieldAsString(const QString& name) const; // "" for null
    const TDataPacket& Packet() const { return m_packet; }

private:
    bool m_active = false;
    int m_row = 0;
    TDataPacket m_packet;
};

class TOOLKIT_EXPORT TADOCommand : public TADOStatement {
public:
    using TADOStatement::TADOStatement;
    int CommandTimeout = 0;
    int Execute(); // rows affected
};

// Builds the packet of all rows of its query, opening it when closed and closing
// it again afterwards in that case.
class TOOLKIT_EXPORT TDataSetProvider {
public:
    TDataSetProvider(TADOQuery* dataSet, QString name) : DataSet(dataSet), m_name(std::move(name)) {}
    TADOQuery* DataSet;
    QVariant Data();
    const QString& Name() const { return m_name; }

private:
    QString m_name;
};
