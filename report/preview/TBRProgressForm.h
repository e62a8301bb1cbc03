#pragma once
// The small always-on-top window shown while a report prints: a bar that
// moves in steps of five, the percentage line and "Cancel", which asks the
// output target to stop.

#include <QPointer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class TBRPrinter;

class TBRProgressForm : public QWidget {
    Q_OBJECT
public:
    explicit TBRProgressForm(QWidget* parent = nullptr);

    QLabel* Info = nullptr;
    QPushButton* CancelButton = nullptr;
    QProgressBar* Gauge = nullptr;

    // The target whose progress is shown (not owned); set by the report.
    void SetBRPrinter(TBRPrinter* printer) { m_printer = printer; }
    TBRPrinter* BRPrinter() const { return m_printer; }

    void CancelButtonClick();

protected:
    bool event(QEvent* event) override;
    // Closed by the window manager or by a stop of the program: as "Cancel".
    void closeEvent(QCloseEvent* event) override;

private:
    void Progress();

    QPointer<TBRPrinter> m_printer;
};
