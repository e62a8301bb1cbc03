#pragma once
// A printable text: breaks its text into lines against its pixel width (at
// the report's zoom, with the report's text metrics), may size itself to its
// widest line, and may grow its band and continue on later pages. The data
// and expression printables decide the text; this class prints it.

#include "BRControlTypes.h"
#include "TBRPrintable.h"

#include <QStringList>

class TBRCustomLabel : public TBRPrintable {
    Q_OBJECT
    Q_PROPERTY(int Alignment READ AlignmentValue WRITE SetAlignmentValue)
    Q_PROPERTY(bool AlignToBand READ AlignToBand WRITE SetAlignToBand)
    Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
    Q_PROPERTY(bool AutoStretch READ AutoStretch WRITE SetAutoStretch)
    Q_PROPERTY(int BiDiMode READ BiDiModeValue WRITE SetBiDiModeValue)
    Q_PROPERTY(bool ParentBiDiMode READ ParentBiDiMode WRITE SetParentBiDiMode)
    Q_PROPERTY(uint Color READ Color WRITE SetColor)
    Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFontValue)
    Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
    Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
    // Pseudo-property: the font's size in points, applied after loading.
    Q_PROPERTY(int FontSize READ FontSize WRITE SetFontSize)
    Q_CLASSINFO("BREnum:Alignment", "taLeftJustify,taRightJustify,taCenter")
    Q_CLASSINFO("BREnum:BiDiMode", "bdLeftToRight,bdRightToLeft,bdRightToLeftNoAlign,bdRightToLeftReadingOnly")
public:
    explicit TBRCustomLabel(TComponent* owner = nullptr);
    ~TBRCustomLabel() override;

    // True: the text is OutputText; false: it is SourceLines (memo mode).
    virtual bool TextFromCaption() const { return m_captionFlag; }
    // Rebuilds BrokenLines from the text; sizes an AutoSize label to it.
    virtual void BreakLines();

    void BeginOutput() override;
    void PrintAt(int offsetX, int offsetY) override;
    void SetFont(const TFont& font) override;
    void Loaded() override;
    void WriteProperties(BRDefinitionWriter& writer) const override;
    QString PrintedText() const override { return m_printedText; }

    QString Caption() const { return m_caption; }
    // Also the text printed; re-breaks.
    void SetCaption(const QString& caption);
    QString OutputText() const { return m_outputText; }
    void SetOutputText(const QString& text) { m_outputText = text; }
    const QStringList& BrokenLines() const { return m_brokenLines; }
    const QStringList& SourceLines() const { return m_sourceLines; }
    void SetSourceLines(const QStringList& lines) { m_sourceLines = lines; }
    int NextLine() const { return m_nextLine; }

    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool value) { m_autoSize = value; }
    bool AutoStretch() const { return m_autoStretch; }
    void SetAutoStretch(bool value);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool value);
    bool ResizingSelf() const { return m_resizingSelf; }

    int FontSize() const { return Font().Size(); }
    void SetFontSize(int points) { m_storedFontSize = points; }
    int StoredFontSize() const { return m_storedFontSize; }

    TBiDiMode BiDiMode() const;
    void SetBiDiMode(TBiDiMode mode);
    bool ParentBiDiMode() const { return m_parentBiDiMode; }
    void SetParentBiDiMode(bool value) { m_parentBiDiMode = value; }
    // Alignment mirrored (left and right swapped) under right-to-left alignment.
    TAlignment EffectiveAlignment() const;
    virtual bool UseRightToLeftAlignment() const;
    bool UseRightToLeftReading() const;

    // Width of a text for line breaking, in screen pixels at the zoom.
    int LineWidth(const QString& text) const;

    TBRLabelOnPrintEvent OnPrint;

protected:
    void ParentChanged() override;
    // Pieces of the streamed form, for each class to write in its own order.
    // Alignment, AlignToBand, AutoSize, AutoStretch and the bidirectional mode.
    void WriteLayout(BRDefinitionWriter& writer) const;
    // The font when it is the label's own.
    void WriteOwnFont(BRDefinitionWriter& writer) const;
    // Event handlers, then ParentFont when the font is the label's own.
    void WriteEventsAndParentFont(BRDefinitionWriter& writer) const;
    // Transparent and WordWrap.
    void WriteLook(BRDefinitionWriter& writer) const;
    void WriteFontSize(BRDefinitionWriter& writer) const;

    bool m_captionFlag = true;
    QStringList m_sourceLines;

private:
    struct Pass;
    int AlignmentValue() const { return Alignment(); }
    void SetAlignmentValue(int v);
    int BiDiModeValue() const { return BiDiMode(); }
    void SetBiDiModeValue(int v);
    void SetParentFontValue(bool value);
    void NameChanged(const QString& name);

    void SplitSource(const QString& source);
    void WordStep(QString word, QString& line, bool& lineEnded);
    void ApplyMinimumHeight();
    bool LineFits(Pass& pass);

    bool m_autoSize = true;
    bool m_autoStretch = false;
    bool m_wordWrap = true;
    bool m_resizingSelf = false;
    bool m_parentBiDiMode = true;
    TBiDiMode m_biDiMode = bdLeftToRight;
    QString m_caption;
    QString m_outputText;
    QString m_printedText;
    QString m_lastName;
    QStringList m_brokenLines;
    int m_nextLine = 0;
    int m_storedFontSize = 0;
};
