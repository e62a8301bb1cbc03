#include "TPrinterSettings.h"
#include "BRPrintHost.h"
#include "BRPrinterCodes.h"
#include "BRRound.h"
#include "PrinterService.h"
#include <QCoreApplication>
#include <algorithm>

namespace {
std::int16_t clamp16(long value)
{
    return static_cast<std::int16_t>(std::clamp<long>(value, -32768, 32767));
}

// Device units to native units; a device reporting no resolution gives 0.
int dotsToNative(int dots, int perInch)
{
    if (perInch <= 0)
        return 0;
    return brp::Round(static_cast<long double>(dots) / perInch * 254);
}

int tablePaper(TBRPaperSize size, bool width)
{
    const BRPaperDimensions d = brp::PaperTable(size);
    return brp::Round(static_cast<long double>(width ? d.width : d.length) * 10);
}
} // namespace

TPrinterSettings::TPrinterSettings(QObject* owner)
    : QObject(nullptr), m_ownerReport(dynamic_cast<BRPrintHost*>(owner))
{
}

TPrinterSettings::~TPrinterSettings() = default;

void TPrinterSettings::AttachPrinter(PrinterService* printer)
{
    m_printer = printer;
    if (m_printer && !m_printer->Printers().isEmpty())
        ReadFromPrinter();
}

void TPrinterSettings::ReadFromPrinter()
{
    if (!m_printer)
        return;
    QCoreApplication::processEvents();
    DeviceModeHandle mode;
    m_printer->GetPrinter(m_device, m_driver, m_port, mode);
    if (!mode)
        m_printer->GetPrinter(m_device, m_driver, m_port, mode);
    if (!mode)
        return; // no device selected: nothing to read

    // The driver's file name, as the spooler reports the driver.
    const QString path = m_printer->DriverPath(m_device);
    const qsizetype cut = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\'));
    m_driver = path.mid(cut + 1).left(63);

    m_devMode = mode;
    const TBRPrinterEvent handler = m_ownerReport ? m_ownerReport->OnGetPrinterSettings() : TBRPrinterEvent();
    bool cancel = false;
    if (handler) {
        handler(this, cancel, m_devMode.get());
        if (cancel)
            return;
    }

    const DeviceMode& dm = *m_devMode;
    m_pixelsPerInchX = m_printer->LogPixelsX();
    m_pixelsPerInchY = m_printer->LogPixelsY();
    m_copies = (dm.dmFields & DM_COPIES) ? dm.dmCopies : 1;
    m_outputBin = TBRBin::First;
    if (dm.dmFields & DM_DEFAULTSOURCE)
        m_outputBin = brp::BinFromCode(dm.dmDefaultSource);
    if (dm.dmFields & DM_DUPLEX)
        m_duplex = dm.dmDuplex != DMDUP_SIMPLEX;
    m_printableLeft = dotsToNative(m_printer->PhysicalOffsetX(), m_pixelsPerInchX);
    m_printableTop = dotsToNative(m_printer->PhysicalOffsetY(), m_pixelsPerInchY);
    m_paperSize = TBRPaperSize::Default;
    if (dm.dmFields & DM_PAPERSIZE)
        m_paperSize = brp::PaperSizeFromCode(dm.dmPaperSize);
    m_paperWidth = dotsToNative(m_printer->PhysicalWidth(), m_pixelsPerInchX);
    m_paperLength = dotsToNative(m_printer->PhysicalHeight(), m_pixelsPerInchY);

    m_paperSizeSupported.fill(false);
    for (int code : m_printer->PaperCodes(m_device, m_port, m_devMode.get())) {
        TBRPaperSize size;
        if (brp::FindPaperSize(code, size) && size != TBRPaperSize::Default)
            m_paperSizeSupported[static_cast<int>(size)] = true;
    }
    m_paperSizeSupported[static_cast<int>(TBRPaperSize::Custom)] = true;

    if (handler) {
        cancel = false;
        handler(this, cancel, m_devMode.get());
    }
}

void TPrinterSettings::ApplyToPrinter()
{
    if (!m_printer)
        return;
    DeviceModeHandle mode;
    m_printer->GetPrinter(m_device, m_driver, m_port, mode);
    if (!mode)
        return; // no device: nothing to write into
    m_devMode = mode;
    DeviceMode& dm = *m_devMode;

    MarkField(DM_PAPERLENGTH);
    dm.dmPaperLength = clamp16(PaperLength());
    MarkField(DM_PAPERWIDTH);
    dm.dmPaperWidth = clamp16(PaperWidth());
    if (FieldSupported(DM_PAPERSIZE) && m_paperSize != TBRPaperSize::Default) {
        MarkField(DM_PAPERSIZE);
        dm.dmPaperSize = clamp16(m_useCustomPaperCode ? m_customPaperCode : PaperCode(m_paperSize));
    }
    MarkField(DM_COPIES);
    dm.dmCopies = clamp16(m_copies);
    MarkField(DM_DUPLEX);
    dm.dmDuplex = m_extendedDuplex != 0 ? clamp16(m_extendedDuplex) : (m_duplex ? DMDUP_HORIZONTAL : DMDUP_SIMPLEX);
    MarkField(DM_DEFAULTSOURCE);
    dm.dmDefaultSource = clamp16(m_useCustomBinCode ? m_customBinCode : BinCode(m_outputBin));
    MarkField(DM_ORIENTATION);
    dm.dmOrientation = m_orientation == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;

    bool cancel = false;
    const TBRPrinterEvent handler = m_ownerReport ? m_ownerReport->OnApplyPrinterSettings() : TBRPrinterEvent();
    if (handler)
        handler(this, cancel, m_devMode.get());
    if (!cancel)
        m_printer->SetPrinter(m_device, m_driver, m_port, m_devMode);
}

bool TPrinterSettings::FieldSupported(std::uint32_t mask) const
{
    return m_printer && m_devMode && (m_devMode->dmFields & mask) == mask;
}

void TPrinterSettings::MarkField(std::uint32_t mask)
{
    if (m_devMode)
        m_devMode->dmFields |= mask;
}

void TPrinterSettings::SetCopies(int copies)
{
    if (FieldSupported(DM_COPIES))
        m_copies = copies;
}

void TPrinterSettings::SetOrientation(TPrinterOrientation orientation)
{
    if (FieldSupported(DM_ORIENTATION))
        m_orientation = orientation;
}

void TPrinterSettings::SetDuplex(bool duplex)
{
    if (FieldSupported(DM_DUPLEX))
        m_duplex = duplex;
}

void TPrinterSettings::SetOutputBin(TBRBin bin)
{
    if (FieldSupported(DM_DEFAULTSOURCE))
        m_outputBin = bin;
}

void TPrinterSettings::SetPaperSize(TBRPaperSize size)
{
    if (size == TBRPaperSize::Default || PaperSizeSupported(size))
        m_paperSize = size;
}

bool TPrinterSettings::PaperSizeSupported(TBRPaperSize size) const
{
    const int i = static_cast<int>(size);
    return i > 0 && i < BRPaperSizeCount && m_paperSizeSupported[i];
}

int TPrinterSettings::PaperWidth() const
{
    return brp::IsTablePaper(m_paperSize) ? tablePaper(m_paperSize, true) : m_paperWidth;
}

int TPrinterSettings::PaperLength() const
{
    return brp::IsTablePaper(m_paperSize) ? tablePaper(m_paperSize, false) : m_paperLength;
}
