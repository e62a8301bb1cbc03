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
        U32(type);
        U32(0);
    }
    Rec(const Rec&) = delete;
    Rec& operator=(const Rec&) = delete;

    Rec& U32(std::uint32_t v) { qToLittleEndian(v, Room(4)); return *this; }
    Rec& I32(std::int32_t v) { return U32(std::uint32_t(v)); }
    Rec& U16(std::uint16_t v) { qToLittleEndian(v, Room(2)); return *this; }
    Rec& U8(std::uint8_t v) { *Room(1) = char(v); return *this; }
    Rec& F32(float v) { std::uint32_t u; std::memcpy(&u, &v, 4); return U32(u); }
    Rec& Rect(int l, int t, int r, int b) { return I32(l).I32(t).I32(r).I32(b); }
    Rec& Bytes(const QByteArray& a)
    {
        if (!a.isEmpty())
            std::memcpy(Room(a.size()), a.constData(), size_t(a.size()));
        return *this;
    }
    Rec& Pad4() { while (m_size % 4) U8(0); return *this; }
    int Size() const { return int(m_size); }
    // Pads the record and writes its size; the bytes are then data()..size().
    void Seal()
    {
        Pad4();
        qToLittleEndian(std::uint32_t(m_size), m_data + 4);
    }
    const char* Data() const { return m_data; }
    QByteArray Finish()
    {
        Seal();
        return QByteArray(m_data, m_size);
    }

private:
    // Where the next n bytes go; a record outgrowing the inline buffer moves
    // to the heap.
    char* Room(qsizetype n)
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

    const TextMeasure& MeasureFor(const TFont& toMeasure)
    {
        if (!measured || !(toMeasure == measuredFont)) {
            measured = &measures.For(FontMapper::ToQFont(toMeasure));
            measuredFont = toMeasure;
        }
        return *measured;
    }

    void Add(Rec& r)
    {
        if (finished)
            return;
        r.Seal();
        body.append(r.Data(), r.Size());
        ++records;
    }
    void Bound(int l, int t, int r, int b)
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
    std::uint32_t AllocHandle()
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
    void Select(std::uint32_t h) { Rec r(EMR_SELECTOBJECT); r.U32(h); Add(r); }
    // Selects `next` in place of `sel`, deleting the object it replaces.
    void Replace(Selection& sel, std::uint32_t next)
    {
        Select(next);
        const std::uint32_t old = sel.handle;
        if (old != 0 && !(old & STOCK_BIT) && old != next) {
            Rec del(EMR_DELETEOBJECT);
            del.U32(old);
            Add(del);
            handles[old] = false;
        }
        sel.handle = next;
        sel.current = true;
    }

    void UsePen(const TPen& p)
    {
        if (Sel(penSel, p == pen)) {
            pen = p;
            if (p.Style == TPenStyle::psClear) {
                Replace(penSel, STOCK_BIT | NULL_PEN);
            } else {
                const std::uint32_t h = AllocHandle();
                Rec r(EMR_CREATEPEN);
                r.U32(h).U32(PenStyleCode(p.Style)).I32(std::max(0, p.Width)).I32(0).U32(p.Color & 0xFFFFFF);
                Add(r);
                Replace(penSel, h);
            }
        }
        const int rop = brp::PenModeToRop2(p.Mode);
        SetState(rop2, rop, EMR_SETROP2, std::uint32_t(rop));
    }
    void UseBrush(const TBrush& b)
    {
        if (!Sel(brushSel, b == brush))
            return;
        brush = b;
        if (b.Style == TBrushStyle::bsClear) {
            Replace(brushSel, STOCK_BIT | NULL_BRUSH);
        } else {
            const std::uint32_t h = AllocHandle();
            Rec r(EMR_CREATEBRUSHINDIRECT);
            r.U32(h).U32(BS_SOLID).U32(b.Color & 0xFFFFFF).U32(0);
            Add(r);
            Replace(brushSel, h);
        }
    }
    void UseFont(const TFont& f)
    {
        TFont a = f, b = font;
        a.Color = b.Color = clBlack;  // colour is the text colour, not the font
        a.PixelsPerInch = b.PixelsPerInch = 0;
        if (Sel(fontSel, a == b))
            CreateFont(f);
        SetState(textColor, f.Color, EMR_SETTEXTCOLOR, f.Color & 0xFFFFFF);
    }
    // True when a new object must be created; re-selects an unchanged object
    // after Refresh.
    bool Sel(Selection& s, bool same)
    {
        if (s.handle != 0 && same) {
            if (!s.current) {
                Select(s.handle);
                s.current = true;
            }
            return false;
        }
        return true;
    }
    void CreateFont(const TFont& f)
    {
        font = f;
        const std::uint32_t h = AllocHandle();
        Rec r(EMR_EXTCREATEFONTINDIRECTW);
        r.U32(h);
        r.I32(f.Height).I32(0).I32(0).I32(0).I32((f.Style & fsBold) ? 700 : 400);
        std::uint8_t pitch = 0;
        if (f.Pitch == TFontPitch::fpFixed)
            pitch = 1;
        else if (f.Pitch == TFontPitch::fpVariable)
            pitch = 2;
        r.U8((f.Style & fsItalic) ? 1 : 0).U8((f.Style & fsUnderline) ? 1 : 0)
            .U8((f.Style & fsStrikeOut) ? 1 : 0).U8(f.Charset).U8(0).U8(0).U8(0).U8(pitch);
        QString face = f.Name.left(31);
        for (int i = 0; i < 32; ++i)
            r.U16(i < face.size() ? face.at(i).unicode() : 0);
        Add(r);
        Replace(fontSel, h);
    }
    // Records a device-context setting only when it changes.
    template <class T>
    void SetState(T& current, T value, std::uint32_t type, std::uint32_t field)
    {
        if (value == current)
            return;
        Rec r(type);
        r.U32(field);
        Add(r);
        current = value;
    }
    void Shape(std::uint32_t type, int x1, int y1, int x2, int y2)
    {
        Rec r(type);
        r.Rect(x1, y1, x2, y2);
        Add(r);
    }
    void ShapeBounds(int x1, int y1, int x2, int y2, const TPen& p)
    {
        const int l = std::min(x1, x2), t = std::min(y1, y2);
        const int rr = std::max(x1, x2) - 1, b = std::max(y1, y2) - 1;
        const int w = p.Style == TPenStyle::psClear ? 0 : std::max(1, p.Width) / 2;
        Bound(l - w, t - w, std::max(l, rr) + w, std::max(t, b) + w);
    }

    qsizetype RecordBytes() const { return body.size() - headerRoom; }
    int HeaderSize() const { return kHeaderSize + ((int(description.size() + 2) * 2 + 3) & ~3); }

    QByteArray Header() const
    {
        Rec h(EMR_HEADER);
        if (anyBounds)
            h.Rect(bl, bt, br, bb);
        else
            h.Rect(0, 0, -1, -1);
        const int fw = int(std::lround(width * 2540.0 / ppi));
        const int fh = int(std::lround(height * 2540.0 / ppi));
        h.Rect(0, 0, fw - 1, fh - 1);
        QString desc = description;
        desc.append(QChar(0));
        desc.append(QChar(0));
        const int descBytes = int(desc.size()) * 2;
        const int headerSize = kHeaderSize + ((descBytes + 3) & ~3);
        h.U32(ENHMETA_SIGNATURE).U32(ENHMETA_VERSION);
        h.U32(std::uint32_t(headerSize + RecordBytes() + 20));  // nBytes, EOF included
        h.U32(records + 2);                                   // header and EOF too
        h.U16(maxHandles).U16(0);
        h.U32(std::uint32_t(desc.size())).U32(kHeaderSize).U32(0);
        // Reference device: a 20 x 15 inch screen at the recording resolution,
        // so its pixel and millimetre sizes agree exactly.
        h.I32(20 * ppi).I32(15 * ppi).I32(508).I32(381);
        h.U32(0).U32(0).U32(0);
        h.I32(508000).I32(381000);
        for (QChar c : desc)
            h.U16(c.unicode());
        return h.Finish();
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
    d->headerRoom = d->HeaderSize();
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
    r.I32(x).I32(y);
    d->Add(r);
    d->curX = x;
    d->curY = y;
}

void TMetafileCanvas::LineTo(int x, int y)
{
    d->UsePen(Pen);
    Rec r(EMR_LINETO);
    r.I32(x).I32(y);
    d->Add(r);
    if (Pen.Style != TPenStyle::psClear) {
        const int w = std::max(1, Pen.Width) / 2;
        d->Bound(std::min(d->curX, x) - w, std::min(d->curY, y) - w, std::max(d->curX, x) + w,
                 std::max(d->curY, y) + w);
    }
    d->curX = x;
    d->curY = y;
}

void TMetafileCanvas::Rectangle(int x1, int y1, int x2, int y2)
{
    d->UsePen(Pen);
    d->UseBrush(Brush);
    d->Shape(EMR_RECTANGLE, x1, y1, x2, y2);
    d->ShapeBounds(x1, y1, x2, y2, Pen);
}

void TMetafileCanvas::RoundRect(int x1, int y1, int x2, int y2, int cw, int ch)
{
    d->UsePen(Pen);
    d->UseBrush(Brush);
    Rec r(EMR_ROUNDRECT);
    r.Rect(x1, y1, x2, y2).I32(cw).I32(ch);
    d->Add(r);
    d->ShapeBounds(x1, y1, x2, y2, Pen);
}

void TMetafileCanvas::Ellipse(int x1, int y1, int x2, int y2)
{
    d->UsePen(Pen);
    d->UseBrush(Brush);
    d->Shape(EMR_ELLIPSE, x1, y1, x2, y2);
    d->ShapeBounds(x1, y1, x2, y2, Pen);
}

void TMetafileCanvas::FillRect(const TRect& rc)
{
    if (Brush.Style == TBrushStyle::bsClear || rc.Width() == 0 || rc.Height() == 0)
        return;
    d->UseBrush(Brush);
    // The platform records a brush fill as a pattern copy without a source.
    const int l = std::min(rc.Left, rc.Right), t = std::min(rc.Top, rc.Bottom);
    const int w = std::abs(rc.Width()), h = std::abs(rc.Height());
    Rec r(EMR_BITBLT);
    r.Rect(l, t, l + w - 1, t + h - 1);
    r.I32(l).I32(t).I32(w).I32(h).U32(PATCOPY).I32(0).I32(0);
    r.F32(1).F32(0).F32(0).F32(1).F32(0).F32(0);  // source transform: identity
    r.U32(0).U32(0).U32(0).U32(0).U32(0).U32(0);  // colour, usage, no bitmap
    d->Add(r);
    d->Bound(l, t, l + w - 1, t + h - 1);
}

QSize TMetafileCanvas::TextExtent(const QString& text)
{
    const TextMeasure& m = d->MeasureFor(Font);
    return QSize(m.Width(text), m.Height());
}

void TMetafileCanvas::TextOut(int x, int y, const QString& text, unsigned options)
{
    if (text.isEmpty())
        return;
    d->UseFont(Font);
    d->SetState(d->textAlign, m_textAlign, EMR_SETTEXTALIGN, m_textAlign);
    d->SetState(d->bkMode, m_bkMode, EMR_SETBKMODE, std::uint32_t(m_bkMode));
    if (m_bkMode == OPAQUE)
        d->SetState(d->bkColor, Brush.Color, EMR_SETBKCOLOR, Brush.Color & 0xFFFFFF);

    const TextMeasure& m = d->MeasureFor(Font);
    QVector<int> dx;
    const int width = m.Measure(text, nullptr, &dx);
    const QPoint anchor = m.Anchor(m_textAlign, x, y, width);
    const int left = anchor.x();
    const int top = anchor.y();

    const int n = int(text.size());
    const int strBytes = (n * 2 + 3) & ~3;
    const float scale = float(2540.0 / d->ppi);
    Rec r(EMR_EXTTEXTOUTW);
    r.Rect(left, top, left + std::max(width, 1) - 1, top + m.Height() - 1);
    r.U32(GM_COMPATIBLE).F32(scale).F32(scale);
    r.I32(x).I32(y).U32(std::uint32_t(n)).U32(kExtTextOutHeader).U32(options & ETO_RTLREADING);
    r.Rect(0, 0, -1, -1);
    r.U32(std::uint32_t(kExtTextOutHeader + strBytes));
    for (QChar c : text)
        r.U16(c.unicode());
    r.Pad4();
    for (int v : dx)
        r.I32(v);
    d->Add(r);
    d->Bound(left, top, left + std::max(width, 1) - 1, top + m.Height() - 1);
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
        ok = EmfPlayer::Play(emf, &p, QRectF(0, 0, w, h)).Ok();
    }
    const int bmiSize = 40;
    const int bitsSize = w * h * 4;
    Rec r(EMR_STRETCHDIBITS);
    r.Rect(l, t, l + w - 1, t + h - 1);
    r.I32(l).I32(t).I32(0).I32(0).I32(w).I32(h);
    r.U32(80).U32(bmiSize).U32(80 + bmiSize).U32(std::uint32_t(bitsSize));
    r.U32(0).U32(SRCCOPY).I32(w).I32(h);
    // BITMAPINFOHEADER: bottom-up, 32 bits, no compression.
    r.U32(40).I32(w).I32(h).U16(1).U16(32).U32(0).U32(std::uint32_t(bitsSize)).I32(0).I32(0).U32(0).U32(0);
    QByteArray bits;
    bits.resize(bitsSize);
    for (int row = 0; row < h; ++row)
        std::memcpy(bits.data() + qsizetype(row) * w * 4, img.constScanLine(h - 1 - row), size_t(w) * 4);
    r.Bytes(bits);
    d->Add(r);
    d->Bound(l, t, l + w - 1, t + h - 1);
    return ok;
}

void TMetafileCanvas::RemoveClipRegion()
{
    Rec r(EMR_EXTSELECTCLIPRGN);
    r.U32(0).U32(RGN_COPY);
    d->Add(r);
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
    const QByteArray head = d->Header();
    Rec eof(EMR_EOF);
    eof.U32(0).U32(16).U32(20);
    eof.Seal();
    QByteArray out = std::move(d->body);
    out.append(eof.Data(), eof.Size());
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
    if (d->finished || d->RecordBytes() > 0 || buffer.isDetached() == false)
        return;
    buffer.resize(d->headerRoom);
    d->body = std::move(buffer);
}
