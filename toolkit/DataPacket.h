#pragma once
// A data packet: the metadata and every row of a query result, as a value that a
// server function returns inside a QVariant and a client dataset loads.
#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariant>

#include "toolkit_export.h"

enum class TFieldType { ftString, ftInteger, ftFloat, ftBoolean, ftDateTime };

struct TOOLKIT_EXPORT TFieldDef {
    QString Name;
    TFieldType DataType = TFieldType::ftString;
    int Size = 0; // characters, for ftString; 0 = unlimited
    bool ReadOnly = false;
    QString DisplayLabel; // empty = the field name

    bool operator==(const TFieldDef&) const = default;
};

struct TOOLKIT_EXPORT TDataPacket {
    QList<TFieldDef> FieldDefs;
    QList<QVariantList> Rows; // one value per field def, in order; null QVariant = null

    int indexOf(const QString& fieldName) const; // case-insensitive, -1 when absent
    bool operator==(const TDataPacket&) const = default;
};

Q_DECLARE_METATYPE(TDataPacket)

TOOLKIT_EXPORT bool IsDataPacket(const QVariant& v);
TOOLKIT_EXPORT QVariant ToVariant(const TDataPacket& p);
// Raises EDatabaseError when the value holds no packet (for example a failure text).
TOOLKIT_EXPORT TDataPacket ToDataPacket(const QVariant& v);
