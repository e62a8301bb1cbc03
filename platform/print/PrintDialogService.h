#pragma once
// The platform's print dialog behind a service, so that tests can answer it.
// The exchange mirrors the platform's print-dialog record: flags, page fields
// as 16-bit values, copies, and the device names and device mode of the
// printer offered and of the printer chosen.

#include "DeviceMode.h"

#include <QString>
#include <cstdint>
#include <functional>

class QWidget;

// Flags of the exchange (hexadecimal values of the platform).
constexpr std::uint32_t PD_ALLPAGES = 0x0;
constexpr std::uint32_t PD_SELECTION = 0x1;
constexpr std::uint32_t PD_PAGENUMS = 0x2;
constexpr std::uint32_t PD_NOSELECTION = 0x4;
constexpr std::uint32_t PD_NOPAGENUMS = 0x8;
constexpr std::uint32_t PD_COLLATE = 0x10;
constexpr std::uint32_t PD_PRINTTOFILE = 0x20;
constexpr std::uint32_t PD_NOWARNING = 0x80;
constexpr std::uint32_t PD_SHOWHELP = 0x800;
constexpr std::uint32_t PD_ENABLEPRINTHOOK = 0x1000;
constexpr std::uint32_t PD_ENABLESETUPHOOK = 0x2000;
constexpr std::uint32_t PD_DISABLEPRINTTOFILE = 0x80000;
constexpr std::uint32_t PD_HIDEPRINTTOFILE = 0x100000;

struct PrintDialogData {
    std::uint32_t Flags = 0;
    std::uint16_t FromPage = 0;
    std::uint16_t ToPage = 0;
    std::uint16_t MinPage = 0;
    std::uint16_t MaxPage = 0;
    // 0 on the way in: the count comes from the device mode. On the way out
    // 1 means the driver keeps the count in the device mode.
    std::uint16_t Copies = 0;
    // Device names; an empty device means none was given.
    QString Device;
    QString Driver;
    QString Port;
    // None: the dialog starts on the default printer.
    DeviceModeHandle DevMode;
    // The window that owns the dialog.
    QWidget* Owner = nullptr;
    // Hook: the dialog window is initialized (before it shows) and destroyed.
    std::function<void(QWidget* dialog)> OnInitDialog;
    std::function<void()> OnDestroyDialog;
};

class PrintDialogService {
public:
    virtual ~PrintDialogService() = default;
    PrintDialogService() = default;
    PrintDialogService(const PrintDialogService&) = delete;
    PrintDialogService& operator=(const PrintDialogService&) = delete;

    // The service in use: the one installed by setInstance, else Qt's dialog.
    static PrintDialogService& Instance();
    // Installs `service` (not owned); nullptr goes back to the real dialog.
    static void SetInstance(PrintDialogService* service);
    static PrintDialogService* Installed();

    // Shows the dialog modally; true when confirmed, `data` then holding the
    // choices (flags, pages, copies, device names and device mode).
    virtual bool Run(PrintDialogData& data) = 0;
};

// Qt's print dialog: printer, all pages / selection / page range within
// MinPage-MaxPage, copies, collation and print to file, as the flags allow.
class QtPrintDialogService : public PrintDialogService {
public:
    bool Run(PrintDialogData& data) override;
};
