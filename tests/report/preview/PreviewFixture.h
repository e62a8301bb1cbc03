#pragma once
// Targets with recorded pages on recording printers, a stand-in for the report
// that owns them, and dialogs answered by recording services.

#include "BRMessages.h"
#include "BRPreviewHost.h"
#include "BRPrintHost.h"
#include "BRRunWindowsRegistration.h"
#include "RecordingDialogService.h"
#include "RecordingMessageService.h"
#include "RecordingPrinterService.h"
#include "RecordingPrinters.h"
#include "TBRPrinter.h"
#include "TBRStandardPreview.h"
#include "TBRUnitBase.h"
#include "TCanvas.h"

#include <QCoreApplication>
#include <QList>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

// The report as the preview sees it: owner of the target and receiver of its
// print and preview-closed requests.
class FakeReport : public QObject, public BRPrintHost, public BRPreviewHost {
public:
    TBRPrinterEvent OnGetPrinterSettings() const override { return {}; }
    TBRPrinterEvent OnApplyPrinterSettings() const override { return {}; }
    bool UseStandardprinter() const override { return false; }
    int PreviewFormStyleOrdinal() const override { return formStyle; }
    int PreviewWindowWidth() const override { return width > 0 ? width : 500; }
    int PreviewWindowHeight() const override { return height > 0 ? height : 500; }
    int PreviewInitialStateOrdinal() const override { return initialState; }
    TBRPrinter* CurrentOutputTarget() const override { return current; }

    bool event(QEvent* e) override
    {
        for (int m : {BRM_PRINT, BRM_PREVIEWCLOSED}) {
            if (BRMessageEvent::Is(e, m)) {
                const auto* msg = static_cast<BRMessageEvent*>(e);
                received.append({m, msg->LParam});
                if (m == BRM_PREVIEWCLOSED && onPreviewClosed)
                    onPreviewClosed(reinterpret_cast<TBRPrinter*>(msg->LParam));
                return true;
            }
        }
        return QObject::event(e);
    }

    int formStyle = 0;
    int width = 652;
    int height = 579;
    int initialState = 0;
    TBRPrinter* current = nullptr;
    struct Message {
        int message;
        quintptr lParam;
    };
    QList<Message> received;
    std::function<void(TBRPrinter*)> onPreviewClosed;
};

class PreviewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TBRUnitBase::InitDefaultUnits(QLocale(QLocale::Portuguese, QLocale::Brazil));
        // This layer's windows, as the engine's start-up registers them.
        brp::RegisterStandardPreview();
        brp::RegisterRunWindows();
        m_printers.emplace([this] { return printers; });
    }
    void TearDown() override
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        m_printers.reset();
    }

    static RecordingPrinterService& rec(TBRPrinter& t) { return *dynamic_cast<RecordingPrinterService*>(t.Printer()); }

    // A target of the report, aimed at the preview.
    std::unique_ptr<TBRPrinter> newTarget()
    {
        auto t = std::make_unique<TBRPrinter>(&report);
        t->SetRequestReceiver(&report);
        return t;
    }

    // Draws page n: its number large at the top, a rule and a few lines.
    static void drawPage(TBRPrinter& t, int n)
    {
        TCanvas& c = *t.PageCanvas();
        c.Font.Name = QStringLiteral("Arial");
        c.Font.SetSize(20);
        c.TextOut(t.DeviceX(200), t.DeviceY(200), QStringLiteral("Page %1").arg(n));
        c.Font.SetSize(9);
        c.MoveTo(t.DeviceX(200), t.DeviceY(320));
        c.LineTo(t.DeviceX(1900), t.DeviceY(320));
        for (int line = 0; line < 10; ++line)
            c.TextOut(t.DeviceX(200), t.DeviceY(360 + 50 * line), QStringLiteral("Pedido %1 linha %2").arg(n).arg(line));
    }

    // A finished job of `pages` pages.
    static void runJob(TBRPrinter& t, int pages)
    {
        t.StartJob();
        for (int i = 1; i <= pages; ++i) {
            t.NewPage();
            drawPage(t, i);
        }
        t.FinishJob();
    }

    QList<RecordedPrinter> printers{RecordedPrinter::Laser()};
    FakeReport report;

private:
    std::optional<RecordingPrinters> m_printers;
};
