#pragma once
// Reads back what a printable drew on a recorded page: texts with their
// reference points and alignment, brush fills, lines and shapes, with the
// pen and brush selected at the time. Positions are device pixels.

#include "EmfRecords.h"
#include "TGraphics.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QtEndian>

struct RecordedText {
    int x = 0, y = 0;
    QString text;
    unsigned align = 0;
    unsigned options = 0;
};

struct RecordedFill {
    TRect rect;
    TColor color = 0;
};

struct RecordedLine {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::uint32_t penStyle = 0;
    int penWidth = 0;
    bool operator==(const RecordedLine& o) const { return x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2; }
};

struct RecordedShape {
    std::uint32_t type = 0; // EMR_RECTANGLE, EMR_ELLIPSE, EMR_ROUNDRECT
    TRect rect;             // as recorded (inclusive-exclusive box of the call)
    int cornerWidth = 0, cornerHeight = 0;
    TColor brushColor = 0;
    bool brushClear = false;
};

struct RecordedPage {
    QList<RecordedText> texts;
    QList<RecordedFill> fills;
    QList<RecordedLine> lines;
    QList<RecordedShape> shapes;

    QStringList Texts() const
    {
        QStringList out;
        for (const RecordedText& t : texts)
            out << t.text;
        return out;
    }

    static RecordedPage Read(const QByteArray& emf)
    {
        using namespace emf;
        RecordedPage page;
        auto u32 = [&](qsizetype off) {
            return off + 4 <= emf.size() ? qFromLittleEndian<std::uint32_t>(emf.constData() + off) : 0u;
        };
        auto i32 = [&](qsizetype off) { return std::int32_t(u32(off)); };
        struct Brush {
            TColor color = clWhite;
            bool clear = false;
        };
        struct Pen {
            std::uint32_t style = 0;
            int width = 0;
        };
        QMap<std::uint32_t, Brush> brushes;
        QMap<std::uint32_t, Pen> pens;
        Brush brush;
        Pen pen;
        unsigned align = 0;
        int curX = 0, curY = 0;
        qsizetype off = 0;
        while (off + 8 <= emf.size()) {
            const std::uint32_t type = u32(off), size = u32(off + 4);
            if (size < 8 || off + size > emf.size())
                break;
            switch (type) {
            case EMR_SETTEXTALIGN: align = u32(off + 8); break;
            case EMR_CREATEBRUSHINDIRECT:
                brushes[u32(off + 8)] = {u32(off + 16), u32(off + 12) == BS_NULL};
                break;
            case EMR_CREATEPEN: pens[u32(off + 8)] = {u32(off + 12), i32(off + 16)}; break;
            case EMR_SELECTOBJECT: {
                const std::uint32_t h = u32(off + 8);
                if (h == (STOCK_BIT | NULL_BRUSH))
                    brush = {clWhite, true};
                else if (h == (STOCK_BIT | NULL_PEN))
                    pen = {PS_NULL, 0};
                else if (brushes.contains(h))
                    brush = brushes[h];
                else if (pens.contains(h))
                    pen = pens[h];
                break;
            }
            case EMR_EXTTEXTOUTW: {
                RecordedText t;
                t.x = i32(off + 36);
                t.y = i32(off + 40);
                const std::uint32_t n = u32(off + 44), at = u32(off + 48);
                t.options = u32(off + 52);
                for (std::uint32_t i = 0; i < n && at + 2 * i + 2 <= size; ++i)
                    t.text.append(QChar(qFromLittleEndian<quint16>(emf.constData() + off + at + 2 * i)));
                t.align = align;
                page.texts << t;
                break;
            }
            case EMR_BITBLT:
                page.fills << RecordedFill{{i32(off + 24), i32(off + 28), i32(off + 24) + i32(off + 32),
                                            i32(off + 28) + i32(off + 36)},
                                           brush.color};
                break;
            case EMR_MOVETOEX:
                curX = i32(off + 8);
                curY = i32(off + 12);
                break;
            case EMR_LINETO:
                page.lines << RecordedLine{curX, curY, i32(off + 8), i32(off + 12), pen.style, pen.width};
                curX = i32(off + 8);
                curY = i32(off + 12);
                break;
            case EMR_RECTANGLE:
            case EMR_ELLIPSE:
            case EMR_ROUNDRECT: {
                RecordedShape s;
                s.type = type;
                s.rect = {i32(off + 8), i32(off + 12), i32(off + 16), i32(off + 20)};
                if (type == EMR_ROUNDRECT) {
                    s.cornerWidth = i32(off + 24);
                    s.cornerHeight = i32(off + 28);
                }
                s.brushColor = brush.color;
                s.brushClear = brush.clear;
                page.shapes << s;
                break;
            }
            default: break;
            }
            off += size;
        }
        return page;
    }
};
