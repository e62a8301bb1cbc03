#pragma once
// A label that prints the value of an expression: fields, report values such
// as the page number, and running aggregates fed by a report's or a
// sub-detail band's records.

#include "DataSetListSlot.h"
#include "TBRCustomLabel.h"
#include "TBREvaluator.h"

#include <QPointer>

class TBRExpr : public TBRCustomLabel {
    Q_OBJECT
    Q_PROPERTY(TComponent* Master READ Master WRITE SetMaster)
    Q_PROPERTY(bool ResetAfterPrint READ ResetAfterPrint WRITE SetResetAfterPrint)
    Q_PROPERTY(QString Expression READ Expression WRITE SetExpression)
    Q_PROPERTY(QString Mask READ Mask WRITE SetMask)
public:
    explicit TBRExpr(TComponent* owner = nullptr);
    ~TBRExpr() override;

    void BeginOutput() override;
    void EngineNotify(QObject* sender, std::uint8_t code) override;
    void PrintAt(int offsetX, int offsetY) override;
    void EndOutput() override;

    QString Expression() const { return m_expression; }
    // The caption shows the expression, "(none)" when there is none.
    void SetExpression(const QString& expression);
    QString Mask() const { return m_mask; }
    void SetMask(const QString& mask);
    // A report or a sub-detail band whose records feed the aggregates.
    TComponent* Master() const { return m_master.data(); }
    void SetMaster(TComponent* master) { m_master = master; }
    bool ResetAfterPrint() const { return m_resetAfterPrint; }
    void SetResetAfterPrint(bool value) { m_resetAfterPrint = value; }

    TBREvaluator& ExprEvaluator() { return m_evaluator; }

    void WriteProperties(BRDefinitionWriter& writer) const override;

private:
    void RegisterForRecords();

    TBREvaluator m_evaluator;
    // The run's data sets as they were when the expression was compiled; a
    // copy, so that letting go of it leaves the report's list alone.
    TBRDataSetList m_dataSets;
    QString m_expression;
    QString m_mask;
    QPointer<TComponent> m_master;
    bool m_resetAfterPrint = false;
};
