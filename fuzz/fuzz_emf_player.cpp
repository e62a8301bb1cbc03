// libFuzzer target: EMF bytes through the header reader and the player onto a
// small image, and through the text reader. Any crash, hang or sanitizer
// report is a finding.
#include "EmfPlayer.h"
#include "EmfTextReader.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdlib>

namespace {
QGuiApplication* EnsureApp()
{
    static int argc = 1;
    static char arg0[] = "fuzz_emf_player";
    static char* argv[] = {arg0, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    return app;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    EnsureApp();
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
