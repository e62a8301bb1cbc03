#pragma once
// The main window on the offscreen platform, shown and active, with the data
// hooks replaced by recorders.

#include "Application.h"
#include "Clock.h"
#include "PlatformError.h"
#include "RecordingMessageService.h"
#include "TMaskEdit.h"
#include "TStatusBar.h"
#include "UPrincipal.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>
#include <functional>
#include <ostream>

// Readable texts in failure reports.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

class TestPrincipal : public TFPrincipal {
public:
    using TFPrincipal::DesabilitarControles;
    using TFPrincipal::HabilitarControles;
    using TFPrincipal::LimparCampos;
    using TFPrincipal::TiposPedido;
    using TFPrincipal::UltimaTecla;
    using TFPrincipal::ValidarDataFim;
    using TFPrincipal::ValidarDataIni;

    QStringList calls;
    bool vazia = true;
    std::function<void()> duranteBusca;
    std::function<void()> duranteRelatorio;

protected:
    void BuscarPedidos() override
    {
        calls << QStringLiteral("BuscarPedidos");
        if (duranteBusca)
            duranteBusca();
    }
    bool ConsultaVazia() override
    {
        calls << QStringLiteral("ConsultaVazia");
        return vazia;
    }
    void MostrarRelatorio() override
    {
        calls << QStringLiteral("MostrarRelatorio");
        if (duranteRelatorio)
            duranteRelatorio();
    }
    void FecharConsulta() override { calls << QStringLiteral("FecharConsulta"); }
};

class PrincipalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Clock::SetFixedToday(QDate(2026, 3, 9));
        Application::InstallFontSubstitutes();
        w = new TestPrincipal;
        w->show();
        QApplication::setActiveWindow(w);
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
        w->DataIni->setFocus();
        // Whatever start-up reported (no database here) is not under test.
        messages.Clear();
    }
    void TearDown() override
    {
        delete w;
        Clock::Reset();
    }

    QList<QWidget*> entradas() const
    {
        return {w->DataIni, w->DataFim, w->P51, w->P55, w->P56, w->BtImp, w->BtNovoRel, w->BtSair};
    }
    QWidget* focado() const { return QApplication::focusWidget(); }

    RecordingMessageService messages;
    TestPrincipal* w = nullptr;
};
