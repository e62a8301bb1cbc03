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
    bool Has(quint64 off, quint64 len) const { return off <= n && len <= n - off; }
    quint32 U32(quint32 off) const { return qFromLittleEndian<quint32>(p + off); }
    qint32 I32(quint32 off) const { return qFromLittleEndian<qint32>(p + off); }
    quint16 U16(quint32 off) const { return qFromLittleEndian<quint16>(p + off); }
    qint16 I16(quint32 off) const { return qFromLittleEndian<qint16>(p + off); }
    float F32(quint32 off) const
    {
        const quint32 u = U32(off);
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

    EmfPlayResult Run();

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

    void Problem(const QString& text, quint32 offset)
    {
        if (m_problem.isEmpty())
            m_problem = QStringLiteral("%1 at offset %2").arg(text).arg(offset);
    }
    // Charges work to the page; false once its budget is spent, and then the
    // record loop stops.
    bool Spend(qint64 points, double pixels);
    // Target pixels a draw can touch: the part of the box on the device.
    double VisibleArea(const QRectF& targetBox) const;
    void StrokeInPieces(const QPainterPath& path);

    QTransform PageTransform() const;
    QTransform LogicalToDevice() const { return m_dc.world * PageTransform(); }
    QTransform LogicalToTarget() const { return LogicalToDevice() * m_devToTarget * m_base; }
    void ApplyClip();

    QPen Qpen() const;
    QBrush Qbrush() const { return ToBrush(m_dc.brush); }
    QBrush ToBrush(const BrushObj& b) const;
    // Draws or, inside a path bracket, collects a logical-coordinate path.
    void Draw(const QPainterPath& path, bool fill, bool stroke);
    void StrokeFill(const QPainterPath& devicePath, bool fill, bool stroke);
    bool Sane(const QRectF& r) const;

    bool Record(quint32 type, const Rec& r, quint32 offset);
    // False, with a problem noted, when the record is shorter than `size`.
    bool Need(const Rec& r, quint32 type, quint32 offset, quint32 size);
    // Each family handles its record types and returns false for others.
    bool StateRecord(quint32 type, const Rec& r, quint32 offset);
    bool ClipRecord(quint32 type, const Rec& r, quint32 offset);
    bool ObjectRecord(quint32 type, const Rec& r, quint32 offset);
    bool ShapeRecord(quint32 type, const Rec& r, quint32 offset);
    void Polyline(const Rec& r, bool bits16, quint32 type, quint32 offset);
    void Polypoly(const Rec& r, bool bits16, bool polygon, quint32 offset);
    void Polydraw(const Rec& r, bool bits16, quint32 offset);
    void Text(const Rec& r, bool wide, quint32 offset);
    void SmallText(const Rec& r, quint32 offset);
    void Arc(const Rec& r, quint32 type);
    void Bitmap(const Rec& r, quint32 type, quint32 offset);
    void Region(const Rec& r, quint32 type, quint32 offset);
    void SelectObject(quint32 handle);
    // A fresh object of that kind in the handle's slot, or none for a handle
    // out of range.
    Obj* NewObject(quint32 handle, Obj::Kind kind);
    void RestoreDc(qint32 which);
    std::optional<QImage> Dib(const Rec& r, quint32 offBmi, quint32 cbBmi, quint32 offBits, quint32 cbBits,
                              quint32 offset);
    std::optional<QRegion> RegionData(const Rec& r, quint32 at, quint32 size);
    void CombineClip(const QRegion& region, quint32 mode);
    static QRegion ToRegion(const QPainterPath& devicePath);
};

}  // namespace emf::play
