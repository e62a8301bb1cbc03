// libFuzzer target: EMF bytes through the PDF export's blank-fill pruner, then
// the pruned page through the player (what the PDF export does with a page
// of a saved report). Any crash, hang or sanitizer report is a finding.
#include "BlankFillPruner.h"
#include "EmfPlayer.h"
#include "FuzzGuiApp.h"

#include <QImage>
#include <QPainter>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    brp::EnsureFuzzGuiApp();
    const QByteArray emf = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray pruned = brp::PruneBlankFills(emf);
    // Never larger; the header's counts must still describe the bytes.
    if (pruned.size() > emf.size())
        __builtin_trap();
    static QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    EmfPlayer::Play(pruned, &painter, QRectF(0, 0, 64, 64));
    return 0;
}
