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
    for (const HostilePage& page : HostilePages()) {
        if (!page.drawnWhole)
            continue;
        SCOPED_TRACE(page.name);
        const Played p = Play(page.make());
        EXPECT_TRUE(p.result.Ok()) << p.result.error.toStdString();
    }
}

TEST(EmfBudget, PagesPastTheBudgetAreCutShortAndSaySo)
{
    for (const HostilePage& page : HostilePages()) {
        if (page.drawnWhole)
            continue;
        SCOPED_TRACE(page.name);
        const Played p = Play(page.make());
        EXPECT_EQ(int(p.result.status), int(EmfPlayResult::Status::Partial));
        EXPECT_TRUE(p.result.error.contains(QStringLiteral("budget"))) << p.result.error.toStdString();
    }
}
