#pragma once
// Private to the EMF player: the record view, the device-context state and the
// player itself, whose record families live in EmfPlayer*.cpp.

#include "EmfPlayer.h"
#include "EmfRecords.h"
#include "TGraphics.h"
#include "TextMeasure.h"

#include <QBrush>
#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPen>
#include <QRegion>
#include <QTransform>
#include <QVector>
#include <QtEndian>
#include <cstring>
#include <map>
#include <optional>
#include <vector>

class QPainter;

namespace emf::play {

// Limits that keep hostile files from exhausting time or memory.
constexpr quint32 kMaxBytes = quint32(EmfPlayer::MaxBytes);
constexpr int kMaxRecords = 4 * 1024 * 1024;
constexpr quint32 kMaxObjects = 0x10000;       // handle indexes are 16-bit
constexpr int kMaxSaveDepth = 1024;
constexpr qint64 kMaxDibPixels = 32 * 1024 * 1024;
constexpr int kMaxDibSide = 32768;
constexpr double kMaxCoordinate = 1e7;         // target pixels
constexpr quint32 kMaxRegionRects = 4096;      // beyond, a region's bounding box stands in
constexpr qint64 kMaxPatternPixels = 16 * 1024 * 1024;  // all pattern brushes together
constexpr double kMaxCachedGlyph = 256;        // target pixels of em height
constexpr double kMaxPenWidth = 16384;         // target pixels (QPen refuses 32768 and up)
// Work one page may take; past it the rest of the page is skipped and the
// page reported as drawn in part, so a hostile page cannot freeze a preview.
constexpr qint64 kMaxPagePoints = 2'000'000;   // points of lines, shapes and glyphs
constexpr double kMaxPagePixels = 1e9;         // target pixels filled, stroked or copied,
constexpr double kMaxPageCoverage = 50;        // or this many times the target's area
constexpr double kFillEdgeWeight = 100;        // pixels charged per edge crossing a scanline
// Outlines longer than this are stroked in pieces: one huge stroke becomes a
// single polygon whose filling costs far more than its length.
constexpr int kStrokePiece = 256;              // path elements

// Bounds-checked little-endian view of one record.
struct Rec {
    const uchar* p = nullptr;
    quint32 n = 0;
    bool has(quint64 off, quint64 len) const { return off <= n && len <= n - off; }
    quint32 u32(quint32 off) const { return qFromLittleEndian<quint32>(p + off); }
    qint32 i32(quint32 off) const { return qFromLittleEndian<qint32>(p + off); }
    quint16 u16(quint32 off) const { return qFromLittleEndian<quint16>(p + off); }
    qint16 i16(quint32 off) const { return qFromLittleEndian<qint16>(p + off); }
    float f32(quint32 off) const
    {
        const quint32 u = u32(off);
        float f;
        std::memcpy(&f, &u, 4);
        return f;
    }
};

inline QColor ColorRef(quint32 c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

// Windows-1252 for the 8-bit text records.
QString DecodeAnsi(const uchar* s, int n);

struct PenObj {
    bool null = false;
    quint32 style = PS_SOLID;
    double width = 0;  // logical units; 0 draws one device pixel
    bool geometric = false;
    QColor color = Qt::black;
    QVector<qreal> dashes;
};

struct BrushObj {
    bool null = false;
    QColor color = Qt::white;
    int hatch = -1;
    QImage pattern;
};

struct FontObj {
    QString face = QStringLiteral("System");
    int height = 16;
    int escapement = 0;
    int weight = 700;
    bool italic = false, underline = false, strikeOut = false;
    quint8 charset = 1, pitch = 0;
};

struct Obj {
    enum Kind { None, Pen, Brush, Font, Other } kind = None;
    PenObj pen;
    BrushObj brush;
    FontObj font;
};

struct Dc {
    QTransform world;
    quint32 mapMode = MM_TEXT;
    QPointF winOrg, vpOrg;
    QSizeF winExt{1, 1}, vpExt{1, 1};
    PenObj pen;
    BrushObj brush;
    FontObj font;
    QColor textColor = Qt::black;
    QColor bkColor = Qt::white;
    int bkMode = OPAQUE;
    quint32 textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    QPointF cur;
    bool hasClip = false;
    QRegion clip;  // device coordinates; regions keep repeated clip edits cheap
    bool clockwise = false;
    double miterLimit = 10;
};

class Player {
public:
    Player(const QByteArray& data, QPainter* painter, const QRectF& target)
        : m_data(data), m_painter(painter), m_target(target)
    {
    }

    EmfPlayResult run();

private:
    const QByteArray& m_data;
    QPainter* m_painter;
    QRectF m_target;
    EmfHeaderInfo m_header;
    QTransform m_base;      // painter transform at start
    QTransform m_devToTarget;
    bool m_baseClip = false;
    QPainterPath m_baseClipPath;
    double m_pxPerMmX = 96 / 25.4, m_pxPerMmY = 96 / 25.4;
    Dc m_dc;
    std::vector<Dc> m_stack;
    std::map<quint32, Obj> m_objects;
    bool m_inPath = false;
    QPainterPath m_path;  // device coordinates
    QString m_problem;
    int m_skipped = 0;
    qint64 m_patternPixels = 0;
    int m_emfPlus = 0;   // EMF+ comments (their drawing is not played)
    int m_drawing = 0;   // records other than the header, comments and EOF
    TextMeasureCache m_measures;

    qint64 m_points = 0;    // work spent on this page
    double m_pixels = 0;
    double m_pixelBudget = kMaxPagePixels;
    bool m_overBudget = false;

    void problem(const QString& text, quint32 offset)
    {
        if (m_problem.isEmpty())
            m_problem = QStringLiteral("%1 at offset %2").arg(text).arg(offset);
    }
    // Charges work to the page; false once its budget is spent, and then the
    // record loop stops.
    bool spend(qint64 points, double pixels);
    // Target pixels a draw can touch: the part of the box on the device.
    double visibleArea(const QRectF& targetBox) const;
    void strokeInPieces(const QPainterPath& path);

    QTransform pageTransform() const;
    QTransform logicalToDevice() const { return m_dc.world * pageTransform(); }
    QTransform logicalToTarget() const { return logicalToDevice() * m_devToTarget * m_base; }
    void applyClip();

    QPen qpen() const;
    QBrush qbrush() const { return toBrush(m_dc.brush); }
    QBrush toBrush(const BrushObj& b) const;
    // Draws or, inside a path bracket, collects a logical-coordinate path.
    void draw(const QPainterPath& path, bool fill, bool stroke);
    void strokeFill(const QPainterPath& devicePath, bool fill, bool stroke);
    bool sane(const QRectF& r) const;

    bool record(quint32 type, const Rec& r, quint32 offset);
    // False, with a problem noted, when the record is shorter than `size`.
    bool need(const Rec& r, quint32 type, quint32 offset, quint32 size);
    // Each family handles its record types and returns false for others.
    bool stateRecord(quint32 type, const Rec& r, quint32 offset);
    bool clipRecord(quint32 type, const Rec& r, quint32 offset);
    bool objectRecord(quint32 type, const Rec& r, quint32 offset);
    bool shapeRecord(quint32 type, const Rec& r, quint32 offset);
    void polyline(const Rec& r, bool bits16, quint32 type, quint32 offset);
    void polypoly(const Rec& r, bool bits16, bool polygon, quint32 offset);
    void polydraw(const Rec& r, bool bits16, quint32 offset);
    void text(const Rec& r, bool wide, quint32 offset);
    void smallText(const Rec& r, quint32 offset);
    void arc(const Rec& r, quint32 type);
    void bitmap(const Rec& r, quint32 type, quint32 offset);
    void region(const Rec& r, quint32 type, quint32 offset);
    void selectObject(quint32 handle);
    // A fresh object of that kind in the handle's slot, or none for a handle
    // out of range.
    Obj* newObject(quint32 handle, Obj::Kind kind);
    void restoreDc(qint32 which);
    std::optional<QImage> dib(const Rec& r, quint32 offBmi, quint32 cbBmi, quint32 offBits, quint32 cbBits,
                              quint32 offset);
    std::optional<QRegion> regionData(const Rec& r, quint32 at, quint32 size);
    void combineClip(const QRegion& region, quint32 mode);
    static QRegion toRegion(const QPainterPath& devicePath);
};

}  // namespace emf::play
