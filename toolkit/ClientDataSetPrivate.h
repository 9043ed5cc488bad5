#pragma once
// State shared by the files that implement TClientDataSet (structure and
// cursor, fields, data). Not part of the toolkit's interface.
#include <memory>
#include <vector>

#include "ClientDataSet.h"
#include "FilterExpression.h"

struct TClientDataSet::Private {
    explicit Private(TClientDataSet* owner) : q(owner) {}

    TClientDataSet* q;

    // Structure: FieldDefs() as the caller sees and edits it; `declared` holds
    // what CreateDataSet was given, kept across loads.
    QList<TFieldDef> fieldDefs;
    QList<TFieldDef> declared;
    std::vector<std::unique_ptr<TField>> fields;

    bool active = false;
    TDataSetState state = TDataSetState::dsInactive;

    // Every row in load order, values in the stored form of their field.
    QList<QVariantList> rows;
    // Indices into `rows` of the rows that pass the filter, ascending; the
    // view and the cursor work on this list only.
    QList<int> visible;
    int cur = -1; // index into `visible`; -1 when nothing is visible
    bool eof = true;
    bool bof = true;

    // The row being edited or inserted.
    QVariantList buffer;
    bool modified = false;
    int insertAt = -1; // index into `rows` a posted insert takes

    QString filterText;
    bool filtered = false;
    std::shared_ptr<const TFilterExpression> filter; // bound to the structure, or null

    int disabled = 0;
    // Row a field reads while a view asks for a row other than the current one.
    mutable int peekRow = -1;

    // --- helpers (ClientDataSet.cpp) ---
    QString Named() const; // " 'name'" for messages, or nothing
    void CheckActive() const;
    void CheckBrowseMode(); // posts or cancels a pending edit
    bool FilterActive() const;
    bool Passes(const QVariantList& row) const;
    void RebuildVisible();
    void GoFirst();
    // Puts the cursor where a row at `position` of `visible` left the view.
    void SettleAfterRemoval(int position);
    void ApplyStructure(const QList<TFieldDef>& defs);
    QList<TFieldDef> CurrentDefs() const; // of the field objects, labels included
    void NotifyData(); // DataChanged + AfterScroll
    void NotifyScroll();
    void NotifyRow(int visibleRow);
    std::shared_ptr<const TFilterExpression> CompileFilter(const QString& text, const QList<TFieldDef>& defs) const;
    // The filter text bound to a structure about to take over; null for a
    // blank text. A text that does not fit it is an error only while the
    // filter is in force: one that is switched off is checked when switched on.
    std::shared_ptr<const TFilterExpression> FilterFor(const QList<TFieldDef>& defs) const;
    // Names present, unique (case-insensitive), sizes not negative; `where`
    // opens the message.
    static void ValidateDefs(const QList<TFieldDef>& defs, const QString& where);

    // Value of a field on the current row (or the peeked or edited one).
    QVariant CurrentValue(int field) const;
};

// Shared by the field, filter and file code.
namespace ClientDataSetValues {
bool IsNull(const QVariant& v);
QString FloatText(double d); // C locale, shortest exact form
QString DateTimeText(const QDateTime& dt); // ISO 8601 with milliseconds
QString TypeName(TFieldType t);
bool TypeFromName(const QString& name, TFieldType* type);
} // namespace ClientDataSetValues
