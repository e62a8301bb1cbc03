#pragma once
// The rows of a data set held column by column in fixed blocks of rows, each
// value in its plain form: an integer in 4 bytes, a float in 8, a date as its
// day number, a text as its UTF-8 bytes, a null as one bit. A row of
// QVariants costs a few hundred bytes on the heap; here it costs about what
// its values take in a file, and growing never copies what is already held.
//
// A value reads back as the QVariant that went in: same type, same value (a
// local date-time by its wall-clock date and time: of the two moments an hour
// repeated by a clock change names, it reads back as the first). A column takes the type of its first value that is not null; a column whose
// values are of several types, or of a type without a plain form, keeps
// QVariants (as compact as before, no worse).

#include <QByteArrayView>
#include <QDate>
#include <QVariant>
#include <QVariantList>

#include <memory>
#include <vector>

class CompactRowStore {
public:
    explicit CompactRowStore(int columns = 0);
    ~CompactRowStore();
    CompactRowStore(CompactRowStore&&) noexcept;
    CompactRowStore& operator=(CompactRowStore&&) noexcept;
    CompactRowStore(const CompactRowStore&) = delete;
    CompactRowStore& operator=(const CompactRowStore&) = delete;

    int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    int RowCount() const { return m_rows; }
    // Drops every row and column, then makes `columns` empty columns.
    void Reset(int columns);
    // Adds columns that are null in every row held so far.
    void AddColumns(int count);

    // A whole row: value i goes to column i; missing values are null,
    // values past the last column are left out.
    void AppendRow(const QVariantList& values);

    // A row cell by cell, for readers that make values from text: set the
    // cells of the next row (each at most once), then EndRow; cells not set
    // are null. A text must be valid UTF-8; it reads back as a QString.
    void SetText(int column, QByteArrayView utf8);
    void SetInteger(int column, int value);
    void SetFloat(int column, double value);
    void SetBoolean(int column, bool value);
    void SetDate(int column, QDate value);
    void SetValue(int column, const QVariant& value);
    void EndRow();

    // Null (an invalid QVariant) for a null cell or one outside the store.
    // Reading keeps the date-times it made lately, for the next reads: one
    // thread at a time.
    QVariant Value(int row, int column) const;

    // Bytes held by the columns, spare room included.
    qint64 MemoryBytes() const;

    // UTF-8 to text as it was: unlike QString::fromUtf8, a byte order mark at
    // the start is kept (it is a character of the value).
    static QString TextFromUtf8(QByteArrayView utf8);

private:
    class Column;
    Column& ColumnFor(int column);
    std::vector<std::unique_ptr<Column>> m_columns;
    int m_rows = 0;
};
