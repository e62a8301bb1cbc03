#pragma once
// A group header band: printed when its break expression changes value.

#include "TBREvValue.h"
#include "TBRCustomBand.h"

#include <memory>

class TBREvaluator;

class TBRGroup : public TBRCustomBand {
    Q_OBJECT
    Q_PROPERTY(QString Expression READ Expression WRITE SetExpression)
    Q_PROPERTY(TBRCustomBand* FooterBand READ FooterBand WRITE SetFooterBand)
    Q_PROPERTY(TComponent* Master READ Master WRITE SetMaster)
    Q_PROPERTY(bool ReprintOnNewPage READ ReprintOnNewPage WRITE SetReprintOnNewPage)
public:
    explicit TBRGroup(TComponent* owner = nullptr);
    ~TBRGroup() override;

    QString Expression() const { return m_expression; }
    void SetExpression(const QString& text) { m_expression = text; }
    TBRCustomBand* FooterBand() const { return m_footerBand.data(); }
    // The band becomes a group footer.
    void SetFooterBand(TBRCustomBand* band);
    TComponent* Master() const { return m_master.data(); }
    // Only a report or a controller band; re-orders and re-lays the bands.
    void SetMaster(TComponent* master);
    bool ReprintOnNewPage() const { return m_reprintOnNewPage; }
    void SetReprintOnNewPage(bool v) { m_reprintOnNewPage = v; }

    TBREvaluator* Evaluator() const { return m_evaluator.get(); }

    // Run state.
    bool Changed = false;
    TBREvValue LastValue;
    bool HasValue = false;
    bool InGroup = false;
    int HeaderPage = 0;

    // ---- Data walk (TBRGroupRun.cpp) ----------------------------------------
    // Compares the expression's value with the stored one; sets Changed.
    void EvaluateGroup();
    // Stores the current value as a fresh start: Changed and HasValue set.
    void RestartGroup();
    // Changed when the header must be printed again on this new page.
    void CheckReprint();

    void SetParentReport(TCustomBandReport* report) override;
    void Notification(TComponent* component, TOperation operation) override;
    void WriteProperties(BRDefinitionWriter& writer) const override;

private:
    std::unique_ptr<TBREvaluator> m_evaluator;
    QString m_expression;
    QPointer<TBRCustomBand> m_footerBand;
    QPointer<TComponent> m_master;
    bool m_reprintOnNewPage = false;
};
