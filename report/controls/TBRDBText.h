#pragma once
// A label that prints one field of a data set at its current record, through
// a numeric or date mask when one is given; memo fields print all their lines.

#include "ComponentRef.h"
#include "TBRCustomLabel.h"
#include "TDataSet.h"

#include <QPointer>

class TBRDBText : public TBRCustomLabel {
    Q_OBJECT
    Q_PROPERTY(TDataSet* DataSet READ DataSet WRITE SetDataSet)
    Q_PROPERTY(QString DataField READ DataField WRITE SetDataField)
    Q_PROPERTY(QString Mask READ Mask WRITE SetMask)
public:
    explicit TBRDBText(TComponent* owner = nullptr);
    ~TBRDBText() override;

    bool TextFromCaption() const override { return !m_memoMode; }
    void BeginOutput() override;
    void PrintAt(int offsetX, int offsetY) override;
    void EndOutput() override;
    bool UseRightToLeftAlignment() const override;

    TDataSet* DataSet() const { return m_dataSet.Data(); }
    // Cleared when the data set is destroyed.
    void SetDataSet(TDataSet* dataSet);
    QString DataField() const { return m_dataField; }
    // The caption shows the field name (the control's name without one).
    void SetDataField(const QString& field);
    QString Mask() const { return m_mask; }
    void SetMask(const QString& mask) { m_mask = mask; }

    TField* BoundField() const { return m_boundField; }
    int BoundFieldIndex() const { return m_boundFieldIndex; }
    bool FieldResolved() const { return m_fieldResolved; }
    bool MemoMode() const { return m_memoMode; }

    void Notification(TComponent* component, TOperation operation) override;
    void WriteProperties(BRDefinitionWriter& writer) const override;

private:
    // The text of the bound field at the current record.
    void FetchText();

    TField* m_boundField = nullptr; // owned by the data set
    int m_boundFieldIndex = -1;
    bool m_fieldResolved = false;
    ComponentRef<TDataSet> m_dataSet;
    QString m_dataField;
    QString m_mask;
    bool m_memoMode = false;
};
