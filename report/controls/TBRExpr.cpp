#include "TBRExpr.h"
#include "BRDefinitionWriter.h"
#include "ExpressionLocale.h"
#include "NumericMask.h"
#include "TBRController.h"
#include "TBRSubDetail.h"
#include "TCustomBandReport.h"

TBRExpr::TBRExpr(TComponent* owner)
    : TBRCustomLabel(owner)
{
    SetExpression(QString());
}

TBRExpr::~TBRExpr()
{
    m_evaluator.Release();
}

void TBRExpr::SetExpression(const QString& expression)
{
    m_expression = expression;
    SetCaption(expression.isEmpty() ? QStringLiteral("(none)") : expression);
}

void TBRExpr::SetMask(const QString& mask)
{
    m_mask = mask;
    SetExpression(m_expression);
}

void TBRExpr::BeginOutput()
{
    TBRCustomLabel::BeginOutput();
    TCustomBandReport* report = OwnerReport();
    m_dataSets = report && report->RunDataSets() ? *report->RunDataSets() : TBRDataSetList();
    m_evaluator.UseDataSets(&m_dataSets);
    m_evaluator.SetScope(report ? report->Functions() : nullptr);
    m_evaluator.Compile(m_expression);
    RegisterForRecords();
    m_evaluator.ResetAggregates();
}

void TBRExpr::RegisterForRecords()
{
    if (TComponent* master = m_master.data()) {
        if (auto* masterReport = qobject_cast<TCustomBandReport*>(master))
            masterReport->RegisterNotifyClient(this);
        else if (auto* subDetail = qobject_cast<TBRSubDetail*>(master))
            subDetail->Controller()->RegisterNotifyClient(this);
    } else if (m_evaluator.HasAggregate()) {
        if (TCustomBandReport* report = OwnerReport())
            report->RegisterNotifyClient(this);
    }
}

void TBRExpr::EngineNotify(QObject* sender, std::uint8_t code)
{
    TBRCustomLabel::EngineNotify(sender, code);
    if (code == NotifyDataAdvance && m_evaluator.Compiled())
        m_evaluator.Accumulate();
}

void TBRExpr::PrintAt(int offsetX, int offsetY)
{
    if (!CanOutput())
        return;
    const TBREvValue value = m_evaluator.CurrentValue();
    const QLocale locale = brp::ExpressionLocale();
    switch (value.ValueKind) {
    case evInteger: SetOutputText(brp::FormatNumericMask(m_mask, double(value.IntegerValue), locale)); break;
    case evFloat: SetOutputText(brp::FormatNumericMask(m_mask, value.FloatValue, locale)); break;
    case evString: SetOutputText(value.TextValue); break;
    case evBoolean: SetOutputText(value.BooleanValue ? QStringLiteral("True") : QStringLiteral("False")); break;
    case evError: SetOutputText(value.TextValue); break;
    }
    TBRCustomLabel::PrintAt(offsetX, offsetY);
    if (m_resetAfterPrint)
        m_evaluator.ResetAggregates();
}

void TBRExpr::EndOutput()
{
    m_dataSets.clear();
    m_evaluator.Release();
    TBRCustomLabel::EndOutput();
    SetExpression(m_expression);
}

void TBRExpr::WriteProperties(BRDefinitionWriter& w) const
{
    TBRPrintable::WriteProperties(w);
    WriteLayout(w);
    WriteOwnFont(w);
    w.WriteColor(QStringLiteral("Color"), Color());
    w.WriteRef(QStringLiteral("Master"), m_master.data());
    WriteEventsAndParentFont(w);
    w.WriteBool(QStringLiteral("ResetAfterPrint"), m_resetAfterPrint);
    WriteLook(w);
    w.WriteString(QStringLiteral("Expression"), m_expression);
    if (!m_mask.isEmpty())
        w.WriteString(QStringLiteral("Mask"), m_mask);
    WriteFontSize(w);
}
