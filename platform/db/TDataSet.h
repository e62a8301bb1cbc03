#pragma once
// A data set: rows of named, typed fields with a cursor. Concrete data sets
// (SQL queries, alias queries, the in-memory data set) implement the cursor
// and the raw value of a field at the current record.

#include "TComponent.h"
#include "TField.h"

#include <memory>
#include <vector>

class TDataSet : public TComponent {
    Q_OBJECT
public:
    explicit TDataSet(TComponent* owner = nullptr);
    ~TDataSet() override;

    void Open();
    void Close();
    bool Active() const { return m_active; }
    void SetActive(bool value) { value ? Open() : Close(); }
    bool IsEmpty() const;            // a closed data set counts as empty

    void First();
    void Next();
    void Prior();
    bool Eof() const { return m_eof; }
    bool Bof() const { return m_bof; }
    virtual int RecordCount() const = 0;
    int RecNo() const { return m_recNo; }   // 0-based current record, -1 when none

    int FieldCount() const { return static_cast<int>(m_fields.size()); }
    TField* Fields(int index) const;
    TField* FindField(const QString& name) const;   // case-insensitive; null when absent
    TField* FieldByName(const QString& name) const; // throws when absent
    int FieldIndex(const QString& name) const;      // -1 when absent
    bool AutoCalcFields() const { return true; }    // fields are always built from the result

    // Raw value of a field at the current record (invalid QVariant = null).
    virtual QVariant FieldValue(int index) const = 0;

protected:
    // Open the result and describe its fields with AddFieldDef; Close releases it.
    virtual void InternalOpen() = 0;
    virtual void InternalClose() = 0;
    // Move the cursor to `record` (0-based); returns false when there is no such row.
    virtual bool InternalGoto(int record) = 0;

    void ClearFieldDefs();
    TField* AddFieldDef(const QString& name, TFieldType type, int size = 0);

private:
    std::vector<std::unique_ptr<TField>> m_fields;
    bool m_active = false;
    bool m_eof = true;
    bool m_bof = true;
    int m_recNo = -1;
};
