// The EMF player: mapping of the picture onto the target, the records real
// files use, hostile input, and the corpus of files from other programs.
#include "EmfPlayer.h"
#include "EmfRecords.h"
#include "EmfTestSupport.h"
#include "TMetafileCanvas.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <cstring>
#include <iostream>

using namespace emftest;
using namespace emf;

namespace {

std::uint32_t F(float f)
{
    std::uint32_t u;
    std::memcpy(&u, &f, 4);
    return u;
}

struct Rendered {
    EmfPlayResult result;
    QImage image;
};

Rendered Render(const QByteArray& emf, int w = 100, int h = 100)
{
    Rendered r{{}, QImage(w, h, QImage::Format_RGB32)};
    r.image.fill(Qt::white);
    QPainter p(&r.image);
    r.result = EmfPlayer::Play(emf, &p, QRectF(0, 0, w, h));
    return r;
}

// A red solid brush in slot 1, selected, with no outline.
Writer RedFill()
{
    Writer w;
    w.Record(EMR_CREATEBRUSHINDIRECT, {1, BS_SOLID, 0x0000FF, 0});
    w.Record(EMR_SELECTOBJECT, {1});
    w.Record(EMR_SELECTOBJECT, {STOCK_BIT | NULL_PEN});
    return w;
}

const QRgb kRed = qRgb(255, 0, 0);

}  // namespace

TEST(EmfPlayer, MapsLogicalUnitsThroughModesTransformsAndSavedStates)
{
    struct Case {
        const char* name;
        std::function<void(Writer&)> setup;  // then a rectangle (10,10)-(30,30) is filled
        QPoint inside, outside;              // target pixels on a 100 x 100 target
    };
    const Case cases[] = {
        {"plain pixels", [](Writer&) {}, {20, 20}, {40, 40}},
        {"anisotropic halves",
         [](Writer& w) {
             w.Record(EMR_SETMAPMODE, {MM_ANISOTROPIC});
             w.Record(EMR_SETWINDOWEXTEX, {200, 200});
             w.Record(EMR_SETVIEWPORTEXTEX, {100, 100});
         },
         {10, 10}, {20, 20}},
        {"window origin shifts",
         [](Writer& w) { w.Record(EMR_SETWINDOWORGEX, {std::uint32_t(-50), std::uint32_t(-50)}); },
         {70, 70}, {20, 20}},
        {"world transform doubles",
         [](Writer& w) { w.Record(EMR_SETWORLDTRANSFORM, {F(2), 0, 0, F(2), 0, 0}); },
         {50, 50}, {15, 15}},
        {"restore undoes the origin",
         [](Writer& w) {
             w.Record(EMR_SAVEDC, {});
             w.Record(EMR_SETVIEWPORTORGEX, {50, 50});
             w.Record(EMR_RESTOREDC, {std::uint32_t(-1)});
         },
         {20, 20}, {70, 70}},
        {"himetric: y grows upwards",
         [](Writer& w) {
             w.Record(EMR_SETMAPMODE, {MM_HIMETRIC});
             w.Record(EMR_SETVIEWPORTORGEX, {0, 100});
         },
         {0, 99}, {50, 50}},
    };
    for (const Case& k : cases) {
        Writer w = RedFill();
        k.setup(w);
        w.Record(EMR_RECTANGLE, {10, 10, 30, 30});
        const Rendered r = Render(w.Bytes());
        EXPECT_TRUE(r.result.Ok()) << k.name << ": " << r.result.error.toStdString();
        EXPECT_EQ(r.image.pixel(k.inside), kRed) << k.name;
        EXPECT_NE(r.image.pixel(k.outside), kRed) << k.name;
    }
}

TEST(EmfPlayer, StretchesTheFrameOverTheTarget)
{
    Writer w = RedFill();
    w.Record(EMR_RECTANGLE, {0, 0, 50, 50});
    const Rendered r = Render(w.Bytes(), 300, 200);
    EXPECT_EQ(r.image.pixel(140, 90), kRed);
    EXPECT_NE(r.image.pixel(160, 110), kRed);
}

TEST(EmfPlayer, PaintsPolygonsTextAndBitmapsOfOtherWriters)
{
    struct Case {
        const char* name;
        std::function<void(Writer&)> draw;
        QPoint inked;
    };
    auto text = [](bool wide) {
        return [wide](Writer& w) {
            // 104-byte font record, then "HH" at (10,10).
            std::vector<std::uint32_t> font = {1, std::uint32_t(-40), 0, 0, 0, 700, 0};
            const char16_t face[] = u"Arial";
            for (int i = 0; i < 16; ++i)
                font.push_back(std::uint32_t(i * 2 < 5 ? face[i * 2] : 0) |
                               (std::uint32_t(i * 2 + 1 < 5 ? face[i * 2 + 1] : 0) << 16));
            w.Record(EMR_EXTCREATEFONTINDIRECTW, font);
            w.Record(EMR_SELECTOBJECT, {1});
            w.Record(EMR_SETBKMODE, {TRANSPARENT});
            const std::uint32_t str = wide ? ('H' | ('H' << 16)) : ('H' | ('H' << 8));
            w.Record(wide ? EMR_EXTTEXTOUTW : EMR_EXTTEXTOUTA,
                     {0, 0, 0, 0, 1, 0, 0, 10, 10, 2, 76, 0, 0, 0, std::uint32_t(-1), std::uint32_t(-1), 80, str,
                      30, 30});
        };
    };
    const Case cases[] = {
        {"polygon16", [](Writer& w) {
             w.Record(EMR_POLYGON16, {0, 0, 0, 0, 3, (10u) | (10u << 16), (90u) | (10u << 16), (50u) | (90u << 16)});
         }, {50, 40}},
        {"polypolygon32", [](Writer& w) {
             w.Record(EMR_POLYPOLYGON, {0, 0, 0, 0, 1, 4, 4, 60, 60, 90, 60, 90, 90, 60, 90});
         }, {75, 75}},
        {"path filled", [](Writer& w) {
             w.Record(EMR_BEGINPATH, {});
             w.Record(EMR_MOVETOEX, {20, 20});
             w.Record(EMR_LINETO, {80, 20});
             w.Record(EMR_LINETO, {80, 80});
             w.Record(EMR_CLOSEFIGURE, {});
             w.Record(EMR_ENDPATH, {});
             w.Record(EMR_FILLPATH, {0, 0, 0, 0});
         }, {70, 40}},
        {"wide text", text(true), {20, 30}},
        {"ansi text", text(false), {20, 30}},
        {"stretched 2x2 bitmap", [](Writer& w) {
             // 24-bit bottom-up DIB, all red, stretched over (10,10)-(90,90).
             w.Record(EMR_STRETCHDIBITS, {0, 0, 0, 0, 10, 10, 0, 0, 2, 2, 80, 40, 120, 16, 0, SRCCOPY, 80, 80,
                                          40, 2, 2, 1u | (24u << 16), 0, 16, 0, 0, 0, 0,
                                          0x00FF0000, 0x0000FF00, 0x00FF0000, 0x0000FF00});
         }, {50, 50}},
    };
    for (const Case& k : cases) {
        Writer w = RedFill();
        k.draw(w);
        const Rendered r = Render(w.Bytes());
        EXPECT_TRUE(r.result.Ok()) << k.name << ": " << r.result.error.toStdString();
        EXPECT_LT(qGray(r.image.pixel(k.inked)), 200) << k.name;
    }
}

TEST(EmfPlayer, RefusesOrStopsOnDamagedInputWithAMessage)
{
    const QByteArray good = RedFill().Record(EMR_RECTANGLE, {10, 10, 30, 30}).Bytes();
    auto patched = [&](int offset, std::uint32_t value) {
        QByteArray b = good;
        qToLittleEndian(value, b.data() + offset);
        return b;
    };
    struct Case {
        const char* name;
        QByteArray bytes;
        EmfPlayResult::Status status;
    };
    const Case cases[] = {
        {"empty", QByteArray(), EmfPlayResult::Status::Refused},
        {"cut inside the header", good.left(60), EmfPlayResult::Status::Refused},
        {"wrong signature", patched(40, 0x12345678), EmfPlayResult::Status::Refused},
        {"header size beyond the file", patched(4, 0x7FFFFFF0), EmfPlayResult::Status::Refused},
        {"no reference device", patched(72, 0), EmfPlayResult::Status::Refused},
        {"record size zero", patched(108 + 4, 0), EmfPlayResult::Status::Partial},
        {"record size beyond the file", patched(108 + 4, 0xFFFFFFF0), EmfPlayResult::Status::Partial},
        {"cut before EOF", good.left(good.size() - 20), EmfPlayResult::Status::Partial},
        {"polyline count beyond record",
         Writer().Record(EMR_POLYLINE, {0, 0, 0, 0, 0x40000000, 1, 2}).Bytes(), EmfPlayResult::Status::Partial},
        {"polypolygon counts beyond record",
         Writer().Record(EMR_POLYPOLYGON16, {0, 0, 0, 0, 0xFFFFFFFF, 3, 1, 2}).Bytes(), EmfPlayResult::Status::Partial},
        {"text longer than its record",
         Writer().Record(EMR_EXTTEXTOUTW, {0, 0, 0, 0, 1, 0, 0, 0, 0, 0x10000000, 76, 0, 0, 0, 0, 0, 0}).Bytes(),
         EmfPlayResult::Status::Partial},
        {"huge bitmap", Writer().Record(EMR_STRETCHDIBITS, {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 80, 40, 120, 4, 0, SRCCOPY,
                                                            10, 10, 40, 0x7FFFFFFF, 0x7FFFFFFF, 1u | (32u << 16), 0,
                                                            0, 0, 0, 0, 0, 0}).Bytes(),
         EmfPlayResult::Status::Partial},
        {"short font record", Writer().Record(EMR_EXTCREATEFONTINDIRECTW, {1, 2}).Bytes(), EmfPlayResult::Status::Partial},
    };
    for (const Case& k : cases) {
        const Rendered r = Render(k.bytes);
        EXPECT_EQ(int(r.result.status), int(k.status)) << k.name << ": " << r.result.error.toStdString();
        EXPECT_FALSE(r.result.error.isEmpty()) << k.name;
    }
}

TEST(EmfPlayer, BoundsStateAndObjectTables)
{
    // Deep save stacks, restores past the bottom, object indexes out of range
    // and deleted objects selected again: all ignored without harm.
    Writer w;
    for (int i = 0; i < 5000; ++i)
        w.Record(EMR_SAVEDC, {});
    w.Record(EMR_RESTOREDC, {std::uint32_t(-100000)});
    w.Record(EMR_RESTOREDC, {7});
    w.Record(EMR_CREATEPEN, {0xFFFFFFF0, PS_SOLID, 1, 0, 0});
    w.Record(EMR_SELECTOBJECT, {0xFFFFFFF0});
    w.Record(EMR_CREATEBRUSHINDIRECT, {3, BS_SOLID, 0x0000FF, 0});
    w.Record(EMR_DELETEOBJECT, {3});
    w.Record(EMR_SELECTOBJECT, {3});
    w.Record(EMR_SETWORLDTRANSFORM, {F(NAN), 0, 0, F(1), 0, 0});
    w.Record(EMR_RECTANGLE, {std::uint32_t(INT_MIN), std::uint32_t(INT_MIN), std::uint32_t(INT_MAX), std::uint32_t(INT_MAX)});
    // Integer extremes that once overflowed rectangle arithmetic.
    w.Record(EMR_CREATEPEN, {4, PS_SOLID, std::uint32_t(INT_MIN), 0, 0});
    w.Record(EMR_SELECTOBJECT, {4});
    w.Record(EMR_EXTCREATEPEN, {5, 0, 0, 0, 0, PS_GEOMETRIC | PS_SOLID, 0x7FFFFFFF, BS_SOLID, 0, 0, 0});
    w.Record(EMR_SELECTOBJECT, {5});
    w.Record(EMR_LINETO, {50, 50});
    w.Record(EMR_STRETCHDIBITS, {0, 0, 0, 0, 10, 10, std::uint32_t(INT_MIN), std::uint32_t(INT_MAX),
                                 std::uint32_t(INT_MAX), std::uint32_t(INT_MIN), 80, 40, 120, 16, 0, SRCCOPY, 80, 80,
                                 40, 2, 2, 1u | (24u << 16), 0, 16, 0, 0, 0, 0, 0, 0, 0, 0});
    w.Record(EMR_EXTSELECTCLIPRGN, {48, RGN_COPY, 32, 1, 1, 16, std::uint32_t(INT_MIN), std::uint32_t(INT_MIN),
                                    std::uint32_t(INT_MAX), std::uint32_t(INT_MAX), std::uint32_t(INT_MIN),
                                    std::uint32_t(INT_MIN), std::uint32_t(INT_MAX), std::uint32_t(INT_MAX)});
    w.Record(9999, {1, 2, 3});
    const Rendered r = Render(w.Bytes());
    EXPECT_TRUE(r.result.Ok()) << r.result.error.toStdString();
    EXPECT_EQ(r.result.recordsSkipped, 1);
}

TEST(EmfPlayer, TextUnderExtremeScalingIsDrawnAsOutlines)
{
    // A reference device millions of pixels wide and a viewport stretched
    // vertically left glyphs squeezed flat and stretched tall, which crashed
    // the glyph cache; such text is filled as outlines instead.
    Writer w;
    w.Header({0, 0, 659, 412, 9, 0, 16510, 12383, ENHMETA_SIGNATURE, ENHMETA_VERSION, 0, 0, 1, 0, 0, 0,
              1795163392, 800, 320, 240, 0, 0, 0, 0, 0});
    std::vector<std::uint32_t> font = {1, std::uint32_t(-198), 75, 0, 0, 400, 0};
    const char16_t face[] = u"Arial";
    for (int i = 0; i < 16; ++i)
        font.push_back(std::uint32_t(i * 2 < 5 ? face[i * 2] : 0) | (std::uint32_t(i * 2 + 1 < 5 ? face[i * 2 + 1] : 0) << 16));
    w.Record(EMR_SETMAPMODE, {MM_ANISOTROPIC});
    w.Record(EMR_SETVIEWPORTEXTEX, {66196, 0x40000000});
    w.Record(EMR_SETWINDOWEXTEX, {9360, std::uint32_t(-7020)});
    w.Record(EMR_SETWINDOWORGEX, {0, 7020});
    w.Record(EMR_EXTCREATEFONTINDIRECTW, font);
    w.Record(EMR_SELECTOBJECT, {1});
    w.Record(EMR_SETTEXTALIGN, {TA_BASELINE});
    w.Record(EMR_SETBKMODE, {TRANSPARENT});
    w.Record(EMR_EXTTEXTOUTW, {0, 0, 0, 0, 1, 0, 0, 3410, 6663, 2, 76, 0, 0, 0, std::uint32_t(-1),
                               std::uint32_t(-1), 0, 'H' | ('i' << 16)});
    const Rendered r = Render(w.Bytes(), 64, 64);
    EXPECT_TRUE(r.result.Ok()) << r.result.error.toStdString();
}

TEST(EmfPlayer, CorpusOfOtherWritersNearlyAllPlaysToTheEnd)
{
    // The build's folder, or another one named in the environment.
    const QString dir = qEnvironmentVariable("BRP_EMF_CORPUS", QStringLiteral(BRP_EMF_CORPUS));
    if (dir.isEmpty())
        GTEST_SKIP() << "no EMF corpus: configure with -DBRP_EMF_CORPUS=FOLDER, or set BRP_EMF_CORPUS, "
                        "to play the EMF files of other programs in FOLDER";
    if (!QDir(dir).exists())
        GTEST_SKIP() << "the EMF corpus folder " << dir.toStdString() << " does not exist";
    QStringList files;
    QDirIterator it(dir, {QStringLiteral("*.emf"), QStringLiteral("*.EMF")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    ASSERT_FALSE(files.isEmpty());
    int complete = 0, partial = 0, refused = 0, skippedRecords = 0;
    // Set to look at the renderings.
    const QString renderDir = qEnvironmentVariable("BRP_EMF_RENDER_DIR");
    for (const QString& path : files) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        const QByteArray emf = f.readAll();
        const Rendered r = Render(emf, 300, 300);
        skippedRecords += r.result.recordsSkipped;
        if (!renderDir.isEmpty())
            r.image.save(renderDir + QStringLiteral("/") + QDir(dir).relativeFilePath(path).replace(QLatin1Char('/'), QLatin1Char('_')) + QStringLiteral(".png"));
        switch (r.result.status) {
        case EmfPlayResult::Status::Complete: ++complete; break;
        case EmfPlayResult::Status::Partial:
            ++partial;
            std::cout << "  partial " << QDir(dir).relativeFilePath(path).toStdString() << ": "
                      << r.result.error.toStdString() << "\n";
            break;
        case EmfPlayResult::Status::Refused:
            ++refused;
            std::cout << "  refused " << QDir(dir).relativeFilePath(path).toStdString() << ": "
                      << r.result.error.toStdString() << "\n";
            break;
        }
    }
    std::cout << "EMF corpus: " << files.size() << " files, " << complete << " rendered fully, " << partial
              << " rendered in part, " << refused << " refused; " << skippedRecords
              << " records of unpainted types skipped\n";
    RecordProperty("complete", complete);
    RecordProperty("partial", partial);
    RecordProperty("refused", refused);
    // Real files from working programs: nearly all must play to the end.
    EXPECT_GE(complete, files.size() * 9 / 10);
}
