#include "TBREvElementDataField.h"
#include "TDataSet.h"

TBREvElementDataField::TBREvElementDataField(TDataSet* dataSet, int fieldIndex, TField* field)
    : DataSet(dataSet), FieldIndex(fieldIndex), Field(field),
      m_fieldName(field ? field->FieldName() : QString()),
      m_fieldType(field ? field->DataType() : TFieldType::ftUnknown)
{
}

void TBREvElementDataField::Compute(TBRFiFo&, TBREvValue& value)
{
    // Fields are rebuilt when a data set reopens, so the field is fetched again
    // by its index; a data set that is gone or has fewer fields now reads as null.
    TField* field = DataSet ? DataSet->Fields(FieldIndex) : nullptr;
    Field = field;
    const TFieldType type = field ? field->DataType() : m_fieldType;
    switch (type) {
    case TFieldType::ftString:
        value.SetString(field ? field->AsString() : QString());
        return;
    case TFieldType::ftInteger:
    case TFieldType::ftSmallint:
    case TFieldType::ftWord:
        value.SetInteger(field ? field->AsInteger() : 0);
        return;
    case TFieldType::ftFloat:
    case TFieldType::ftCurrency:
    case TFieldType::ftBCD:
        value.SetFloat(field ? field->AsFloat() : 0.0);
        return;
    case TFieldType::ftBoolean:
        value.SetBoolean(field ? field->AsBoolean() : false);
        return;
    case TFieldType::ftDate:
    case TFieldType::ftTime:
    case TFieldType::ftDateTime:
        value.SetString(field ? field->AsString() : QString());
        return;
    default:
        value.SetError(QStringLiteral("Field %1 is of unknown type").arg(field ? field->FieldName() : m_fieldName));
        return;
    }
}
