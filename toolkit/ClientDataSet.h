#pragma once
// In-memory client dataset: typed fields, a cursor over the rows that pass the
// filter, edit/post, locate, data packets and dataset files. The screen's
// algorithms are written against these semantics, so keep them exact.
//
// Cursor: Next on the last visible row sets Eof and stays there, Prior on the
// first sets Bof; First sets Bof, Last sets Eof (a forward walk that starts at
// Last ends at once). When the current row leaves the view (Delete, or a posted
// edit the filter no longer accepts) the row that followed it becomes current;
// when there is none the new last row does, with Eof set, so a loop of the form
// `while (!Eof()) { ...; Delete(); }` ends instead of walking backwards.
// Moving while a row is being edited or inserted posts it first.
//
// Structure: a dataset built with CreateDataSet keeps those declared fields
// (their types, widths, read-only flags, labels and text hooks) when data comes
// in later through SetData, CopyDataSet or LoadFromFile: incoming columns are
// matched by name, converted to the declared type, and columns it did not
// declare are added after its own. A declared field missing from the incoming
// data raises "Field 'X' not found". A dataset that was never built with
// CreateDataSet takes the incoming structure as it is; its field objects (and
// any hooks on them) survive a reload of the same structure.
//
// Locate: key values are converted to the field's type; a null key matches a
// null value, and for text fields null and empty text are the same.
//
// Filter: the language and its treatment of nulls are described in
// FilterExpression.h. SetFiltered with the value already in force changes
// nothing; a new filter text while filtered is applied at once.
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>

#include "DataPacket.h"
#include "toolkit_export.h"

class TClientDataSet;
class TFilterExpression;

// Accessor for one column of the dataset's current row (or of the row being
// edited). Owned by its dataset; valid while the dataset's structure stays.
class TOOLKIT_EXPORT TField {
public:
    TField(TClientDataSet* owner, int index, TFieldDef def);

    // Converts any incoming value to the stored form of a field of this
    // definition: QString (cut to Size characters), int, double, bool or
    // QDateTime; an invalid QVariant, and empty text for a non-text field,
    // give null. Numbers in text are read in the C locale. Raises EConvertError.
    static QVariant ConvertValue(const QVariant& value, const TFieldDef& def);

    TClientDataSet* DataSet() const { return m_owner; }
    const QString& FieldName() const { return m_def.Name; }
    TFieldType DataType() const { return m_def.DataType; }
    int Size() const { return m_def.Size; }
    bool ReadOnly() const { return m_def.ReadOnly; }
    QString DisplayLabel() const { return m_def.DisplayLabel.isEmpty() ? m_def.Name : m_def.DisplayLabel; }
    void SetDisplayLabel(const QString& label) { m_def.DisplayLabel = label; }
    int Index() const { return m_index; }
    const TFieldDef& Def() const { return m_def; }

    bool IsNull() const;
    QVariant Value() const; // typed value, null QVariant for null
    QString AsString() const; // "" for null; floats in the C locale's shortest form;
                              // date-times ISO 8601 with milliseconds; "True"/"False"
    double AsFloat() const; // 0 for null; raises EConvertError for bad text
    int AsInteger() const; // 0 for null; raises EConvertError for bad text
    bool AsBoolean() const; // false for null
    QDateTime AsDateTime() const;
    // The text a grid shows. Date-times: short date + long time of the system
    // locale; floats: shortest form with the system locale's decimal separator,
    // no group separators. A display hook installed on the field (see
    // SetOnGetText) wins.
    QString DisplayText() const;

    // Setters need the dataset in edit or insert state (EDatabaseError otherwise);
    // text is cut to Size characters; read-only fields raise on a write through
    // these setters but can still be loaded from packets and files.
    void SetValue(const QVariant& v);
    void SetAsString(const QString& s) { SetValue(s); }
    void SetAsFloat(double d) { SetValue(d); }
    void SetAsInteger(int i) { SetValue(i); }
    void SetAsBoolean(bool b) { SetValue(b); }
    void SetAsDateTime(const QDateTime& d) { SetValue(d); }
    void Clear() { SetValue(QVariant()); }

    using GetTextHook = QString (*)(const TField& field, void* context);
    void SetOnGetText(GetTextHook hook, void* context)
    {
        m_getText = hook;
        m_getTextContext = context;
    }

private:
    friend class TClientDataSet;
    TClientDataSet* m_owner;
    int m_index;
    TFieldDef m_def;
    GetTextHook m_getText = nullptr;
    void* m_getTextContext = nullptr;
};

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

struct TLocateOptions {
    bool CaseInsensitive = false;
    bool PartialKey = false;
};

class TOOLKIT_EXPORT TClientDataSet : public QObject {
    Q_OBJECT
public:
    explicit TClientDataSet(QObject* parent = nullptr, const QString& name = {});
    ~TClientDataSet() override;

    // --- structure ---
    QList<TFieldDef>& FieldDefs(); // edit before CreateDataSet
    void CreateDataSet(); // empty dataset with FieldDefs, opened
    void Open(); // needs a structure (packet, file or CreateDataSet)
    void Close(); // drops rows and fields' cursor; keeps FieldDefs
    bool Active() const;
    TDataSetState State() const;
    int FieldCount() const;
    TField* Fields(int index) const;
    TField* FieldByName(const QString& name) const; // raises EDatabaseError "Field 'X' not found"
    TField* FindField(const QString& name) const; // nullptr when absent; case-insensitive

    // --- cursor over the visible rows (those passing the filter when Filtered) ---
    void First();
    void Next(); // past the last visible row sets Eof and stays on the last row
    void Prior(); // before the first sets Bof and stays on the first row
    void Last();
    bool Eof() const;
    bool Bof() const;
    int RecordCount() const; // visible rows
    int RecNo() const; // 1-based among the visible rows; 0 when empty
    void SetRecNo(int recNo);
    bool IsEmpty() const; // no visible row

    // --- editing ---
    void Edit();
    void Insert(); // new row before the current one (appended when empty)
    void Append(); // new row at the end
    void Post(); // a posted row that no longer passes the filter disappears from the view
    void Cancel();
    void Delete(); // the next visible row becomes current (the previous one at the end)
    void EmptyDataSet();

    bool Locate(const QString& keyFields, const QVariantList& keyValues, TLocateOptions options = {});

    // --- filter ---
    QString Filter() const;
    void SetFilter(const QString& expression); // parsed at once; EDatabaseError on a bad text
    bool Filtered() const;
    void SetFiltered(bool on); // cursor goes to the first visible row

    // --- data ---
    TDataPacket Data() const; // every row (filtered or not), with field defs
    void SetData(const TDataPacket& packet); // replaces structure and rows; filter stays in force
    void SetData(const QVariant& packet); // raises EDatabaseError when it holds no packet
    // Copies structure and every row of the source (its filter is not applied).
    void CopyDataSet(const TClientDataSet& source);

    void LoadFromFile(const QString& fileName); // XML dataset file; errors name the file
    void SaveToFile(const QString& fileName) const;

    // --- raw access for views (index among visible rows) ---
    QVariant VisibleValue(int visibleRow, int field) const;
    // The field's DisplayText on a visible row, without moving the cursor
    // (text hooks see that row through their field).
    QString VisibleDisplayText(int visibleRow, int field) const;

    // Turns change notifications off while a batch runs; the view catches up on
    // EnableControls. Nesting counts.
    void DisableControls();
    void EnableControls();
    bool ControlsDisabled() const;

signals:
    void AfterScroll(); // the current row changed (or the visible set did)
    void DataChanged(); // rows, values, filter or structure changed: views reset
    void RowChanged(int visibleRow); // one visible row's values changed (posted)

private:
    friend class TField;
    struct Private;
    std::unique_ptr<Private> d;
};
