#pragma once
// The forms persistent field lists and dataset files write their field
// definitions in.
#include <QString>

#include "DataPacket.h"

inline TFieldDef FieldOf(const QString& name, TFieldType type, int size = 0)
{
    return {name, type, size, false, QString()};
}

inline TFieldDef StringField(const QString& name, int size = 0, bool readOnly = false, const QString& label = QString())
{
    return {name, TFieldType::ftString, size, readOnly, label};
}

inline TFieldDef FloatField(const QString& name)
{
    return {name, TFieldType::ftFloat, 0, false, QString()};
}

inline TFieldDef DateTimeField(const QString& name)
{
    return {name, TFieldType::ftDateTime, 0, false, QString()};
}
