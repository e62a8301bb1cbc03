// The CSV data set reader: values as the file says them, however its lines
// fall across the blocks it reads, and a refusal that leaves the data set
// untouched.
#include <gtest/gtest.h>

#include "CsvDataSet.h"

#include <QFile>
#include <QTemporaryDir>

namespace {

QString writeFile(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = dir.filePath(QStringLiteral("data.csv"));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
}

// Every row's values as text, "|" between fields, "~" for null.
QStringList rowsOf(TMemDataSet& ds)
{
    QStringList rows;
    for (ds.First(); !ds.Eof(); ds.Next()) {
        QStringList fields;
        for (int i = 0; i < ds.FieldCount(); ++i) {
            const QVariant v = ds.FieldValue(i);
            fields << (v.isValid() ? v.toString() : QStringLiteral("~"));
        }
        rows << fields.join(u'|');
    }
    return rows;
}

constexpr qsizetype kBlock = qsizetype(1) << 20; // what the reader reads at a time

} // namespace

TEST(CsvDataSet, ReadsValuesAsTheFileWritesThem)
{
    QTemporaryDir dir;
    const QByteArray bom = "\xEF\xBB\xBF";
    const QByteArray text = bom + bom + "NOME,N:integer,V:float,D:date,B:boolean\r\n" // two marks on the first line
                            "\"Silva, Ana\",\" 7 \",1e3,2024-03-05,TRUE\r"
                            "\"Diz \"\"Oi\"\"\",-0,.5,05/03/2024,0\n"
                            "   \n"                              // blank: skipped
                            "\xC2\xA0\n"                         // a no-break space is blank too
                            "\"ab\"c,,,,\n"                      // text after a closing quote; nulls
                            + bom + bom + "x,1,2,2024-03-05,1"; // a line's second mark is text; last line unended
    TMemDataSet ds;
    ASSERT_EQ(brp::LoadCsvDataSet(writeFile(dir, text), ds), QString());
    ASSERT_EQ(ds.FieldCount(), 5);
    EXPECT_EQ(ds.Fields(0)->FieldName(), QStringLiteral("NOME"));
    EXPECT_EQ(rowsOf(ds), (QStringList{QStringLiteral("Silva, Ana|7|1000|2024-03-05|true"), QStringLiteral("Diz \"Oi\"|0|0.5|2024-03-05|false"),
                                       QStringLiteral("abc|~|~|~|~"), QChar(0xFEFF) + QStringLiteral("x|1|2|2024-03-05|true")}));
}

TEST(CsvDataSet, LinesEndingWhereTheReadingBlocksMeet)
{
    QTemporaryDir dir;
    const QByteArray header = "N:integer,T\n";
    for (const QByteArray& end : {QByteArray("\r\n"), QByteArray("\r"), QByteArray("\n")}) {
        SCOPED_TRACE(end.toHex().toStdString());
        // The first row's line end starts on the block's last byte.
        const QByteArray filler(kBlock - 1 - header.size() - 2, 'x');
        const QByteArray longText(kBlock * 5 / 2, 'y'); // a line longer than a block
        TMemDataSet ds;
        ASSERT_EQ(brp::LoadCsvDataSet(writeFile(dir, header + "1," + filler + end + "2," + longText + end + "3,z"), ds),
                  QString());
        ASSERT_EQ(ds.RecordCount(), 3);
        ds.First();
        EXPECT_EQ(ds.FieldValue(1).toByteArray(), filler);
        ds.Next();
        EXPECT_EQ(ds.FieldValue(0), QVariant(2));
        EXPECT_EQ(ds.FieldValue(1).toByteArray(), longText);
        ds.Next();
        EXPECT_EQ(ds.FieldValue(1), QVariant(QStringLiteral("z")));
    }
}

TEST(CsvDataSet, ARefusalLeavesTheDataSetAsItWasAndProgressReachesTheEnd)
{
    QTemporaryDir dir;
    QByteArray text = "N:integer\n";
    for (int i = 0; i < 300000; ++i)
        text += QByteArray::number(i) + '\n';
    const QString path = writeFile(dir, text + "x\n");
    TMemDataSet ds;
    const QString error = brp::LoadCsvDataSet(path, ds);
    EXPECT_EQ(error, path + QStringLiteral(":300002: field 1: 'x' is not a valid integer"));
    EXPECT_EQ(ds.FieldCount(), 0);
    EXPECT_FALSE(ds.Active());

    qint64 last = 0, total = -1;
    int calls = 0;
    ASSERT_EQ(brp::LoadCsvDataSet(writeFile(dir, text), ds, [&](qint64 done, qint64 size) {
                  EXPECT_GE(done, last);
                  last = done;
                  total = size;
                  ++calls;
              }),
              QString());
    EXPECT_GT(calls, 1) << "told more than once for a file of several blocks";
    EXPECT_EQ(last, text.size());
    EXPECT_EQ(total, text.size());
    EXPECT_EQ(ds.RecordCount(), 300000);
}
