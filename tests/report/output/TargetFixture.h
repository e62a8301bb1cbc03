#pragma once
// Output targets on recording printers: every target made in a test gets its
// own recording printer, and the application-wide one is a recording too.

#include "BRMessages.h"
#include "FakePrintHost.h"
#include "RecordingPrinterService.h"
#include "RecordingPrinters.h"
#include "TBRPrinter.h"
#include "TBRUnitBase.h"
#include "TCanvas.h"
#include <QCoreApplication>
#include <QList>
#include <gtest/gtest.h>
#include <optional>

// Collects the engine messages it receives.
class MessageSink : public QObject {
public:
    struct Message {
        int message;
        quintptr wParam, lParam;
    };
    QList<Message> received;
    std::function<void(const Message&)> onMessage;

    bool event(QEvent* e) override
    {
        if (e->type() >= QEvent::User + WM_USER && e->type() <= QEvent::User + WM_USER + 16) {
            auto* m = static_cast<BRMessageEvent*>(e);
            received.append({m->Message, m->WParam, m->LParam});
            if (onMessage)
                onMessage(received.last());
            return true;
        }
        return QObject::event(e);
    }
    QList<quintptr> params(int message) const
    {
        QList<quintptr> out;
        for (const Message& m : received)
            if (m.message == message)
                out.append(m.wParam);
        return out;
    }
};

class TargetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TBRUnitBase::InitDefaultUnits(QLocale(QLocale::Portuguese, QLocale::Brazil));
        m_printers.emplace([this] { return printers; });
    }
    void TearDown() override { m_printers.reset(); }

    static RecordingPrinterService& rec(TBRPrinter& t) { return *dynamic_cast<RecordingPrinterService*>(t.Printer()); }

    // The document calls a printer received, without the device-mode traffic.
    static QStringList docLog(TBRPrinter& t)
    {
        QStringList out;
        for (const QString& line : rec(t).Log)
            if (line.startsWith(QStringLiteral("BeginDoc")) || line == QStringLiteral("NewPage") || line == QStringLiteral("EndDoc") || line == QStringLiteral("Abort"))
                out.append(line);
        return out;
    }

    // Runs a job of `pages` pages, each saying "Page n".
    static void runJob(TBRPrinter& t, int pages)
    {
        t.StartJob();
        for (int i = 1; i <= pages; ++i) {
            t.NewPage();
            t.PageCanvas()->TextOut(t.DeviceX(200), t.DeviceY(200), QStringLiteral("Page %1").arg(i));
        }
        t.FinishJob();
    }

    QList<RecordedPrinter> printers{RecordedPrinter::Laser()};
    FakePrintHost host;

private:
    std::optional<RecordingPrinters> m_printers;
};
