#include "DataPacket.h"

#include "Exception.h"

int TDataPacket::indexOf(const QString& fieldName) const
{
    // Names are nearly always asked as stored; the case-blind comparison
    // costs far more and is only the fallback.
    for (int i = 0; i < FieldDefs.size(); ++i)
        if (FieldDefs[i].Name == fieldName)
            return i;
    for (int i = 0; i < FieldDefs.size(); ++i)
        if (FieldDefs[i].Name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool IsDataPacket(const QVariant& v)
{
    return v.metaType() == QMetaType::fromType<TDataPacket>();
}

QVariant ToVariant(const TDataPacket& p)
{
    return QVariant::fromValue(p);
}

TDataPacket ToDataPacket(const QVariant& v)
{
    if (!IsDataPacket(v)) {
        if (v.typeId() == QMetaType::QString)
            throw EDatabaseError(v.toString());
        throw EDatabaseError(QStringLiteral("Falta o provedor de dados ou o pacote de dados"));
    }
    return v.value<TDataPacket>();
}
