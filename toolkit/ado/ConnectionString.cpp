#include "ConnectionString.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>

#include "../Exception.h"

namespace {

bool isPostgresUrl(const QString& s)
{
    return s.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
        || s.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

// "key=value" pairs of an ODBC string; values may be wrapped in {braces} that
// hold semicolons.
QList<QPair<QString, QString>> odbcPairs(const QString& s)
{
    QList<QPair<QString, QString>> pairs;
    int i = 0;
    const int n = s.size();
    while (i < n) {
        const int eq = s.indexOf(QLatin1Char('='), i);
        if (eq < 0)
            break;
        const QString key = s.mid(i, eq - i).trimmed();
        int j = eq + 1;
        while (j < n && s.at(j).isSpace())
            ++j;
        QString value;
        if (j < n && s.at(j) == QLatin1Char('{')) {
            const int close = s.indexOf(QLatin1Char('}'), j);
            value = close < 0 ? s.mid(j) : s.mid(j, close - j + 1);
            j = close < 0 ? n : close + 1;
            const int semi = s.indexOf(QLatin1Char(';'), j);
            j = semi < 0 ? n : semi + 1;
        } else {
            const int semi = s.indexOf(QLatin1Char(';'), j);
            value = (semi < 0 ? s.mid(j) : s.mid(j, semi - j)).trimmed();
            j = semi < 0 ? n : semi + 1;
        }
        pairs.append({key, value});
        i = j;
    }
    return pairs;
}

bool isOdbcString(const QString& s)
{
    if (!s.contains(QLatin1Char('=')))
        return false;
    static const QStringList keys = {QStringLiteral("driver"), QStringLiteral("dsn"), QStringLiteral("filedsn"),
                                     QStringLiteral("provider")};
    for (const auto& [key, value] : odbcPairs(s))
        if (keys.contains(key.toLower()))
            return true;
    return false;
}

TSqlDialect odbcDialect(const QString& s)
{
    const QString l = s.toLower();
    for (const char* k : {"oracle", "msdaora", "oraoledb", "sqora"})
        if (l.contains(QLatin1String(k)))
            return TSqlDialect::Oracle;
    for (const char* k : {"sql server", "sqloledb", "sqlncli", "msoledbsql", "freetds", "tds_version"})
        if (l.contains(QLatin1String(k)))
            return TSqlDialect::MSSQL;
    return TSqlDialect::Unknown;
}

QString quoteOption(const QString& value)
{
    QString v = value;
    v.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    v.replace(QLatin1Char('\''), QLatin1String("\\'"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

TConnectionTarget parsePostgresUrl(const QString& s)
{
    const QUrl url(s, QUrl::TolerantMode);
    if (!url.isValid() || url.host().isEmpty())
        throw EDatabaseError(QStringLiteral("Endereço de banco PostgreSQL inválido: %1").arg(MaskPassword(s)));
    TConnectionTarget target;
    target.Driver = QStringLiteral("QPSQL");
    target.Dialect = TSqlDialect::PostgreSQL;
    target.Host = url.host();
    target.Port = url.port(5432);
    target.User = url.userName(QUrl::FullyDecoded);
    target.Password = url.password(QUrl::FullyDecoded);
    target.DatabaseName = url.path(QUrl::FullyDecoded);
    while (target.DatabaseName.startsWith(QLatin1Char('/')))
        target.DatabaseName.remove(0, 1);
    if (target.DatabaseName.isEmpty())
        target.DatabaseName = target.User;

    QStringList options;
    bool hasTimeout = false;
    for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::FullyDecoded)) {
        // The driver turns every ';' of its option string into a blank.
        if (value.contains(QLatin1Char(';')) || key.contains(QLatin1Char(';')))
            throw EDatabaseError(QStringLiteral("Opção \"%1\" do endereço do banco contém ';': %2").arg(key, MaskPassword(s)));
        if (key == QLatin1String("connect_timeout"))
            hasTimeout = true;
        options << key + QLatin1Char('=') + quoteOption(value);
    }
    // A server that does not answer must not freeze the till.
    if (!hasTimeout)
        options << QStringLiteral("connect_timeout=10");
    target.Options = options.join(QLatin1Char(';'));
    return target;
}

} // namespace

TConnectionTarget ParseConnectionString(const QString& connectionString)
{
    const QString s = connectionString.trimmed();
    if (s.isEmpty())
        throw EDatabaseError(QStringLiteral("Nenhum banco de dados foi informado."));
    if (isPostgresUrl(s))
        return parsePostgresUrl(s);
    TConnectionTarget target;
    if (isOdbcString(s)) {
        target.Driver = QStringLiteral("QODBC");
        target.Dialect = odbcDialect(s);
        target.DatabaseName = s;
        // Kept only to hide it from messages; the driver reads it from the string.
        for (const auto& [key, value] : odbcPairs(s)) {
            const QString k = key.toLower();
            if (k == QLatin1String("pwd") || k == QLatin1String("password")) {
                target.Password = value;
                if (target.Password.startsWith(QLatin1Char('{')) && target.Password.endsWith(QLatin1Char('}')))
                    target.Password = target.Password.mid(1, target.Password.size() - 2);
            }
        }
        return target;
    }
    target.Driver = QStringLiteral("QSQLITE");
    target.Dialect = TSqlDialect::SQLite;
    target.DatabaseName = s;
    target.Options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
    return target;
}

QString HidePassword(QString text, const QString& password)
{
    // A one- or two-letter password would turn every message into asterisks;
    // no engine echoes the password anyway, this only guards against drivers
    // that repeat the connection string.
    if (password.size() < 3)
        return text;
    text.replace(password, QStringLiteral("****"));
    const QString encoded = QString::fromUtf8(QUrl::toPercentEncoding(password));
    if (encoded != password)
        text.replace(encoded, QStringLiteral("****"));
    return text;
}

QString MaskPassword(const QString& connectionString)
{
    QString s = connectionString;
    if (isPostgresUrl(s.trimmed())) {
        const int start = s.indexOf(QLatin1String("://")) + 3;
        const int at = s.lastIndexOf(QLatin1Char('@'));
        if (at > start) {
            const int colon = s.indexOf(QLatin1Char(':'), start);
            if (colon > 0 && colon < at)
                s.replace(colon + 1, at - colon - 1, QStringLiteral("****"));
        }
        return s;
    }
    static const QRegularExpression odbcPassword(QStringLiteral("(\\b(?:pwd|password)\\s*=\\s*)(\\{[^}]*\\}?|[^;]*)"),
                                                 QRegularExpression::CaseInsensitiveOption);
    s.replace(odbcPassword, QStringLiteral("\\1****"));
    return s;
}

QString MaskPasswordIn(const QString& text, const QString& connectionString)
{
    QString t = text;
    const QString trimmed = connectionString.trimmed();
    if (!trimmed.isEmpty())
        t.replace(trimmed, MaskPassword(trimmed));
    try {
        return HidePassword(t, ParseConnectionString(connectionString).Password);
    } catch (const Exception&) {
        return t;
    }
}
