// Client dataset: data packets in and out, dataset files, raw access for views.
#include "ClientDataSetPrivate.h"
#include "DataSetFile.h"
#include "Exception.h"

TDataPacket TClientDataSet::Data() const
{
    d->CheckActive();
    TDataPacket packet;
    packet.FieldDefs = d->CurrentDefs();
    packet.Rows = d->rows;
    return packet;
}

void TClientDataSet::SetData(const TDataPacket& packet)
{
    Private::ValidateDefs(packet.FieldDefs, QStringLiteral("Pacote de dados"));

    // The new structure and where each of its fields comes from in the packet.
    QList<TFieldDef> defs;
    QList<int> source;
    if (!d->declared.isEmpty()) {
        QList<bool> used(packet.FieldDefs.size(), false);
        for (const TFieldDef& def : d->declared) {
            const int at = packet.indexOf(def.Name);
            if (at < 0)
                throw EDatabaseError(QStringLiteral("Campo '%1' não encontrado").arg(def.Name));
            used[at] = true;
            defs.append(def);
            source.append(at);
        }
        for (int i = 0; i < packet.FieldDefs.size(); ++i) {
            if (!used[i]) {
                defs.append(packet.FieldDefs[i]);
                source.append(i);
            }
        }
        // Labels and hooks set on the declared fields since creation stay.
        for (int i = 0; i < d->declared.size() && i < int(d->fields.size()); ++i)
            if (d->fields[size_t(i)]->FieldName().compare(defs[i].Name, Qt::CaseInsensitive) == 0)
                defs[i].DisplayLabel = d->fields[size_t(i)]->Def().DisplayLabel;
    } else {
        defs = packet.FieldDefs;
        for (int i = 0; i < defs.size(); ++i)
            source.append(i);
    }

    // Everything is converted before anything is replaced: a bad packet
    // leaves the dataset as it was.
    QList<QVariantList> rows;
    rows.reserve(packet.Rows.size());
    const int width = int(packet.FieldDefs.size());
    for (int r = 0; r < packet.Rows.size(); ++r) {
        const QVariantList& in = packet.Rows[r];
        if (in.size() != width)
            throw EDatabaseError(QStringLiteral("Pacote de dados: a linha %1 tem %2 valores para %3 campos")
                                     .arg(r + 1)
                                     .arg(in.size())
                                     .arg(width));
        QVariantList out;
        out.reserve(defs.size());
        for (int f = 0; f < defs.size(); ++f) {
            try {
                out.append(TField::ConvertValue(in[source[f]], defs[f]));
            } catch (const EConvertError& e) {
                throw EDatabaseError(QStringLiteral("Pacote de dados: linha %1, campo '%2': %3")
                                         .arg(r + 1)
                                         .arg(defs[f].Name, e.Message()));
            }
        }
        rows.append(std::move(out));
    }

    const std::shared_ptr<const TFilterExpression> filter = d->FilterFor(defs);

    d->state = TDataSetState::dsBrowse;
    d->modified = false;
    d->buffer.clear();
    d->ApplyStructure(defs);
    d->filter = filter;
    d->rows = std::move(rows);
    d->active = true;
    d->RebuildVisible();
    d->GoFirst();
    d->NotifyData();
}

void TClientDataSet::SetData(const QVariant& packet)
{
    SetData(ToDataPacket(packet));
}

void TClientDataSet::CopyDataSet(const TClientDataSet& source)
{
    SetData(source.Data());
}

void TClientDataSet::LoadFromFile(const QString& fileName)
{
    const TDataPacket packet = ReadDataSetFile(fileName);
    try {
        SetData(packet);
    } catch (const Exception& e) {
        throw EDatabaseError(QStringLiteral("Arquivo de dados '%1': %2").arg(fileName, e.Message()));
    }
}

void TClientDataSet::SaveToFile(const QString& fileName) const
{
    if (!d->active)
        throw EDatabaseError(
            QStringLiteral("Não é possível gravar o arquivo de dados '%1': o conjunto de dados está fechado")
                .arg(fileName));
    WriteDataSetFile(fileName, Data());
}

QVariant TClientDataSet::VisibleValue(int visibleRow, int field) const
{
    if (!d->active || visibleRow < 0 || visibleRow >= d->visible.size())
        return QVariant();
    return d->rows[d->visible[visibleRow]].value(field);
}

QString TClientDataSet::VisibleDisplayText(int visibleRow, int field) const
{
    if (!d->active || visibleRow < 0 || visibleRow >= d->visible.size() || field < 0 || field >= int(d->fields.size()))
        return QString();
    struct Peek {
        const Private* p;
        int saved;
        ~Peek() { p->peekRow = saved; }
    } peek{d.get(), d->peekRow};
    d->peekRow = d->visible[visibleRow];
    return d->fields[size_t(field)]->DisplayText();
}
