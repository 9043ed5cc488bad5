#pragma once
// Dataset files: the terminal's parameter and operator files, kept as XML so
// that a person can read and edit them.
//
//   <?xml version="1.0" encoding="UTF-8"?>
//   <dataset version="1">
//     <fields>
//       <field name="CDFILIAL" type="string" size="4"/>
//       <field name="NMPRODUTO" type="string" size="50" readonly="true" label="Produto"/>
//       <field name="QTPRODCOMVEN" type="float"/>
//     </fields>
//     <rows>
//       <row>
//         <value field="CDFILIAL">0001</value>
//         <value field="NMPRODUTO" null="true"/>
//         <value field="QTPRODCOMVEN">0.5</value>
//       </row>
//     </rows>
//   </dataset>
//
// Types: string, integer, float, boolean, datetime. size counts characters
// (0 or absent: unlimited); readonly and label are optional.
// Values: the text of <value> is taken as it stands for text fields (blanks
// and line breaks included); for the other types blanks around it are ignored
// and blank text means null. A value marked null="true", or a field left out
// of a row, is null; <value field="X"/> is empty text, not null. Numbers use a
// dot for decimals (floats are written in their shortest exact form, so they
// read back bit for bit); date-times are ISO 8601 with milliseconds; Booleans
// are true/false. Text holding characters XML cannot carry (control
// characters) is written base64-encoded as UTF-8 with encoding="base64".
// Indentation and whitespace between elements are free.
#include <QByteArray>
#include <QString>

#include "DataPacket.h"
#include "toolkit_export.h"

// Raise EDatabaseError naming the file (or the source) and what is wrong.
TOOLKIT_EXPORT TDataPacket ReadDataSetFile(const QString& fileName);
TOOLKIT_EXPORT void WriteDataSetFile(const QString& fileName, const TDataPacket& packet);

TOOLKIT_EXPORT TDataPacket ParseDataSetXml(const QByteArray& xml, const QString& sourceName);
TOOLKIT_EXPORT QByteArray DataSetXml(const TDataPacket& packet);
