// Finding text in the standard preview (Ctrl+F, F3 and Shift+F3 wrapping at
// both ends, "hit N of M", the run marked on its page and scrolled into view,
// the find bar's keys) and the page thumbnails (drawn only when shown, the
// current page framed, a click shows the page).
#include "PreviewFixture.h"
#include "TBRPreview.h"
#include "TBRPreviewImage.h"
#include "TBRStandardPreview.h"
#include "TBRThumbnailPanel.h"
#include "TMetafile.h"
#include "TStatusBar.h"

#include <QAction>
#include <QApplication>
#include <QDockWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

namespace {

class PreviewSearchTest : public PreviewTest {
protected:
    void TearDown() override
    {
        delete window.data();
        PreviewTest::TearDown();
    }

    // A shown, active window on a target; with pages > 0 a finished job.
    void open(int pages)
    {
        target = newTarget();
        if (pages > 0)
            runJob(*target, pages);
        window = TBRStandardPreview::CreatePreview(qApp, target.get());
        window->resize(700, 600);
        window->show();
        window->UpdatePageStatus();
        QApplication::setActiveWindow(window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }
    int shown() const { return window->BRPreview->PreviewImage()->ImagePage(); }
    QString status() const { return window->SearchStatus->text(); }
    void find(const QString& text)
    {
        QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
        QApplication::processEvents(); // the bar takes its room first
        window->FindEdit->clear();
        for (QChar c : text) {
            if (c.unicode() < 0x80) {
                QTest::keyClick(window->FindEdit, char(c.unicode()));
            } else { // typed as text: the test's key table is ASCII only
                QTest::sendKeyEvent(QTest::Press, window->FindEdit, Qt::Key_unknown, QString(c), Qt::NoModifier);
                QTest::sendKeyEvent(QTest::Release, window->FindEdit, Qt::Key_unknown, QString(c), Qt::NoModifier);
            }
        }
    }
    // Where page-unit point p shows in the image.
    QPoint onImage(QPoint p) const
    {
        const TBRPreviewImage* image = window->BRPreview->PreviewImage();
        return QPoint(int(p.x() * double(image->width()) / image->Picture()->Width()),
                      int(p.y() * double(image->height()) / image->Picture()->Height()));
    }

    std::unique_ptr<TBRPrinter> target;
    QPointer<TBRStandardPreview> window;
};

TEST_F(PreviewSearchTest, HitsAcrossPagesWrapBothWays)
{
    open(5);
    EXPECT_FALSE(window->FindBar->isVisible());
    window->GotoPage(3);
    find(QStringLiteral("LINHA 7")); // "Pedido n linha 7" once a page
    EXPECT_TRUE(window->FindBar->isVisible());
    EXPECT_TRUE(window->FindEdit->hasFocus());
    // The first hit on or after the page shown.
    EXPECT_EQ(shown(), 3);
    EXPECT_EQ(status(), QStringLiteral("hit 3 of 5"));

    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int page;
    };
    const Step steps[] = {
        {Qt::Key_F3, Qt::NoModifier, 4},     {Qt::Key_Return, Qt::NoModifier, 5},
        {Qt::Key_F3, Qt::NoModifier, 1},     // past the last: the first
        {Qt::Key_F3, Qt::ShiftModifier, 5},  // before the first: the last
        {Qt::Key_Return, Qt::ShiftModifier, 4},
    };
    for (const Step& s : steps) {
        QTest::keyClick(window->FindEdit, s.key, s.modifiers);
        EXPECT_EQ(shown(), s.page) << s.key;
        EXPECT_EQ(status(), QStringLiteral("hit %1 of 5").arg(s.page));
        EXPECT_EQ(window->StatusBar->PanelText(1), QStringLiteral("Page %1 of 5").arg(s.page));
    }
    // F3 also works with the focus away from the bar.
    window->setFocus();
    QTest::keyClick(window, Qt::Key_F3);
    EXPECT_EQ(shown(), 5);
}

TEST_F(PreviewSearchTest, CaseAndAccentsAndNoHit)
{
    target = newTarget();
    target->StartJob();
    const QStringList texts = {QStringLiteral("Relação José"), QStringLiteral("sem nada"), QStringLiteral("JOSE CARLOS"), QStringLiteral("josé")};
    for (const QString& t : texts) {
        target->NewPage();
        target->PageCanvas()->TextOut(40, 40, t);
    }
    target->FinishJob();
    window = TBRStandardPreview::CreatePreview(qApp, target.get());
    window->show();
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));

    find(QStringLiteral("JOSÉ"));
    EXPECT_EQ(status(), QStringLiteral("hit 1 of 3"));
    EXPECT_EQ(shown(), 1);
    QTest::keyClick(window->FindEdit, Qt::Key_F3);
    EXPECT_EQ(shown(), 3);

    find(QStringLiteral("relacao jose"));
    EXPECT_EQ(status(), QStringLiteral("hit 1 of 1"));

    window->GotoPage(2);
    find(QStringLiteral("Zé Ninguém"));
    EXPECT_EQ(status(), QStringLiteral("not found"));
    EXPECT_EQ(shown(), 2);
    EXPECT_TRUE(window->BRPreview->PreviewImage()->HighlightArea().isEmpty());
    QTest::keyClick(window->FindEdit, Qt::Key_F3);
    EXPECT_EQ(shown(), 2);
}

TEST_F(PreviewSearchTest, TheRunIsMarkedWhereItIsAndScrolledIntoView)
{
    open(3);
    window->BRPreview->SetZoom(300);
    find(QStringLiteral("pedido 2 linha 9")); // the page's last line
    ASSERT_EQ(shown(), 2);
    TBRPreviewImage* image = window->BRPreview->PreviewImage();
    const QRect area = image->HighlightArea();
    ASSERT_FALSE(area.isEmpty());
    // The run was drawn with its top left at (200, 810) in tenths of a millimetre.
    const QPoint topLeft = onImage(QPoint(target->DeviceX(200), target->DeviceY(810)));
    EXPECT_NEAR(area.left(), topLeft.x(), 4);
    EXPECT_NEAR(area.top(), topLeft.y(), 4);
    EXPECT_GT(area.width(), area.height() * 4); // a line of text, not a point
    EXPECT_LT(area.height(), 80);

    // In view: the area lies within the visible part of the image.
    const QRect visible(image->mapFrom(window->BRPreview->viewport(), QPoint(0, 0)),
                        window->BRPreview->viewport()->size());
    EXPECT_TRUE(visible.contains(area)) << visible.y() << " " << area.y();
    EXPECT_GT(window->BRPreview->verticalScrollBar()->value(), 0);

    // Painted over the page, the text under it still dark.
    const QImage painted = image->grab().toImage();
    const QColor inside = painted.pixelColor(area.left() + 2, area.top() + 2);
    EXPECT_GT(inside.red(), 200);
    EXPECT_LT(inside.blue(), 150);

    // Only on its own page.
    window->GotoPage(1);
    EXPECT_TRUE(image->HighlightArea().isEmpty());
    window->GotoPage(2);
    EXPECT_EQ(image->HighlightArea(), area);
}

TEST_F(PreviewSearchTest, TheBarsEditKeepsItsKeysAndEscClosesIt)
{
    open(10);
    window->GotoPage(5);
    find(QStringLiteral("linha"));
    ASSERT_EQ(shown(), 5);
    QTest::keyClick(window->FindEdit, Qt::Key_Home);
    EXPECT_EQ(window->FindEdit->cursorPosition(), 0);
    QTest::keyClick(window->FindEdit, Qt::Key_End);
    EXPECT_EQ(window->FindEdit->cursorPosition(), 5);
    EXPECT_EQ(shown(), 5); // not the first or last page
    QTest::keyClick(window->FindEdit, Qt::Key_PageDown);
    EXPECT_EQ(shown(), 6); // the window's paging still works

    QTest::keyClick(window->FindEdit, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(window);
    EXPECT_FALSE(window->FindBar->isVisible());
    EXPECT_TRUE(status().isEmpty());
    EXPECT_TRUE(window->BRPreview->PreviewImage()->HighlightArea().isEmpty());
    // Reopened, the text is kept and selected; F3 searches again from here.
    QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(window->FindEdit->selectedText(), QStringLiteral("linha"));
    QTest::keyClick(window->FindEdit, Qt::Key_F3);
    EXPECT_EQ(status(), QStringLiteral("hit 51 of 100"));

    // Esc with the focus elsewhere still closes the window.
    window->FindBar->hide();
    window->setFocus();
    QTest::keyClick(window, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
}

TEST_F(PreviewSearchTest, HitsFollowPagesStillBeingGenerated)
{
    open(0);
    target->StartJob();
    for (int n = 1; n <= 3; ++n) {
        target->NewPage();
        drawPage(*target, n);
    }
    // Pages 1 and 2 are stored, page 3 is still being drawn.
    find(QStringLiteral("linha 4"));
    EXPECT_EQ(status(), QStringLiteral("hit 1 of 2"));
    QTest::keyClick(window->FindEdit, Qt::Key_F3);
    EXPECT_EQ(status(), QStringLiteral("hit 2 of 2"));
    target->NewPage();
    drawPage(*target, 4);
    target->FinishJob();
    QTest::keyClick(window->FindEdit, Qt::Key_F3);
    EXPECT_EQ(status(), QStringLiteral("hit 3 of 4"));
    EXPECT_EQ(shown(), 3);
}

TEST_F(PreviewSearchTest, ALoadedFileIsSearchedAfresh)
{
    open(4);
    find(QStringLiteral("pedido 4 linha 0"));
    EXPECT_EQ(status(), QStringLiteral("hit 1 of 1"));
    QTemporaryDir tmp;
    auto other = newTarget();
    runJob(*other, 2);
    other->SaveReportFile(tmp.filePath(QStringLiteral("two.BRP")));
    RecordingDialogService dialogs;
    dialogs.QueueAnswer(tmp.filePath(QStringLiteral("two.BRP")));
    window->LoadClick();
    ASSERT_EQ(target->PageTotal(), 2);
    EXPECT_TRUE(status().isEmpty());
    QTest::keyClick(window->FindEdit, Qt::Key_F3);
    EXPECT_EQ(status(), QStringLiteral("not found"));
    window->FindEdit->setText(QStringLiteral("pedido 2 linha 0"));
    QTest::keyClick(window->FindEdit, Qt::Key_Return);
    EXPECT_EQ(status(), QStringLiteral("hit 1 of 1"));
    EXPECT_EQ(shown(), 2);
}

TEST_F(PreviewSearchTest, ThumbnailsDrawnOnlyWhenShownClickableAndMarked)
{
    open(6);
    TBRThumbnailPanel* panel = window->ThumbnailPanel;
    EXPECT_FALSE(window->ThumbnailDock->isVisible());
    (void)window->grab();
    EXPECT_EQ(panel->Renders(), 0); // hidden: nothing drawn

    QTest::keyClick(window, Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(window->ThumbnailDock->isVisible());
    EXPECT_TRUE(window->Thumbnails->isChecked());
    QWidget* strip = panel->widget();
    // What shows of the column, in its own coordinates.
    auto shoot = [&] {
        QImage view = panel->viewport()->grab().toImage();
        QImage img(strip->size(), QImage::Format_RGB32);
        img.fill(Qt::magenta);
        QPainter p(&img);
        p.drawImage(strip->mapFrom(panel->viewport(), QPoint(0, 0)), view);
        return img;
    };
    const QImage shot = shoot();
    const int drawn = panel->Renders();
    EXPECT_GT(drawn, 0);
    EXPECT_LT(drawn, 6); // only the pages in view
    (void)shoot();
    EXPECT_EQ(panel->Renders(), drawn); // kept, not drawn again

    // Page 1's picture is a page: white with dark text on it.
    const QRect first = panel->PictureRect(1);
    int dark = 0, white = 0;
    for (int y = first.top() + 2; y < first.bottom() - 2; ++y)
        for (int x = first.left() + 2; x < first.right() - 2; ++x) {
            const QColor c = shot.pixelColor(x, y);
            dark += c.lightness() < 160;
            white += c == Qt::white;
        }
    EXPECT_GT(dark, 20);
    EXPECT_GT(white, first.width() * first.height() / 2);

    // The current page is framed in the accent colour, the others are not.
    auto framed = [&](int page) {
        const QImage img = shoot();
        const QRect r = panel->PictureRect(page);
        return img.pixelColor(r.left() - 2, r.center().y()) == QColor(30, 90, 180);
    };
    EXPECT_TRUE(framed(1));
    EXPECT_FALSE(framed(2));
    window->GotoPage(2);
    EXPECT_EQ(panel->CurrentPage(), 2);
    EXPECT_TRUE(framed(2));
    EXPECT_FALSE(framed(1));

    // A click shows the page, and scrolls its picture into view.
    const QRect third = panel->PictureRect(3);
    QTest::mouseClick(strip, Qt::LeftButton, {}, third.center());
    EXPECT_EQ(shown(), 3);
    EXPECT_EQ(window->StatusBar->PanelText(1), QStringLiteral("Page 3 of 6"));
    QTest::mouseClick(strip, Qt::LeftButton, {}, QPoint(2, 2)); // between pictures
    EXPECT_EQ(shown(), 3);

    window->Thumbnails->trigger();
    EXPECT_FALSE(window->ThumbnailDock->isVisible());
}

} // namespace
