// The EMF recorder: header consistency, object lifetime, text records, an
// independent reader's view (emf2svg-conv) and the player's rendering of the
// same page compared with painting it directly.
#include "EmfPlayer.h"
#include "EmfRecords.h"
#include "EmfTestSupport.h"
#include "FontMapper.h"
#include "PainterCanvas.h"
#include "TMetafile.h"
#include "TMetafileCanvas.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <map>
#include <set>

using namespace emftest;
using namespace emf;

namespace {

QByteArray NestedPicture()
{
    TMetafileCanvas c(200, 100);
    c.Brush.Color = clWhite;
    c.Pen.Color = clMaroon;
    c.Rectangle(0, 0, 200, 100);
    c.MoveTo(0, 0);
    c.LineTo(200, 100);
    return c.Finish();
}

QByteArray SamplePage()
{
    TMetafileCanvas c(kA4Width, kA4Height);
    DrawSamplePage(c, NestedPicture());
    return c.Finish();
}

QString OutputDir()
{
    const QString dir = qEnvironmentVariable("BRP_BINARY_DIR", QDir::tempPath()) + QStringLiteral("/test-output");
    QDir().mkpath(dir);
    return dir;
}

}  // namespace

TEST(EmfRecorder, HeaderFieldsAgreeWithTheRecords)
{
    const QByteArray emf = SamplePage();
    const auto recs = Records(emf);
    ASSERT_GE(recs.size(), 3u);
    EXPECT_EQ(recs.front().type, EMR_HEADER);
    EXPECT_EQ(recs.back().type, EMR_EOF);
    EXPECT_EQ(recs.back().offset + recs.back().size, quint32(emf.size())) << "EOF is the last record";
    for (const RecordInfo& r : recs)
        EXPECT_EQ(r.size % 4, 0u) << "record " << r.type << " at " << r.offset;

    EXPECT_EQ(U32(emf, 40), ENHMETA_SIGNATURE);
    EXPECT_EQ(U32(emf, 44), ENHMETA_VERSION);
    EXPECT_EQ(U32(emf, 48), quint32(emf.size())) << "nBytes";
    EXPECT_EQ(U32(emf, 52), quint32(recs.size())) << "nRecords";

    // Highest object index used, plus the reserved index 0.
    quint32 maxHandle = 0;
    for (const RecordInfo& r : recs)
        if (r.type == EMR_CREATEPEN || r.type == EMR_CREATEBRUSHINDIRECT || r.type == EMR_EXTCREATEFONTINDIRECTW)
            maxHandle = std::max(maxHandle, U32(emf, r.offset + 8));
    EXPECT_EQ(quint32(qFromLittleEndian<quint16>(emf.constData() + 56)), maxHandle + 1) << "nHandles";

    EmfHeaderInfo h;
    ASSERT_TRUE(EmfPlayer::ReadHeader(emf, &h));
    EXPECT_EQ(h.HeaderSize % 4, 0u);
    EXPECT_GE(h.HeaderSize, 108u);
    // Frame: the A4 page at 96 dpi in 0.01 mm, inclusive.
    EXPECT_EQ(h.FrameLeft, 0);
    EXPECT_EQ(h.FrameTop, 0);
    EXPECT_EQ(h.FrameRight, 21008 - 1);
    EXPECT_EQ(h.FrameBottom, 29713 - 1);
    EXPECT_NEAR(h.FrameWidthPixels(), kA4Width, 0.05);
    EXPECT_NEAR(h.FrameHeightPixels(), kA4Height, 0.05);
    // Reference device: pixels and millimetres agree at 96 dpi.
    EXPECT_NEAR(h.DeviceWidth * 25.4 / h.MillimetersWidth, 96.0, 1e-9);
    EXPECT_NEAR(h.DeviceHeight * 25.4 / h.MillimetersHeight, 96.0, 1e-9);
    EXPECT_EQ(h.MicrometersWidth, h.MillimetersWidth * 1000);
    EXPECT_EQ(h.MicrometersHeight, h.MillimetersHeight * 1000);
    EXPECT_FALSE(h.Description.isEmpty());

    // The loaded picture has the recorded size.
    TMetafile mf;
    mf.LoadFromBytes(emf);
    EXPECT_EQ(mf.Width(), kA4Width);
    EXPECT_EQ(mf.Height(), kA4Height);
}

TEST(EmfRecorder, ReusedBufferGivesTheSamePageAndSharedOnesAreLeftAlone)
{
    const QByteArray fresh = SamplePage();

    // A used page buffer, larger than the page, as the output target passes on.
    QByteArray spare = SamplePage() + QByteArray(50000, 'x');
    const qsizetype room = spare.capacity();
    TMetafileCanvas reused(kA4Width, kA4Height);
    reused.ReuseBuffer(std::move(spare));
    DrawSamplePage(reused, NestedPicture());
    const QByteArray again = reused.Finish();
    EXPECT_EQ(again, fresh);
    EXPECT_GE(again.capacity(), room) << "the storage was taken over";

    // A buffer someone else still reads is not written to.
    const QByteArray held = fresh;
    TMetafileCanvas other(kA4Width, kA4Height);
    other.ReuseBuffer(held);
    DrawSamplePage(other, NestedPicture());
    EXPECT_EQ(other.Finish(), fresh);
    EXPECT_EQ(held, fresh);

    // Offered after recording started: ignored, nothing recorded is lost.
    TMetafileCanvas late(kA4Width, kA4Height);
    late.MoveTo(1, 1);
    late.ReuseBuffer(QByteArray(1000, 'y'));
    EXPECT_EQ(Records(late.Finish()).size(), 3u) << "header, move, EOF";
}

TEST(EmfRecorder, BoundsAreTheUnionOfWhatWasDrawn)
{
    struct Case {
        const char* name;
        void (*draw)(TCanvas&);
        TRect bounds;  // inclusive
    };
    const Case cases[] = {
        {"nothing", [](TCanvas&) {}, {0, 0, -1, -1}},
        {"rectangle", [](TCanvas& c) { c.Rectangle(10, 20, 110, 70); }, {10, 20, 109, 69}},
        {"fill and line",
         [](TCanvas& c) {
             c.FillRect(TRect{5, 5, 15, 15});
             c.MoveTo(100, 200);
             c.LineTo(300, 200);
         },
         {5, 5, 300, 200}},
    };
    for (const Case& k : cases) {
        TMetafileCanvas c(400, 400);
        k.draw(c);
        const QByteArray emf = c.Finish();
        EXPECT_EQ((TRect{I32(emf, 8), I32(emf, 12), I32(emf, 16), I32(emf, 20)}), k.bounds) << k.name;
    }
}

TEST(EmfRecorder, ObjectsAreCreatedWhenFirstUsedAndDeletedWhenReplaced)
{
    TMetafileCanvas c(200, 200);
    c.Pen.Color = clRed;
    c.Pen.Color = clBlue;  // never drawn with red: no red pen is made
    c.Rectangle(0, 0, 10, 10);
    c.Rectangle(20, 0, 30, 10);  // same pen and brush: nothing new
    c.Pen.Color = clGreen;
    c.LineTo(50, 50);
    c.Brush.Style = TBrushStyle::bsClear;
    c.Ellipse(0, 0, 40, 40);
    const QByteArray emf = c.Finish();

    std::vector<std::pair<quint32, quint32>> seq;  // type, handle
    for (const RecordInfo& r : Records(emf))
        if (r.type == EMR_CREATEPEN || r.type == EMR_CREATEBRUSHINDIRECT || r.type == EMR_SELECTOBJECT
            || r.type == EMR_DELETEOBJECT)
            seq.push_back({r.type, U32(emf, r.offset + 8)});
    const std::vector<std::pair<quint32, quint32>> expected = {
        {EMR_CREATEPEN, 1}, {EMR_SELECTOBJECT, 1},
        {EMR_CREATEBRUSHINDIRECT, 2}, {EMR_SELECTOBJECT, 2},
        {EMR_CREATEPEN, 3}, {EMR_SELECTOBJECT, 3}, {EMR_DELETEOBJECT, 1},
        {EMR_SELECTOBJECT, STOCK_BIT | NULL_BRUSH}, {EMR_DELETEOBJECT, 2},
    };
    EXPECT_EQ(seq, expected);
    // The blue pen: colour 0x00FF0000 in the record.
    const auto recs = Records(emf);
    const auto pen = std::find_if(recs.begin(), recs.end(), [](const RecordInfo& r) { return r.type == EMR_CREATEPEN; });
    EXPECT_EQ(U32(emf, pen->offset + 24), clBlue);
}

TEST(EmfRecorder, TextIsUtf16WithAdvancesFromTheMeasuringFont)
{
    TMetafileCanvas c(400, 100);
    c.Font.Name = QStringLiteral("Arial");
    c.Font.SetSize(10);
    c.SetTextAlign(TA_RIGHT);
    const QString text = QStringLiteral("Ação ÇÃ 12");
    const int width = c.TextWidth(text);
    c.TextOut(300, 10, text);
    const QByteArray emf = c.Finish();

    const auto recs = Records(emf);
    const auto it = std::find_if(recs.begin(), recs.end(), [](const RecordInfo& r) { return r.type == EMR_EXTTEXTOUTW; });
    ASSERT_NE(it, recs.end());
    const quint32 o = it->offset;
    EXPECT_EQ(I32(emf, o + 36), 300);  // reference point as given; alignment does the rest
    EXPECT_EQ(U32(emf, o + 44), quint32(text.size()));
    QString stored;
    for (int i = 0; i < text.size(); ++i)
        stored.append(QChar(qFromLittleEndian<quint16>(emf.constData() + o + U32(emf, o + 48) + 2 * i)));
    EXPECT_EQ(stored, text);
    const quint32 offDx = U32(emf, o + 72);
    ASSERT_NE(offDx, 0u);
    ASSERT_LE(offDx + 4 * text.size(), it->size);
    int sum = 0;
    for (int i = 0; i < text.size(); ++i)
        sum += I32(emf, o + offDx + 4 * i);
    EXPECT_EQ(sum, width);
    // Bounds: right-aligned text ends at the reference point.
    EXPECT_EQ(I32(emf, o + 16), 299);
    EXPECT_EQ(I32(emf, o + 8), 300 - width);

    // The font record names the requested face; the record is the plain 104 bytes.
    const auto font = std::find_if(recs.begin(), recs.end(),
                                   [](const RecordInfo& r) { return r.type == EMR_EXTCREATEFONTINDIRECTW; });
    ASSERT_NE(font, recs.end());
    EXPECT_EQ(font->size, 104u);
    EXPECT_EQ(I32(emf, font->offset + 12), -13);
    EXPECT_EQ(QString::fromUtf16(reinterpret_cast<const char16_t*>(emf.constData() + font->offset + 40), 5),
              QStringLiteral("Arial"));
}

TEST(EmfRecorder, ClippingResetIsASelectionWithoutRegion)
{
    TMetafileCanvas c(100, 100);
    c.RemoveClipRegion();
    const QByteArray emf = c.Finish();
    const auto recs = Records(emf);
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[1].type, EMR_EXTSELECTCLIPRGN);
    EXPECT_EQ(recs[1].size, 16u);
    EXPECT_EQ(U32(emf, recs[1].offset + 8), 0u);
    EXPECT_EQ(U32(emf, recs[1].offset + 12), RGN_COPY);
}

TEST(EmfRecorder, IndependentReaderAcceptsThePage)
{
    const QString conv = QStandardPaths::findExecutable(QStringLiteral("emf2svg-conv"));
    if (conv.isEmpty())
        GTEST_SKIP() << "emf2svg-conv not installed";
    const QByteArray emf = SamplePage();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString in = dir.filePath(QStringLiteral("page.emf")), out = dir.filePath(QStringLiteral("page.svg"));
    QFile f(in);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(emf);
    f.close();
    QFile::copy(in, OutputDir() + QStringLiteral("/sample-page.emf"));

    QProcess p;
    p.start(conv, {QStringLiteral("-i"), in, QStringLiteral("-o"), out});
    ASSERT_TRUE(p.waitForFinished(60000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    QFile svgFile(out);
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    const QString svg = QString::fromUtf8(svgFile.readAll());
    for (const QString& text : {QStringLiteral("Relatório"), QStringLiteral("Ação"), QStringLiteral("Página 1"),
                                QStringLiteral("Código 0123456789"), QStringLiteral("1.234,56")})
        EXPECT_TRUE(svg.contains(text)) << text.toStdString();
    EXPECT_TRUE(svg.contains(QStringLiteral("<ellipse"))) << "ellipse";
    EXPECT_GE(svg.count(QStringLiteral("<rect")), 2) << "rectangle and rounded rectangle";
    EXPECT_GE(svg.count(QStringLiteral("<path")), 3) << "rule, dashed rule and fill";
    EXPECT_TRUE(svg.contains(QStringLiteral("stroke-dasharray"))) << "dashed pen";
    EXPECT_TRUE(svg.contains(QStringLiteral("fill:#808080"))) << "brush fill";
    EXPECT_TRUE(svg.contains(QStringLiteral("<image"))) << "nested picture";
    EXPECT_TRUE(svg.contains(QStringLiteral("text-decoration=\"underline\""))) << "underlined font";
}

TEST(EmfRecorder, PlaybackLooksLikeDirectPainting)
{
    QImage direct(kA4Width, kA4Height, QImage::Format_RGB32);
    direct.fill(Qt::white);
    {
        QPainter p(&direct);
        PainterCanvas c(&p, 96);
        DrawSamplePage(c, NestedPicture());
    }
    QImage played(kA4Width, kA4Height, QImage::Format_RGB32);
    played.fill(Qt::white);
    EmfPlayResult r;
    {
        QPainter p(&played);
        r = EmfPlayer::Play(SamplePage(), &p, QRectF(0, 0, kA4Width, kA4Height));
    }
    EXPECT_TRUE(r.Ok()) << r.error.toStdString();
    EXPECT_EQ(r.recordsSkipped, 0);
    played.save(OutputDir() + QStringLiteral("/sample-page-played.png"));
    direct.save(OutputDir() + QStringLiteral("/sample-page-direct.png"));

    // Same pixels up to anti-aliasing: count pixels that differ noticeably.
    int differ = 0, inked = 0;
    for (int y = 0; y < kA4Height; ++y) {
        const QRgb* a = reinterpret_cast<const QRgb*>(direct.constScanLine(y));
        const QRgb* b = reinterpret_cast<const QRgb*>(played.constScanLine(y));
        for (int x = 0; x < kA4Width; ++x) {
            if (a[x] != qRgb(255, 255, 255))
                ++inked;
            if (std::abs(qGray(a[x]) - qGray(b[x])) > 64)
                ++differ;
        }
    }
    EXPECT_GT(inked, 20000);
    EXPECT_LT(differ, inked / 200) << "differing pixels " << differ << " of " << inked;

    // Spot checks: the filled rectangle, the grey fill and the nested picture.
    EXPECT_EQ(played.pixel(140, 250), qRgb(0xC0, 0xE0, 0xFF));
    EXPECT_EQ(played.pixel(400, 340), qRgb(0x80, 0x80, 0x80));
    EXPECT_EQ(played.pixel(40, 380), direct.pixel(40, 380));
}
