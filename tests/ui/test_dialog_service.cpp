// The dialog service: platform filters become Qt's, and the recording double
// answers in turn and puts the previous service back.
#include "RecordingDialogService.h"

#include <gtest/gtest.h>

namespace {

TEST(DialogService, PlatformFiltersAsQtFilters)
{
    struct Case {
        QString filter;
        QStringList expected;
    };
    const Case cases[] = {
        {"Report file(*.BRP)|*.BRP", {"Report file (*.BRP *.brp)"}},
        {"Report file (*.BRP)|*.BRP", {"Report file (*.BRP *.brp)"}},
        {"Report file(*.BRP)|*.BRP|Text (*.txt)|*.txt", {"Report file (*.BRP *.brp)", "Text (*.txt)"}},
        {"Pictures|*.png;*.EMF", {"Pictures (*.png *.EMF *.emf)"}},
        {"dangling", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DialogService::QtFilters(c.filter), c.expected) << c.filter.toStdString();
}

TEST(DialogService, RecorderAnswersInTurn)
{
    DialogService* before = &DialogService::instance();
    {
        RecordingDialogService rec;
        EXPECT_EQ(&DialogService::instance(), &rec);
        rec.queueAnswer("7");
        rec.queueCancel();
        rec.queueAnswer("/tmp/a.BRP", 2);
        QString value = "1";
        EXPECT_TRUE(DialogService::instance().InputQuery("Caption", "Prompt", value));
        EXPECT_EQ(value, "7");
        EXPECT_FALSE(DialogService::instance().InputQuery("Caption", "Prompt", value));
        EXPECT_EQ(value, "7");
        QString name;
        int index = 1;
        EXPECT_TRUE(DialogService::instance().SaveFileName("Save", "A|*.a|B|*.b", "a", name, index));
        EXPECT_EQ(name, "/tmp/a.BRP");
        EXPECT_EQ(index, 2);
        EXPECT_FALSE(DialogService::instance().OpenFileName("Open", "A|*.a", "", name, index)); // none queued
        ASSERT_EQ(rec.requests().size(), 4);
        EXPECT_EQ(rec.requests()[0].prompt, "Prompt");
        EXPECT_EQ(rec.requests()[1].value, "7");
        EXPECT_EQ(rec.requests()[2].kind, RecordingDialogService::Kind::Save);
        EXPECT_EQ(rec.requests()[2].defaultExt, "a");
        EXPECT_EQ(rec.requests()[3].kind, RecordingDialogService::Kind::Open);
    }
    EXPECT_EQ(&DialogService::instance(), before);
}

} // namespace
