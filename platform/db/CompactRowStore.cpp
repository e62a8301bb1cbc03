#include "CompactRowStore.h"
#include "DatabaseError.h"

#include <QDateTime>
#include <QStringDecoder>
#include <QTime>

#include <array>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace {

// Rows per block: small enough that a block's texts fit 32-bit offsets and
// a short data set stays small, large enough that the blocks' own
// bookkeeping is noise.
constexpr int kBlockShift = 12;
constexpr qint64 kMsecsPerDay = 86400000;
// Far past any calendar in use; keeps day * kMsecsPerDay inside 64 bits.
constexpr qint64 kMaxWallClockDay = qint64(1) << 36;
constexpr int kBlockRows = 1 << kBlockShift;
constexpr int kBlockMask = kBlockRows - 1;

enum class Kind : quint8 { Unset, Int32, Int64, Double, Boolean, Date, Time, DateTime, Text, Bytes, Variant };

int fixedSize(Kind k)
{
    switch (k) {
    case Kind::Boolean: return 1;
    case Kind::Int32:
    case Kind::Date:
    case Kind::Time: return 4;
    case Kind::Int64:
    case Kind::Double:
    case Kind::DateTime: return 8;
    default: return 0;
    }
}

bool isText(Kind k)
{
    return k == Kind::Text || k == Kind::Bytes;
}

// One value on its way in: its kind and its plain form, or the QVariant
// itself when it has none (or when the caller has it at hand anyway).
struct Cell {
    Kind kind = Kind::Unset;
    union {
        qint32 i32;
        qint64 i64;
        double d;
        bool b;
    } fixed{};
    QByteArrayView bytes;
    const QVariant* variant = nullptr;
};

Cell cellOf(const QVariant& v, QByteArray& scratch)
{
    Cell c;
    c.variant = &v;
    c.kind = Kind::Variant;
    switch (v.metaType().id()) {
    case QMetaType::Int:
        c.kind = Kind::Int32;
        c.fixed.i32 = v.toInt();
        break;
    case QMetaType::LongLong:
        c.kind = Kind::Int64;
        c.fixed.i64 = v.toLongLong();
        break;
    case QMetaType::Double:
        c.kind = Kind::Double;
        c.fixed.d = v.toDouble();
        break;
    case QMetaType::Bool:
        c.kind = Kind::Boolean;
        c.fixed.b = v.toBool();
        break;
    case QMetaType::QDate: {
        const QDate d = v.toDate();
        const qint64 day = d.toJulianDay();
        if (d.isValid() && day >= std::numeric_limits<qint32>::min() && day <= std::numeric_limits<qint32>::max()) {
            c.kind = Kind::Date;
            c.fixed.i32 = qint32(day);
        }
        break;
    }
    case QMetaType::QTime: {
        const QTime t = v.toTime();
        if (t.isValid()) {
            c.kind = Kind::Time;
            c.fixed.i32 = t.msecsSinceStartOfDay();
        }
        break;
    }
    case QMetaType::QDateTime: {
        // A local time is held as its wall-clock date and time, as a database
        // or a file gives it (its instant would cost a look at the time zone
        // for every value, both ways). Of the two moments an hour repeated by
        // a clock change names, it reads back as the first.
        const QDateTime dt = v.toDateTime();
        if (dt.isValid() && dt.timeSpec() == Qt::LocalTime) {
            const qint64 day = dt.date().toJulianDay();
            if (day > -kMaxWallClockDay && day < kMaxWallClockDay) {
                c.kind = Kind::DateTime;
                c.fixed.i64 = day * kMsecsPerDay + dt.time().msecsSinceStartOfDay();
            }
        }
        break;
    }
    case QMetaType::QString: {
        // A lone surrogate would not survive the trip through UTF-8.
        const QString s = v.toString();
        if (QStringView(s).isValidUtf16()) {
            scratch = s.toUtf8();
            c.kind = Kind::Text;
            c.bytes = scratch;
        }
        break;
    }
    case QMetaType::QByteArray:
        scratch = v.toByteArray();
        c.kind = Kind::Bytes;
        c.bytes = scratch;
        break;
    default:
        break;
    }
    return c;
}

// The local date-time of a held wall-clock value.
QDateTime dateTimeOf(qint64 wallClock)
{
    qint64 day = wallClock / kMsecsPerDay;
    qint64 msecs = wallClock % kMsecsPerDay;
    if (msecs < 0) {
        --day;
        msecs += kMsecsPerDay;
    }
    return QDateTime(QDate::fromJulianDay(day), QTime::fromMSecsSinceStartOfDay(int(msecs)));
}

// Local date-times made lately, by their wall-clock value. Making one costs
// several microseconds (the C library looks at the time zone file each
// time), and the rows of a data set share few distinct moments (the orders
// of a day).
class RecentDateTimes {
public:
    QDateTime Get(qint64 wallClock)
    {
        Entry& e = m_entries[size_t((quint64(wallClock) * 0x9E3779B97F4A7C15ULL) >> (64 - kBits))];
        if (!e.made || e.wallClock != wallClock)
            e = {wallClock, dateTimeOf(wallClock), true};
        return e.dateTime;
    }

private:
    // Room for the days of decades, in about 400 kB.
    static constexpr int kBits = 14;
    struct Entry {
        qint64 wallClock = 0;
        QDateTime dateTime;
        bool made = false;
    };
    std::array<Entry, size_t(1) << kBits> m_entries;
};

} // namespace

class CompactRowStore::Column {
public:
    int Count() const { return m_count; }

    void AppendNull()
    {
        Block& b = Tail();
        const int i = b.cells;
        b.nulls[size_t(i >> 6)] |= quint64(1) << (i & 63);
        if (const int size = fixedSize(m_kind))
            b.fixed.resize(b.fixed.size() + size_t(size));
        else if (isText(m_kind))
            b.ends.push_back(b.ends.empty() ? 0 : b.ends.back());
        else if (m_kind == Kind::Variant)
            b.variants.emplace_back();
        Added(b);
    }

    void Append(const Cell& c)
    {
        if (m_kind == Kind::Unset)
            Become(c.kind);
        else if (m_kind != c.kind && m_kind != Kind::Variant)
            BecomeVariants();
        Block& b = Tail();
        if (m_kind == Kind::Variant) {
            b.variants.push_back(c.variant ? *c.variant : PlainValue(c));
        } else if (isText(m_kind)) {
            const quint64 end = quint64(b.text.size()) + quint64(c.bytes.size());
            if (end > std::numeric_limits<quint32>::max())
                throw DatabaseError(QStringLiteral("Data set too large to hold: over 4 GB of text in %1 rows")
                                        .arg(kBlockRows));
            b.text.insert(b.text.end(), c.bytes.begin(), c.bytes.end());
            b.ends.push_back(quint32(end));
        } else {
            const int size = fixedSize(m_kind);
            const auto* from = reinterpret_cast<const char*>(&c.fixed);
            b.fixed.insert(b.fixed.end(), from, from + size);
        }
        Added(b);
    }

    QVariant Value(int row) const
    {
        if (row < 0 || row >= m_count)
            return QVariant();
        const Block& b = *m_blocks[size_t(row >> kBlockShift)];
        const int i = row & kBlockMask;
        if (b.nulls[size_t(i >> 6)] & (quint64(1) << (i & 63)))
            return QVariant();
        return Read(b, i);
    }

    qint64 MemoryBytes() const
    {
        qint64 bytes = qint64(m_blocks.capacity() * sizeof(void*));
        for (const auto& b : m_blocks)
            bytes += qint64(sizeof(Block) + b->fixed.capacity() + b->ends.capacity() * sizeof(quint32) +
                            b->text.capacity() + b->variants.capacity() * sizeof(QVariant));
        return bytes;
    }

private:
    struct Block {
        std::array<quint64, kBlockRows / 64> nulls{};
        std::vector<char> fixed;     // fixed-size kinds, cell after cell
        std::vector<quint32> ends;   // texts: where each cell's bytes end
        std::vector<char> text;
        std::vector<QVariant> variants;
        int cells = 0;
    };

    Block& Tail()
    {
        if (m_count == int(m_blocks.size()) * kBlockRows)
            m_blocks.push_back(std::make_unique<Block>());
        return *m_blocks.back();
    }

    void Added(Block& b)
    {
        ++m_count;
        if (++b.cells == kBlockRows) {
            // A full block never grows again: give back its spare room.
            b.fixed.shrink_to_fit();
            b.ends.shrink_to_fit();
            b.text.shrink_to_fit();
            b.variants.shrink_to_fit();
        }
    }

    // The first value that is not null sets the kind; the nulls before it
    // get their place.
    void Become(Kind kind)
    {
        m_kind = kind;
        for (auto& b : m_blocks) {
            if (const int size = fixedSize(kind))
                b->fixed.resize(size_t(b->cells) * size_t(size));
            else if (isText(kind))
                b->ends.assign(size_t(b->cells), 0);
            else
                b->variants.resize(size_t(b->cells));
        }
    }

    void BecomeVariants()
    {
        for (auto& b : m_blocks) {
            std::vector<QVariant> values;
            values.reserve(size_t(b->cells));
            for (int i = 0; i < b->cells; ++i)
                values.push_back(b->nulls[size_t(i >> 6)] & (quint64(1) << (i & 63)) ? QVariant() : Read(*b, i));
            b->variants = std::move(values);
            b->fixed = {};
            b->ends = {};
            b->text = {};
        }
        m_kind = Kind::Variant;
    }

    static QVariant PlainValue(const Cell& c)
    {
        Block b;
        const int size = fixedSize(c.kind);
        if (size) {
            const auto* from = reinterpret_cast<const char*>(&c.fixed);
            b.fixed.assign(from, from + size);
        } else {
            b.text.assign(c.bytes.begin(), c.bytes.end());
            b.ends.push_back(quint32(c.bytes.size()));
        }
        return ReadAs(c.kind, b, 0);
    }

    QVariant Read(const Block& b, int i) const
    {
        if (m_kind != Kind::DateTime)
            return ReadAs(m_kind, b, i);
        qint64 wallClock = 0;
        std::memcpy(&wallClock, b.fixed.data() + size_t(i) * sizeof wallClock, sizeof wallClock);
        if (!m_recentDateTimes)
            m_recentDateTimes = std::make_unique<RecentDateTimes>();
        return QVariant(m_recentDateTimes->Get(wallClock));
    }

    static QVariant ReadAs(Kind kind, const Block& b, int i)
    {
        const char* at = b.fixed.data() + size_t(i) * size_t(fixedSize(kind));
        qint32 i32 = 0;
        qint64 i64 = 0;
        double d = 0;
        switch (kind) {
        case Kind::Int32:
            std::memcpy(&i32, at, sizeof i32);
            return QVariant(int(i32));
        case Kind::Int64:
            std::memcpy(&i64, at, sizeof i64);
            return QVariant(qlonglong(i64));
        case Kind::Double:
            std::memcpy(&d, at, sizeof d);
            return QVariant(d);
        case Kind::Boolean:
            return QVariant(*at != 0);
        case Kind::Date:
            std::memcpy(&i32, at, sizeof i32);
            return QVariant(QDate::fromJulianDay(i32));
        case Kind::Time:
            std::memcpy(&i32, at, sizeof i32);
            return QVariant(QTime::fromMSecsSinceStartOfDay(i32));
        case Kind::DateTime:
            std::memcpy(&i64, at, sizeof i64);
            return QVariant(dateTimeOf(i64));
        case Kind::Text:
        case Kind::Bytes: {
            const quint32 start = i == 0 ? 0 : b.ends[size_t(i) - 1];
            const char* from = b.text.data() + start;
            const qsizetype size = qsizetype(b.ends[size_t(i)] - start);
            return kind == Kind::Text ? QVariant(TextFromUtf8(QByteArrayView(from, size)))
                                      : QVariant(QByteArray(from, size));
        }
        case Kind::Variant:
            return b.variants[size_t(i)];
        case Kind::Unset:
            break;
        }
        return QVariant();
    }

    Kind m_kind = Kind::Unset;
    int m_count = 0;
    std::vector<std::unique_ptr<Block>> m_blocks;
    mutable std::unique_ptr<RecentDateTimes> m_recentDateTimes;
};

CompactRowStore::CompactRowStore(int columns)
{
    Reset(columns);
}

CompactRowStore::~CompactRowStore() = default;
CompactRowStore::CompactRowStore(CompactRowStore&&) noexcept = default;
CompactRowStore& CompactRowStore::operator=(CompactRowStore&&) noexcept = default;

void CompactRowStore::Reset(int columns)
{
    m_columns.clear();
    m_rows = 0;
    AddColumns(columns);
}

void CompactRowStore::AddColumns(int count)
{
    for (int n = 0; n < count; ++n) {
        auto column = std::make_unique<Column>();
        for (int r = 0; r < m_rows; ++r)
            column->AppendNull();
        m_columns.push_back(std::move(column));
    }
}

void CompactRowStore::AppendRow(const QVariantList& values)
{
    QByteArray scratch;
    for (int c = 0; c < ColumnCount(); ++c) {
        Column& column = ColumnFor(c);
        if (c < values.size() && values[c].isValid())
            column.Append(cellOf(values[c], scratch));
        else
            column.AppendNull();
    }
    ++m_rows;
}

CompactRowStore::Column& CompactRowStore::ColumnFor(int column)
{
    if (column < 0 || column >= ColumnCount())
        throw std::out_of_range("CompactRowStore: no such column");
    Column& c = *m_columns[size_t(column)];
    if (c.Count() != m_rows)
        throw std::logic_error("CompactRowStore: cell set twice in one row");
    return c;
}

void CompactRowStore::SetText(int column, QByteArrayView utf8)
{
    Cell c;
    c.kind = Kind::Text;
    c.bytes = utf8;
    ColumnFor(column).Append(c);
}

void CompactRowStore::SetInteger(int column, int value)
{
    Cell c;
    c.kind = Kind::Int32;
    c.fixed.i32 = value;
    ColumnFor(column).Append(c);
}

void CompactRowStore::SetFloat(int column, double value)
{
    Cell c;
    c.kind = Kind::Double;
    c.fixed.d = value;
    ColumnFor(column).Append(c);
}

void CompactRowStore::SetBoolean(int column, bool value)
{
    Cell c;
    c.kind = Kind::Boolean;
    c.fixed.b = value;
    ColumnFor(column).Append(c);
}

void CompactRowStore::SetDate(int column, QDate value)
{
    const qint64 day = value.toJulianDay();
    if (!value.isValid() || day < std::numeric_limits<qint32>::min() || day > std::numeric_limits<qint32>::max()) {
        SetValue(column, QVariant(value));
        return;
    }
    Cell c;
    c.kind = Kind::Date;
    c.fixed.i32 = qint32(day);
    ColumnFor(column).Append(c);
}

void CompactRowStore::SetValue(int column, const QVariant& value)
{
    Column& c = ColumnFor(column);
    if (!value.isValid()) {
        c.AppendNull();
        return;
    }
    QByteArray scratch;
    c.Append(cellOf(value, scratch));
}

void CompactRowStore::EndRow()
{
    for (auto& column : m_columns)
        if (column->Count() == m_rows)
            column->AppendNull();
    ++m_rows;
}

QVariant CompactRowStore::Value(int row, int column) const
{
    if (column < 0 || column >= ColumnCount() || row < 0 || row >= m_rows)
        return QVariant();
    return m_columns[size_t(column)]->Value(row);
}

QString CompactRowStore::TextFromUtf8(QByteArrayView utf8)
{
    if (!utf8.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(utf8);
    QStringDecoder keepMark(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return keepMark.decode(utf8);
}

qint64 CompactRowStore::MemoryBytes() const
{
    qint64 bytes = 0;
    for (const auto& column : m_columns)
        bytes += column->MemoryBytes();
    return bytes;
}
