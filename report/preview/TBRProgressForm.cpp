#include "TBRProgressForm.h"

#include "Application.h"
#include "BRMessages.h"
#include "TBRPrinter.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>

TBRProgressForm::TBRProgressForm(QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
{
    setObjectName(QStringLiteral("BRProgressForm"));
    setWindowTitle(QStringLiteral("Printing progress"));
    setFixedSize(149, 97);
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);

    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setGeometry(36, 60, 75, 25);
    connect(CancelButton, &QPushButton::clicked, this, [this] { Application::Guard([this] { CancelButtonClick(); }); });

    Gauge = new QProgressBar(this);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    Gauge->setGeometry(16, 18, 114, 16);
    Gauge->setRange(0, 100);
    Gauge->setValue(0);
    Gauge->setTextVisible(false);

    Info = new QLabel(this);
    Info->setObjectName(QStringLiteral("Info"));
    Info->setGeometry(0, 44, 145, 13);
    Info->setAlignment(Qt::AlignCenter);

    setTabOrder(CancelButton, Gauge);

    if (const QScreen* s = screen()) {
        QRect r = geometry();
        r.moveCenter(s->availableGeometry().center());
        move(r.topLeft());
    }
}

void TBRProgressForm::CancelButtonClick()
{
    if (m_printer)
        m_printer->RequestCancel();
}

void TBRProgressForm::Progress()
{
    if (!m_printer)
        return;
    const int value = m_printer->Progress();
    if (value % 5 != 0)
        return;
    Gauge->setValue(value);
    Info->setText(QString::number(value) + QStringLiteral("% ") + QStringLiteral(" Completed"));
    // Repaint, and let "Cancel" be pressed while the run prints.
    QCoreApplication::processEvents();
}

void TBRProgressForm::closeEvent(QCloseEvent* event)
{
    Application::Guard([this] { CancelButtonClick(); });
    QWidget::closeEvent(event);
}

bool TBRProgressForm::event(QEvent* event)
{
    if (BRMessageEvent::Is(event, BRM_PROGRESS)) {
        Application::Guard([this] { Progress(); });
        return true;
    }
    return QWidget::event(event);
}
