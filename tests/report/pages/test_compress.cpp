#include "PageStoreError.h"
#include "TBRCompress.h"

#include <gtest/gtest.h>
#include <random>

TEST(TBRCompress, KnownCodes)
{
    struct Case {
        QByteArray plain;
        QByteArray code;
    };
    const Case cases[] = {
        {"abc", QByteArray::fromHex("463d01")},
        {"aaaa", QByteArray::fromHex("4645")},
        {"", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plain.toStdString());
        EXPECT_EQ(TBRCompress::Encode(c.plain).toHex(), c.code.toHex());
        qsizetype consumed = -1;
        EXPECT_EQ(TBRCompress::Decode(c.code.constData(), c.code.size(), c.plain.size(), &consumed), c.plain);
        EXPECT_EQ(consumed, c.code.size());
    }
}

TEST(TBRCompress, RoundTripsAndStopsAtTheEndOfItsCode)
{
    std::mt19937 rng(7);
    struct Case {
        const char* name;
        int size;
        int alphabet; // 256: uniform bytes; small: skewed text-like data
    };
    const Case cases[] = {{"one byte", 1, 256}, {"uniform", 5000, 256}, {"skewed", 20000, 12},
                          {"single value", 3000, 1}, {"large", 300000, 40}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray plain(c.size, '\0');
        for (char& ch : plain)
            ch = char(c.alphabet == 256 ? rng() : 'A' + (rng() % c.alphabet) * (rng() % 2));
        QByteArray code = TBRCompress::Encode(plain);
        if (c.alphabet < 64) {
            EXPECT_LT(code.size(), plain.size());
        }
        // What follows the code is not read.
        const int codeSize = int(code.size());
        code += "trailing bytes of the next record";
        qsizetype consumed = -1;
        EXPECT_EQ(TBRCompress::Decode(code.constData(), code.size(), plain.size(), &consumed), plain);
        EXPECT_EQ(consumed, codeSize);
    }
}

TEST(TBRCompress, TruncatedCodeIsAnErrorNotAnOverread)
{
    const QByteArray plain(1000, 'x');
    const QByteArray code = TBRCompress::Encode(plain);
    EXPECT_THROW(TBRCompress::Decode(code.constData(), code.size() - 1, plain.size()), DamagedStoreError);
    EXPECT_THROW(TBRCompress::Decode(nullptr, 0, 1), DamagedStoreError);
}
