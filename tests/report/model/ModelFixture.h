#pragma once
// A report on A4 at 96 pixels per inch, without printers, owned by a plain
// component standing for the window.

#include "BandRpt.h"
#include "RecordingPrinters.h"

#include <gtest/gtest.h>
#include <memory>
#include <optional>

class ModelFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_printers.emplace();
        TBRUnitBase::InitDefaultUnits(QLocale(QLocale::Portuguese, QLocale::Brazil));
        form = std::make_unique<TComponent>();
        form->SetName(QStringLiteral("Form1"));
        report = new TBandReport(form.get());
        report->SetName(QStringLiteral("BRRelatorio"));
        report->Page()->SetPaperSize(TBRPaperSize::A4);
    }
    void TearDown() override
    {
        form.reset();
        m_printers.reset();
    }

    QStringList order() const
    {
        QStringList names;
        for (TBRCustomBand* b : report->BandList())
            names << b->Name();
        return names;
    }

    template <class T>
    T* place(const QString& name)
    {
        auto* band = new T(form.get());
        band->SetName(name);
        band->SetParentPanel(report);
        return band;
    }

    TBRBand* band(const QString& name, TBRBandType type)
    {
        auto* b = place<TBRBand>(name);
        b->SetBandType(type);
        return b;
    }

    std::unique_ptr<TComponent> form;
    TBandReport* report = nullptr;

private:
    std::optional<RecordingPrinters> m_printers;
};
