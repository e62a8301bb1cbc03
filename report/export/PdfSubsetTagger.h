#pragma once
// Names the embedded font subsets of a PDF written by QPdfWriter the way the
// PDF format asks: a subset's font name starts with a six-letter tag and a
// plus sign (ABCDEF+LiberationSans), in its font descriptor and in the font
// dictionaries that use it. QPdfWriter tags the descriptor only, so readers
// (pdffonts: "sub no") take the subsets for whole fonts.
//
// The writer puts its fonts, the cross-reference table and the trailer at the
// end of the file, when painting ends. PdfSubsetTagger passes the writer's
// bytes straight on to the file until told that the end begins, keeps that
// tail, and writes it with the names tagged and the cross-reference offsets
// moved to match. Anything in the tail it does not fully understand is
// written as it came: the file is never broken for the sake of a name.

#include <QByteArray>
#include <QIODevice>

namespace brp {

// The tail of a PDF (its bytes from `tailStart` to the end) with every font
// that uses a subset named with the subset's tag; the same bytes when there
// is nothing to tag or the tail is not laid out as expected.
QByteArray TagFontSubsets(const QByteArray& tail, qint64 tailStart);

} // namespace brp

class PdfSubsetTagger : public QIODevice {
public:
    // Writes go on to `target` (open for writing), which must outlive this.
    explicit PdfSubsetTagger(QIODevice* target);

    bool isSequential() const override { return true; }
    // From here on the bytes are kept until Finish.
    void HoldTail();
    // Writes the tail, tagged, to the target; false when a write failed (the
    // target's error says why).
    bool Finish();

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    QIODevice* m_target;
    qint64 m_passed = 0; // bytes gone straight to the target
    bool m_holding = false;
    bool m_failed = false;
    QByteArray m_tail;
};
