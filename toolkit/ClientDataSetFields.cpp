// Fields of the client dataset: conversion of incoming values to the declared
// type, typed getters and setters, display text.
#include <QLocale>
#include <QRegularExpression>
#include <QTimeZone>
#include <cmath>
#include <limits>

#include "ClientDataSetPrivate.h"
#include "Exception.h"

namespace ClientDataSetValues {

bool IsNull(const QVariant& v)
{
    return !v.isValid() || v.isNull();
}

QString FloatText(double d)
{
    return QString::number(d, 'g', QLocale::FloatingPointShortest);
}

QString DateTimeText(const QDateTime& dt)
{
    // Read from the database in the machine's zone: the same local text as a
    // local date-time, without the offset the zone would add.
    if (dt.timeSpec() == Qt::TimeZone && dt.timeZone() == QTimeZone::systemTimeZone())
        return dt.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz"));
    return dt.toString(Qt::ISODateWithMs);
}

QString TypeName(TFieldType t)
{
    switch (t) {
    case TFieldType::ftString: return QStringLiteral("string");
    case TFieldType::ftInteger: return QStringLiteral("integer");
    case TFieldType::ftFloat: return QStringLiteral("float");
    case TFieldType::ftBoolean: return QStringLiteral("boolean");
    case TFieldType::ftDateTime: return QStringLiteral("datetime");
    }
    return QString();
}

bool TypeFromName(const QString& name, TFieldType* type)
{
    for (TFieldType t : {TFieldType::ftString, TFieldType::ftInteger, TFieldType::ftFloat, TFieldType::ftBoolean,
                         TFieldType::ftDateTime}) {
        if (name.compare(TypeName(t), Qt::CaseInsensitive) == 0) {
            *type = t;
            return true;
        }
    }
    return false;
}

} // namespace ClientDataSetValues

using namespace ClientDataSetValues;

namespace {

// The platform's long time without its zone name: dates in this system are
// local time stamps, and the zone would not fit a grid column. Worked out once:
// the grid asks for it in every date cell it paints.
const QString& LongTimeFormat()
{
    static const QString format = [] {
        QString f = QLocale().timeFormat(QLocale::LongFormat);
        f.remove(QRegularExpression(QStringLiteral("\\s*\\bt+\\b")));
        return f.trimmed();
    }();
    return format;
}

// Cuts by characters: a surrogate pair counts once and is never split.
QString CutToWidth(const QString& s, int size)
{
    if (size <= 0 || s.size() <= size)
        return s;
    int count = 0;
    qsizetype i = 0;
    while (i < s.size() && count < size) {
        if (s[i].isHighSurrogate() && i + 1 < s.size() && s[i + 1].isLowSurrogate())
            i += 2;
        else
            ++i;
        ++count;
    }
    return s.left(i);
}

QString BoolText(bool b)
{
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

bool IsIntegerType(int id)
{
    switch (id) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar: return true;
    default: return false;
    }
}

bool IsFloatType(int id)
{
    return id == QMetaType::Double || id == QMetaType::Float;
}

QString ToText(const QVariant& v)
{
    const int id = v.typeId();
    if (id == QMetaType::QString)
        return v.toString();
    if (id == QMetaType::Bool)
        return BoolText(v.toBool());
    if (IsFloatType(id))
        return FloatText(v.toDouble());
    if (id == QMetaType::QDateTime)
        return DateTimeText(v.toDateTime());
    if (id == QMetaType::QDate)
        return v.toDate().toString(Qt::ISODate);
    if (id == QMetaType::QTime)
        return v.toTime().toString(Qt::ISODateWithMs);
    if (id == QMetaType::QByteArray)
        return QString::fromUtf8(v.toByteArray());
    if (v.canConvert<QString>())
        return v.toString();
    throw EConvertError(
        QStringLiteral("Um valor do tipo %1 não pode ser lido como texto").arg(QString::fromLatin1(v.typeName())));
}

int CheckedInt(qint64 n)
{
    if (n > std::numeric_limits<int>::max() || n < std::numeric_limits<int>::min())
        throw EConvertError(QStringLiteral("%1 está fora do intervalo de um número inteiro").arg(n));
    return int(n);
}

int ToInteger(const QVariant& v)
{
    const int id = v.typeId();
    if (id == QMetaType::Bool)
        return v.toBool() ? 1 : 0;
    if (id == QMetaType::ULongLong || id == QMetaType::ULong) {
        const quint64 u = v.toULongLong();
        if (u > quint64(std::numeric_limits<int>::max()))
            throw EConvertError(QStringLiteral("%1 está fora do intervalo de um número inteiro").arg(u));
        return int(u);
    }
    if (IsIntegerType(id))
        return CheckedInt(v.toLongLong());
    double d = 0;
    QString shown;
    if (IsFloatType(id)) {
        d = v.toDouble();
        shown = FloatText(d);
    } else {
        shown = ToText(v);
        bool ok = false;
        const qint64 n = shown.trimmed().toLongLong(&ok, 10);
        if (ok)
            return CheckedInt(n);
        d = shown.toDouble(&ok);
        if (!ok)
            throw EConvertError(QStringLiteral("'%1' não é um número inteiro válido").arg(shown));
    }
    // Whole numbers that travelled as floating point (or carry a binary
    // representation error) are accepted; real fractions are not rounded away.
    const double r = std::round(d);
    if (!std::isfinite(d) || std::fabs(d - r) > 1e-6)
        throw EConvertError(QStringLiteral("'%1' não é um número inteiro válido").arg(shown));
    if (r > double(std::numeric_limits<int>::max()) || r < double(std::numeric_limits<int>::min()))
        throw EConvertError(QStringLiteral("%1 está fora do intervalo de um número inteiro").arg(shown));
    return int(r);
}

double ToFloat(const QVariant& v)
{
    const int id = v.typeId();
    if (IsFloatType(id) || IsIntegerType(id))
        return v.toDouble();
    if (id == QMetaType::Bool)
        return v.toBool() ? 1 : 0;
    const QString s = ToText(v);
    bool ok = false;
    const double d = s.toDouble(&ok); // C locale, no group separators: "1,5" is refused, not read as 15
    if (!ok)
        throw EConvertError(QStringLiteral("'%1' não é um número válido").arg(s));
    return d;
}

bool ToBool(const QVariant& v)
{
    const int id = v.typeId();
    if (id == QMetaType::Bool)
        return v.toBool();
    if (IsIntegerType(id) || IsFloatType(id))
        return v.toDouble() != 0;
    const QString s = ToText(v).trimmed().toLower();
    static const QStringList yes = {QStringLiteral("true"), QStringLiteral("t"),   QStringLiteral("1"),
                                    QStringLiteral("s"),    QStringLiteral("sim"), QStringLiteral("y"),
                                    QStringLiteral("yes")};
    static const QStringList no = {QStringLiteral("false"), QStringLiteral("f"),   QStringLiteral("0"),
                                   QStringLiteral("n"),     QStringLiteral("não"), QStringLiteral("nao"),
                                   QStringLiteral("no")};
    if (yes.contains(s))
        return true;
    if (no.contains(s))
        return false;
    throw EConvertError(QStringLiteral("'%1' não é um valor lógico válido").arg(ToText(v)));
}

QDateTime ToDateTime(const QVariant& v)
{
    const int id = v.typeId();
    if (id == QMetaType::QDateTime)
        return v.toDateTime();
    if (id == QMetaType::QDate)
        return v.toDate().startOfDay();
    if (id != QMetaType::QString && id != QMetaType::QByteArray)
        throw EConvertError(
            QStringLiteral("Um valor do tipo %1 não é uma data e hora").arg(QString::fromLatin1(v.typeName())));
    const QString s = ToText(v).trimmed();
    QDateTime dt = QDateTime::fromString(s, Qt::ISODateWithMs);
    if (!dt.isValid()) {
        const QDate date = QDate::fromString(s, Qt::ISODate);
        if (date.isValid())
            dt = date.startOfDay();
    }
    if (!dt.isValid()) {
        const QLocale sys; // the host may have set it for its terminal
        const QString shortDate = sys.dateFormat(QLocale::ShortFormat);
        for (const QString& fmt :
             {shortDate + u' ' + LongTimeFormat(), shortDate + u' ' + sys.timeFormat(QLocale::ShortFormat)}) {
            dt = sys.toDateTime(s, fmt);
            if (dt.isValid())
                break;
        }
    }
    if (!dt.isValid())
        throw EConvertError(QStringLiteral("'%1' não é uma data e hora válida").arg(s));
    return dt;
}

// A conversion error of a field names the field.
template <typename Convert> auto NamingField(const TFieldDef& def, Convert convert) -> decltype(convert())
{
    try {
        return convert();
    } catch (const EConvertError& e) {
        throw EConvertError(QStringLiteral("Campo '%1': %2").arg(def.Name, e.Message()));
    }
}

QLocale DisplayLocale()
{
    QLocale loc;
    loc.setNumberOptions(loc.numberOptions() | QLocale::OmitGroupSeparator);
    return loc;
}

} // namespace

QVariant TField::ConvertValue(const QVariant& value, const TFieldDef& def)
{
    if (ClientDataSetValues::IsNull(value))
        return QVariant();
    // Already in the stored form (as a server packet mostly is): kept as it is.
    const int id = value.typeId();
    switch (def.DataType) {
    case TFieldType::ftString:
        if (id == QMetaType::QString
            && (def.Size <= 0 || static_cast<const QString*>(value.constData())->size() <= def.Size))
            return value;
        return CutToWidth(ToText(value), def.Size);
    case TFieldType::ftFloat:
        if (id == QMetaType::Double)
            return value;
        break;
    case TFieldType::ftDateTime:
        if (id == QMetaType::QDateTime)
            return value;
        break;
    case TFieldType::ftInteger:
    case TFieldType::ftBoolean: break;
    }
    // Blank text in a typed field means "no value", as an operator clearing a cell expects.
    if ((value.typeId() == QMetaType::QString || value.typeId() == QMetaType::QByteArray)
        && ToText(value).trimmed().isEmpty())
        return QVariant();
    switch (def.DataType) {
    case TFieldType::ftInteger: return ToInteger(value);
    case TFieldType::ftFloat: return ToFloat(value);
    case TFieldType::ftBoolean: return ToBool(value);
    case TFieldType::ftDateTime: return ToDateTime(value);
    case TFieldType::ftString: break;
    }
    return QVariant();
}

TField::TField(TClientDataSet* owner, int index, TFieldDef def) : m_owner(owner), m_index(index), m_def(std::move(def))
{}

bool TField::IsNull() const
{
    return ClientDataSetValues::IsNull(Value());
}

QVariant TField::Value() const
{
    return m_owner->d->CurrentValue(m_index);
}

QString TField::AsString() const
{
    const QVariant v = Value();
    if (ClientDataSetValues::IsNull(v))
        return QString();
    return ToText(v);
}

double TField::AsFloat() const
{
    const QVariant v = Value();
    if (ClientDataSetValues::IsNull(v))
        return 0;
    if (m_def.DataType == TFieldType::ftDateTime)
        throw EConvertError(QStringLiteral("O campo '%1' contém uma data e hora, não um número").arg(m_def.Name));
    return NamingField(m_def, [&] { return ToFloat(v); });
}

int TField::AsInteger() const
{
    const QVariant v = Value();
    if (ClientDataSetValues::IsNull(v))
        return 0;
    if (m_def.DataType == TFieldType::ftDateTime)
        throw EConvertError(QStringLiteral("O campo '%1' contém uma data e hora, não um número").arg(m_def.Name));
    return NamingField(m_def, [&] {
        if (m_def.DataType == TFieldType::ftFloat) {
            const double d = v.toDouble();
            const double r = std::round(d);
            if (!std::isfinite(d) || r > std::numeric_limits<int>::max() || r < std::numeric_limits<int>::min())
                throw EConvertError(QStringLiteral("%1 está fora do intervalo de um número inteiro").arg(FloatText(d)));
            return int(r);
        }
        return ToInteger(v);
    });
}

bool TField::AsBoolean() const
{
    const QVariant v = Value();
    if (ClientDataSetValues::IsNull(v))
        return false;
    return NamingField(m_def, [&] { return ToBool(v); });
}

QDateTime TField::AsDateTime() const
{
    const QVariant v = Value();
    if (ClientDataSetValues::IsNull(v))
        return QDateTime();
    return NamingField(m_def, [&] { return ToDateTime(v); });
}

QString TField::DisplayText() const
{
    if (m_getText)
        return m_getText(*this, m_getTextContext);
    const QVariant v = Value();
    if (ClientDataSetValues::IsNull(v))
        return QString();
    switch (m_def.DataType) {
    case TFieldType::ftString: return v.toString();
    case TFieldType::ftInteger: return QString::number(v.toInt());
    case TFieldType::ftFloat: return DisplayLocale().toString(v.toDouble(), 'g', QLocale::FloatingPointShortest);
    case TFieldType::ftBoolean: return BoolText(v.toBool());
    case TFieldType::ftDateTime: {
        const QLocale sys; // the host may have set it for its terminal
        const QDateTime dt = v.toDateTime();
        return sys.toString(dt.date(), QLocale::ShortFormat) + u' ' + sys.toString(dt.time(), LongTimeFormat());
    }
    }
    return QString();
}

void TField::SetValue(const QVariant& v)
{
    TClientDataSet::Private* d = m_owner->d.get();
    d->CheckActive();
    if (d->state != TDataSetState::dsEdit && d->state != TDataSetState::dsInsert)
        throw EDatabaseError(
            QStringLiteral("O conjunto de dados%1 não está editando uma linha (Edit, Insert ou Append antes)")
                .arg(d->Named()));
    if (m_def.ReadOnly)
        throw EDatabaseError(QStringLiteral("O campo '%1' é somente leitura").arg(m_def.Name));
    d->buffer[m_index] = NamingField(m_def, [&] { return ConvertValue(v, m_def); });
    d->modified = true;
}
