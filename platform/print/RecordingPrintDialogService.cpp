#include "RecordingPrintDialogService.h"

#include <QWidget>

RecordingPrintDialogService::RecordingPrintDialogService() : m_previous(PrintDialogService::Installed())
{
    PrintDialogService::SetInstance(this);
}

RecordingPrintDialogService::~RecordingPrintDialogService()
{
    PrintDialogService::SetInstance(m_previous);
}

bool RecordingPrintDialogService::Run(PrintDialogData& data)
{
    Given.append(data);
    GivenModes.append(data.DevMode ? *data.DevMode : DeviceMode{});
    QWidget window(data.Owner, Qt::Dialog);
    window.resize(420, 300);
    if (data.OnInitDialog)
        data.OnInitDialog(&window);
    const bool confirmed = Operator && Operator(data);
    if (data.OnDestroyDialog)
        data.OnDestroyDialog();
    return confirmed;
}
