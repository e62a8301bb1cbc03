// Hostile pages: long point lists, huge numbers of shapes, text and bitmaps.
// Each page is drawn whole or cut short at the page's work budget, and a
// page cut short says so.
#include "EmfPlayer.h"
#include "EmfRecords.h"
#include "EmfTestSupport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <functional>

using namespace emftest;
using namespace emf;

namespace {

void Put32(QByteArray& b, std::uint32_t v)
{
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}

// A record of `type` whose fields are written by `body`.
QByteArray Rec(std::uint32_t type, const std::function<void(QByteArray&)>& body)
{
    QByteArray b;
    Put32(b, type);
    Put32(b, 0);
    body(b);
    qToLittleEndian(std::uint32_t(b.size()), b.data() + 4);
    return b;
}

// Points scattered over an A4 page, or walking over it in small steps like a
// long measured curve.
struct Scatter {
    bool walk = false;
    std::uint32_t s = 12345;
    int x = 400, y = 500;
    std::uint32_t next()
    {
        s = s * 1103515245u + 12345u;
        return s >> 16;
    }
    std::uint32_t point()
    {
        if (!walk)
            return next() % kA4Width | (next() % kA4Height << 16);
        x = std::clamp(x + int(next() % 5) - 2, 0, kA4Width - 1);
        y = std::clamp(y + int(next() % 5) - 2, 0, kA4Height - 1);
        return std::uint32_t(x) | (std::uint32_t(y) << 16);
    }
};

// A4 at 96 pixels per inch, played at its own size: one-pixel pens.
Writer Page()
{
    Writer w;
    w.Header({0, 0, kA4Width - 1, kA4Height - 1, 0, 0, 21008, 29713, ENHMETA_SIGNATURE, ENHMETA_VERSION, 0, 0, 1, 0, 0,
              0, 1920, 1440, 508, 381, 0, 0, 0, 508000, 381000});
    return w;
}

QByteArray Polyline16(int points, bool walk)
{
    Scatter r;
    r.walk = walk;
    return Page()
        .Raw(Rec(EMR_POLYLINE16, [&](QByteArray& b) {
            for (int i = 0; i < 4; ++i)
                Put32(b, 0);
            Put32(b, std::uint32_t(points));
            for (int i = 0; i < points; ++i)
                Put32(b, r.point());
        }))
        .Bytes();
}

QByteArray Triangles(int count)
{
    Scatter r;
    return Page()
        .Raw(Rec(EMR_POLYPOLYGON16, [&](QByteArray& b) {
            for (int i = 0; i < 4; ++i)
                Put32(b, 0);
            Put32(b, std::uint32_t(count));
            Put32(b, std::uint32_t(count) * 3);
            for (int i = 0; i < count; ++i)
                Put32(b, 3);
            for (int i = 0; i < count * 3; ++i)
                Put32(b, r.point());
        }))
        .Bytes();
}

QByteArray Repeated(int count, const QByteArray& record)
{
    QByteArray body;
    body.reserve(qsizetype(count) * record.size());
    for (int i = 0; i < count; ++i)
        body.append(record);
    return Page().Raw(body).Bytes();
}

QByteArray PageRectangle()
{
    return Rec(EMR_RECTANGLE, [](QByteArray& b) {
        for (std::uint32_t v : {0u, 0u, std::uint32_t(kA4Width), std::uint32_t(kA4Height)})
            Put32(b, v);
    });
}

QByteArray Text()
{
    return Rec(EMR_EXTTEXTOUTW, [](QByteArray& b) {
        for (std::uint32_t v : {0u, 0u, 0u, 0u, 1u, 0u, 0u, 10u, 10u, 8u, 76u, 0u, 0u, 0u, 0xFFFFFFFFu, 0xFFFFFFFFu, 0u})
            Put32(b, v);
        for (int i = 0; i < 4; ++i)
            Put32(b, 'W' | ('M' << 16));
    });
}

// An 8 x 8 one-bit bitmap stretched over the whole page.
QByteArray Bitmap()
{
    return Rec(EMR_STRETCHDIBITS, [](QByteArray& b) {
        const std::uint32_t bits = 4;
        for (std::uint32_t v : {0u, 0u, 100u, 100u, 0u, 0u, 0u, 0u, 8u, 8u, 80u, 48u, 128u, bits * 8, 0u,
                                std::uint32_t(SRCCOPY), std::uint32_t(kA4Width), std::uint32_t(kA4Height)})
            Put32(b, v);
        for (std::uint32_t v : {40u, 8u, 8u, 1u | (1u << 16), 0u, 0u, 0u, 0u, 0u, 0u, 0u, 0xFFFFFFu})
            Put32(b, v);
        b.append(QByteArray(int(bits * 8), '\x55'));
    });
}

struct Played {
    EmfPlayResult result;
    QImage image;
};

Played Play(const QByteArray& emf)
{
    Played p;
    p.image = QImage(794, 1123, QImage::Format_RGB32);
    p.image.fill(Qt::white);
    QPainter painter(&p.image);
    p.result = EmfPlayer::Play(emf, &painter, QRectF(0, 0, 794, 1123));
    return p;
}

}  // namespace

TEST(EmfBudget, LongPointListsAreDrawnWhole)
{
    for (bool walk : {true, false}) {
        SCOPED_TRACE(walk ? "walking" : "scattered");
        const Played p = Play(Polyline16(250000, walk));
        EXPECT_TRUE(p.result.ok()) << p.result.error.toStdString();
    }
}

TEST(EmfBudget, PagesPastTheBudgetAreCutShortAndSaySo)
{
    const struct {
        const char* name;
        std::function<QByteArray()> page;
    } cases[] = {
        {"4 million-point polyline", [] { return Polyline16(4000000, true); }},
        {"a million triangles", [] { return Triangles(1000000); }},
        {"400,000 triangles", [] { return Triangles(400000); }},
        {"2 million page-sized rectangles", [] { return Repeated(2000000, PageRectangle()); }},
        {"600,000 texts", [] { return Repeated(600000, Text()); }},
        {"400,000 page-sized bitmaps", [] { return Repeated(400000, Bitmap()); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray emf = c.page();
        const Played p = Play(emf);
        EXPECT_EQ(int(p.result.status), int(EmfPlayResult::Status::Partial));
        EXPECT_TRUE(p.result.error.contains(QStringLiteral("budget"))) << p.result.error.toStdString();
    }
}
