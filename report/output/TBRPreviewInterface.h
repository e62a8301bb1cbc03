#pragma once
// Opens a preview window for an output target. The base opens nothing; the
// standard opener shows the standard preview window, which the preview code
// registers with SetStandardPreviewWindow.

#include <QObject>
#include <functional>
#include <memory>

class QWidget;
class TBRPrinter;

class TBRPreviewInterface : public QObject {
    Q_OBJECT
public:
    explicit TBRPreviewInterface(QObject* owner = nullptr) : QObject(owner) {}
    virtual QWidget* Present(TBRPrinter* printer);
    virtual QWidget* PresentModal(TBRPrinter* printer);
};

class TBRStandardPreviewInterface : public TBRPreviewInterface {
    Q_OBJECT
public:
    using TBRPreviewInterface::TBRPreviewInterface;
    // Creates the standard window for the target (owned by the application);
    // modal or not.
    using WindowFactory = std::function<QWidget*(TBRPrinter* printer, bool modal)>;
    static void SetStandardPreviewWindow(WindowFactory factory);

    QWidget* Present(TBRPrinter* printer) override;
    QWidget* PresentModal(TBRPrinter* printer) override;
};

// The class that OpenPreview instantiates.
using TBRPreviewInterfaceClass = std::function<std::unique_ptr<TBRPreviewInterface>()>;
TBRPreviewInterfaceClass& PreviewInterfaceClass();
