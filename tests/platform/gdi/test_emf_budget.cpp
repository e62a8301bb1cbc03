// Hostile pages: long point lists, huge numbers of shapes, text and bitmaps.
// Each page is drawn whole or cut short at the page's work budget, and a
// page cut short says so. Their cost against a listing page is in bench_emf.
#include "EmfPlayer.h"
#include "EmfRecords.h"
#include "EmfTestSupport.h"
#include "HostileEmfPages.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <functional>

using namespace hostileemf;

namespace {

struct Played {
    EmfPlayResult result;
    QImage image;
};

Played Play(const QByteArray& emf)
{
    Played p;
    p.image = QImage(794, 1123, QImage::Format_RGB32);
    p.image.fill(Qt::white);
    QPainter painter(&p.image);
    p.result = EmfPlayer::Play(emf, &painter, QRectF(0, 0, 794, 1123));
    return p;
}

}  // namespace

TEST(EmfBudget, LongPointListsAreDrawnWhole)
{
    for (bool walk : {true, false}) {
        SCOPED_TRACE(walk ? "walking" : "scattered");
        const Played p = Play(Polyline16(250000, walk));
        EXPECT_TRUE(p.result.ok()) << p.result.error.toStdString();
    }
}

TEST(EmfBudget, PagesPastTheBudgetAreCutShortAndSaySo)
{
    const struct {
        const char* name;
        std::function<QByteArray()> page;
    } cases[] = {
        {"4 million-point polyline", [] { return Polyline16(4000000, true); }},
        {"a million triangles", [] { return Triangles(1000000); }},
        {"400,000 triangles", [] { return Triangles(400000); }},
        {"2 million page-sized rectangles", [] { return Repeated(2000000, PageRectangle()); }},
        {"600,000 texts", [] { return Repeated(600000, Text()); }},
        {"400,000 page-sized bitmaps", [] { return Repeated(400000, Bitmap()); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray emf = c.page();
        const Played p = Play(emf);
        EXPECT_EQ(int(p.result.status), int(EmfPlayResult::Status::Partial));
        EXPECT_TRUE(p.result.error.contains(QStringLiteral("budget"))) << p.result.error.toStdString();
    }
}
