#pragma once
// The current row of a CompactRowStore, read the way a report reads it: each
// value is made once however often it is asked for (a field is read several
// times a record: its text, its display text, the aggregates over it).

#include "CompactRowStore.h"

#include <QVariant>

#include <vector>

class CompactRowCursor {
public:
    explicit CompactRowCursor(const CompactRowStore& rows) : m_rows(rows) {}
    CompactRowCursor(const CompactRowCursor&) = delete;
    CompactRowCursor& operator=(const CompactRowCursor&) = delete;

    int Row() const { return m_row; }
    // Makes `row` the current one; false, and nothing changes, outside the rows.
    bool MoveTo(int row);
    // Before the first row; call it when the rows are replaced.
    void Reset();
    // Null outside the rows or the columns.
    QVariant Value(int column) const;

private:
    void Forget() const;

    const CompactRowStore& m_rows;
    int m_row = -1;
    mutable std::vector<QVariant> m_values;
    mutable std::vector<char> m_made;
};
