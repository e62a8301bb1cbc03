// The compact row store gives back every value as it went in (type and
// value), across its blocks of rows, whatever mix of values a column gets.
#include <gtest/gtest.h>

#include "CompactRowStore.h"

#include <QDateTime>
#include <QScopeGuard>
#include <QStringList>

#include <cmath>
#include <ctime>

namespace {

// Same type and same value; -0.0 and 0.0 count as different.
::testing::AssertionResult sameVariant(const QVariant& got, const QVariant& want)
{
    if (got.metaType() != want.metaType())
        return ::testing::AssertionFailure() << "type " << got.typeName() << " instead of " << want.typeName();
    if (got != want)
        return ::testing::AssertionFailure() << got.toString().toStdString() << " instead of "
                                             << want.toString().toStdString();
    if (want.metaType().id() == QMetaType::Double && std::signbit(got.toDouble()) != std::signbit(want.toDouble()))
        return ::testing::AssertionFailure() << "sign of zero lost";
    if (want.metaType().id() == QMetaType::QDateTime && got.toDateTime().timeSpec() != want.toDateTime().timeSpec())
        return ::testing::AssertionFailure() << "local time came back as another kind of time";
    return ::testing::AssertionSuccess();
}

} // namespace

TEST(CompactRowStore, EveryKindOfValueReadsBackAsItWentIn)
{
    const QString bom = QString(QChar(0xFEFF)) + QStringLiteral("marca");
    const QString loneSurrogate = QString(QChar(0xD800)) + QStringLiteral("x");
    // Each column: a null first (its kind comes later), then its values
    // over and over, past several blocks of rows.
    const QList<QVariantList> columns = {
        {1, -2147483647 - 1, 2147483647},
        {qlonglong(1) << 40, qlonglong(-5)},
        {10.25, -0.0, 1e308, 5e-324},
        {true, false},
        {QDate(2024, 3, 5), QDate(1, 1, 1), QDate(9999, 12, 31)},
        {QTime(23, 59, 59, 999), QTime(0, 0)},
        {QDateTime(QDate(2024, 3, 5), QTime(10, 30)), QDateTime(QDate(2024, 3, 5), QTime(1, 2), Qt::UTC),
         QDateTime(QDate(-4800, 3, 1), QTime(23, 59, 59, 999)), QDateTime::fromMSecsSinceEpoch(-1)},
        {QStringLiteral("Conceição"), QString(), bom, loneSurrogate, QStringLiteral("a\0b")},
        {QByteArray("\x00\xFF", 2), QByteArray()},
        {QStringList{QStringLiteral("a"), QStringLiteral("b")}, QVariant::fromValue(nullptr)},
        // Not one kind: the column keeps each value's own type.
        {7, QStringLiteral("sete"), 7.5, QDate(2020, 1, 2)},
    };
    const int rows = 3 * 4096 + 17;
    const auto expected = [&](int row, int column) {
        const QVariantList& values = columns[column];
        return row % 5 == 0 ? QVariant() : values[row % values.size()];
    };
    CompactRowStore store(int(columns.size()));
    for (int r = 0; r < rows; ++r) {
        QVariantList row;
        for (int c = 0; c < columns.size(); ++c)
            row << expected(r, c);
        store.AppendRow(row);
    }
    ASSERT_EQ(store.RowCount(), rows);
    for (int c = 0; c < columns.size(); ++c) {
        SCOPED_TRACE(c);
        for (int r = 0; r < rows; ++r) {
            const QVariant want = expected(r, c);
            const QVariant got = store.Value(r, c);
            if (!want.isValid())
                ASSERT_FALSE(got.isValid()) << "row " << r;
            else
                ASSERT_TRUE(sameVariant(got, want)) << "row " << r;
        }
    }
    EXPECT_FALSE(store.Value(rows, 0).isValid());
    EXPECT_FALSE(store.Value(0, int(columns.size())).isValid());
    EXPECT_FALSE(store.Value(-1, 0).isValid());
}

// Local times are held by their wall clock: in a zone that changes its clocks,
// a time in the skipped hour, one in the repeated hour and the days around
// them read back as the same date, time and moment.
TEST(CompactRowStore, LocalTimesKeepTheirWallClockAcrossClockChanges)
{
    const QByteArray zone = qgetenv("TZ");
    const auto restore = qScopeGuard([&] {
        zone.isNull() ? qunsetenv("TZ") : qputenv("TZ", zone);
        tzset();
    });
    qputenv("TZ", "Europe/Berlin");
    tzset();
    const QList<QDateTime> values = {
        QDateTime(QDate(2024, 3, 31), QTime(2, 30)),  QDateTime(QDate(2024, 10, 27), QTime(2, 30)),
        QDateTime(QDate(2024, 10, 27), QTime(3, 30)), QDateTime(QDate(2024, 7, 1), QTime(12, 0)),
        QDateTime(QDate(1850, 1, 1), QTime(0, 0)),
    };
    CompactRowStore store(1);
    for (int round = 0; round < 2; ++round)
        for (const QDateTime& v : values)
            store.AppendRow({v});
    for (int r = 0; r < store.RowCount(); ++r) {
        const QDateTime want = values[r % values.size()];
        const QDateTime got = store.Value(r, 0).toDateTime();
        EXPECT_TRUE(sameVariant(got, want)) << "row " << r;
        EXPECT_EQ(got.date(), want.date()) << "row " << r;
        EXPECT_EQ(got.time(), want.time()) << "row " << r;
    }
}

TEST(CompactRowStore, RowsMadeCellByCellAndWidened)
{
    CompactRowStore store(3);
    store.SetText(0, "Pão");
    store.SetFloat(2, 1.5);
    store.EndRow();
    store.SetInteger(1, 4);
    EXPECT_THROW(store.SetInteger(1, 5), std::logic_error) << "a cell is set once";
    store.SetBoolean(2, true); // the column changes kind: both values stay
    store.EndRow();
    store.AppendRow({QStringLiteral("x")}); // missing values are null
    store.AddColumns(1);
    store.AppendRow({QVariant(), QVariant(), QVariant(), QDate(2024, 1, 2)});

    EXPECT_TRUE(sameVariant(store.Value(0, 0), QStringLiteral("Pão")));
    EXPECT_FALSE(store.Value(0, 1).isValid());
    EXPECT_TRUE(sameVariant(store.Value(0, 2), 1.5));
    EXPECT_TRUE(sameVariant(store.Value(1, 1), 4));
    EXPECT_TRUE(sameVariant(store.Value(1, 2), true));
    EXPECT_FALSE(store.Value(2, 2).isValid());
    EXPECT_FALSE(store.Value(0, 3).isValid()) << "a column added later is null in earlier rows";
    EXPECT_TRUE(sameVariant(store.Value(3, 3), QDate(2024, 1, 2)));
    EXPECT_EQ(store.RowCount(), 4);

    store.Reset(2);
    EXPECT_EQ(store.RowCount(), 0);
    EXPECT_EQ(store.ColumnCount(), 2);
}
