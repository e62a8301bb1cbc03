// The in-memory data set: its cursor, field lookup by name and null values.
#include <gtest/gtest.h>

#include "DatabaseError.h"
#include "TMemDataSet.h"

namespace {

TEST(MemDataSet, CursorFieldsAndNulls)
{
    TMemDataSet ds;
    ds.SetName("Qry");
    EXPECT_TRUE(ds.IsEmpty());
    ds.DefineField("NUMERO", TFieldType::ftInteger);
    ds.DefineField("Nome", TFieldType::ftString, 40);
    ds.DefineField("TOTAL", TFieldType::ftFloat);
    ds.AppendRecord({1, "Ana", 10.5});
    ds.AppendRecord({2, QVariant(), QVariant()});
    ds.Open();
    ASSERT_FALSE(ds.IsEmpty());
    EXPECT_EQ(ds.RecordCount(), 2);
    EXPECT_EQ(ds.FindField("nome")->AsString(), "Ana");
    EXPECT_EQ(ds.FindField("missing"), nullptr);
    EXPECT_THROW(ds.FieldByName("missing"), DatabaseError);
    ds.Next();
    EXPECT_FALSE(ds.Eof());
    EXPECT_EQ(ds.FieldByName("NUMERO")->AsInteger(), 2);
    EXPECT_EQ(ds.FieldByName("Nome")->AsString(), "");
    EXPECT_EQ(ds.FieldByName("TOTAL")->AsFloat(), 0.0);
    ds.Next();
    EXPECT_TRUE(ds.Eof());
    ds.Prior();
    EXPECT_EQ(ds.FieldByName("NUMERO")->AsInteger(), 1);
    ds.Close();
    EXPECT_TRUE(ds.IsEmpty());
}

} // namespace
