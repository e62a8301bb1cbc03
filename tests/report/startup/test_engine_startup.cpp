// The engine's start-up (called by the test main, as by every program) is all
// it takes for an output target to open the standard preview and for report
// definitions and the save dialog to find the engine's classes and filters.
// Nothing here names the preview's classes or registration functions.
#include "ClassRegistry.h"
#include "RecordingPrinterService.h"
#include "TBRExportFilter.h"
#include "TBRPrinter.h"

#include <QCoreApplication>
#include <QPointer>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>

TEST(EngineStartup, OutputTargetOpensTheStandardPreview)
{
    const PrinterServiceFactory previous =
        brp::SetPrinterServiceFactory([] { return std::make_unique<RecordingPrinterService>(); });
    {
        TBRPrinter target(nullptr);
        target.StartJob();
        target.NewPage();
        target.FinishJob();
        target.OpenPreview();
        QPointer<QWidget> window = target.PreviewWindow();
        ASSERT_TRUE(window);
        EXPECT_STREQ(window->metaObject()->className(), "TBRStandardPreview");
        EXPECT_TRUE(window->isVisible());
        window->close();
        delete window.data();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    brp::SetPrinterServiceFactory(previous);
}

TEST(EngineStartup, DefinitionsAndSaveDialogFindTheEngineClasses)
{
    for (const char* name : {"TBandReport", "TBRBand", "TBRLabel", "TBRDBText", "TBRExpr", "TBRShape"})
        EXPECT_TRUE(brp::FindClass(QString::fromLatin1(name))) << name;
    QStringList extensions;
    for (const auto& entry : ExportFilterLibrary().Filters)
        extensions.append(entry.Extension);
    EXPECT_EQ(extensions, QStringList({QStringLiteral("pdf"), QStringLiteral("csv"), QStringLiteral("txt")}));
}
