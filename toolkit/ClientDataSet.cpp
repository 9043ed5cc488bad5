// Client dataset: structure, cursor, editing, filter, locate and notifications.
#include <QSet>
#include <algorithm>

#include "ClientDataSetPrivate.h"
#include "Exception.h"

// --- helpers ---

QString TClientDataSet::Private::Named() const
{
    const QString name = q->objectName();
    return name.isEmpty() ? QString() : QStringLiteral(" '%1'").arg(name);
}

void TClientDataSet::Private::CheckActive() const
{
    if (!active)
        throw EDatabaseError(QStringLiteral("O conjunto de dados%1 está fechado").arg(Named()));
}

void TClientDataSet::Private::CheckBrowseMode()
{
    CheckActive();
    if (state == TDataSetState::dsEdit || state == TDataSetState::dsInsert) {
        if (modified)
            q->Post();
        else
            q->Cancel();
    }
}

bool TClientDataSet::Private::FilterActive() const
{
    return filtered && filter && !filter->IsEmpty();
}

bool TClientDataSet::Private::Passes(const QVariantList& row) const
{
    return !FilterActive() || filter->Matches(row);
}

void TClientDataSet::Private::RebuildVisible()
{
    visible.clear();
    visible.reserve(rows.size());
    for (int i = 0; i < rows.size(); ++i)
        if (Passes(rows[i]))
            visible.append(i);
}

void TClientDataSet::Private::GoFirst()
{
    cur = visible.isEmpty() ? -1 : 0;
    bof = true;
    eof = visible.isEmpty();
}

void TClientDataSet::Private::SettleAfterRemoval(int position)
{
    if (visible.isEmpty()) {
        cur = -1;
        eof = bof = true;
    } else if (position < visible.size()) {
        cur = position;
        eof = bof = false;
    } else {
        // Nothing followed the row: the walk has run past the end.
        cur = int(visible.size()) - 1;
        eof = true;
        bof = false;
    }
}

static bool SameShape(const TFieldDef& a, const TFieldDef& b)
{
    return a.Name.compare(b.Name, Qt::CaseInsensitive) == 0 && a.DataType == b.DataType && a.Size == b.Size
        && a.ReadOnly == b.ReadOnly;
}

void TClientDataSet::Private::ApplyStructure(const QList<TFieldDef>& defs)
{
    // Field objects of an unchanged column survive, so pointers held by the
    // screen and the hooks installed on them stay valid across reloads.
    std::vector<std::unique_ptr<TField>> next;
    next.reserve(defs.size());
    for (int i = 0; i < defs.size(); ++i) {
        std::unique_ptr<TField> kept;
        for (auto& f : fields) {
            if (f && SameShape(f->m_def, defs[i])) {
                kept = std::move(f);
                break;
            }
        }
        if (kept) {
            kept->m_index = i;
            kept->m_def.Name = defs[i].Name;
            if (!defs[i].DisplayLabel.isEmpty())
                kept->m_def.DisplayLabel = defs[i].DisplayLabel;
            next.push_back(std::move(kept));
        } else {
            next.push_back(std::make_unique<TField>(q, i, defs[i]));
        }
    }
    fields = std::move(next);
    fieldDefs = CurrentDefs();
}

QList<TFieldDef> TClientDataSet::Private::CurrentDefs() const
{
    QList<TFieldDef> defs;
    defs.reserve(qsizetype(fields.size()));
    for (const auto& f : fields)
        defs.append(f->m_def);
    return defs;
}

void TClientDataSet::Private::NotifyData()
{
    if (disabled > 0)
        return;
    emit q->DataChanged();
    emit q->AfterScroll();
}

void TClientDataSet::Private::NotifyScroll()
{
    if (disabled > 0)
        return;
    emit q->AfterScroll();
}

void TClientDataSet::Private::NotifyRow(int visibleRow)
{
    if (disabled > 0)
        return;
    emit q->RowChanged(visibleRow);
}

std::shared_ptr<const TFilterExpression> TClientDataSet::Private::CompileFilter(const QString& text,
                                                                                const QList<TFieldDef>& defs) const
{
    return TFilterExpression::Compile(text, &defs);
}

std::shared_ptr<const TFilterExpression> TClientDataSet::Private::FilterFor(const QList<TFieldDef>& defs) const
{
    if (filterText.trimmed().isEmpty())
        return nullptr;
    try {
        return CompileFilter(filterText, defs);
    } catch (const EDatabaseError&) {
        if (filtered)
            throw;
        return nullptr;
    }
}

QVariant TClientDataSet::Private::CurrentValue(int field) const
{
    CheckActive();
    if (peekRow >= 0)
        return rows[peekRow].value(field);
    if (state == TDataSetState::dsEdit || state == TDataSetState::dsInsert)
        return buffer.value(field);
    if (cur < 0)
        return QVariant();
    return rows[visible[cur]].value(field);
}

// --- structure ---

TClientDataSet::TClientDataSet(QObject* parent, const QString& name)
    : QObject(parent), d(std::make_unique<Private>(this))
{
    setObjectName(name);
}

TClientDataSet::~TClientDataSet() = default;

QList<TFieldDef>& TClientDataSet::FieldDefs()
{
    return d->fieldDefs;
}

void TClientDataSet::Private::ValidateDefs(const QList<TFieldDef>& defs, const QString& where)
{
    QSet<QString> seen;
    for (int i = 0; i < defs.size(); ++i) {
        const TFieldDef& def = defs[i];
        if (def.Name.trimmed().isEmpty())
            throw EDatabaseError(QStringLiteral("%1: o campo %2 não tem nome").arg(where).arg(i + 1));
        if (def.Size < 0)
            throw EDatabaseError(QStringLiteral("%1: o campo '%2' tem tamanho negativo").arg(where, def.Name));
        const QString key = def.Name.toUpper();
        if (seen.contains(key))
            throw EDatabaseError(QStringLiteral("%1: o campo '%2' aparece duas vezes").arg(where, def.Name));
        seen.insert(key);
    }
}

void TClientDataSet::CreateDataSet()
{
    const QList<TFieldDef> defs = d->fieldDefs;
    if (defs.isEmpty())
        throw EDatabaseError(QStringLiteral("Não é possível criar um conjunto de dados sem campos"));
    Private::ValidateDefs(defs, QStringLiteral("CreateDataSet"));
    const std::shared_ptr<const TFilterExpression> filter = d->FilterFor(defs);
    d->state = TDataSetState::dsBrowse;
    d->modified = false;
    d->declared = defs;
    d->ApplyStructure(defs);
    d->filter = filter;
    d->rows.clear();
    d->visible.clear();
    d->active = true;
    d->GoFirst();
    d->NotifyData();
}

void TClientDataSet::Open()
{
    if (d->active)
        return;
    if (d->fieldDefs.isEmpty())
        throw EDatabaseError(QStringLiteral("O conjunto de dados%1 não tem estrutura para abrir (nem pacote de dados, "
                                            "nem arquivo, nem definição de campos)")
                                 .arg(d->Named()));
    if (d->fields.empty()) {
        CreateDataSet();
        return;
    }
    // The structure survived Close (declared or loaded, as it was); the rows did not.
    const QList<TFieldDef> declared = d->declared;
    d->fieldDefs = d->CurrentDefs();
    CreateDataSet();
    d->declared = declared;
}

void TClientDataSet::Close()
{
    if (!d->active)
        return;
    d->state = TDataSetState::dsInactive;
    d->modified = false;
    d->buffer.clear();
    d->rows.clear();
    d->visible.clear();
    d->active = false;
    d->cur = -1;
    d->eof = d->bof = true;
    if (d->disabled == 0)
        emit DataChanged();
}

bool TClientDataSet::Active() const
{
    return d->active;
}

TDataSetState TClientDataSet::State() const
{
    return d->state;
}

int TClientDataSet::FieldCount() const
{
    return int(d->fields.size());
}

TField* TClientDataSet::Fields(int index) const
{
    if (index < 0 || index >= int(d->fields.size()))
        throw EDatabaseError(QStringLiteral("Índice de campo %1 fora do intervalo").arg(index));
    return d->fields[size_t(index)].get();
}

TField* TClientDataSet::FieldByName(const QString& name) const
{
    TField* f = FindField(name);
    if (!f)
        throw EDatabaseError(QStringLiteral("Campo '%1' não encontrado").arg(name));
    return f;
}

TField* TClientDataSet::FindField(const QString& name) const
{
    for (const auto& f : d->fields)
        if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

// --- cursor ---

void TClientDataSet::First()
{
    d->CheckBrowseMode();
    const int before = d->cur;
    d->GoFirst();
    if (d->cur != before)
        d->NotifyScroll();
}

void TClientDataSet::Next()
{
    d->CheckBrowseMode();
    if (d->cur >= 0 && d->cur + 1 < d->visible.size()) {
        ++d->cur;
        d->bof = d->eof = false;
        d->NotifyScroll();
    } else {
        d->eof = true;
    }
}

void TClientDataSet::Prior()
{
    d->CheckBrowseMode();
    if (d->cur > 0) {
        --d->cur;
        d->bof = d->eof = false;
        d->NotifyScroll();
    } else {
        d->bof = true;
    }
}

void TClientDataSet::Last()
{
    d->CheckBrowseMode();
    const int before = d->cur;
    d->cur = int(d->visible.size()) - 1;
    d->eof = true;
    d->bof = d->visible.isEmpty();
    if (d->cur != before)
        d->NotifyScroll();
}

bool TClientDataSet::Eof() const
{
    return !d->active || d->eof;
}

bool TClientDataSet::Bof() const
{
    return !d->active || d->bof;
}

int TClientDataSet::RecordCount() const
{
    return d->active ? int(d->visible.size()) : 0;
}

int TClientDataSet::RecNo() const
{
    return d->active ? d->cur + 1 : 0;
}

void TClientDataSet::SetRecNo(int recNo)
{
    d->CheckBrowseMode();
    if (recNo < 1 || recNo > d->visible.size())
        throw EDatabaseError(
            QStringLiteral("Registro número %1 fora do intervalo (1 a %2)").arg(recNo).arg(d->visible.size()));
    const int before = d->cur;
    d->cur = recNo - 1;
    d->bof = d->eof = false;
    if (d->cur != before)
        d->NotifyScroll();
}

bool TClientDataSet::IsEmpty() const
{
    return !d->active || d->visible.isEmpty();
}

// --- editing ---

void TClientDataSet::Edit()
{
    d->CheckActive();
    if (d->state == TDataSetState::dsEdit || d->state == TDataSetState::dsInsert)
        return;
    if (d->visible.isEmpty()) {
        Insert();
        return;
    }
    d->buffer = d->rows[d->visible[d->cur]];
    d->modified = false;
    d->state = TDataSetState::dsEdit;
}

static QVariantList NullRow(int width)
{
    QVariantList row;
    row.reserve(width);
    for (int i = 0; i < width; ++i)
        row.append(QVariant());
    return row;
}

void TClientDataSet::Insert()
{
    d->CheckBrowseMode();
    d->insertAt = d->cur >= 0 ? d->visible[d->cur] : int(d->rows.size());
    d->buffer = NullRow(FieldCount());
    d->modified = false;
    d->state = TDataSetState::dsInsert;
    d->NotifyScroll();
}

void TClientDataSet::Append()
{
    d->CheckBrowseMode();
    d->insertAt = int(d->rows.size());
    d->buffer = NullRow(FieldCount());
    d->modified = false;
    d->state = TDataSetState::dsInsert;
    d->NotifyScroll();
}

void TClientDataSet::Post()
{
    d->CheckActive();
    if (d->state == TDataSetState::dsEdit) {
        const int raw = d->visible[d->cur];
        d->rows[raw] = d->buffer;
        d->state = TDataSetState::dsBrowse;
        d->modified = false;
        d->buffer.clear();
        if (d->Passes(d->rows[raw])) {
            d->NotifyRow(d->cur);
        } else {
            const int position = d->cur;
            d->visible.removeAt(position);
            d->SettleAfterRemoval(position);
            d->NotifyData();
        }
        return;
    }
    if (d->state == TDataSetState::dsInsert) {
        const int raw = d->insertAt;
        d->rows.insert(raw, d->buffer);
        d->state = TDataSetState::dsBrowse;
        d->modified = false;
        d->buffer.clear();
        // Rows after the new one moved down by one.
        for (int& v : d->visible)
            if (v >= raw)
                ++v;
        const int position = int(std::lower_bound(d->visible.begin(), d->visible.end(), raw) - d->visible.begin());
        if (d->Passes(d->rows[raw])) {
            d->visible.insert(position, raw);
            d->cur = position;
            d->bof = d->eof = false;
        } else {
            d->SettleAfterRemoval(position);
        }
        d->NotifyData();
        return;
    }
    throw EDatabaseError(
        QStringLiteral("O conjunto de dados%1 não está editando uma linha (Edit, Insert ou Append antes)")
            .arg(d->Named()));
}

void TClientDataSet::Cancel()
{
    if (!d->active)
        return;
    const bool wasInsert = d->state == TDataSetState::dsInsert;
    if (d->state == TDataSetState::dsEdit || wasInsert) {
        d->state = TDataSetState::dsBrowse;
        d->modified = false;
        d->buffer.clear();
        if (wasInsert)
            d->NotifyScroll();
    }
}

void TClientDataSet::Delete()
{
    d->CheckActive();
    if (d->state == TDataSetState::dsInsert) {
        Cancel();
        return;
    }
    if (d->state == TDataSetState::dsEdit)
        Cancel();
    if (d->visible.isEmpty())
        throw EDatabaseError(QStringLiteral("O conjunto de dados%1 não tem linha para excluir").arg(d->Named()));
    const int position = d->cur;
    const int raw = d->visible[position];
    d->rows.removeAt(raw);
    d->visible.removeAt(position);
    for (int& v : d->visible)
        if (v > raw)
            --v;
    d->SettleAfterRemoval(position);
    d->NotifyData();
}

void TClientDataSet::EmptyDataSet()
{
    d->CheckActive();
    Cancel();
    d->rows.clear();
    d->visible.clear();
    d->GoFirst();
    d->NotifyData();
}

// --- locate ---

namespace {

struct LocateKey {
    int field;
    TFieldType type;
    QVariant value; // stored form of the field's type; text not cut
};

bool KeyMatches(const QVariant& stored, const LocateKey& key, const TLocateOptions& options)
{
    const bool storedNull = ClientDataSetValues::IsNull(stored);
    const bool keyNull = ClientDataSetValues::IsNull(key.value);
    if (key.type == TFieldType::ftString) {
        const QString s = storedNull ? QString() : stored.toString();
        const QString k = keyNull ? QString() : key.value.toString();
        const Qt::CaseSensitivity cs = options.CaseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
        return options.PartialKey ? s.startsWith(k, cs) : s.compare(k, cs) == 0;
    }
    if (storedNull || keyNull)
        return storedNull && keyNull;
    switch (key.type) {
    case TFieldType::ftInteger:
    case TFieldType::ftFloat: return stored.toDouble() == key.value.toDouble();
    case TFieldType::ftBoolean: return stored.toBool() == key.value.toBool();
    case TFieldType::ftDateTime: return stored.toDateTime() == key.value.toDateTime();
    case TFieldType::ftString: break;
    }
    return false;
}

} // namespace

bool TClientDataSet::Locate(const QString& keyFields, const QVariantList& keyValues, TLocateOptions options)
{
    d->CheckBrowseMode();
    QStringList names;
    for (const QString& part : keyFields.split(u';'))
        if (!part.trimmed().isEmpty())
            names.append(part.trimmed());
    if (names.isEmpty())
        throw EDatabaseError(QStringLiteral("Locate precisa de pelo menos um campo chave"));
    if (names.size() != keyValues.size())
        throw EDatabaseError(QStringLiteral("Locate em \"%1\": %2 campos chave mas %3 valores")
                                 .arg(keyFields)
                                 .arg(names.size())
                                 .arg(keyValues.size()));
    std::vector<LocateKey> keys;
    for (int i = 0; i < names.size(); ++i) {
        const TField* f = FieldByName(names[i]);
        TFieldDef def = f->Def();
        def.Size = 0;
        QVariant value;
        try {
            value = TField::ConvertValue(keyValues[i], def);
        } catch (const EConvertError& e) {
            throw EConvertError(
                QStringLiteral("Chave do Locate para o campo '%1': %2").arg(f->FieldName(), e.Message()));
        }
        keys.push_back({f->Index(), def.DataType, value});
    }
    for (int p = 0; p < d->visible.size(); ++p) {
        const QVariantList& row = d->rows[d->visible[p]];
        bool all = true;
        for (const LocateKey& k : keys) {
            if (!KeyMatches(row.value(k.field), k, options)) {
                all = false;
                break;
            }
        }
        if (all) {
            const int before = d->cur;
            d->cur = p;
            d->bof = d->eof = false;
            if (before != p)
                d->NotifyScroll();
            return true;
        }
    }
    return false;
}

// --- filter ---

QString TClientDataSet::Filter() const
{
    return d->filterText;
}

void TClientDataSet::SetFilter(const QString& expression)
{
    // Parsed (and bound, when the structure is known) before anything changes,
    // so a bad text leaves the filter in force untouched.
    std::shared_ptr<const TFilterExpression> compiled;
    if (d->active)
        compiled = d->CompileFilter(expression, d->CurrentDefs());
    else
        TFilterExpression::Compile(expression, nullptr);
    if (d->active)
        d->CheckBrowseMode();
    d->filterText = expression;
    d->filter = compiled;
    if (d->active && d->filtered) {
        d->RebuildVisible();
        d->GoFirst();
        d->NotifyData();
    }
}

bool TClientDataSet::Filtered() const
{
    return d->filtered;
}

void TClientDataSet::SetFiltered(bool on)
{
    if (on == d->filtered)
        return;
    if (!d->active) {
        if (on)
            TFilterExpression::Compile(d->filterText, nullptr);
        d->filtered = on;
        return;
    }
    d->CheckBrowseMode();
    if (on && !d->filter)
        d->filter = d->CompileFilter(d->filterText, d->CurrentDefs());
    d->filtered = on;
    d->RebuildVisible();
    d->GoFirst();
    d->NotifyData();
}

// --- notifications ---

void TClientDataSet::DisableControls()
{
    ++d->disabled;
}

void TClientDataSet::EnableControls()
{
    if (d->disabled == 0)
        return;
    if (--d->disabled == 0) {
        emit DataChanged();
        emit AfterScroll();
    }
}

bool TClientDataSet::ControlsDisabled() const
{
    return d->disabled > 0;
}
