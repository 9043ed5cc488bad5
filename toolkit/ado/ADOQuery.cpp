#include <QDateTime>
#include <QLocale>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>
#include <QTimeZone>
#include <limits>
#include <optional>

#include "ADO.h"
#include "ADOErrors.h"

namespace {

bool isIntegerType(int id)
{
    switch (id) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong: return true;
    default: return false;
    }
}

TFieldType fieldTypeOf(QMetaType type)
{
    const int id = type.id();
    if (isIntegerType(id))
        return TFieldType::ftInteger;
    switch (id) {
    case QMetaType::Double:
    case QMetaType::Float: return TFieldType::ftFloat;
    case QMetaType::Bool: return TFieldType::ftBoolean;
    case QMetaType::QDateTime:
    case QMetaType::QDate: return TFieldType::ftDateTime;
    default: return TFieldType::ftString;
    }
}

// SQLite keeps date-times as ISO text ("2024-05-01T12:30:00.000", or with a
// blank instead of the T when written by hand), in the machine's local time.
// The zone is looked up once per result: a local-time conversion per value
// makes the C library read the zone settings again for every one of them.
class LocalStamps {
public:
    QDateTime Parse(const QString& text)
    {
        QString s = text.trimmed();
        if (s.size() > 10 && s.at(10) == QLatin1Char(' '))
            s[10] = QLatin1Char('T');
        if (s.size() < 10 || (s.size() > 10 && s.at(10) != QLatin1Char('T')))
            return QDateTime();
        const QDate date = QDate::fromString(QStringView(s).left(10), Qt::ISODate);
        if (!date.isValid())
            return QDateTime();
        QTime time(0, 0);
        if (s.size() > 10) {
            const QStringView rest = QStringView(s).mid(11);
            time = QTime::fromString(rest, Qt::ISODateWithMs);
            if (!time.isValid()) {
                // With a zone of its own ("Z", "+01:00"): that zone counts.
                QDateTime dt = QDateTime::fromString(s, Qt::ISODateWithMs);
                return dt.isValid() ? dt : QDateTime::fromString(s, Qt::ISODate);
            }
        }
        if (!m_zone)
            m_zone = QTimeZone::systemTimeZone();
        return QDateTime(date, time, *m_zone);
    }

private:
    std::optional<QTimeZone> m_zone;
};

[[noreturn]] void raiseConvert(const QString& statement, const QString& field, const QVariant& v, const char* kind)
{
    throw EConvertError(QStringLiteral("%1: o valor '%2' do campo %3 não é %4")
                            .arg(statement, v.toString(), field, QString::fromUtf8(kind)));
}

QVariant convertValue(const QVariant& v, const TFieldDef& def, const QString& statement, LocalStamps& stamps)
{
    switch (def.DataType) {
    case TFieldType::ftString: {
        QString s;
        if (v.typeId() == QMetaType::QDateTime)
            s = v.toDateTime().toString(Qt::ISODateWithMs);
        else
            s = v.toString();
        if (def.Size > 0 && s.size() > def.Size)
            s.truncate(def.Size);
        return s;
    }
    case TFieldType::ftInteger: {
        bool ok = false;
        qlonglong i = 0;
        if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) {
            const double d = v.toDouble();
            i = qRound64(d);
            ok = qAbs(d - double(i)) < 1e-9;
        } else {
            i = v.toLongLong(&ok);
        }
        if (!ok)
            raiseConvert(statement, def.Name, v, "um número inteiro");
        if (i >= std::numeric_limits<int>::min() && i <= std::numeric_limits<int>::max())
            return int(i);
        return i;
    }
    case TFieldType::ftFloat: {
        bool ok = false;
        const double d = v.toDouble(&ok);
        if (!ok)
            raiseConvert(statement, def.Name, v, "um número");
        return d;
    }
    case TFieldType::ftBoolean: {
        if (v.typeId() == QMetaType::QString) {
            const QString s = v.toString().trimmed().toUpper();
            return s == QLatin1String("S") || s == QLatin1String("T") || s == QLatin1String("1")
                || s == QLatin1String("TRUE");
        }
        return v.toBool();
    }
    case TFieldType::ftDateTime: {
        if (v.typeId() == QMetaType::QDateTime)
            return v;
        if (v.typeId() == QMetaType::QDate)
            return v.toDate().startOfDay();
        const QDateTime dt = stamps.Parse(v.toString());
        if (!dt.isValid())
            raiseConvert(statement, def.Name, v, "uma data");
        return dt;
    }
    }
    return v;
}

} // namespace

void TADOQuery::Open()
{
    if (m_active)
        return;
    QSqlQuery& q = Exec();
    // The prepared statement stays with the connection; its result does not
    // (on SQLite an unfinished one would hold a read lock).
    struct Finish {
        QSqlQuery& q;
        ~Finish() { q.finish(); }
    } finish{q};
    const QSqlRecord rec = q.record();
    const int columns = rec.count();
    LocalStamps stamps;

    TDataPacket packet;
    if (!PersistentFields.isEmpty()) {
        // The types are known: each value is converted as it is read.
        QList<int> source; // result column of each field def
        for (const TFieldDef& def : PersistentFields) {
            int found = -1;
            for (int c = 0; c < columns; ++c)
                if (rec.fieldName(c).compare(def.Name, Qt::CaseInsensitive) == 0) {
                    found = c;
                    break;
                }
            if (found < 0)
                throw EDatabaseError(QStringLiteral("%1: Campo '%2' não encontrado").arg(Name(), def.Name));
            source << found;
        }
        packet.FieldDefs = PersistentFields;
        while (q.next()) {
            QVariantList values;
            values.reserve(source.size());
            for (int k = 0; k < source.size(); ++k) {
                const int c = source[k];
                values << (q.isNull(c) ? QVariant() : convertValue(q.value(c), packet.FieldDefs[k], Name(), stamps));
            }
            packet.Rows << values;
        }
        if (q.lastError().isValid())
            RaiseStatementError(Name(), q.lastError(), Connection->ConnectionString);
        m_packet = std::move(packet);
        m_row = 0;
        m_active = true;
        q.finish();
        Completed();
        return;
    }

    QList<QVariantList> raw;
    while (q.next()) {
        QVariantList row;
        row.reserve(columns);
        for (int c = 0; c < columns; ++c)
            row.append(q.isNull(c) ? QVariant() : q.value(c));
        raw.append(std::move(row));
    }
    if (q.lastError().isValid())
        RaiseStatementError(Name(), q.lastError(), Connection->ConnectionString);

    const bool sqlite = Connection && Connection->Dialect() == TSqlDialect::SQLite;
    for (int c = 0; c < columns; ++c) {
        const QSqlField f = rec.field(c);
        TFieldDef def;
        // Oracle's habit, which the screens rely on: unquoted names in capitals
        // (PostgreSQL hands them back in lower case).
        def.Name = f.name().toUpper();
        def.DataType = fieldTypeOf(f.metaType());
        if (def.DataType == TFieldType::ftString && f.length() > 0)
            def.Size = f.length();
        if (sqlite) {
            // SQLite types a computed column by its first value, and keeps
            // date-times as text: look at every value.
            bool anyDouble = false, anyText = false, anyValue = false;
            bool allDates = def.Name.startsWith(QLatin1String("DT"));
            for (const QVariantList& row : raw) {
                const QVariant& v = row[c];
                if (!v.isValid())
                    continue;
                anyValue = true;
                if (v.typeId() == QMetaType::Double)
                    anyDouble = true;
                if (v.typeId() == QMetaType::QString) {
                    anyText = true;
                    if (allDates && !stamps.Parse(v.toString()).isValid())
                        allDates = false;
                } else {
                    allDates = false;
                }
            }
            if (def.DataType == TFieldType::ftInteger && anyDouble)
                def.DataType = TFieldType::ftFloat;
            if ((def.DataType == TFieldType::ftInteger || def.DataType == TFieldType::ftFloat) && anyText)
                def.DataType = TFieldType::ftString;
            if (def.DataType == TFieldType::ftString && anyValue && allDates)
                def.DataType = TFieldType::ftDateTime;
        }
        packet.FieldDefs << def;
    }

    // Converted where they lie: the rows are not copied again.
    for (QVariantList& row : raw)
        for (int k = 0; k < columns; ++k)
            if (row[k].isValid())
                row[k] = convertValue(row[k], packet.FieldDefs[k], Name(), stamps);
    packet.Rows = std::move(raw);
    m_packet = std::move(packet);
    m_row = 0;
    m_active = true;
    q.finish();
    Completed();
}

void TADOQuery::ScanColumn(const QString& field, const std::function<void(const QVariant&)>& each)
{
    Close();
    QSqlQuery& q = Exec();
    struct Finish {
        QSqlQuery& q;
        ~Finish() { q.finish(); }
    } finish{q};
    const QSqlRecord rec = q.record();
    int column = -1;
    for (int c = 0; c < rec.count() && column < 0; ++c)
        if (rec.fieldName(c).compare(field, Qt::CaseInsensitive) == 0)
            column = c;
    if (column < 0)
        throw EDatabaseError(QStringLiteral("%1: Campo '%2' não encontrado").arg(Name(), field));
    while (q.next())
        each(q.isNull(column) ? QVariant() : q.value(column));
    if (q.lastError().isValid())
        RaiseStatementError(Name(), q.lastError(), Connection->ConnectionString);
    q.finish();
    Completed();
}

void TADOQuery::Close()
{
    m_active = false;
    m_row = 0;
    m_packet = TDataPacket();
}

QVariant TADOQuery::FieldValue(const QString& name) const
{
    if (!m_active)
        throw EDatabaseError(QStringLiteral("%1: a consulta está fechada").arg(Name()));
    const int k = m_packet.indexOf(name);
    if (k < 0)
        throw EDatabaseError(QStringLiteral("Campo '%1' não encontrado").arg(name));
    if (m_row >= m_packet.Rows.size())
        return QVariant();
    return m_packet.Rows[m_row][k];
}

QString TADOQuery::FieldAsString(const QString& name) const
{
    const QVariant v = FieldValue(name);
    if (!v.isValid() || v.isNull())
        return QString();
    switch (v.typeId()) {
    case QMetaType::Double: {
        // As the platform's AsString: the default locale's decimal separator
        // (the host's terminal setting), so the text converts back alike.
        QLocale locale;
        locale.setNumberOptions(QLocale::OmitGroupSeparator);
        return locale.toString(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    }
    case QMetaType::QDateTime: return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    default: return v.toString();
    }
}
