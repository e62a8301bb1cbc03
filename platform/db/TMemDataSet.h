#pragma once
// A data set filled by hand: define fields, append rows, open. The rows are
// held in a CompactRowStore, so a large data set costs about what its values
// take in a file.

#include "CompactRowCursor.h"
#include "CompactRowStore.h"
#include "TDataSet.h"

#include <QVariantList>

class TMemDataSet : public TDataSet {
    Q_OBJECT
public:
    explicit TMemDataSet(TComponent* owner = nullptr);

    // Fields must be defined while the data set is closed.
    void DefineField(const QString& name, TFieldType type, int size = 0);
    void ClearDefinitions();
    // One value per defined field, in order; a missing or invalid value is null.
    void AppendRecord(const QVariantList& values);
    void ClearRecords();
    // Takes rows made elsewhere (a file reader) in place of those held; their
    // columns are the defined fields, in order.
    void SetRecords(CompactRowStore&& rows);

    int RecordCount() const override { return m_rows.RowCount(); }
    QVariant FieldValue(int index) const override;

protected:
    void InternalOpen() override;
    void InternalClose() override {}
    bool InternalGoto(int record) override;

private:
    struct Def { QString name; TFieldType type; int size; };
    QList<Def> m_defs;
    CompactRowStore m_rows;
    CompactRowCursor m_cursor{m_rows};
};
