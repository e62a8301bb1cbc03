#include "PageStoreError.h"
#include "TBRCompress.h"

#include <QCryptographicHash>
#include <gtest/gtest.h>
#include <functional>
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

// The code of larger inputs is pinned too: stored files depend on every bit.
TEST(TBRCompress, CodeOfLongInputsIsStable)
{
    struct Case {
        const char* name;
        int size;
        int alphabet;
        const char* sha1;
    };
    const Case cases[] = {
        {"uniform", 70000, 256, "f55ef343c9f0bbc548c1b015d4967ff1ec1882fb"},
        {"skewed", 120000, 9, "105cc875694f436174df1c0660525aea0fe70ff2"},
        {"rare bytes", 4000, 2, "f9dedc11105be1bc5e732361507e869b06862575"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::mt19937 rng(11);
        QByteArray plain(c.size, '\0');
        for (int i = 0; i < c.size; ++i)
            // "rare bytes": long runs of one byte with rare others push a leaf far down.
            plain[i] = char(c.alphabet == 2 ? (rng() % 97 == 0 ? char(rng()) : '\0') : rng() % c.alphabet);
        const QByteArray code = TBRCompress::Encode(plain);
        EXPECT_EQ(QCryptographicHash::hash(code, QCryptographicHash::Sha1).toHex().toStdString(), std::string(c.sha1));
        EXPECT_EQ(TBRCompress::Decode(code.constData(), code.size(), plain.size()), plain);
    }
}

namespace {
// The coder written the plain way, one bit at a time: the reference the fast
// coder must match bit for bit.
QByteArray referenceEncode(const QByteArray& data)
{
    quint16 left[256], right[256];
    quint8 up[513];
    up[0] = 0;
    for (int i = 1; i <= 512; ++i)
        up[i] = quint8((i - 1) / 2);
    for (int j = 0; j < 256; ++j) {
        left[j] = quint16(2 * j + 1);
        right[j] = quint16(2 * j + 2);
    }
    QByteArray out;
    int bitIndex = 0, pending = 0;
    for (char ch : data) {
        int path[257], depth = 0;
        for (int node = quint8(ch) + 256; node != 0; node = up[node])
            path[depth++] = right[up[node]] == node;
        while (depth > 0) {
            pending |= path[--depth] << bitIndex;
            if (++bitIndex == 8) {
                out.append(char(pending));
                bitIndex = pending = 0;
            }
        }
        for (int a = quint8(ch) + 256; a != 0;) {
            const int c = up[a];
            if (c == 0)
                break;
            const int d = up[c];
            int b = left[d];
            if (c == b) {
                b = right[d];
                right[d] = quint16(a);
            } else {
                left[d] = quint16(a);
            }
            if (a == left[c])
                left[c] = quint16(b);
            else
                right[c] = quint16(b);
            up[a] = quint8(d);
            up[b] = quint8(c);
            a = d;
        }
    }
    if (bitIndex)
        out.append(char(pending));
    return out;
}
} // namespace

TEST(TBRCompress, MatchesTheBitByBitCoder)
{
    struct Case {
        const char* name;
        std::function<quint8(std::mt19937&)> next;
    };
    const Case cases[] = {
        {"uniform", [](std::mt19937& r) { return quint8(r()); }},
        // Byte k with probability 2^-(k+1): rare bytes sink deep into the tree,
        // so their codes run far past a machine word.
        {"geometric", [](std::mt19937& r) { quint8 k = 0; while (k < 255 && (r() & 1)) ++k; return k; }},
        {"sweeps", [](std::mt19937& r) { static quint8 k = 0; return quint8(r() % 5 == 0 ? r() : k++); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::mt19937 rng(5);
        for (int size : {1, 7, 8, 9, 1000, 65537}) {
            QByteArray plain(size, Qt::Uninitialized);
            for (char& ch : plain)
                ch = char(c.next(rng));
            const QByteArray code = TBRCompress::Encode(plain);
            ASSERT_EQ(code, referenceEncode(plain)) << "size " << size;
            qsizetype consumed = -1;
            ASSERT_EQ(TBRCompress::Decode(code.constData(), code.size(), plain.size(), &consumed), plain);
            EXPECT_EQ(consumed, code.size());
            // Byte by byte through the streaming interface too.
            QByteArray streamed;
            {
                TBRCompress coder(&streamed);
                for (char ch : plain)
                    coder.EncodeByte(quint8(ch));
            }
            EXPECT_EQ(streamed, code);
        }
    }
}
