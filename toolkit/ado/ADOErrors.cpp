#include "ADOErrors.h"

#include <QRegularExpression>
#include <QStringList>

#include "ADO.h"
#include "ConnectionString.h"

namespace {
QString stripSeverity(QString line)
{
    static const QRegularExpression severity(QStringLiteral("^(ERROR|FATAL|PANIC|ERRO|ERREUR):\\s*"));
    return line.remove(severity).trimmed();
}
} // namespace

QString FirstLineOfEngineText(const QString& text)
{
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& line : lines) {
        const QString l = stripSeverity(line.trimmed());
        if (!l.isEmpty())
            return l;
    }
    return QString();
}

QString CollapseEngineText(const QString& text)
{
    static const QRegularExpression severity(QStringLiteral("\\b(ERROR|FATAL|PANIC):\\s+"));
    QStringList parts;
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QString l = QString(line).remove(severity).trimmed();
        if (!l.isEmpty())
            parts << l;
    }
    return parts.join(QLatin1Char(' '));
}

void RaiseStatementError(const QString& statement, const QSqlError& error, const QString& connectionString)
{
    QString text = FirstLineOfEngineText(error.databaseText());
    if (text.isEmpty())
        text = FirstLineOfEngineText(error.driverText());
    if (text.isEmpty())
        text = QStringLiteral("erro sem mensagem do banco de dados");
    text = MaskPasswordIn(text, connectionString);
    throw EADOError(QStringLiteral("%1: %2").arg(statement, text), statement, text, error.nativeErrorCode());
}
