#include "EmfTestSupport.h"

#include "EmfRecords.h"
#include "TMetafileCanvas.h"

namespace emftest {

void DrawSamplePage(TCanvas& c, const QByteArray& nestedPicture)
{
    c.Font.Name = QStringLiteral("Arial");
    c.Font.SetSize(14);
    c.Font.Style = fsBold;
    c.SetBkMode(TRANSPARENT);
    c.SetTextAlign(TA_LEFT | TA_TOP);
    c.TextOut(40, 30, kAccented);

    c.Font.SetSize(10);
    c.Font.Style = 0;
    c.Font.Color = clNavy;
    c.SetTextAlign(TA_RIGHT | TA_TOP);
    c.TextOut(754, 80, QStringLiteral("Total: 1.234,56"));
    c.SetTextAlign(TA_CENTER | TA_TOP);
    c.TextOut(397, 80, QStringLiteral("Página 1"));

    c.Font.Name = QStringLiteral("Times New Roman");
    c.Font.Style = fsItalic | fsUnderline;
    c.Font.Color = clBlack;
    c.SetTextAlign(TA_LEFT | TA_TOP);
    c.SetBkMode(OPAQUE);
    c.Brush.Color = clYellow;
    c.TextOut(40, 110, QStringLiteral("Fundo opaco"));

    c.Font.Name = QStringLiteral("Courier New");
    c.Font.Style = 0;
    c.SetBkMode(TRANSPARENT);
    c.TextOut(40, 140, QStringLiteral("Código 0123456789"));

    // Rule under the header, solid then dashed.
    c.Pen.Color = clBlack;
    c.Pen.Width = 2;
    c.MoveTo(40, 170);
    c.LineTo(754, 170);
    c.Pen.Width = 1;
    c.Pen.Style = TPenStyle::psDash;
    c.MoveTo(40, 180);
    c.LineTo(754, 180);

    c.Pen.Style = TPenStyle::psSolid;
    c.Pen.Color = clRed;
    c.Brush.Color = brp::RGBColor(0xC0, 0xE0, 0xFF);
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Rectangle(40, 200, 240, 300);
    c.Pen.Color = clGreen;
    c.Brush.Style = TBrushStyle::bsClear;
    c.Ellipse(300, 200, 500, 300);
    c.Pen.Color = clBlue;
    c.Pen.Style = TPenStyle::psDot;
    c.Brush.Style = TBrushStyle::bsSolid;
    c.Brush.Color = brp::RGBColor(0xE0, 0xFF, 0xE0);
    c.RoundRect(560, 200, 754, 300, 30, 30);

    c.Brush.Color = brp::RGBColor(0x80, 0x80, 0x80);
    c.FillRect(TRect{40, 330, 754, 350});
    c.RemoveClipRegion();

    if (!nestedPicture.isEmpty())
        c.StretchDraw(TRect{40, 380, 240, 480}, nestedPicture);
}

std::vector<RecordInfo> Records(const QByteArray& emf)
{
    std::vector<RecordInfo> out;
    qsizetype off = 0;
    while (off + 8 <= emf.size()) {
        const std::uint32_t type = U32(emf, off), size = U32(emf, off + 4);
        if (size < 8 || off + size > emf.size())
            break;
        out.push_back({type, std::uint32_t(off), size});
        off += size;
        if (type == emf::EMR_EOF)
            break;
    }
    return out;
}

Writer& Writer::Record(std::uint32_t type, const std::vector<std::uint32_t>& fields)
{
    char b[4];
    qToLittleEndian(type, b);
    m_body.append(b, 4);
    qToLittleEndian(std::uint32_t(8 + 4 * fields.size()), b);
    m_body.append(b, 4);
    for (std::uint32_t f : fields) {
        qToLittleEndian(f, b);
        m_body.append(b, 4);
    }
    return *this;
}

QByteArray Writer::Bytes(bool withEof) const
{
    Writer h;
    // 100 x 100 pixels at 96 dpi: frame 0..2645 in 0.01 mm.
    if (!m_header.empty())
        h.Record(emf::EMR_HEADER, m_header);
    else
        h.Record(emf::EMR_HEADER, {0, 0, 99, 99, 0, 0, 2645, 2645, emf::ENHMETA_SIGNATURE, emf::ENHMETA_VERSION, 0,
                                   0, 1, 0, 0, 0, 1920, 1440, 508, 381, 0, 0, 0, 508000, 381000});
    QByteArray out = h.m_body;
    out.append(m_body);
    if (withEof) {
        Writer e;
        e.Record(emf::EMR_EOF, {0, 16, 20});
        out.append(e.m_body);
    }
    return out;
}

}  // namespace emftest
