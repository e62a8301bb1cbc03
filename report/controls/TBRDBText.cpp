#include "TBRDBText.h"
#include "BRDefinitionWriter.h"
#include "DateMask.h"
#include "ExpressionLocale.h"
#include "NumericMask.h"

#include <QRegularExpression>

namespace {
bool isMemo(TFieldType type)
{
    return type == TFieldType::ftMemo || type == TFieldType::ftBlob;
}

// Numbers and dates keep their alignment under right-to-left reading.
bool keepsAlignment(TFieldType type)
{
    return TField::IsIntegerType(type) || TField::IsFloatType(type) || TField::IsDateType(type);
}
} // namespace

TBRDBText::TBRDBText(TComponent* owner)
    : TBRCustomLabel(owner)
{
}

TBRDBText::~TBRDBText() = default;

void TBRDBText::SetDataSet(TDataSet* dataSet)
{
    if (m_dataSet)
        RemoveFreeNotification(m_dataSet.Data());
    m_dataSet = dataSet;
    if (dataSet)
        FreeNotification(dataSet);
}

void TBRDBText::SetDataField(const QString& field)
{
    m_dataField = field;
    SetCaption(field.isEmpty() ? Name() : field);
}

void TBRDBText::Notification(TComponent* component, TOperation operation)
{
    TBRCustomLabel::Notification(component, operation);
    if (operation == TOperation::opRemove && m_dataSet.RefersTo(component)) {
        m_dataSet = nullptr;
        m_boundField = nullptr;
        m_fieldResolved = false;
    }
}

bool TBRDBText::UseRightToLeftAlignment() const
{
    if (BiDiMode() != bdRightToLeft)
        return false;
    return !m_boundField || !keepsAlignment(m_boundField->DataType());
}

void TBRDBText::BeginOutput()
{
    m_memoMode = false;
    m_sourceLines.clear();
    TBRCustomLabel::BeginOutput();
    m_boundField = m_dataSet ? m_dataSet->FindField(m_dataField) : nullptr;
    m_fieldResolved = m_boundField != nullptr;
    m_boundFieldIndex = m_boundField ? m_boundField->Index() : -1;
    if (m_boundField && isMemo(m_boundField->DataType())) {
        m_memoMode = true;
        SetOutputText(QString());
    }
}

void TBRDBText::FetchText()
{
    TField* field = m_boundField;
    if (!field) {
        SetOutputText(QString());
        return;
    }
    const TFieldType type = field->DataType();
    const QLocale locale = brp::ExpressionLocale();
    if (isMemo(type)) {
        m_sourceLines = field->AsString().split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    } else if (m_mask.isEmpty() || TField::IsStringType(type)) {
        SetOutputText(field->DisplayText());
    } else if (TField::IsIntegerType(type)) {
        SetOutputText(brp::FormatNumericMask(m_mask, double(field->AsInteger()), locale));
    } else if (TField::IsFloatType(type)) {
        SetOutputText(brp::FormatNumericMask(m_mask, field->AsFloat(), locale));
    } else if (TField::IsDateType(type)) {
        SetOutputText(brp::FormatDateTimeMask(m_mask, field->AsDateTime(), locale));
    } else {
        // No mask fits the type: its own display text.
        SetOutputText(field->DisplayText());
    }
}

void TBRDBText::PrintAt(int offsetX, int offsetY)
{
    if (!CanOutput())
        return;
    // Fields built automatically are made anew when the data set reopens.
    if (!m_fieldResolved || !m_dataSet)
        m_boundField = nullptr;
    else if (m_dataSet->AutoCalcFields())
        m_boundField = m_dataSet->Fields(m_boundFieldIndex);
    try {
        FetchText();
    } catch (...) {
        SetOutputText(QString());
    }
    TBRCustomLabel::PrintAt(offsetX, offsetY);
}

void TBRDBText::EndOutput()
{
    m_boundField = nullptr;
    TBRCustomLabel::EndOutput();
    // The design surface shows the field name again.
    m_memoMode = false;
    m_sourceLines.clear();
    SetDataField(m_dataField);
}

void TBRDBText::WriteProperties(BRDefinitionWriter& w) const
{
    TBRPrintable::WriteProperties(w);
    WriteLayout(w);
    w.WriteColor(QStringLiteral("Color"), Color());
    w.WriteRef(QStringLiteral("DataSet"), m_dataSet.Data());
    w.WriteString(QStringLiteral("DataField"), m_dataField);
    WriteOwnFont(w);
    if (!m_mask.isEmpty())
        w.WriteString(QStringLiteral("Mask"), m_mask);
    WriteEventsAndParentFont(w);
    WriteLook(w);
    WriteFontSize(w);
}
