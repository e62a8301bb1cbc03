// EMF player: device-independent bitmaps and the records that draw them.
#include "EmfPlayer_p.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

using namespace emf;

namespace emf::play {

std::optional<QImage> Player::Dib(const Rec& r, quint32 offBmi, quint32 cbBmi, quint32 offBits, quint32 cbBits,
                                  quint32 offset)
{
    if (cbBmi < 12 || !r.Has(offBmi, cbBmi) || !r.Has(offBits, cbBits)) {
        Problem(QStringLiteral("bitmap outside its record"), offset);
        return std::nullopt;
    }
    const quint32 hsize = r.U32(offBmi);
    qint64 width, height;
    quint32 bpp, compression = 0, clrUsed = 0;
    quint32 palOff;
    int palEntry = 4;
    if (hsize == 12) {  // BITMAPCOREHEADER
        width = r.U16(offBmi + 4);
        height = r.I16(offBmi + 6);
        bpp = r.U16(offBmi + 10);
        palOff = offBmi + 12;
        palEntry = 3;
    } else {
        if (hsize < 40 || hsize > cbBmi) {
            Problem(QStringLiteral("unknown bitmap header"), offset);
            return std::nullopt;
        }
        width = r.I32(offBmi + 4);
        height = r.I32(offBmi + 8);
        bpp = r.U16(offBmi + 14);
        compression = r.U32(offBmi + 16);
        clrUsed = r.U32(offBmi + 32);
        palOff = offBmi + hsize;
    }
    if (compression == 4 || compression == 5) {  // embedded JPEG or PNG
        QImage img;
        if (cbBits == 0 || !img.loadFromData(r.p + offBits, int(cbBits)) || img.isNull())
            return std::nullopt;
        if (qint64(img.width()) * img.height() > kMaxDibPixels)
            return std::nullopt;
        if (!Spend(0, double(img.width()) * img.height()))
            return std::nullopt;
        return img;
    }
    const bool topDown = height < 0;
    height = std::abs(height);
    if (width <= 0 || height <= 0 || width > kMaxDibSide || height > kMaxDibSide || width * height > kMaxDibPixels) {
        Problem(QStringLiteral("bitmap size out of range"), offset);
        return std::nullopt;
    }
    if (!Spend(0, double(width) * double(height)))  // decoding
        return std::nullopt;
    if (!(bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32)
        || !(compression == 0 || compression == 3)) {
        return std::nullopt;  // RLE and odd depths are not painted
    }
    quint32 masks[3] = {0, 0, 0};
    if (compression == 3) {
        // Bit fields follow a 40-byte header (or live inside a larger one).
        const quint32 at = offBmi + 40;
        if (!r.Has(at, 12)) return std::nullopt;
        for (int i = 0; i < 3; ++i)
            masks[i] = r.U32(at + quint32(i) * 4);
        if (hsize == 40)
            palOff += 12;
    } else if (bpp == 16) {
        masks[0] = 0x7C00; masks[1] = 0x03E0; masks[2] = 0x001F;
    } else if (bpp == 32) {
        masks[0] = 0xFF0000; masks[1] = 0xFF00; masks[2] = 0xFF;
    }
    QVector<QRgb> palette;
    if (bpp <= 8) {
        quint32 entries = clrUsed ? clrUsed : (1u << bpp);
        entries = std::min<quint32>(entries, 256);
        const quint32 avail = (offBmi + cbBmi > palOff) ? (offBmi + cbBmi - palOff) / quint32(palEntry) : 0;
        entries = std::min(entries, avail);
        for (quint32 i = 0; i < entries; ++i) {
            const quint32 o = palOff + i * quint32(palEntry);
            palette.append(qRgb(r.p[o + 2], r.p[o + 1], r.p[o]));
        }
        while (palette.size() < (1 << bpp))
            palette.append(palette.isEmpty() && bpp == 1 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    }
    const qint64 stride = ((width * bpp + 31) / 32) * 4;
    if (stride * height > qint64(cbBits)) {
        Problem(QStringLiteral("bitmap bits shorter than the image"), offset);
        return std::nullopt;
    }
    auto channel = [](quint32 v, quint32 mask) -> int {
        if (!mask) return 0;
        while (!(mask & 1)) { mask >>= 1; v >>= 1; }
        return int(((v & mask) * 255) / mask);
    };
    QImage img(int(width), int(height), QImage::Format_RGB32);
    if (img.isNull())
        return std::nullopt;
    for (qint64 y = 0; y < height; ++y) {
        const uchar* row = r.p + offBits + (topDown ? y : height - 1 - y) * stride;
        QRgb* out = reinterpret_cast<QRgb*>(img.scanLine(int(y)));
        for (qint64 x = 0; x < width; ++x) {
            switch (bpp) {
            case 1: out[x] = palette[(row[x / 8] >> (7 - x % 8)) & 1]; break;
            case 4: out[x] = palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF]; break;
            case 8: out[x] = palette[row[x]]; break;
            case 16: {
                const quint32 v = qFromLittleEndian<quint16>(row + x * 2);
                out[x] = qRgb(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
                break;
            }
            case 24: out[x] = qRgb(row[x * 3 + 2], row[x * 3 + 1], row[x * 3]); break;
            default: {
                const quint32 v = qFromLittleEndian<quint32>(row + x * 4);
                out[x] = qRgb(channel(v, masks[0]), channel(v, masks[1]), channel(v, masks[2]));
                break;
            }
            }
        }
    }
    if (!topDown)
        img.setText(QStringLiteral("bottomup"), QStringLiteral("1"));
    return img;
}

void Player::Bitmap(const Rec& r, quint32 type, quint32 offset)
{
    // Source positions index a bitmap of at most kMaxDibSide pixels a side:
    // clamping them keeps rectangle arithmetic from overflowing.
    auto sc = [&](quint32 o) { return std::clamp(r.I32(o), -kMaxDibSide, kMaxDibSide); };
    QRectF dest;
    QRect src;
    quint32 rop = SRCCOPY;
    quint32 offBmi = 0, cbBmi = 0, offBits = 0, cbBits = 0;
    switch (type) {
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_ALPHABLEND:
    case EMR_TRANSPARENTBLT: {
        if (!r.Has(0, 100)) return Problem(QStringLiteral("short bitmap record"), offset);
        dest = QRectF(r.I32(24), r.I32(28), r.I32(32), r.I32(36));
        rop = r.U32(40);
        offBmi = r.U32(84); cbBmi = r.U32(88); offBits = r.U32(92); cbBits = r.U32(96);
        src = QRect(sc(44), sc(48), sc(32), sc(36));
        if (type != EMR_BITBLT) {
            if (!r.Has(0, 108)) return Problem(QStringLiteral("short bitmap record"), offset);
            src.setSize(QSize(sc(100), sc(104)));
        }
        if (cbBmi == 0) {
            // No source: a pattern fill with the current brush.
            if (type != EMR_BITBLT)
                return;
            QPainterPath p;
            p.addRect(dest.normalized());
            const BrushObj keep = m_dc.brush;
            if (rop == 0x00000042)
                m_dc.brush = BrushObj{false, Qt::black, -1, {}};
            else if (rop == 0x00FF0062)
                m_dc.brush = BrushObj{false, Qt::white, -1, {}};
            else if (rop == 0x00AA0029 || rop == 0x00550009)
                return;
            const PenObj pen = m_dc.pen;
            m_dc.pen.null = true;
            Draw(p, true, false);
            m_dc.pen = pen;
            m_dc.brush = keep;
            return;
        }
        break;
    }
    case EMR_STRETCHDIBITS:
        if (!r.Has(0, 80)) return Problem(QStringLiteral("short bitmap record"), offset);
        src = QRect(sc(32), sc(36), sc(40), sc(44));
        offBmi = r.U32(48); cbBmi = r.U32(52); offBits = r.U32(56); cbBits = r.U32(60);
        rop = r.U32(68);
        dest = QRectF(r.I32(24), r.I32(28), r.I32(72), r.I32(76));
        break;
    case EMR_SETDIBITSTODEVICE:
        if (!r.Has(0, 76)) return Problem(QStringLiteral("short bitmap record"), offset);
        src = QRect(sc(32), sc(36), sc(40), sc(44));
        offBmi = r.U32(48); cbBmi = r.U32(52); offBits = r.U32(56); cbBits = r.U32(60);
        dest = QRectF(r.I32(24), r.I32(28), src.width(), src.height());
        break;
    default: return;
    }
    if (rop == 0x00AA0029)
        return;
    const auto img = Dib(r, offBmi, cbBmi, offBits, cbBits, offset);
    if (!img)
        return;
    QRect s = src;
    if (s.width() <= 0 || s.height() <= 0)
        s = img->rect();
    else if (!img->text(QStringLiteral("bottomup")).isEmpty() && type != EMR_BITBLT && type != EMR_STRETCHBLT)
        s.moveTop(img->height() - s.top() - s.height());  // DIB origin at the lower left
    s = s.intersected(img->rect());
    if (s.isEmpty())
        s = img->rect();
    if (m_inPath)
        return;
    const QTransform t = LogicalToTarget();
    if (!Sane(t.mapRect(dest)))
        return;
    if (!Spend(0, VisibleArea(t.mapRect(dest))))
        return;
    m_painter->setTransform(t);
    m_painter->drawImage(dest, *img, QRectF(s));
}

}  // namespace emf::play
