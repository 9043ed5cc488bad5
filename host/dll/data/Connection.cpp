#include "Connection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>
#include <QTimeZone>

#include "Exception.h"
#include "HostServices.h"
#include "ado/ADO.h"
#include "ado/ADOErrors.h"

namespace {

QString machineTimeZone()
{
    return QString::fromUtf8(QTimeZone::systemTimeZoneId());
}

QString utcOffsetText()
{
    const int seconds = QDateTime::currentDateTime().offsetFromUtc();
    const int minutes = qAbs(seconds) / 60;
    return QStringLiteral("%1%2:%3")
        .arg(seconds < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

bool tryExecute(TADOConnection& connection, const QString& sql)
{
    try {
        connection.Execute(sql);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

} // namespace

QString KvpIniValue(const QString& section, const QString& key)
{
    const QString value = IniFileValue(QDir(HostFolder()).filePath(QStringLiteral("kvp.ini")), section, key);
    // An installed till also reads the system's kvp.ini (the restaurant's
    // database, the folder); its own folder's file says otherwise per till.
    const QString system = SystemIniPath();
    if (!value.isEmpty() || system.isEmpty())
        return value;
    return IniFileValue(system, section, key);
}

QString _GetStringConexQrv(const QString& /*unused*/)
{
    const QString fromEnvironment = qEnvironmentVariable("KVP_DATABASE").trimmed();
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;

    const QString folder = HostFolder();
    const QString fromIni = KvpIniValue(QString(), QStringLiteral("database"));
    if (!fromIni.isEmpty()) {
        // A SQLite file named in kvp.ini lives next to the host unless the path is absolute.
        if (TADOConnection::DialectOf(fromIni) == TSqlDialect::SQLite && QFileInfo(fromIni).isRelative())
            return QDir(folder).filePath(fromIni);
        return fromIni;
    }
    return QDir(folder).filePath(QStringLiteral("kvp-demo.db"));
}

bool SetADODBSession(TADOConnection& connection)
{
    if (!connection.Connected())
        return false;
    bool ok = true;
    switch (connection.Dialect()) {
    case TSqlDialect::SQLite: {
        // WAL lets the tills read while one of them writes.
        QSqlQuery q(connection.Database());
        ok = q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) && q.next()
            && q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0;
        q.finish();
        ok = tryExecute(connection, QStringLiteral("PRAGMA busy_timeout=5000")) && ok;
        ok = tryExecute(connection, QStringLiteral("PRAGMA foreign_keys=ON")) && ok;
        ok = tryExecute(connection, QStringLiteral("PRAGMA synchronous=NORMAL")) && ok;
        break;
    }
    case TSqlDialect::PostgreSQL: {
        ok = tryExecute(connection, QStringLiteral("SET application_name = 'kvp00917'"));
        // Notices ("drop cascades to ...") would end up on the host's console.
        ok = tryExecute(connection, QStringLiteral("SET client_min_messages TO warning")) && ok;
        // The module writes the machine's local time into columns without a
        // zone; the server converts bound time stamps with the session's zone.
        QString zone = machineTimeZone();
        zone.remove(QLatin1Char('\''));
        if (zone.isEmpty() || !tryExecute(connection, QStringLiteral("SET TIME ZONE '%1'").arg(zone)))
            ok = tryExecute(connection,
                            QStringLiteral("SET TIME ZONE INTERVAL '%1' HOUR TO MINUTE").arg(utcOffsetText()))
                && ok;
        break;
    }
    default: break;
    }
    return ok;
}

bool ExisteTabela(TADOConnection& connection, const QString& table)
{
    QSqlQuery q(connection.Database());
    QString sql;
    switch (connection.Dialect()) {
    case TSqlDialect::SQLite:
        sql = QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND UPPER(name) = ?");
        break;
    case TSqlDialect::PostgreSQL:
        sql = QStringLiteral("SELECT COUNT(*) FROM information_schema.tables "
                             "WHERE table_schema = current_schema() AND UPPER(table_name) = ?");
        break;
    case TSqlDialect::Oracle:
        sql = QStringLiteral("SELECT COUNT(*) FROM user_tables WHERE UPPER(table_name) = ?");
        break;
    default: sql = QStringLiteral("SELECT COUNT(*) FROM INFORMATION_SCHEMA.TABLES WHERE UPPER(TABLE_NAME) = ?"); break;
    }
    if (!q.prepare(sql))
        RaiseStatementError(QStringLiteral("ExisteTabela"), q.lastError(), connection.ConnectionString);
    q.addBindValue(table.toUpper());
    if (!q.exec() || !q.next())
        RaiseStatementError(QStringLiteral("ExisteTabela"), q.lastError(), connection.ConnectionString);
    return q.value(0).toInt() > 0;
}

int LeVersaoEsquema(TADOConnection& connection)
{
    const QString table = QString::fromLatin1(kTabelaVersao);
    if (!ExisteTabela(connection, table))
        return 0;
    QSqlQuery q(connection.Database());
    if (!q.exec(QStringLiteral("SELECT MAX(NRVERSAO) FROM %1").arg(table)) || !q.next())
        RaiseStatementError(QStringLiteral("LeVersaoEsquema"), q.lastError(), connection.ConnectionString);
    return q.value(0).toInt();
}

void VerificaVersaoEsquema(TADOConnection& connection)
{
    const int versao = LeVersaoEsquema(connection);
    if (versao == kVersaoEsquema)
        return;
    const QString banco = connection.DisplayName();
    if (versao > kVersaoEsquema)
        throw Exception(QStringLiteral("O banco de dados %1 está na versão %2 do esquema, mais nova que a deste "
                                       "programa (%3). Atualize o programa do caixa.")
                            .arg(banco)
                            .arg(versao)
                            .arg(kVersaoEsquema));
    const QString onde = versao == 0 ? QStringLiteral("não registra a versão do esquema")
                                     : QStringLiteral("está na versão %1 do esquema").arg(versao);
    throw Exception(QStringLiteral("O banco de dados %1 %2 e este programa precisa da versão %3. Atualize-o com "
                                   "kvp-dbinit --upgrade (um banco vazio se prepara com kvp-dbinit).")
                        .arg(banco, onde)
                        .arg(kVersaoEsquema));
}

void PreparaSessao(TADOConnection& connection)
{
    if (connection.SessionReused())
        return;
    SetADODBSession(connection);
    VerificaVersaoEsquema(connection);
}

bool TryConnect(TADOConnection& connection)
{
    try {
        connection.Open();
    } catch (...) {
        return false;
    }
    return connection.Connected();
}

QString ADOExceptionMessage(const std::exception& e, TADOConnection& connection, const QString& extra)
{
    QString text;
    if (const auto* ado = dynamic_cast<const EADOError*>(&e)) {
        // A failed connect already carries its sentence naming the database.
        text = ado->Statement.isEmpty()
            ? ado->Message()
            : QStringLiteral("Erro no banco de dados: %1 (%2)").arg(ado->DatabaseText, ado->Statement);
    } else if (const auto* db = dynamic_cast<const EDatabaseError*>(&e)) {
        text = QStringLiteral("Erro no banco de dados: %1").arg(db->Message());
    } else if (const auto* ex = dynamic_cast<const Exception*>(&e)) {
        text = ex->Message();
    } else {
        text = QString::fromUtf8(e.what());
    }
    if (text.trimmed().isEmpty())
        text = QStringLiteral("Erro sem mensagem.");
    if (!extra.isEmpty())
        text += QStringLiteral(" (%1)").arg(extra);
    return MaskPasswordIn(text, connection.ConnectionString);
}

QString ADOExceptionMessage(TADOConnection& connection, const QString& extra)
{
    QString text = QStringLiteral("Erro desconhecido no servidor.");
    if (!extra.isEmpty())
        text += QStringLiteral(" (%1)").arg(extra);
    return MaskPasswordIn(text, connection.ConnectionString);
}
