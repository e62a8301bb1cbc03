#pragma once
// Test double of the print dialog: keeps what each call was given and answers
// with a handler that plays the operator. Installs itself while it lives.

#include "PrintDialogService.h"

#include <QList>
#include <functional>

class RecordingPrintDialogService : public PrintDialogService {
public:
    RecordingPrintDialogService();
    ~RecordingPrintDialogService() override;
    RecordingPrintDialogService(const RecordingPrintDialogService&) = delete;
    RecordingPrintDialogService& operator=(const RecordingPrintDialogService&) = delete;

    // Runs the hooks around the operator like the real dialog (the dialog
    // window is a plain widget that exists during the call).
    bool Run(PrintDialogData& data) override;

    // The operator: edits the data and answers true to confirm. None cancels.
    std::function<bool(PrintDialogData&)> Operator;
    // Copies of what each call was given, device mode included.
    QList<PrintDialogData> Given;
    QList<DeviceMode> GivenModes;

private:
    PrintDialogService* m_previous;
};
