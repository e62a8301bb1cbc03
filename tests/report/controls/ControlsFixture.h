#pragma once
// A report on A4 at 96 pixels per inch with one band, and an output target
// recording a preview page, so that printables can be printed the way a run
// prints them (BeginOutput, PrintAt, EndOutput) and the page read back.

#include "BRCtrls.h"
#include "BandRpt.h"
#include "FixedExpressionEngine.h"
#include "RecordedPage.h"
#include "RecordingPrinters.h"
#include "TBRPrinter.h"
#include "TCanvas.h"
#include "TMetafile.h"

#include <QDateTime>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_printers.emplace();
        TBRUnitBase::InitDefaultUnits(QLocale(QLocale::Portuguese, QLocale::Brazil));
        m_engine.emplace(QStringLiteral("Controls"));
        brp::RegisterReportControlClasses();
        form = std::make_unique<TComponent>();
        form->SetName(QStringLiteral("Form1"));
        report = new TBandReport(form.get());
        report->SetName(QStringLiteral("BRRelatorio"));
        report->Page()->SetPaperSize(TBRPaperSize::A4);
        band = new TBRBand(form.get());
        band->SetName(QStringLiteral("BRBand1"));
        band->SetParentPanel(report);
        band->SetBandType(rbDetail);
    }
    void TearDown() override
    {
        target.reset();
        form.reset();
        m_engine.reset();
        m_printers.reset();
    }

    // A control of class T on the band at the pixel place given.
    template <class T>
    T* place(const QString& name, int left, int top, int width, int height, TBRBasePanel* on = nullptr)
    {
        auto* p = new T(form.get());
        p->SetName(name);
        p->SetParentPanel(on ? on : band);
        p->SetBounds(left, top, width, height);
        return p;
    }

    // Starts a preview job on its first page, as a run does.
    void startPage()
    {
        target = std::make_unique<TBRPrinter>(report);
        report->SetOutputTarget(target.get());
        target->StartJob();
        target->NewPage();
    }
    // Ends the job and reads back the first page.
    RecordedPage finishPage()
    {
        target->FinishJob();
        const std::unique_ptr<TMetafile> page = target->FetchPage(1);
        return page ? RecordedPage::Read(page->Data()) : RecordedPage();
    }
    // A page to print on, and the run state that lets bands grow: the
    // band starts `cursorY` native units down the page.
    void startRun(int cursorY)
    {
        startPage();
        report->SetAvailable(false);
        report->SetCursorY(cursorY);
    }

    // One print of a printable at the band's corner, as a run does it.
    static void printOnce(TBRPrintable* p, int offsetX, int offsetY)
    {
        p->BeginOutput();
        p->PrintAt(offsetX, offsetY);
        p->EndOutput();
    }

    // The texts one print of each control leaves on a page, in order.
    QStringList printed(const QList<TBRPrintable*>& controls)
    {
        startPage();
        for (TBRPrintable* p : controls)
            printOnce(p, 380, 1000);
        const QStringList texts = finishPage().Texts();
        target.reset();
        return texts;
    }

    // Native units to device pixels on the recorded page.
    int dx(long double native) const { return target->DeviceX(native); }
    int dy(long double native) const { return target->DeviceY(native); }

    std::unique_ptr<TComponent> form;
    TBandReport* report = nullptr;
    TBRBand* band = nullptr;
    std::unique_ptr<TBRPrinter> target;

private:
    std::optional<RecordingPrinters> m_printers;
    std::optional<FixedExpressionEngine> m_engine;
};
