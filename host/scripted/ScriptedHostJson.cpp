#include "ScriptedHostJson.h"

#include <QDate>
#include <QDateTime>
#include <QTime>

#include "DataPacket.h"

QJsonValue ValorJson(const QVariant& value)
{
    if (value.isNull() || !value.isValid())
        return QJsonValue::Null;
    if (IsDataPacket(value)) {
        const TDataPacket packet = ToDataPacket(value);
        QJsonArray rows;
        for (const QVariantList& row : packet.Rows) {
            QJsonObject object;
            for (qsizetype i = 0; i < packet.FieldDefs.size(); ++i)
                object.insert(packet.FieldDefs.at(i).Name, ValorJson(row.value(i)));
            rows.append(object);
        }
        return rows;
    }
    switch (value.typeId()) {
    case QMetaType::Bool: return value.toBool();
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short: return value.toLongLong();
    case QMetaType::Double:
    case QMetaType::Float: return value.toDouble();
    case QMetaType::QDateTime: return value.toDateTime().toString(Qt::ISODateWithMs);
    case QMetaType::QDate: return value.toDate().toString(Qt::ISODate);
    case QMetaType::QTime: return value.toTime().toString(Qt::ISODateWithMs);
    case QMetaType::QStringList:
    case QMetaType::QVariantList: {
        QJsonArray items;
        for (const QVariant& item : value.toList())
            items.append(ValorJson(item));
        return items;
    }
    case QMetaType::QVariantMap: {
        QJsonObject object;
        const QVariantMap map = value.toMap();
        for (auto it = map.cbegin(); it != map.cend(); ++it)
            object.insert(it.key(), ValorJson(it.value()));
        return object;
    }
    default: return value.toString();
    }
}

QJsonObject ChamadaJson(const ScriptedHost::Call& call)
{
    QJsonArray args;
    for (qsizetype i = 0; i < call.Args.size(); ++i)
        args.append(ValorJson(call.Devolvidos.value(int(i), call.Args.at(i))));
    QJsonObject object{{QStringLiteral("service"), call.Service}, {QStringLiteral("args"), args}};
    if (call.Resultado.isValid())
        object.insert(QStringLiteral("result"), ValorJson(call.Resultado));
    if (call.Padrao)
        object.insert(QStringLiteral("default"), true);
    return object;
}

QJsonArray ChamadasJson(const QList<ScriptedHost::Call>& calls)
{
    QJsonArray array;
    for (const ScriptedHost::Call& call : calls)
        array.append(ChamadaJson(call));
    return array;
}
