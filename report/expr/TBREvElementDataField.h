#pragma once
// A field of a data set, read at the data set's current record on every
// evaluation.

#include "TBREvElement.h"
#include "TField.h"

#include <QPointer>

class TDataSet;

class TBREvElementDataField : public TBREvElement {
public:
    TBREvElementDataField(TDataSet* dataSet, int fieldIndex, TField* field);
    void Compute(TBRFiFo& list, TBREvValue& value) override;

    QPointer<TDataSet> DataSet;
    int FieldIndex;
    TField* Field;   // as found at compile time; re-fetched by index before use

private:
    QString m_fieldName;
    TFieldType m_fieldType;
};
