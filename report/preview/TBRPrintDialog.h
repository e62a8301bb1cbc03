#pragma once
// The print dialog the report shows for the printer set-up: the platform's
// print dialog, filled from these properties and read back into them and into
// the application-wide printer when the operator confirms.

#include "TBRBasePrintDialog.h"

#include <QFlags>
#include <cstdint>

class QWidget;
struct PrintDialogData;

enum TPrintDialogOption {
    poPrintToFile = 0x01,
    poPageNums = 0x02,
    poSelection = 0x04,
    poWarning = 0x08,
    poHelp = 0x10,
    poDisablePrintToFile = 0x20,
};
Q_DECLARE_FLAGS(TPrintDialogOptions, TPrintDialogOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TPrintDialogOptions)

enum TPrintRange { prAllPages = 0, prSelection = 1, prPageNums = 2 };

class TBRPrintDialog : public TBRBasePrintDialog {
    Q_OBJECT
    Q_PROPERTY(bool Collate READ Collate WRITE SetCollate)
    Q_PROPERTY(int Copies READ Copies WRITE SetCopies)
    Q_PROPERTY(int FromPage READ FromPage WRITE SetFromPage)
    Q_PROPERTY(int MinPage READ MinPage WRITE SetMinPage)
    Q_PROPERTY(int MaxPage READ MaxPage WRITE SetMaxPage)
    Q_PROPERTY(bool PrintToFile READ PrintToFile WRITE SetPrintToFile)
    Q_PROPERTY(int ToPage READ ToPage WRITE SetToPage)
public:
    explicit TBRPrintDialog(QObject* owner = nullptr);

    // Shows the dialog; true when confirmed, the properties and the printer
    // then carrying the choices. Cancelled, nothing changes.
    bool Execute();

    bool Collate() const { return m_collate; }
    void SetCollate(bool v) { m_collate = v; }
    int Copies() const { return m_copies; }
    // Also sets the printer's copies.
    void SetCopies(int v);
    int FromPage() const { return m_fromPage; }
    void SetFromPage(int v) { m_fromPage = v; }
    int MinPage() const { return m_minPage; }
    void SetMinPage(int v) { m_minPage = v; }
    int MaxPage() const { return m_maxPage; }
    void SetMaxPage(int v) { m_maxPage = v; }
    TPrintDialogOptions Options() const { return m_options; }
    void SetOptions(TPrintDialogOptions v) { m_options = v; }
    bool PrintToFile() const { return m_printToFile; }
    void SetPrintToFile(bool v) { m_printToFile = v; }
    TPrintRange PrintRange() const { return m_printRange; }
    void SetPrintRange(TPrintRange v) { m_printRange = v; }
    int ToPage() const { return m_toPage; }
    void SetToPage(int v) { m_toPage = v; }

    // The flags handed to the platform dialog for the current properties.
    std::uint32_t DialogFlags() const;

private:
    void PlaceWindow(QWidget* window) const;
    int PrinterCopies();

    bool m_collate = false;
    int m_copies = 0;
    int m_fromPage = 0;
    int m_minPage = 0;
    int m_maxPage = 0;
    TPrintDialogOptions m_options;
    bool m_printToFile = false;
    TPrintRange m_printRange = prAllPages;
    int m_toPage = 0;
};
