// libFuzzer target: EMF bytes through the header reader and the player onto a
// small image, and through the text reader. Any crash, hang or sanitizer
// report is a finding.
#include "EmfPlayer.h"
#include "EmfTextReader.h"
#include "FuzzGuiApp.h"

#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    brp::EnsureFuzzGuiApp();
    const QByteArray emf = QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    EmfHeaderInfo info;
    EmfPlayer::ReadHeader(emf, &info);
    static QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    EmfPlayer::Play(emf, &painter, QRectF(0, 0, 64, 64));
    EmfTextReader::ReadTextRuns(emf);
    return 0;
}
