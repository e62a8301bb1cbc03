#pragma once
// A data set filled by hand: define fields, append rows, open.

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

    int RecordCount() const override { return static_cast<int>(m_rows.size()); }
    QVariant FieldValue(int index) const override;

protected:
    void InternalOpen() override;
    void InternalClose() override {}
    bool InternalGoto(int record) override;

private:
    struct Def { QString name; TFieldType type; int size; };
    QList<Def> m_defs;
    QList<QVariantList> m_rows;
    int m_current = -1;
};
