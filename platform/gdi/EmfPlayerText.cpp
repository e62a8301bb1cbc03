// EMF player: text records.
#include "EmfPlayer_p.h"

#include "FontMapper.h"
#include "Win1252Text.h"

#include <QGlyphRun>
#include <QPaintEngine>
#include <QPainter>
#include <algorithm>
#include <cmath>

using namespace emf;

namespace emf::play {

// Windows-1252 for the 8-bit text records.
QString DecodeAnsi(const uchar* s, int n)
{
    return brp::win1252ToQString(reinterpret_cast<const char*>(s), n);
}

void Player::SmallText(const Rec& r, quint32 offset)
{
    // x, y, cChars, fuOptions, iGraphicsMode, exScale, eyScale, [bounds], text
    if (!r.Has(0, 36)) return Problem(QStringLiteral("short text record"), offset);
    const quint32 n = r.U32(16), opts = r.U32(20);
    quint32 at = 36;
    if (!(opts & 0x100))  // ETO_NO_RECT
        at += 16;
    const bool ansi = opts & 0x200;  // ETO_SMALL_CHARS
    if (quint64(n) * (ansi ? 1 : 2) > quint64(r.n) - std::min<quint64>(at, r.n) || at > r.n)
        return Problem(QStringLiteral("text beyond record"), offset);
    QString s;
    if (ansi)
        s = DecodeAnsi(r.p + at, int(n));
    else
        for (quint32 i = 0; i < n; ++i)
            s.append(QChar(r.U16(at + i * 2)));
    // Re-encode as an EMR_EXTTEXTOUTW-like call through the common path.
    QByteArray rec(int(kExtTextOutHeader + s.size() * 2 + 4), '\0');
    uchar* p = reinterpret_cast<uchar*>(rec.data());
    qToLittleEndian<quint32>(EMR_EXTTEXTOUTW, p);
    qToLittleEndian<quint32>(quint32(rec.size()), p + 4);
    qToLittleEndian<qint32>(r.I32(8), p + 36);
    qToLittleEndian<qint32>(r.I32(12), p + 40);
    qToLittleEndian<quint32>(quint32(s.size()), p + 44);
    qToLittleEndian<quint32>(kExtTextOutHeader, p + 48);
    qToLittleEndian<quint32>(opts & (ETO_GLYPH_INDEX | ETO_RTLREADING), p + 52);
    for (int i = 0; i < s.size(); ++i)
        qToLittleEndian<quint16>(s.at(i).unicode(), p + kExtTextOutHeader + i * 2);
    Rec rr{p, quint32(rec.size())};
    Text(rr, true, offset);
}

void Player::Text(const Rec& r, bool wide, quint32 offset)
{
    if (!r.Has(0, kExtTextOutHeader)) return Problem(QStringLiteral("short text record"), offset);
    const QPointF ref(r.I32(36), r.I32(40));
    const quint32 n = r.U32(44), offString = r.U32(48), options = r.U32(52), offDx = r.U32(72);
    const QRectF optRect(QPointF(r.I32(56), r.I32(60)), QPointF(r.I32(64), r.I32(68)));
    if (n == 0) {
        if (options & ETO_OPAQUE) {
            QPainterPath p;
            p.addRect(optRect.normalized());
            const BrushObj keep = m_dc.brush;
            const PenObj pen = m_dc.pen;
            m_dc.brush = BrushObj{false, m_dc.bkColor, -1, {}};
            m_dc.pen.null = true;
            Draw(p, true, false);
            m_dc.brush = keep;
            m_dc.pen = pen;
        }
        return;
    }
    const quint64 charBytes = quint64(n) * (wide ? 2 : 1);
    if (!r.Has(offString, charBytes)) return Problem(QStringLiteral("text beyond record"), offset);
    const bool glyphIndex = options & ETO_GLYPH_INDEX;
    QString s;
    QVector<quint32> glyphIdx;
    if (wide) {
        s.resize(int(n));
        for (quint32 i = 0; i < n; ++i) {
            const quint16 u = r.U16(offString + i * 2);
            s[int(i)] = QChar(u);
            if (glyphIndex)
                glyphIdx.append(u);
        }
    } else {
        s = DecodeAnsi(r.p + offString, int(n));
    }
    const bool pdy = options & ETO_PDY;
    QVector<QPointF> adv;
    if (offDx != 0 && r.Has(offDx, quint64(n) * (pdy ? 8 : 4))) {
        adv.reserve(int(n));
        for (quint32 i = 0; i < n; ++i)
            adv.append(pdy ? QPointF(r.I32(offDx + i * 8), r.I32(offDx + i * 8 + 4)) : QPointF(r.I32(offDx + i * 4), 0));
    }

    const FontObj& f = m_dc.font;
    QFont qf = FontMapper::ToQFont(f.face, f.height, f.weight, f.italic, f.underline, f.strikeOut, f.charset, f.pitch);
    if (glyphIndex && FontMapper::MapFamily(f.face).compare(f.face, Qt::CaseInsensitive) != 0) {
        // Glyph numbers of a face that is not installed would pick wrong glyphs.
        ++m_skipped;
        return;
    }
    const TextMeasure& m = m_measures.For(qf);
    QVector<quint32> glyphs;
    QVector<int> natural;
    m.Measure(s, &glyphs, &natural);
    if (glyphIndex)
        glyphs = glyphIdx;
    if (adv.isEmpty()) {
        for (int v : natural)
            adv.append(QPointF(v, 0));
    }
    double width = 0;
    for (const QPointF& a : adv)
        width += a.x();
    if (!std::isfinite(width))
        return;

    const quint32 align = m_dc.textAlign;
    const bool updateCp = align & TA_UPDATECP;
    QPointF origin = updateCp ? m_dc.cur : ref;
    double dx = 0;
    if ((align & TA_CENTER) == TA_CENTER)
        dx = -std::trunc(width / 2);  // integer halving, as the recorder placed it
    else if (align & TA_RIGHT)
        dx = -width;
    double baseline = m.Ascent();
    if ((align & TA_BASELINE) == TA_BASELINE)
        baseline = 0;
    else if (align & TA_BOTTOM)
        baseline = -m.Descent();
    if (updateCp)
        m_dc.cur = QPointF(origin.x() + ((align & TA_RIGHT) && (align & TA_CENTER) != TA_CENTER ? -width : width),
                           origin.y());
    if (m_inPath)
        return;

    // Text stays upright whatever the axis directions: draw in a local frame
    // at the mapped reference point, scaled by the magnitudes only.
    const QTransform l2t = LogicalToTarget();
    const QPointF o = l2t.map(origin);
    const QPointF ux = l2t.map(origin + QPointF(1, 0)) - o;
    const QPointF uy = l2t.map(origin + QPointF(0, 1)) - o;
    const double sx = std::hypot(ux.x(), ux.y()), sy = std::hypot(uy.x(), uy.y());
    if (!Sane(QRectF(o, QSizeF(1, 1))) || !(sx > 0) || !(sy > 0) || sx * width > kMaxCoordinate
        || sy * m.Height() > kMaxCoordinate)
        return;
    if (!Spend(n, VisibleArea(QRectF(o.x() - sx * width, o.y() - sy * m.Height(), 3 * sx * width,
                                     3 * sy * m.Height()))))
        return;
    QTransform local;
    local.translate(o.x(), o.y());
    const double rot = std::atan2(ux.y(), ux.x()) * 180 / M_PI - f.escapement / 10.0;
    if (rot != 0)
        local.rotate(rot);
    local.scale(sx, sy);

    if ((options & ETO_OPAQUE) && optRect.width() != 0) {
        m_painter->setTransform(l2t);
        m_painter->fillRect(optRect.normalized(), m_dc.bkColor);
    }
    // A clip needs the painter's state saved and restored. Without one the
    // text leaves its transform and pen behind, which every drawing sets for
    // itself: vector devices (PDF) are spared a graphics state per text.
    const bool clipped = options & ETO_CLIPPED;
    if (clipped) {
        m_painter->save();
        m_painter->setTransform(l2t);
        m_painter->setClipRect(optRect.normalized(), Qt::IntersectClip);
    }
    // Upright text at scale 1 (a page played at its own size) is placed by
    // its position alone, with no transform of its own to switch to.
    // (Setting the same transform again would still start a new graphics
    // state in a PDF.)
    QPointF at(0, 0);
    const QTransform use = rot == 0 && sx == 1 && sy == 1 ? QTransform() : local;
    if (use.isIdentity())
        at = o;
    if (m_painter->transform() != use)
        m_painter->setTransform(use);
    if (m_dc.bkMode == OPAQUE)
        m_painter->fillRect(QRectF(at.x() + dx, at.y() + baseline - m.Ascent(), width, m.Height()), m_dc.bkColor);
    QVector<quint32> runGlyphs;
    QVector<QPointF> positions;
    double x = dx, y = 0;
    for (int i = 0; i < glyphs.size() && i < adv.size(); ++i) {
        if (glyphIndex || !(s.at(i).isLowSurrogate() && glyphs[i] == 0)) {
            runGlyphs.append(glyphs[i]);
            positions.append(QPointF(x - dx, y));
        }
        x += adv[i].x();
        y += adv[i].y();
    }
    if (m.RawFont().isValid()) {
        // On pixel surfaces, glyphs that come out very large or very stretched
        // are drawn as outlines: the raster glyph cache cannot hold them (and
        // mishandles them). Vector surfaces (PDF, printers) keep real text.
        const double em = m.Font().pixelSize();
        const QPaintEngine* engine = m_painter->paintEngine();
        const bool raster = !engine || engine->type() != QPaintEngine::Pdf;
        const bool outlines =
            raster && (em * std::max(sx, sy) > kMaxCachedGlyph || std::max(sx, sy) > 8 * std::min(sx, sy));
        if (outlines) {
            QPainterPath path;
            for (int i = 0; i < runGlyphs.size(); ++i)
                path.addPath(m.RawFont().pathForGlyph(runGlyphs[i]).translated(positions[i]));
            m_painter->fillPath(path.translated(at.x() + dx, at.y() + baseline), m_dc.textColor);
        } else {
            QGlyphRun run;
            run.setRawFont(m.RawFont());
            run.setGlyphIndexes(runGlyphs);
            run.setPositions(positions);
            m_painter->setPen(m_dc.textColor);
            m_painter->drawGlyphRun(at + QPointF(dx, baseline), run);
        }
        m.DrawDecorations(m_painter, at.x() + dx, at.y() + baseline, width, f.underline, f.strikeOut,
                          m_dc.textColor);
    }
    if (clipped)
        m_painter->restore();
}

}  // namespace emf::play
