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
    m_current = -1;
    m_cached.assign(m_cached.size(), 0);
}

void TMemDataSet::SetRecords(CompactRowStore&& rows)
{
    m_rows = std::move(rows);
    m_current = -1;
    m_cached.assign(m_cached.size(), 0);
}

QVariant TMemDataSet::FieldValue(int index) const
{
    if (m_current < 0 || m_current >= m_rows.RowCount() || index < 0)
        return QVariant();
    if (size_t(index) >= m_cache.size()) {
        m_cache.resize(size_t(index) + 1);
        m_cached.resize(size_t(index) + 1, 0);
    }
    if (!m_cached[size_t(index)]) {
        m_cache[size_t(index)] = m_rows.Value(m_current, index);
        m_cached[size_t(index)] = 1;
    }
    return m_cache[size_t(index)];
}

void TMemDataSet::InternalOpen()
{
    for (const Def& d : m_defs)
        AddFieldDef(d.name, d.type, d.size);
    m_current = -1;
    m_cached.assign(m_cached.size(), 0);
}

bool TMemDataSet::InternalGoto(int record)
{
    if (record < 0 || record >= m_rows.RowCount())
        return false;
    if (record != m_current)
        m_cached.assign(m_cached.size(), 0);
    m_current = record;
    return true;
}
