#include "TMemDataSet.h"

TMemDataSet::TMemDataSet(TComponent* owner) : TDataSet(owner) {}

void TMemDataSet::DefineField(const QString& name, TFieldType type, int size)
{
    m_defs.append({name, type, size});
}

void TMemDataSet::ClearDefinitions()
{
    m_defs.clear();
}

void TMemDataSet::AppendRecord(const QVariantList& values)
{
    m_rows.append(values);
}

void TMemDataSet::ClearRecords()
{
    m_rows.clear();
    m_current = -1;
}

QVariant TMemDataSet::FieldValue(int index) const
{
    if (m_current < 0 || m_current >= m_rows.size())
        return QVariant();
    const QVariantList& row = m_rows[m_current];
    return index >= 0 && index < row.size() ? row[index] : QVariant();
}

void TMemDataSet::InternalOpen()
{
    for (const Def& d : m_defs)
        AddFieldDef(d.name, d.type, d.size);
    m_current = -1;
}

bool TMemDataSet::InternalGoto(int record)
{
    if (record < 0 || record >= m_rows.size())
        return false;
    m_current = record;
    return true;
}
