// The in-memory data set: its cursor, field lookup by name and null values.
#include <gtest/gtest.h>

#include "DatabaseError.h"
#include "TMemDataSet.h"

namespace {

TEST(MemDataSet, CursorFieldsAndNulls)
{
    TMemDataSet ds;
    ds.SetName(QStringLiteral("Qry"));
    EXPECT_TRUE(ds.IsEmpty());
    ds.DefineField(QStringLiteral("NUMERO"), TFieldType::ftInteger);
    ds.DefineField(QStringLiteral("Nome"), TFieldType::ftString, 40);
    ds.DefineField(QStringLiteral("TOTAL"), TFieldType::ftFloat);
    ds.AppendRecord({1, QStringLiteral("Ana"), 10.5});
    ds.AppendRecord({2, QVariant(), QVariant()});
    ds.Open();
    ASSERT_FALSE(ds.IsEmpty());
    EXPECT_EQ(ds.RecordCount(), 2);
    EXPECT_EQ(ds.FindField(QStringLiteral("nome"))->AsString(), QStringLiteral("Ana"));
    EXPECT_EQ(ds.FindField(QStringLiteral("missing")), nullptr);
    EXPECT_THROW(ds.FieldByName(QStringLiteral("missing")), DatabaseError);
    ds.Next();
    EXPECT_FALSE(ds.Eof());
    EXPECT_EQ(ds.FieldByName(QStringLiteral("NUMERO"))->AsInteger(), 2);
    EXPECT_EQ(ds.FieldByName(QStringLiteral("Nome"))->AsString(), QStringLiteral(""));
    EXPECT_EQ(ds.FieldByName(QStringLiteral("TOTAL"))->AsFloat(), 0.0);
    ds.Next();
    EXPECT_TRUE(ds.Eof());
    ds.Prior();
    EXPECT_EQ(ds.FieldByName(QStringLiteral("NUMERO"))->AsInteger(), 1);
    ds.Close();
    EXPECT_TRUE(ds.IsEmpty());
}

} // namespace
