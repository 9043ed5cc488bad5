#include "ConnectionString.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUrl>
#include <QUrlQuery>
#include <algorithm>

#include "../Exception.h"

namespace {

QString mask()
{
    return QStringLiteral("****");
}

bool isPostgresUrl(const QString& s)
{
    return s.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive)
        || s.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive);
}

// Any scheme: a mistyped one still carries its password where a URL does.
bool isUrl(const QString& s)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*://"));
    return scheme.match(s).hasMatch();
}

// End of the ODBC value that starts at j. {Braced} values ("}}" an escaped
// brace) and, as OLE DB writes them, "quoted" or 'quoted' values (the quote
// doubled to escape it) may hold semicolons; any other value ends at the next ';'.
int odbcValueEnd(const QString& s, int j)
{
    if (j >= s.size())
        return s.size();
    const QChar open = s.at(j);
    if (open == QLatin1Char('{') || open == QLatin1Char('"') || open == QLatin1Char('\'')) {
        const QChar close = open == QLatin1Char('{') ? QLatin1Char('}') : open;
        for (int i = j + 1; i < s.size(); ++i) {
            if (s.at(i) != close)
                continue;
            if (i + 1 < s.size() && s.at(i + 1) == close)
                ++i;
            else
                return i + 1;
        }
        return s.size();
    }
    const int semi = s.indexOf(QLatin1Char(';'), j);
    return semi < 0 ? s.size() : semi;
}

// The value as the driver reads it: without its braces or quotes, escapes undone.
QString unwrapOdbcValue(const QString& value)
{
    if (value.size() < 2)
        return value;
    const QChar open = value.front();
    const QChar close = open == QLatin1Char('{') ? QLatin1Char('}') : open;
    if ((open != QLatin1Char('{') && open != QLatin1Char('"') && open != QLatin1Char('\'')) || value.back() != close)
        return value;
    return value.mid(1, value.size() - 2).replace(QString(2, close), QString(close));
}

// "key=value" pairs of an ODBC string.
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
        const int end = odbcValueEnd(s, j);
        pairs.append({key, s.mid(j, end - j).trimmed()});
        const int semi = s.indexOf(QLatin1Char(';'), end);
        i = semi < 0 ? n : semi + 1;
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

// Where a password is written in a text: [start, end) of its value as typed.
struct TSpan {
    int Start;
    int End;
};

// Password values given as "Pwd=" or "Password=" (any case, blanks around '=')
// anywhere in the text. In a message, a value already masked is left as it is:
// a bare value would run on to the next ';' and swallow the rest of the message.
QList<TSpan> odbcPasswordSpans(const QString& text, bool keepMasked = false)
{
    static const QRegularExpression key(QStringLiteral("\\b(?:pwd|password)\\s*=\\s*"),
                                        QRegularExpression::CaseInsensitiveOption);
    QList<TSpan> spans;
    int from = 0;
    for (;;) {
        const QRegularExpressionMatch m = key.match(text, from);
        if (!m.hasMatch())
            break;
        const int start = int(m.capturedEnd());
        if (keepMasked && QStringView(text).mid(start).startsWith(mask())) {
            from = start + int(mask().size());
            continue;
        }
        const int end = odbcValueEnd(text, start);
        spans.append({start, end});
        from = end;
    }
    return spans;
}

// The password of a URL: in its user info and in every "password" parameter
// of its query, whatever the order or the encoding of the key. url starts at
// its scheme (blanks before it allowed) and ends where the URL ends; in a
// message that is the next blank, so a masked value is kept as it is there.
QList<TSpan> urlPasswordSpans(const QString& url, bool keepMasked = false)
{
    QList<TSpan> spans;
    const int rest = url.indexOf(QLatin1String("://")) + 3;
    // A password typed with a raw '@' or '?' still ends at the last '@' before
    // the query that follows the first '@'.
    const int firstAt = url.indexOf(QLatin1Char('@'), rest);
    int query = url.indexOf(QLatin1Char('?'), firstAt < 0 ? rest : firstAt);
    if (query < 0)
        query = url.size();
    if (firstAt >= 0) {
        const int at = url.lastIndexOf(QLatin1Char('@'), query - 1);
        const int colon = url.indexOf(QLatin1Char(':'), rest);
        if (colon >= 0 && colon < at)
            spans.append({colon + 1, at});
    }
    for (int i = query + 1; i < url.size();) {
        int amp = url.indexOf(QLatin1Char('&'), i);
        if (amp < 0)
            amp = url.size();
        const int eq = url.indexOf(QLatin1Char('='), i);
        if (eq >= 0 && eq < amp) {
            const QString key = QUrl::fromPercentEncoding(url.mid(i, eq - i).toUtf8()).trimmed();
            const bool masked = keepMasked && QStringView(url).mid(eq + 1).startsWith(mask());
            if (key.compare(QLatin1String("password"), Qt::CaseInsensitive) == 0 && !masked)
                spans.append({eq + 1, amp});
        }
        i = amp + 1;
    }
    return spans;
}

QList<TSpan> passwordSpans(const QString& connectionString)
{
    return isUrl(connectionString.trimmed()) ? urlPasswordSpans(connectionString) : odbcPasswordSpans(connectionString);
}

QString maskSpans(QString text, QList<TSpan> spans)
{
    std::sort(spans.begin(), spans.end(), [](const TSpan& a, const TSpan& b) { return a.Start > b.Start; });
    for (const TSpan& span : spans)
        text.replace(span.Start, span.End - span.Start, mask());
    return text;
}

// Every occurrence of one password, also as a URL writes it: engines and
// drivers may echo parts of the connection string.
QString hidePassword(QString text, const QString& password)
{
    // A one- or two-letter password would turn every message into asterisks;
    // no engine echoes the password anyway, this only guards against drivers
    // that repeat the connection string.
    if (password.size() < 3)
        return text;
    text.replace(password, mask());
    const QString encoded = QString::fromUtf8(QUrl::toPercentEncoding(password));
    if (encoded != password)
        text.replace(encoded, mask());
    return text;
}

// Every password of a connection string, as typed and as the driver reads it.
QStringList passwordsOf(const QString& connectionString)
{
    const bool url = isUrl(connectionString.trimmed());
    QStringList passwords;
    for (const TSpan& span : passwordSpans(connectionString)) {
        const QString typed = connectionString.mid(span.Start, span.End - span.Start).trimmed();
        passwords << typed << (url ? QUrl::fromPercentEncoding(typed.toUtf8()) : unwrapOdbcValue(typed));
    }
    passwords.removeDuplicates();
    return passwords;
}

// Free text (an engine's or a driver's message) may quote any connection
// string: mask the URLs in it, and the ODBC password keys elsewhere.
QString maskPasswordsInText(const QString& text)
{
    static const QRegularExpression urlStart(QStringLiteral("\\b[A-Za-z][A-Za-z0-9+.-]*://"));
    static const QRegularExpression blank(QStringLiteral("\\s"));
    QString masked;
    int from = 0;
    for (;;) {
        const QRegularExpressionMatch m = urlStart.match(text, from);
        const int start = m.hasMatch() ? int(m.capturedStart()) : int(text.size());
        const QString prose = text.mid(from, start - from);
        masked += maskSpans(prose, odbcPasswordSpans(prose, true));
        if (!m.hasMatch())
            return masked;
        int end = int(text.indexOf(blank, start));
        if (end < 0)
            end = int(text.size());
        const QString url = text.mid(start, end - start);
        masked += maskSpans(url, urlPasswordSpans(url, true));
        from = end;
    }
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
            throw EDatabaseError(
                QStringLiteral("Opção \"%1\" do endereço do banco contém ';': %2").arg(key, MaskPassword(s)));
        if (key == QLatin1String("connect_timeout"))
            hasTimeout = true;
        // The driver passes its options after the user info, so this one wins.
        if (key == QLatin1String("password"))
            target.Password = value;
        options << key + QLatin1Char('=') + quoteOption(value);
    }
    // A server that does not answer must not freeze the till.
    if (!hasTimeout)
        options << QStringLiteral("connect_timeout=10");
    target.Options = options.join(QLatin1Char(';'));
    return target;
}

[[noreturn]] void refuseSetting(const QString& s, const QString& why)
{
    throw EDatabaseError(
        QStringLiteral("A configuração do banco de dados \"%1\" não é válida: %2. Informe o caminho de um "
                       "arquivo SQLite, um endereço postgresql:// ou um texto ODBC com Driver= ou DSN=.")
            .arg(MaskPassword(s), why));
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
        const QList<TSpan> spans = odbcPasswordSpans(s);
        if (!spans.isEmpty())
            target.Password = unwrapOdbcValue(
                s.mid(spans.last().Start, spans.last().End - spans.last().Start).trimmed());
        return target;
    }
    // Whatever is left must be a file. Qt reads ":/" as its resource folder and
    // SQLite ":memory:" as a database that vanishes with the connection.
    if (s.startsWith(QLatin1Char(':')))
        refuseSetting(s, QStringLiteral("um nome que começa com ':' não é um arquivo"));
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:/"));
    if (scheme.match(s).hasMatch())
        refuseSetting(s, QStringLiteral("endereços de banco de dados começam com postgresql://"));
    if (s.contains(QLatin1Char('=')) && s.contains(QLatin1Char(';')))
        refuseSetting(s, QStringLiteral("o texto ODBC não diz o Driver nem o DSN"));
    target.Driver = QStringLiteral("QSQLITE");
    target.Dialect = TSqlDialect::SQLite;
    target.DatabaseName = s;
    target.Options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
    return target;
}

QString MaskPassword(const QString& connectionString)
{
    return maskSpans(connectionString, passwordSpans(connectionString));
}

QString MaskPasswordIn(const QString& text, const QString& connectionString)
{
    QString t = text;
    const QString trimmed = connectionString.trimmed();
    if (!trimmed.isEmpty())
        t.replace(trimmed, MaskPassword(trimmed));
    for (const QString& password : passwordsOf(connectionString))
        t = hidePassword(t, password);
    return maskPasswordsInText(t);
}
