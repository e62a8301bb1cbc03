#pragma once
// Hostile EMF pages on A4 at 96 pixels per inch: long point lists and huge
// numbers of shapes, texts and bitmaps, made to find the player's limits.
// Used by the player's budget test and by bench_emf.

#include "EmfRecords.h"
#include "EmfTestSupport.h"

#include <QByteArray>
#include <QtEndian>
#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

namespace hostileemf {

using namespace emftest;
using namespace emf;

inline void Put32(QByteArray& b, std::uint32_t v)
{
    char c[4];
    qToLittleEndian(v, c);
    b.append(c, 4);
}

// A record of `type` whose fields are written by `body`.
inline QByteArray Rec(std::uint32_t type, const std::function<void(QByteArray&)>& body)
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
inline Writer Page()
{
    Writer w;
    w.Header({0, 0, kA4Width - 1, kA4Height - 1, 0, 0, 21008, 29713, ENHMETA_SIGNATURE, ENHMETA_VERSION, 0, 0, 1, 0, 0,
              0, 1920, 1440, 508, 381, 0, 0, 0, 508000, 381000});
    return w;
}

inline QByteArray Polyline16(int points, bool walk)
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

inline QByteArray Triangles(int count)
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

inline QByteArray Repeated(int count, const QByteArray& record)
{
    QByteArray body;
    body.reserve(qsizetype(count) * record.size());
    for (int i = 0; i < count; ++i)
        body.append(record);
    return Page().Raw(body).Bytes();
}

inline QByteArray PageRectangle()
{
    return Rec(EMR_RECTANGLE, [](QByteArray& b) {
        for (std::uint32_t v : {0u, 0u, std::uint32_t(kA4Width), std::uint32_t(kA4Height)})
            Put32(b, v);
    });
}

inline QByteArray Text()
{
    return Rec(EMR_EXTTEXTOUTW, [](QByteArray& b) {
        for (std::uint32_t v : {0u, 0u, 0u, 0u, 1u, 0u, 0u, 10u, 10u, 8u, 76u, 0u, 0u, 0u, 0xFFFFFFFFu, 0xFFFFFFFFu, 0u})
            Put32(b, v);
        for (int i = 0; i < 4; ++i)
            Put32(b, 'W' | ('M' << 16));
    });
}

// An 8 x 8 one-bit bitmap stretched over the whole page.
inline QByteArray Bitmap()
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

// Every hostile page, named, with what the player must do with it: draw it
// whole, or cut it short at the page's work budget and say so.
struct HostilePage {
    const char* name;
    bool drawnWhole;
    std::function<QByteArray()> make;
};

inline const std::vector<HostilePage>& HostilePages()
{
    static const std::vector<HostilePage> pages = {
        {"250,000-point polyline, walking", true, [] { return Polyline16(250000, true); }},
        {"250,000-point polyline, scattered", true, [] { return Polyline16(250000, false); }},
        {"4 million-point polyline", false, [] { return Polyline16(4000000, true); }},
        {"a million triangles", false, [] { return Triangles(1000000); }},
        {"400,000 triangles", false, [] { return Triangles(400000); }},
        {"2 million page-sized rectangles", false, [] { return Repeated(2000000, PageRectangle()); }},
        {"600,000 texts", false, [] { return Repeated(600000, Text()); }},
        {"400,000 page-sized bitmaps", false, [] { return Repeated(400000, Bitmap()); }},
    };
    return pages;
}

} // namespace hostileemf
