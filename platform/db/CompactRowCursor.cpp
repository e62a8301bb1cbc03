#include "CompactRowCursor.h"

bool CompactRowCursor::MoveTo(int row)
{
    if (row < 0 || row >= m_rows.RowCount())
        return false;
    if (row != m_row)
        Forget();
    m_row = row;
    return true;
}

void CompactRowCursor::Reset()
{
    m_row = -1;
    Forget();
}

QVariant CompactRowCursor::Value(int column) const
{
    if (m_row < 0 || m_row >= m_rows.RowCount() || column < 0 || column >= m_rows.ColumnCount())
        return QVariant();
    const auto at = static_cast<size_t>(column);
    if (at >= m_values.size()) {
        m_values.resize(at + 1);
        m_made.resize(at + 1, 0);
    }
    if (!m_made[at]) {
        m_values[at] = m_rows.Value(m_row, column);
        m_made[at] = 1;
    }
    return m_values[at];
}

void CompactRowCursor::Forget() const
{
    m_made.assign(m_made.size(), 0);
}
