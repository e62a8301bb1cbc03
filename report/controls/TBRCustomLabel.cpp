#include "TBRCustomLabel.h"
#include "BRDefinitionWriter.h"
#include "FontMapper.h"
#include "TBRCustomBand.h"
#include "TBRPrinter.h"
#include "TCanvas.h"
#include "TCustomBandReport.h"
#include "TextMeasure.h"

#include <QScopeGuard>
#include <algorithm>
#include <cstdlib>
#include <functional>

namespace {
// a * b / c rounded half away from zero, as the platform scales lengths.
int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    const long long n = static_cast<long long>(a) * b;
    const long long q = (std::llabs(n) * 2 + std::llabs(c)) / (2 * std::llabs(c));
    return static_cast<int>(((n < 0) != (c < 0)) ? -q : q);
}

bool isWordBreak(QChar c)
{
    return c == u'\r' || c == u' ' || c == u'-';
}

// The largest count in 1..length for which fits holds, or 0. The width of a
// text only grows as characters are added, so fits holds for every count
// below one where it holds: bisection finds what trying one character at a
// time finds, with a logarithmic number of measurements instead of one per
// character (which made a long word take quadratic time).
qsizetype longestFit(qsizetype length, const std::function<bool(qsizetype)>& fits)
{
    qsizetype fitting = 0, failing = length + 1;
    while (failing - fitting > 1) {
        const qsizetype middle = fitting + (failing - fitting) / 2;
        if (fits(middle))
            fitting = middle;
        else
            failing = middle;
    }
    return fitting;
}
} // namespace

// State of one PrintAt: native geometry, line height and the growth so far.
struct TBRCustomLabel::Pass {
    TBRPrinter* target = nullptr;
    TCanvas* canvas = nullptr;
    BRNative x = 0, y = 0, width = 0, height = 0;
    BRNative lineHeight = 0;
    BRNative lineTop = 0;
    BRNative limit = 0;
    BRNative growth = 0;
    bool grewBand = false;
    bool render = false;
};

TBRCustomLabel::TBRCustomLabel(TComponent* owner)
    : TBRPrintable(owner)
{
    SetTransparent(false);
    connect(this, &QObject::objectNameChanged, this, &TBRCustomLabel::NameChanged);
}

TBRCustomLabel::~TBRCustomLabel() = default;

void TBRCustomLabel::NameChanged(const QString& name)
{
    if (m_caption.isEmpty() || m_caption == m_lastName)
        SetCaption(name);
    m_lastName = name;
}

void TBRCustomLabel::SetCaption(const QString& caption)
{
    m_caption = caption;
    m_outputText = caption;
    BreakLines();
    Repaint();
}

void TBRCustomLabel::SetAutoStretch(bool value)
{
    m_autoStretch = value;
    Repaint();
}

void TBRCustomLabel::SetWordWrap(bool value)
{
    m_wordWrap = value;
    Repaint();
}

void TBRCustomLabel::SetAlignmentValue(int v)
{
    if (v >= taLeftJustify && v <= taCenter)
        SetAlignment(static_cast<TAlignment>(v));
}

TBiDiMode TBRCustomLabel::BiDiMode() const
{
    // Bands and reports have no mode of their own: a label that follows
    // its parent reads left to right.
    return m_parentBiDiMode ? bdLeftToRight : m_biDiMode;
}

void TBRCustomLabel::SetBiDiMode(TBiDiMode mode)
{
    m_biDiMode = mode;
    m_parentBiDiMode = false;
    Repaint();
}

void TBRCustomLabel::SetBiDiModeValue(int v)
{
    if (v >= bdLeftToRight && v <= bdRightToLeftReadingOnly)
        SetBiDiMode(static_cast<TBiDiMode>(v));
}

bool TBRCustomLabel::UseRightToLeftAlignment() const
{
    return BiDiMode() == bdRightToLeft;
}

bool TBRCustomLabel::UseRightToLeftReading() const
{
    return BiDiMode() != bdLeftToRight;
}

TAlignment TBRCustomLabel::EffectiveAlignment() const
{
    if (!UseRightToLeftAlignment())
        return Alignment();
    switch (Alignment()) {
    case taLeftJustify: return taRightJustify;
    case taRightJustify: return taLeftJustify;
    default: return taCenter;
    }
}

void TBRCustomLabel::SetFont(const TFont& font)
{
    TBRPrintable::SetFont(font);
    BreakLines();
}

void TBRCustomLabel::SetParentFontValue(bool value)
{
    const bool changed = value != ParentFont();
    SetParentFont(value);
    if (changed && !IsLoading())
        BreakLines();
}

void TBRCustomLabel::ParentChanged()
{
    BreakLines();
}

int TBRCustomLabel::LineWidth(const QString& text) const
{
    if (const TCustomBandReport* report = OwnerReport())
        return MulDiv(report->MeasureTextWidth(Font(), text), Zoom(), 100);
    TFont screen = Font();
    screen.PixelsPerInch = 96;
    return TextMeasure(FontMapper::ToQFont(screen)).Width(text);
}

void TBRCustomLabel::ApplyMinimumHeight()
{
    const TCustomBandReport* report = OwnerReport();
    if (!report)
        return;
    const int minimum = report->MeasureTextHeight(Font(), QStringLiteral("W")) * Zoom() / 100 + 1;
    if (Height() < minimum)
        SetBounds(Left(), Top(), Width(), minimum);
}

void TBRCustomLabel::BreakLines()
{
    if (!ParentPanel())
        return;
    m_brokenLines.clear();
    if (TextFromCaption()) {
        SplitSource(m_outputText);
        if (!m_resizingSelf)
            ApplyMinimumHeight();
    } else if (!m_sourceLines.isEmpty()) {
        if (m_autoSize)
            m_brokenLines = m_sourceLines;
        else
            for (const QString& line : std::as_const(m_sourceLines))
                SplitSource(line);
    }
    if (!m_autoSize || m_resizingSelf || !OwnerReport())
        return;
    int widest = 0;
    for (const QString& line : std::as_const(m_brokenLines))
        widest = std::max(widest, LineWidth(line));
    if (Frame()->DrawLeft())
        widest += Frame()->Width();
    if (Frame()->DrawRight())
        widest += Frame()->Width();
    m_resizingSelf = true;
    int left = Left();
    switch (EffectiveAlignment()) {
    case taRightJustify: left += Width() - widest; break;
    case taCenter: left += (Width() - widest) / 2; break;
    default: break;
    }
    SetBounds(left, Top(), widest, Height());
    ApplyMinimumHeight();
    m_resizingSelf = false;
}

void TBRCustomLabel::SplitSource(const QString& source)
{
    QString text = source;
    text.remove(u'\n');
    if (text.contains(u'\r')) {
        const QStringList pieces = text.split(u'\r');
        for (const QString& piece : pieces)
            SplitSource(piece);
        return;
    }
    QString line;
    bool lineEnded = false;
    if (m_autoSize) {
        // Auto-sized labels never wrap.
        m_brokenLines << text;
        lineEnded = true;
    } else {
        qsizetype start = 0;
        for (qsizetype i = 0; i < text.size(); ++i)
            if (isWordBreak(text[i])) {
                WordStep(text.mid(start, i - start + 1), line, lineEnded);
                start = i + 1;
            }
        if (start < text.size())
            WordStep(text.mid(start), line, lineEnded);
    }
    if (!lineEnded)
        m_brokenLines << line;
}

void TBRCustomLabel::WordStep(QString word, QString& line, bool& lineEnded)
{
    // Without word wrap the line ends at the first word that overflows; the
    // rest of the source line is not printed.
    if (lineEnded)
        return;
    const int width = Width();
    if (LineWidth(line + word) <= width) {
        line += word;
        return;
    }
    if (line.isEmpty()) {
        // A word too wide at the start of a line keeps its front that stays
        // below the width.
        line = word.left(longestFit(word.size(), [&](qsizetype n) { return LineWidth(word.left(n)) < width; }));
        word.clear();
    }
    m_brokenLines << line;
    line.clear();
    if (!m_wordWrap) {
        lineEnded = true;
        return;
    }
    if (LineWidth(word) > width) {
        // A word too wide after others gets a line of its own, cut to fit.
        if (width <= 0)
            word.clear();
        else
            word.truncate(longestFit(word.size() - 1, [&](qsizetype n) { return LineWidth(word.left(n)) <= width; }));
        m_brokenLines << word;
        word.clear();
    }
    line += word;
}

bool TBRCustomLabel::LineFits(Pass& pass)
{
    if (pass.lineTop + pass.lineHeight <= pass.limit)
        return true;
    if (!m_autoStretch)
        return false;
    TBRCustomBand* band = Band();
    if (!band || !band->CanExpand(pass.lineHeight))
        return false;
    const BRNative previous = pass.growth;
    BRNative total = previous;
    band->ExpandBand(pass.lineHeight, total, pass.grewBand);
    pass.growth = total;
    pass.limit = pass.y + pass.height + 1 + pass.growth;
    if (pass.render && !Transparent()) {
        TCanvas& c = *pass.canvas;
        c.Pen.Width = 0;
        c.Brush.Color = Color();
        c.Brush.Style = TBrushStyle::bsSolid;
        c.FillRect({pass.target->DeviceX(pass.x), pass.target->DeviceY(pass.y + pass.height + previous),
                    pass.target->DeviceX(pass.x + pass.width), pass.target->DeviceY(pass.y + pass.height + pass.growth)});
    }
    return true;
}

void TBRCustomLabel::PrintAt(int offsetX, int offsetY)
{
    if (!CanOutput())
        return;
    Pass pass;
    pass.target = OutputTarget();
    pass.canvas = pass.target ? pass.target->PageCanvas() : nullptr;
    if (!pass.canvas)
        return; // no page to print on
    TBRPrinter& target = *pass.target;
    TCanvas& canvas = *pass.canvas;
    const TBRPrintableSize& size = *Size();
    auto measure = [&] {
        canvas.SetFont(Font());
        pass.height = size.Native(TBRPrintableSize::iHeight);
        pass.lineHeight = canvas.TextHeight(QStringLiteral("W")) / target.VertFactor();
    };
    measure();
    pass.x = offsetX + size.Native(TBRPrintableSize::iLeft);
    pass.y = offsetY + size.Native(TBRPrintableSize::iTop);
    const BRNative designedWidth = size.Native(TBRPrintableSize::iWidth);

    // An OnPrint replacement lives for this print only.
    const QString savedText = m_outputText;
    bool replaced = false;
    const auto restore = qScopeGuard([&] {
        if (replaced)
            m_outputText = savedText;
    });
    if (!m_outputText.isEmpty() && OnPrint && !IsDesigning()) {
        QString text = m_outputText;
        OnPrint(this, text);
        measure();
        if (text != m_outputText) {
            m_outputText = text;
            replaced = true;
        }
    }
    BreakLines();
    // Kept for export filters, which draw nothing and write the text instead.
    m_printedText = TextFromCaption() ? m_outputText : m_sourceLines.join(u'\n');
    pass.width = size.Native(TBRPrintableSize::iWidth);
    pass.render = RenderToSurface();

    if (pass.render && !Transparent()) {
        canvas.Pen.Width = 0;
        canvas.Brush.Color = Color();
        canvas.Brush.Style = TBrushStyle::bsSolid;
        canvas.FillRect({target.DeviceX(pass.x), target.DeviceY(pass.y), target.DeviceX(pass.x + pass.width),
                         target.DeviceY(pass.y + pass.height)});
    }

    // An auto-sized label keeps its right edge or centre where it was
    // designed; the text box moves with the new width.
    BRNative boxLeft = pass.x;
    if (m_autoSize) {
        if (Alignment() == taRightJustify)
            boxLeft = pass.x - (pass.width - designedWidth);
        else if (Alignment() == taCenter)
            boxLeft = pass.x - (pass.width - designedWidth) / 2;
    }
    canvas.SetBkMode(TRANSPARENT);
    unsigned align = TA_TOP;
    BRNative anchor = boxLeft;
    switch (EffectiveAlignment()) {
    case taRightJustify:
        align |= TA_RIGHT;
        anchor = boxLeft + pass.width;
        break;
    case taCenter:
        align |= TA_CENTER;
        anchor = boxLeft + pass.width / 2;
        break;
    default: align |= TA_LEFT; break;
    }
    unsigned options = 0;
    if (UseRightToLeftReading()) {
        align |= TA_RTLREADING;
        options = ETO_RTLREADING;
    }
    canvas.SetTextAlign(align);

    pass.lineTop = pass.y;
    pass.limit = pass.y + pass.height + 1;
    const bool continuing = !m_outputComplete;
    if (m_outputComplete)
        m_nextLine = 0;
    const int firstLine = m_nextLine;
    while (m_nextLine >= 0 && m_nextLine < m_brokenLines.size() && LineFits(pass)) {
        const QString& line = m_brokenLines[m_nextLine];
        if (pass.render && !line.isEmpty())
            canvas.TextOut(target.DeviceX(anchor), target.DeviceY(pass.lineTop), line, options);
        pass.lineTop += pass.lineHeight;
        ++m_nextLine;
    }
    const bool linesLeft = m_nextLine >= 0 && m_nextLine < m_brokenLines.size();
    // A further pass that cannot print a single line never will: pages
    // would be added without end.
    const bool stuck = continuing && m_nextLine == firstLine;
    m_outputComplete = !(linesLeft && m_autoStretch && !stuck);

    canvas.RemoveClipRegion();
    if (pass.render && Frame()->HasAnySide())
        Frame()->PaintFrame(canvas,
                            {target.DeviceX(pass.x), target.DeviceY(pass.y), target.DeviceX(pass.x + pass.width),
                             target.DeviceY(pass.y + pass.height + pass.growth)},
                            target.HorzFactor(), target.VertFactor());
}

void TBRCustomLabel::BeginOutput()
{
    TBRPrintable::BeginOutput();
    m_printedText.clear();
    SetCaption(m_caption);
}

void TBRCustomLabel::Loaded()
{
    TBRPrintable::Loaded();
    // The stored point size wins over the pixel height the designing
    // screen gave the font.
    if (m_storedFontSize > 0 && Font().Size() != m_storedFontSize) {
        TFont font = Font();
        font.SetSize(m_storedFontSize);
        SetFont(font);
    }
}

void TBRCustomLabel::WriteProperties(BRDefinitionWriter& w) const
{
    TBRPrintable::WriteProperties(w);
    WriteLayout(w);
    w.WriteString(QStringLiteral("Caption"), m_caption);
    w.WriteColor(QStringLiteral("Color"), Color());
    WriteOwnFont(w);
    WriteEventsAndParentFont(w);
    WriteLook(w);
    WriteFontSize(w);
}

void TBRCustomLabel::WriteLayout(BRDefinitionWriter& w) const
{
    w.WriteIdent(QStringLiteral("Alignment"), BRDefinitionWriter::EnumName(*this, "Alignment", Alignment()));
    w.WriteBool(QStringLiteral("AlignToBand"), AlignToBand());
    w.WriteBool(QStringLiteral("AutoSize"), m_autoSize);
    w.WriteBool(QStringLiteral("AutoStretch"), m_autoStretch);
    if (!m_parentBiDiMode) {
        w.WriteIdent(QStringLiteral("BiDiMode"), BRDefinitionWriter::EnumName(*this, "BiDiMode", m_biDiMode));
        w.WriteBool(QStringLiteral("ParentBiDiMode"), false);
    }
}

void TBRCustomLabel::WriteOwnFont(BRDefinitionWriter& w) const
{
    if (!ParentFont())
        w.WriteFont(QStringLiteral("Font"), Font());
}

void TBRCustomLabel::WriteEventsAndParentFont(BRDefinitionWriter& w) const
{
    w.WriteEvents(*this);
    if (!ParentFont())
        w.WriteBool(QStringLiteral("ParentFont"), false);
}

void TBRCustomLabel::WriteLook(BRDefinitionWriter& w) const
{
    w.WriteBool(QStringLiteral("Transparent"), Transparent());
    w.WriteBool(QStringLiteral("WordWrap"), m_wordWrap);
}

void TBRCustomLabel::WriteFontSize(BRDefinitionWriter& w) const
{
    w.WriteInt(QStringLiteral("FontSize"), FontSize());
}
