#include "TMetafileCanvas.h"

#include "EmfPlayer.h"
#include "EmfRecords.h"
#include "FontMapper.h"
#include "TMetafile.h"
#include "TextMeasure.h"

#include <QImage>
#include <QPainter>
#include <QtEndian>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <vector>

using namespace emf;

namespace {

// Appends little-endian fields to a record under construction. Most records
// fit the inline buffer, so building one allocates nothing; fields are
// copied in place, as a page has tens of thousands of them.
class Rec {
public:
    explicit Rec(std::uint32_t type)
    {
        u32(type);
        u32(0);
    }
    Rec(const Rec&) = delete;
    Rec& operator=(const Rec&) = delete;

    Rec& u32(std::uint32_t v) { qToLittleEndian(v, room(4)); return *this; }
    Rec& i32(std::int32_t v) { return u32(std::uint32_t(v)); }
    Rec& u16(std::uint16_t v) { qToLittleEndian(v, room(2)); return *this; }
    Rec& u8(std::uint8_t v) { *room(1) = char(v); return *this; }
    Rec& f32(float v) { std::uint32_t u; std::memcpy(&u, &v, 4); return u32(u); }
    Rec& rect(int l, int t, int r, int b) { return i32(l).i32(t).i32(r).i32(b); }
    Rec& bytes(const QByteArray& a)
    {
        if (!a.isEmpty())
            std::memcpy(room(a.size()), a.constData(), size_t(a.size()));
        return *this;
    }
    Rec& pad4() { while (m_size % 4) u8(0); return *this; }
    int size() const { return int(m_size); }
    // Pads the record and writes its size; the bytes are then data()..size().
    void seal()
    {
        pad4();
        qToLittleEndian(std::uint32_t(m_size), m_data + 4);
    }
    const char* data() const { return m_data; }
    QByteArray finish()
    {
        seal();
        return QByteArray(m_data, m_size);
    }

private:
    // Where the next n bytes go; a record outgrowing the inline buffer moves
    // to the heap.
    char* room(qsizetype n)
    {
        if (m_size + n > m_capacity) {
            m_capacity = std::max(m_capacity * 2, m_size + n);
            const bool onHeap = m_data != m_inline;
            m_heap.resize(m_capacity); // keeps what a heap record already holds
            if (!onHeap)
                std::memcpy(m_heap.data(), m_inline, size_t(m_size));
            m_data = m_heap.data();
        }
        char* at = m_data + m_size;
        m_size += n;
        return at;
    }

    char m_inline[512];
    QByteArray m_heap;
    char* m_data = m_inline;
    qsizetype m_size = 0;
    qsizetype m_capacity = sizeof(m_inline);
};

std::uint32_t PenStyleCode(TPenStyle s)
{
    switch (s) {
    case TPenStyle::psSolid: return PS_SOLID;
    case TPenStyle::psDash: return PS_DASH;
    case TPenStyle::psDot: return PS_DOT;
    case TPenStyle::psDashDot: return PS_DASHDOT;
    case TPenStyle::psDashDotDot: return PS_DASHDOTDOT;
    case TPenStyle::psClear: return PS_NULL;
    case TPenStyle::psInsideFrame: return PS_INSIDEFRAME;
    }
    return PS_SOLID;
}

// Handle of the selected object of one kind: a created object (index) or a
// stock one (STOCK_BIT set); 0 before anything is selected.
struct Selection {
    std::uint32_t handle = 0;
    bool current = false;  // false after Refresh: select again before use
};

}  // namespace

struct TMetafileCanvas::Impl {
    int width = 0, height = 0, ppi = 96;
    QString description;
    TMetafile* target = nullptr;
    // The page: room for the header (written by Finish), then the records.
    QByteArray body;
    int headerRoom = 0;
    std::uint32_t records = 0;
    bool finished = false;
    QByteArray result;

    // Union of what was drawn, inclusive, in reference pixels.
    bool anyBounds = false;
    int bl = 0, bt = 0, br = 0, bb = 0;

    std::vector<bool> handles{true};  // index 0 reserved
    std::uint16_t maxHandles = 1;

    TPen pen;
    Selection penSel;
    TBrush brush;
    Selection brushSel;
    TFont font;
    Selection fontSel;
    int rop2 = 13;
    unsigned textAlign = 0;
    int bkMode = OPAQUE;
    TColor textColor = clBlack;
    TColor bkColor = clWhite;
    int curX = 0, curY = 0;
    TextMeasureCache measures;
    // The canvas font last measured: mapping a font to a QFont costs more
    // than the measuring itself, and pages use few fonts.
    TFont measuredFont;
    const TextMeasure* measured = nullptr;

    const TextMeasure& measureFor(const TFont& toMeasure)
    {
        if (!measured || !(toMeasure == measuredFont)) {
            measured = &measures.For(FontMapper::ToQFont(toMeasure));
            measuredFont = toMeasure;
        }
        return *measured;
    }

    void add(Rec& r)
    {
        if (finished)
            return;
        r.seal();
        body.append(r.data(), r.size());
        ++records;
    }
    void bound(int l, int t, int r, int b)
    {
        if (l > r)
            std::swap(l, r);
        if (t > b)
            std::swap(t, b);
        if (!anyBounds) {
            bl = l; bt = t; br = r; bb = b;
            anyBounds = true;
        } else {
            bl = std::min(bl, l); bt = std::min(bt, t);
            br = std::max(br, r); bb = std::max(bb, b);
        }
    }
    std::uint32_t allocHandle()
    {
        for (std::size_t i = 1; i < handles.size(); ++i)
            if (!handles[i]) {
                handles[i] = true;
                return std::uint32_t(i);
            }
        handles.push_back(true);
        maxHandles = std::uint16_t(std::min<std::size_t>(handles.size(), 0xFFFF));
        return std::uint32_t(handles.size() - 1);
    }
    void select(std::uint32_t h) { Rec r(EMR_SELECTOBJECT); r.u32(h); add(r); }
    // Selects `next` in place of `sel`, deleting the object it replaces.
    void replace(Selection& sel, std::uint32_t next)
    {
        select(next);
        const std::uint32_t old = sel.handle;
        if (old != 0 && !(old & STOCK_BIT) && old != next) {
            Rec del(EMR_DELETEOBJECT);
            del.u32(old);
            add(del);
            handles[old] = false;
        }
        sel.handle = next;
        sel.current = true;
    }

    void usePen(const TPen& p)
    {
        if (sel(penSel, p == pen)) {
            pen = p;
            if (p.Style == TPenStyle::psClear) {
                replace(penSel, STOCK_BIT | NULL_PEN);
            } else {
                const std::uint32_t h = allocHandle();
                Rec r(EMR_CREATEPEN);
                r.u32(h).u32(PenStyleCode(p.Style)).i32(std::max(0, p.Width)).i32(0).u32(p.Color & 0xFFFFFF);
                add(r);
                replace(penSel, h);
            }
        }
        const int rop = brp::PenModeToRop2(p.Mode);
        setState(rop2, rop, EMR_SETROP2, std::uint32_t(rop));
    }
    void useBrush(const TBrush& b)
    {
        if (!sel(brushSel, b == brush))
            return;
        brush = b;
        if (b.Style == TBrushStyle::bsClear) {
            replace(brushSel, STOCK_BIT | NULL_BRUSH);
        } else {
            const std::uint32_t h = allocHandle();
            Rec r(EMR_CREATEBRUSHINDIRECT);
            r.u32(h).u32(BS_SOLID).u32(b.Color & 0xFFFFFF).u32(0);
            add(r);
            replace(brushSel, h);
        }
    }
    void useFont(const TFont& f)
    {
        TFont a = f, b = font;
        a.Color = b.Color = clBlack;  // colour is the text colour, not the font
        a.PixelsPerInch = b.PixelsPerInch = 0;
        if (sel(fontSel, a == b))
            createFont(f);
        setState(textColor, f.Color, EMR_SETTEXTCOLOR, f.Color & 0xFFFFFF);
    }
    // True when a new object must be created; re-selects an unchanged object
    // after Refresh.
    bool sel(Selection& s, bool same)
    {
        if (s.handle != 0 && same) {
            if (!s.current) {
                select(s.handle);
                s.current = true;
            }
            return false;
        }
        return true;
    }
    void createFont(const TFont& f)
    {
        font = f;
        const std::uint32_t h = allocHandle();
        Rec r(EMR_EXTCREATEFONTINDIRECTW);
        r.u32(h);
        r.i32(f.Height).i32(0).i32(0).i32(0).i32((f.Style & fsBold) ? 700 : 400);
        std::uint8_t pitch = 0;
        if (f.Pitch == TFontPitch::fpFixed)
            pitch = 1;
        else if (f.Pitch == TFontPitch::fpVariable)
            pitch = 2;
        r.u8((f.Style & fsItalic) ? 1 : 0).u8((f.Style & fsUnderline) ? 1 : 0)
            .u8((f.Style & fsStrikeOut) ? 1 : 0).u8(f.Charset).u8(0).u8(0).u8(0).u8(pitch);
        QString face = f.Name.left(31);
        for (int i = 0; i < 32; ++i)
            r.u16(i < face.size() ? face.at(i).unicode() : 0);
        add(r);
        replace(fontSel, h);
    }
    // Records a device-context setting only when it changes.
    template <class T>
    void setState(T& current, T value, std::uint32_t type, std::uint32_t field)
    {
        if (value == current)
            return;
        Rec r(type);
        r.u32(field);
        add(r);
        current = value;
    }
    void shape(std::uint32_t type, int x1, int y1, int x2, int y2)
    {
        Rec r(type);
        r.rect(x1, y1, x2, y2);
        add(r);
    }
    void shapeBounds(int x1, int y1, int x2, int y2, const TPen& p)
    {
        const int l = std::min(x1, x2), t = std::min(y1, y2);
        const int rr = std::max(x1, x2) - 1, b = std::max(y1, y2) - 1;
        const int w = p.Style == TPenStyle::psClear ? 0 : std::max(1, p.Width) / 2;
        bound(l - w, t - w, std::max(l, rr) + w, std::max(t, b) + w);
    }

    qsizetype recordBytes() const { return body.size() - headerRoom; }
    int headerSize() const { return kHeaderSize + ((int(description.size() + 2) * 2 + 3) & ~3); }

    QByteArray header() const
    {
        Rec h(EMR_HEADER);
        if (anyBounds)
            h.rect(bl, bt, br, bb);
        else
            h.rect(0, 0, -1, -1);
        const int fw = int(std::lround(width * 2540.0 / ppi));
        const int fh = int(std::lround(height * 2540.0 / ppi));
        h.rect(0, 0, fw - 1, fh - 1);
        QString desc = description;
        desc.append(QChar(0));
        desc.append(QChar(0));
        const int descBytes = int(desc.size()) * 2;
        const int headerSize = kHeaderSize + ((descBytes + 3) & ~3);
        h.u32(ENHMETA_SIGNATURE).u32(ENHMETA_VERSION);
        h.u32(std::uint32_t(headerSize + recordBytes() + 20));  // nBytes, EOF included
        h.u32(records + 2);                                   // header and EOF too
        h.u16(maxHandles).u16(0);
        h.u32(std::uint32_t(desc.size())).u32(kHeaderSize).u32(0);
        // Reference device: a 20 x 15 inch screen at the recording resolution,
        // so its pixel and millimetre sizes agree exactly.
        h.i32(20 * ppi).i32(15 * ppi).i32(508).i32(381);
        h.u32(0).u32(0).u32(0);
        h.i32(508000).i32(381000);
        for (QChar c : desc)
            h.u16(c.unicode());
        return h.finish();
    }
};

TMetafileCanvas::TMetafileCanvas(int width, int height, int pixelsPerInch, const QString& description)
    : d(std::make_unique<Impl>())
{
    d->width = std::max(1, width);
    d->height = std::max(1, height);
    d->ppi = pixelsPerInch > 0 ? pixelsPerInch : 96;
    d->description = description.isEmpty() ? QStringLiteral("PedidosSemContas") + QChar(0) + QStringLiteral("Page")
                                           : description;
    d->headerRoom = d->headerSize();
    d->body.resize(d->headerRoom);
    Font.PixelsPerInch = d->ppi;
    // Font state starts out unselected: the first text selects the font.
    d->font.Name.clear();
}

TMetafileCanvas::TMetafileCanvas(TMetafile* metafile, int pixelsPerInch, const QString& description)
    : TMetafileCanvas(metafile ? metafile->Width() : 1, metafile ? metafile->Height() : 1, pixelsPerInch,
                      description)
{
    d->target = metafile;
}

TMetafileCanvas::~TMetafileCanvas()
{
    if (d->target && !d->finished)
        Finish();
}

int TMetafileCanvas::PixelsPerInchX() const { return d->ppi; }
int TMetafileCanvas::PixelsPerInchY() const { return d->ppi; }

void TMetafileCanvas::MoveTo(int x, int y)
{
    Rec r(EMR_MOVETOEX);
    r.i32(x).i32(y);
    d->add(r);
    d->curX = x;
    d->curY = y;
}

void TMetafileCanvas::LineTo(int x, int y)
{
    d->usePen(Pen);
    Rec r(EMR_LINETO);
    r.i32(x).i32(y);
    d->add(r);
    if (Pen.Style != TPenStyle::psClear) {
        const int w = std::max(1, Pen.Width) / 2;
        d->bound(std::min(d->curX, x) - w, std::min(d->curY, y) - w, std::max(d->curX, x) + w,
                 std::max(d->curY, y) + w);
    }
    d->curX = x;
    d->curY = y;
}

void TMetafileCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    d->usePen(Pen);
    d->useBrush(Brush);
    d->shape(EMR_RECTANGLE, x1, y1, x2, y2);
    d->shapeBounds(x1, y1, x2, y2, Pen);
}

void TMetafileCanvas::RoundRect(int x1, int y1, int x2, int y2, int cw, int ch)
{
    d->usePen(Pen);
    d->useBrush(Brush);
    Rec r(EMR_ROUNDRECT);
    r.rect(x1, y1, x2, y2).i32(cw).i32(ch);
    d->add(r);
    d->shapeBounds(x1, y1, x2, y2, Pen);
}

void TMetafileCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    d->usePen(Pen);
    d->useBrush(Brush);
    d->shape(EMR_ELLIPSE, x1, y1, x2, y2);
    d->shapeBounds(x1, y1, x2, y2, Pen);
}

void TMetafileCanvas::FillRect(const TRect& rc)
{
    if (Brush.Style == TBrushStyle::bsClear || rc.Width() == 0 || rc.Height() == 0)
        return;
    d->useBrush(Brush);
    // The platform records a brush fill as a pattern copy without a source.
    const int l = std::min(rc.Left, rc.Right), t = std::min(rc.Top, rc.Bottom);
    const int w = std::abs(rc.Width()), h = std::abs(rc.Height());
    Rec r(EMR_BITBLT);
    r.rect(l, t, l + w - 1, t + h - 1);
    r.i32(l).i32(t).i32(w).i32(h).u32(PATCOPY).i32(0).i32(0);
    r.f32(1).f32(0).f32(0).f32(1).f32(0).f32(0);  // source transform: identity
    r.u32(0).u32(0).u32(0).u32(0).u32(0).u32(0);  // colour, usage, no bitmap
    d->add(r);
    d->bound(l, t, l + w - 1, t + h - 1);
}

QSize TMetafileCanvas::TextExtent(const QString& text)
{
    const TextMeasure& m = d->measureFor(Font);
    return QSize(m.Width(text), m.Height());
}

void TMetafileCanvas::TextOut(int x, int y, const QString& text, unsigned options)
{
    if (text.isEmpty())
        return;
    d->useFont(Font);
    d->setState(d->textAlign, m_textAlign, EMR_SETTEXTALIGN, m_textAlign);
    d->setState(d->bkMode, m_bkMode, EMR_SETBKMODE, std::uint32_t(m_bkMode));
    if (m_bkMode == OPAQUE)
        d->setState(d->bkColor, Brush.Color, EMR_SETBKCOLOR, Brush.Color & 0xFFFFFF);

    const TextMeasure& m = d->measureFor(Font);
    QVector<int> dx;
    const int width = m.Measure(text, nullptr, &dx);
    const QPoint anchor = m.Anchor(m_textAlign, x, y, width);
    const int left = anchor.x();
    const int top = anchor.y();

    const int n = int(text.size());
    const int strBytes = (n * 2 + 3) & ~3;
    const float scale = float(2540.0 / d->ppi);
    Rec r(EMR_EXTTEXTOUTW);
    r.rect(left, top, left + std::max(width, 1) - 1, top + m.Height() - 1);
    r.u32(GM_COMPATIBLE).f32(scale).f32(scale);
    r.i32(x).i32(y).u32(std::uint32_t(n)).u32(kExtTextOutHeader).u32(options & ETO_RTLREADING);
    r.rect(0, 0, -1, -1);
    r.u32(std::uint32_t(kExtTextOutHeader + strBytes));
    for (QChar c : text)
        r.u16(c.unicode());
    r.pad4();
    for (int v : dx)
        r.i32(v);
    d->add(r);
    d->bound(left, top, left + std::max(width, 1) - 1, top + m.Height() - 1);
}

bool TMetafileCanvas::StretchDraw(const TRect& rc, const QByteArray& emf)
{
    // A picture inside a recording is kept as a bitmap of the target size.
    const int l = std::min(rc.Left, rc.Right), t = std::min(rc.Top, rc.Bottom);
    const int w = std::abs(rc.Width()), h = std::abs(rc.Height());
    if (w == 0 || h == 0 || qint64(w) * h > 16 * 1024 * 1024)
        return false;
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    bool ok;
    {
        QPainter p(&img);
        ok = EmfPlayer::Play(emf, &p, QRectF(0, 0, w, h)).ok();
    }
    const int bmiSize = 40;
    const int bitsSize = w * h * 4;
    Rec r(EMR_STRETCHDIBITS);
    r.rect(l, t, l + w - 1, t + h - 1);
    r.i32(l).i32(t).i32(0).i32(0).i32(w).i32(h);
    r.u32(80).u32(bmiSize).u32(80 + bmiSize).u32(std::uint32_t(bitsSize));
    r.u32(0).u32(SRCCOPY).i32(w).i32(h);
    // BITMAPINFOHEADER: bottom-up, 32 bits, no compression.
    r.u32(40).i32(w).i32(h).u16(1).u16(32).u32(0).u32(std::uint32_t(bitsSize)).i32(0).i32(0).u32(0).u32(0);
    QByteArray bits;
    bits.resize(bitsSize);
    for (int row = 0; row < h; ++row)
        std::memcpy(bits.data() + qsizetype(row) * w * 4, img.constScanLine(h - 1 - row), size_t(w) * 4);
    r.bytes(bits);
    d->add(r);
    d->bound(l, t, l + w - 1, t + h - 1);
    return ok;
}

void TMetafileCanvas::RemoveClipRegion()
{
    Rec r(EMR_EXTSELECTCLIPRGN);
    r.u32(0).u32(RGN_COPY);
    d->add(r);
}

void TMetafileCanvas::Refresh()
{
    d->penSel.current = false;
    d->brushSel.current = false;
    d->fontSel.current = false;
}

QByteArray TMetafileCanvas::Finish()
{
    if (d->finished)
        return d->result;
    // The header goes into the room left at the front: the page is never
    // copied to put it there.
    const QByteArray head = d->header();
    Rec eof(EMR_EOF);
    eof.u32(0).u32(16).u32(20);
    eof.seal();
    QByteArray out = std::move(d->body);
    out.append(eof.data(), eof.size());
    if (head.size() == d->headerRoom)
        std::memcpy(out.data(), head.constData(), size_t(head.size()));
    else
        out.replace(0, d->headerRoom, head);
    d->finished = true;
    d->body = QByteArray();
    d->result = out;
    if (d->target)
        d->target->SetData(out);
    return out;
}

void TMetafileCanvas::ReuseBuffer(QByteArray buffer)
{
    if (d->finished || d->recordBytes() > 0 || buffer.isDetached() == false)
        return;
    buffer.resize(d->headerRoom);
    d->body = std::move(buffer);
}
