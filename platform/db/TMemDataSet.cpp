#include "TMemDataSet.h"

#include <algorithm>

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
    // Rows may come with more values than the store has columns (fields
    // defined after earlier rows): widen it rather than drop them.
    const qsizetype wanted = std::max<qsizetype>(values.size(), m_defs.size());
    if (wanted > m_rows.ColumnCount())
        m_rows.AddColumns(int(wanted) - m_rows.ColumnCount());
    m_rows.AppendRow(values);
}

void TMemDataSet::ClearRecords()
{
    m_rows.Reset(0);
    m_cursor.Reset();
}

void TMemDataSet::SetRecords(CompactRowStore&& rows)
{
    m_rows = std::move(rows);
    m_cursor.Reset();
}

QVariant TMemDataSet::FieldValue(int index) const
{
    return m_cursor.Value(index);
}

void TMemDataSet::InternalOpen()
{
    for (const Def& d : m_defs)
        AddFieldDef(d.name, d.type, d.size);
    m_cursor.Reset();
}

bool TMemDataSet::InternalGoto(int record)
{
    return m_cursor.MoveTo(record);
}
