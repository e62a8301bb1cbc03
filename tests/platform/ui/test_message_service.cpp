// Message boxes go through the service; the standard error display reports a
// failure's text and lets the program go on.
#include "Application.h"
#include "EConvertError.h"
#include "RecordingMessageService.h"
#include "TabPages.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

TEST(MessageService, RecorderCapturesAndAnswersAndRestoresPrevious)
{
    MessageService* before = &MessageService::Instance();
    {
        RecordingMessageService outer;
        {
            RecordingMessageService inner;
            inner.QueueAnswer(QMessageBox::No);
            EXPECT_EQ(MessageService::Instance().Show(QStringLiteral("Q"), QStringLiteral("sure?"), QMessageBox::Question,
                                                      QMessageBox::Yes | QMessageBox::No),
                      QMessageBox::No);
            EXPECT_EQ(MessageService::Instance().Show(QStringLiteral("Q"), QStringLiteral("again?"), QMessageBox::Question,
                                                      QMessageBox::Yes | QMessageBox::No),
                      QMessageBox::Yes);
            EXPECT_EQ(MessageService::Instance().Warning(QStringLiteral("careful")), QMessageBox::Ok);
            ASSERT_EQ(inner.Messages().size(), 3);
            const auto& w = inner.Messages()[2];
            EXPECT_EQ(w.caption, QStringLiteral("Warning"));
            EXPECT_EQ(w.icon, QMessageBox::Warning);
            EXPECT_EQ(w.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
            EXPECT_EQ(w.text, QStringLiteral("careful"));
        }
        EXPECT_EQ(&MessageService::Instance(), &outer);
        EXPECT_TRUE(outer.Messages().isEmpty());
    }
    EXPECT_EQ(&MessageService::Instance(), before);
}

TEST(StandardErrorDisplay, ShowsTheFailureTextAndGoesOn)
{
    RecordingMessageService messages;
    bool after = false;
    Application::Guard([] { throw EConvertError(QStringLiteral("'x' is not a valid date")); });
    Application::Guard([] { throw std::runtime_error("plain failure"); });
    Application::Guard([] { throw 42; });
    after = true;
    EXPECT_TRUE(after);
    ASSERT_EQ(messages.Messages().size(), 3);
    EXPECT_EQ(messages.Texts()[0], QStringLiteral("'x' is not a valid date"));
    EXPECT_EQ(messages.Texts()[1], QStringLiteral("plain failure"));
    for (const auto& m : messages.Messages()) {
        EXPECT_EQ(m.icon, QMessageBox::Critical);
        EXPECT_EQ(m.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_EQ(m.caption, QCoreApplication::applicationName());
    }
}

TEST(TabPages, BringsForwardOnlyTheFieldsOwnPage)
{
    QTabWidget tabs;
    auto* first = new QWidget;
    auto* second = new QWidget;
    tabs.addTab(first, QStringLiteral("one"));
    tabs.addTab(second, QStringLiteral("two"));
    auto* onSecond = new QLineEdit(second);
    auto* nested = new QLineEdit(new QWidget(second));
    QWidget loose;
    auto* elsewhere = new QLineEdit(&loose);

    brp::BringTabPageForward(nested); // not directly on the page
    EXPECT_EQ(tabs.currentWidget(), first);
    brp::BringTabPageForward(elsewhere);
    EXPECT_EQ(tabs.currentWidget(), first);
    brp::BringTabPageForward(onSecond);
    EXPECT_EQ(tabs.currentWidget(), second);
    brp::BringTabPageForward(nullptr);
}

} // namespace
