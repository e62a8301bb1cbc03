#include "BRBandTexts.h"
#include "TBRCustomBand.h"
#include "TBRCustomLabel.h"
#include "TBRPrintableSize.h"

#include <algorithm>

namespace brp {

QList<BRBandText> BandTexts(QObject* object)
{
    QList<BRBandText> texts;
    auto* band = qobject_cast<TBRCustomBand*>(object);
    if (!band)
        return texts;
    const QList<TBRPrintable*> printables = band->Printables();
    for (TBRPrintable* p : printables) {
        // Shapes and other drawings carry no text.
        const auto* label = dynamic_cast<const TBRCustomLabel*>(p);
        if (!label || !label->Enabled())
            continue;
        BRBandText t;
        t.Left = p->Size()->Native(TBRPrintableSize::iLeft);
        t.Top = p->Size()->Native(TBRPrintableSize::iTop);
        t.Width = p->Size()->Native(TBRPrintableSize::iWidth);
        t.Alignment = label->EffectiveAlignment();
        t.Text = label->PrintedText();
        // What fitted its box: lines past NextLine were not printed.
        const QStringList& broken = label->BrokenLines();
        t.Lines = broken.mid(0, std::clamp(label->NextLine(), 0, int(broken.size())));
        texts.append(t);
    }
    std::stable_sort(texts.begin(), texts.end(), [](const BRBandText& a, const BRBandText& b) {
        return a.Left != b.Left ? a.Left < b.Left : a.Top < b.Top;
    });
    return texts;
}

} // namespace brp
