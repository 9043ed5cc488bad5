#include "DataSetFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include "ClientDataSetPrivate.h"
#include "Exception.h"

using namespace ClientDataSetValues;

namespace {

const QString kFormatVersion = QStringLiteral("1");

bool XmlCannotCarry(const QString& s)
{
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < 0x20 && c != u'\t' && c != u'\n' && c != u'\r')
            return true;
        if (c == 0xFFFE || c == 0xFFFF)
            return true;
        if (QChar::isHighSurrogate(c)) {
            if (i + 1 >= s.size() || !s[i + 1].isLowSurrogate())
                return true;
            ++i;
        } else if (QChar::isLowSurrogate(c)) {
            return true;
        }
    }
    return false;
}

// Carriage returns go out as character references: a parser folds a literal
// CR LF into LF, which would change the text on the way back.
void WriteText(QXmlStreamWriter& w, const QString& s)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (s[i] == u'\r') {
            if (i > start)
                w.writeCharacters(s.mid(start, i - start));
            w.writeEntityReference(QStringLiteral("#13"));
            start = i + 1;
        }
    }
    if (start < s.size())
        w.writeCharacters(s.mid(start));
}

QString ValueText(const QVariant& v, TFieldType type)
{
    switch (type) {
    case TFieldType::ftString: return v.toString();
    case TFieldType::ftInteger: return QString::number(v.toInt());
    case TFieldType::ftFloat: return FloatText(v.toDouble());
    case TFieldType::ftBoolean: return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case TFieldType::ftDateTime: return DateTimeText(v.toDateTime());
    }
    return QString();
}

class Reader {
public:
    Reader(const QByteArray& xml, const QString& source) : m_xml(xml), m_source(source), m_r(xml) {}

    TDataPacket Read()
    {
        if (m_xml.trimmed().isEmpty())
            Fail(QStringLiteral("o arquivo está vazio"));
        if (!m_r.readNextStartElement())
            FailXml();
        if (m_r.name() != u"dataset")
            Fail(QStringLiteral("o elemento raiz é <%1>, esperado <dataset>").arg(m_r.name()));
        const QString version = m_r.attributes().value(QStringLiteral("version")).toString();
        if (!version.isEmpty() && version.trimmed() != kFormatVersion)
            Fail(QStringLiteral("a versão de formato %1 não é suportada").arg(version));

        bool haveFields = false;
        bool haveRows = false;
        while (m_r.readNextStartElement()) {
            if (m_r.name() == u"fields") {
                if (haveFields)
                    Fail(QStringLiteral("um segundo elemento <fields> na linha %1").arg(m_r.lineNumber()));
                ReadFields();
                haveFields = true;
            } else if (m_r.name() == u"rows") {
                if (!haveFields)
                    Fail(QStringLiteral("<rows> na linha %1 vem antes de <fields>").arg(m_r.lineNumber()));
                if (haveRows)
                    Fail(QStringLiteral("um segundo elemento <rows> na linha %1").arg(m_r.lineNumber()));
                ReadRows();
                haveRows = true;
            } else {
                Unexpected();
            }
        }
        CheckXml();
        // Anything after the root element must be well-formed too (and the
        // document must really end): read to the end.
        while (!m_r.atEnd())
            m_r.readNext();
        CheckXml();
        if (!haveFields)
            Fail(QStringLiteral("não há elemento <fields>"));
        return m_packet;
    }

private:
    [[noreturn]] void Fail(const QString& what) const
    {
        throw EDatabaseError(QStringLiteral("Arquivo de dados '%1': %2").arg(m_source, what));
    }

    [[noreturn]] void FailXml() const
    {
        if (m_r.error() == QXmlStreamReader::PrematureEndOfDocumentError)
            throw EDatabaseError(QStringLiteral("O arquivo de dados '%1' está truncado (linha %2, coluna %3): %4")
                                     .arg(m_source)
                                     .arg(m_r.lineNumber())
                                     .arg(m_r.columnNumber())
                                     .arg(m_r.errorString()));
        throw EDatabaseError(
            QStringLiteral("O arquivo de dados '%1' não é um XML bem formado (linha %2, coluna %3): %4")
                .arg(m_source)
                .arg(m_r.lineNumber())
                .arg(m_r.columnNumber())
                .arg(m_r.errorString()));
    }

    void CheckXml() const
    {
        if (m_r.hasError())
            FailXml();
    }

    [[noreturn]] void Unexpected() const
    {
        CheckXml();
        Fail(QStringLiteral("elemento <%1> inesperado na linha %2").arg(m_r.name()).arg(m_r.lineNumber()));
    }

    QString Attr(const QString& name) const { return m_r.attributes().value(name).toString(); }

    void ReadFields()
    {
        while (m_r.readNextStartElement()) {
            if (m_r.name() != u"field")
                Unexpected();
            const qint64 line = m_r.lineNumber();
            TFieldDef def;
            def.Name = Attr(QStringLiteral("name")).trimmed();
            if (def.Name.isEmpty())
                Fail(QStringLiteral("o campo na linha %1 não tem nome").arg(line));
            if (m_packet.indexOf(def.Name) >= 0)
                Fail(QStringLiteral("o campo '%1' está declarado duas vezes (linha %2)").arg(def.Name).arg(line));
            const QString type = Attr(QStringLiteral("type")).trimmed();
            if (!TypeFromName(type, &def.DataType))
                Fail(QStringLiteral("o campo '%1' tem o tipo desconhecido '%2' (linha %3)")
                         .arg(def.Name, type)
                         .arg(line));
            const QString size = Attr(QStringLiteral("size")).trimmed();
            if (!size.isEmpty()) {
                bool ok = false;
                def.Size = size.toInt(&ok);
                if (!ok || def.Size < 0)
                    Fail(QStringLiteral("o campo '%1' tem o tamanho inválido '%2' (linha %3)")
                             .arg(def.Name, size)
                             .arg(line));
            }
            const QString readOnly = Attr(QStringLiteral("readonly")).trimmed();
            if (!readOnly.isEmpty())
                def.ReadOnly = Flag(readOnly, QStringLiteral("readonly do campo '%1'").arg(def.Name), line);
            def.DisplayLabel = Attr(QStringLiteral("label"));
            m_packet.FieldDefs.append(def);
            m_r.skipCurrentElement();
        }
        CheckXml();
    }

    bool Flag(const QString& text, const QString& what, qint64 line) const
    {
        if (text.compare(u"true", Qt::CaseInsensitive) == 0 || text == u"1")
            return true;
        if (text.compare(u"false", Qt::CaseInsensitive) == 0 || text == u"0")
            return false;
        Fail(QStringLiteral("%1 é '%2', esperado true ou false (linha %3)").arg(what, text).arg(line));
    }

    void ReadRows()
    {
        const int width = int(m_packet.FieldDefs.size());
        while (m_r.readNextStartElement()) {
            if (m_r.name() != u"row")
                Unexpected();
            const int rowNo = int(m_packet.Rows.size()) + 1;
            QVariantList row(width);
            QList<bool> seen(width, false);
            while (m_r.readNextStartElement()) {
                if (m_r.name() != u"value")
                    Unexpected();
                const qint64 line = m_r.lineNumber();
                const QString name = Attr(QStringLiteral("field")).trimmed();
                const int f = m_packet.indexOf(name);
                if (f < 0)
                    Fail(QStringLiteral("a linha %1 tem um valor para o campo desconhecido '%2' (linha %3)")
                             .arg(rowNo)
                             .arg(name)
                             .arg(line));
                if (seen[f])
                    Fail(QStringLiteral("a linha %1 tem dois valores para o campo '%2' (linha %3)")
                             .arg(rowNo)
                             .arg(name)
                             .arg(line));
                seen[f] = true;
                const QString nullAttr = Attr(QStringLiteral("null")).trimmed();
                const bool isNull = !nullAttr.isEmpty() && Flag(nullAttr, QStringLiteral("null"), line);
                const QString encoding = Attr(QStringLiteral("encoding")).trimmed();
                QString text = m_r.readElementText(QXmlStreamReader::ErrorOnUnexpectedElement);
                CheckXml();
                if (isNull)
                    continue;
                const TFieldDef& def = m_packet.FieldDefs[f];
                if (!encoding.isEmpty()) {
                    if (encoding != u"base64")
                        Fail(QStringLiteral("linha %1, campo '%2': codificação desconhecida '%3' (linha %4)")
                                 .arg(rowNo)
                                 .arg(name, encoding)
                                 .arg(line));
                    const auto decoded = QByteArray::fromBase64Encoding(text.trimmed().toLatin1(),
                                                                        QByteArray::AbortOnBase64DecodingErrors);
                    if (!decoded)
                        Fail(QStringLiteral("linha %1, campo '%2': o texto base64 está danificado (linha %3)")
                                 .arg(rowNo)
                                 .arg(name)
                                 .arg(line));
                    text = QString::fromUtf8(*decoded);
                }
                try {
                    row[f] = TField::ConvertValue(text, def);
                } catch (const EConvertError& e) {
                    Fail(QStringLiteral("linha %1, campo '%2': %3 (linha %4)")
                             .arg(rowNo)
                             .arg(def.Name, e.Message())
                             .arg(line));
                }
            }
            CheckXml();
            m_packet.Rows.append(row);
        }
        CheckXml();
    }

    const QByteArray& m_xml;
    QString m_source;
    QXmlStreamReader m_r;
    TDataPacket m_packet;
};

} // namespace

TDataPacket ParseDataSetXml(const QByteArray& xml, const QString& sourceName)
{
    return Reader(xml, sourceName).Read();
}

QByteArray DataSetXml(const TDataPacket& packet)
{
    const int width = int(packet.FieldDefs.size());
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(2);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("dataset"));
    w.writeAttribute(QStringLiteral("version"), kFormatVersion);
    w.writeStartElement(QStringLiteral("fields"));
    for (const TFieldDef& def : packet.FieldDefs) {
        w.writeEmptyElement(QStringLiteral("field"));
        w.writeAttribute(QStringLiteral("name"), def.Name);
        w.writeAttribute(QStringLiteral("type"), TypeName(def.DataType));
        if (def.Size > 0)
            w.writeAttribute(QStringLiteral("size"), QString::number(def.Size));
        if (def.ReadOnly)
            w.writeAttribute(QStringLiteral("readonly"), QStringLiteral("true"));
        if (!def.DisplayLabel.isEmpty())
            w.writeAttribute(QStringLiteral("label"), def.DisplayLabel);
    }
    w.writeEndElement();
    w.writeStartElement(QStringLiteral("rows"));
    for (int r = 0; r < packet.Rows.size(); ++r) {
        const QVariantList& row = packet.Rows[r];
        if (row.size() != width)
            throw EDatabaseError(
                QStringLiteral("A linha %1 tem %2 valores para %3 campos").arg(r + 1).arg(row.size()).arg(width));
        w.writeStartElement(QStringLiteral("row"));
        for (int f = 0; f < width; ++f) {
            const TFieldDef& def = packet.FieldDefs[f];
            QVariant v;
            try {
                v = TField::ConvertValue(row[f], def);
            } catch (const EConvertError& e) {
                throw EDatabaseError(QStringLiteral("Linha %1, campo '%2': %3").arg(r + 1).arg(def.Name, e.Message()));
            }
            if (IsNull(v)) {
                w.writeEmptyElement(QStringLiteral("value"));
                w.writeAttribute(QStringLiteral("field"), def.Name);
                w.writeAttribute(QStringLiteral("null"), QStringLiteral("true"));
                continue;
            }
            const QString text = ValueText(v, def.DataType);
            w.writeStartElement(QStringLiteral("value"));
            w.writeAttribute(QStringLiteral("field"), def.Name);
            if (XmlCannotCarry(text)) {
                w.writeAttribute(QStringLiteral("encoding"), QStringLiteral("base64"));
                w.writeCharacters(QString::fromLatin1(text.toUtf8().toBase64()));
            } else {
                WriteText(w, text);
            }
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

TDataPacket ReadDataSetFile(const QString& fileName)
{
    QFile file(fileName);
    if (!QFileInfo::exists(fileName))
        throw EDatabaseError(QStringLiteral("O arquivo de dados '%1' não existe").arg(fileName));
    if (!file.open(QIODevice::ReadOnly))
        throw EDatabaseError(
            QStringLiteral("Não é possível abrir o arquivo de dados '%1': %2").arg(fileName, file.errorString()));
    const QByteArray xml = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw EDatabaseError(
            QStringLiteral("Não é possível ler o arquivo de dados '%1': %2").arg(fileName, file.errorString()));
    return ParseDataSetXml(xml, fileName);
}

void WriteDataSetFile(const QString& fileName, const TDataPacket& packet)
{
    const QByteArray xml = DataSetXml(packet);
    // Written aside and renamed over the old file: a failure midway never
    // leaves a half-written parameters file behind.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EDatabaseError(
            QStringLiteral("Não é possível gravar o arquivo de dados '%1': %2").arg(fileName, file.errorString()));
    if (file.write(xml) != xml.size() || !file.commit())
        throw EDatabaseError(
            QStringLiteral("Não é possível gravar o arquivo de dados '%1': %2").arg(fileName, file.errorString()));
}
