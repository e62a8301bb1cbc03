#include "QtPrinterService.h"
#include "PainterCanvas.h"
#include "PrintError.h"
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPrinterInfo>
#include <cmath>

namespace {
QString notPrinting()
{
    return QStringLiteral("Printer is not currently printing");
}

// Whole dots or tenths of a millimetre, halves to the even neighbour as the
// engine rounds everywhere else.
int roundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}
} // namespace

namespace brp {

QPrinter::PaperSource QtPaperSourceFromBin(int bin)
{
    switch (bin) {
    case DMBIN_UPPER: return QPrinter::Upper;
    case DMBIN_LOWER: return QPrinter::Lower;
    case DMBIN_MIDDLE: return QPrinter::Middle;
    case DMBIN_MANUAL: return QPrinter::Manual;
    case DMBIN_ENVELOPE: return QPrinter::Envelope;
    case DMBIN_ENVMANUAL: return QPrinter::EnvelopeManual;
    case DMBIN_TRACTOR: return QPrinter::Tractor;
    case DMBIN_SMALLFMT: return QPrinter::SmallFormat;
    case DMBIN_LARGEFMT: return QPrinter::LargeFormat;
    case DMBIN_LARGECAPACITY: return QPrinter::LargeCapacity;
    case DMBIN_CASSETTE: return QPrinter::Cassette;
    case DMBIN_FORMSOURCE: return QPrinter::FormSource;
    default: return QPrinter::Auto;
    }
}

int BinFromQtPaperSource(QPrinter::PaperSource source)
{
    switch (source) {
    case QPrinter::Upper: return DMBIN_UPPER;
    case QPrinter::Lower: return DMBIN_LOWER;
    case QPrinter::Middle: return DMBIN_MIDDLE;
    case QPrinter::Manual: return DMBIN_MANUAL;
    case QPrinter::Envelope: return DMBIN_ENVELOPE;
    case QPrinter::EnvelopeManual: return DMBIN_ENVMANUAL;
    case QPrinter::Tractor: return DMBIN_TRACTOR;
    case QPrinter::SmallFormat: return DMBIN_SMALLFMT;
    case QPrinter::LargeFormat: return DMBIN_LARGEFMT;
    case QPrinter::LargeCapacity: return DMBIN_LARGECAPACITY;
    case QPrinter::Cassette: return DMBIN_CASSETTE;
    case QPrinter::FormSource: return DMBIN_FORMSOURCE;
    default: return DMBIN_AUTO;
    }
}

} // namespace brp

QtPrinterService::QtPrinterService()
{
    m_names = QPrinterInfo::availablePrinterNames();
    if (!m_names.isEmpty())
        SetPrinterIndex(-1);
}

QtPrinterService::~QtPrinterService()
{
    if (Printing())
        Abort();
}

QStringList QtPrinterService::Printers() const
{
    return m_names;
}

void QtPrinterService::SetPrinterIndex(int index)
{
    if (index == -1) {
        if (m_names.isEmpty())
            throw PrintError(QStringLiteral("There is no default printer currently selected"));
        const int def = m_names.indexOf(QPrinterInfo::defaultPrinterName());
        index = def >= 0 ? def : 0;
    }
    if (index < 0 || index >= m_names.size())
        throw PrintError(QStringLiteral("Printer index out of range"));
    SelectDevice(index);
}

void QtPrinterService::SelectDevice(int index)
{
    if (Printing())
        throw PrintError(QStringLiteral("Cannot change the printer while printing"));
    m_index = index;
    m_printer.setPrinterName(m_names.at(index));
    ApplyDefaults();
}

void QtPrinterService::ApplyDefaults()
{
    const QPrinterInfo info(m_printer);
    const QPageSize size = info.defaultPageSize();
    if (size.isValid())
        m_printer.setPageSize(size);
    m_printer.setPageOrientation(QPageLayout::Portrait);
    m_printer.setCopyCount(1);
    // QPrinter carries the previous printer's duplex and paper source over
    // to the new one: take the queue's own instead. Its default tray is the
    // one it picks when none is named.
    m_printer.setDuplex(info.defaultDuplexMode());
    m_printer.setPaperSource(QPrinter::Auto);
}

DeviceMode QtPrinterService::ReadMode() const
{
    DeviceMode mode;
    mode.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES | DM_DEFAULTSOURCE;
    const QPrinterInfo info(m_printer);
    if (info.supportedDuplexModes().size() > 1)
        mode.dmFields |= DM_DUPLEX;
    const QPageLayout layout = m_printer.pageLayout();
    mode.dmOrientation = layout.orientation() == QPageLayout::Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
    const QPageSize page = layout.pageSize();
    const int code = page.windowsId();
    mode.dmPaperSize = static_cast<std::int16_t>(code > 0 ? code : DMPAPER_USER);
    const QSizeF mm = page.size(QPageSize::Millimeter);
    mode.dmPaperWidth = static_cast<std::int16_t>(roundEven(mm.width() * 10));
    mode.dmPaperLength = static_cast<std::int16_t>(roundEven(mm.height() * 10));
    mode.dmCopies = static_cast<std::int16_t>(m_printer.copyCount());
    mode.dmDefaultSource = static_cast<std::int16_t>(brp::BinFromQtPaperSource(m_printer.paperSource()));
    switch (m_printer.duplex()) {
    case QPrinter::DuplexLongSide:
    case QPrinter::DuplexAuto:
        mode.dmDuplex = DMDUP_VERTICAL;
        break;
    case QPrinter::DuplexShortSide:
        mode.dmDuplex = DMDUP_HORIZONTAL;
        break;
    default:
        mode.dmDuplex = DMDUP_SIMPLEX;
        break;
    }
    return mode;
}

void QtPrinterService::ApplyMode(const DeviceMode& mode)
{
    bool sized = false;
    if ((mode.dmFields & DM_PAPERSIZE) && mode.dmPaperSize != DMPAPER_USER) {
        const QPageSize::PageSizeId id = QPageSize::id(mode.dmPaperSize);
        if (id != QPageSize::Custom) {
            m_printer.setPageSize(QPageSize(id));
            sized = true;
        }
    }
    if (!sized && (mode.dmFields & DM_PAPERWIDTH) && (mode.dmFields & DM_PAPERLENGTH) && mode.dmPaperWidth > 0 &&
        mode.dmPaperLength > 0)
        m_printer.setPageSize(QPageSize(QSizeF(mode.dmPaperWidth / 10.0, mode.dmPaperLength / 10.0),
                                        QPageSize::Millimeter));
    if (mode.dmFields & DM_ORIENTATION)
        m_printer.setPageOrientation(mode.dmOrientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape
                                                                              : QPageLayout::Portrait);
    if (mode.dmFields & DM_COPIES)
        m_printer.setCopyCount(std::max<int>(1, mode.dmCopies));
    if (mode.dmFields & DM_DUPLEX) {
        switch (mode.dmDuplex) {
        case DMDUP_VERTICAL: m_printer.setDuplex(QPrinter::DuplexLongSide); break;
        case DMDUP_HORIZONTAL: m_printer.setDuplex(QPrinter::DuplexShortSide); break;
        default: m_printer.setDuplex(QPrinter::DuplexNone); break;
        }
    }
    if (mode.dmFields & DM_DEFAULTSOURCE)
        m_printer.setPaperSource(brp::QtPaperSourceFromBin(mode.dmDefaultSource));
}

void QtPrinterService::GetPrinter(QString& device, QString& driver, QString& port, DeviceModeHandle& mode)
{
    if (m_index < 0) {
        NoDevice(device, driver, port, mode);
        return;
    }
    const QPrinterInfo info(m_printer);
    device = m_names.at(m_index);
    driver = info.makeAndModel();
    port = info.location();
    mode = std::make_shared<DeviceMode>(ReadMode());
}

void QtPrinterService::SetPrinter(const QString& device, const QString&, const QString&,
                                  const DeviceModeHandle& mode)
{
    const int index = m_names.indexOf(device);
    if (index < 0)
        throw PrintError(QStringLiteral("Printer \"%1\" not found").arg(device));
    if (Printing())
        throw PrintError(QStringLiteral("Cannot change the printer while printing"));
    if (index != m_index || !mode)
        SelectDevice(index);
    if (mode)
        ApplyMode(*mode);
}

QString QtPrinterService::DriverPath(const QString& device) const
{
    // CUPS keeps one description file per queue; it plays the driver's part.
    const QString ppd = QStringLiteral("/etc/cups/ppd/%1.ppd").arg(device);
    if (QFileInfo::exists(ppd))
        return ppd;
    return QStringLiteral("/usr/lib/cups/filter/") + QPrinterInfo::printerInfo(device).makeAndModel();
}

QList<int> QtPrinterService::PaperCodes(const QString& device, const QString&, const DeviceMode*) const
{
    QList<int> codes;
    for (const QPageSize& size : QPrinterInfo::printerInfo(device).supportedPageSizes()) {
        const int code = size.windowsId();
        if (code > 0 && !codes.contains(code))
            codes.append(code);
    }
    return codes;
}

int QtPrinterService::LogPixelsX() const
{
    return m_printer.resolution();
}

int QtPrinterService::LogPixelsY() const
{
    return m_printer.resolution();
}

int QtPrinterService::PhysicalWidth() const
{
    return roundEven(m_printer.paperRect(QPrinter::DevicePixel).width());
}

int QtPrinterService::PhysicalHeight() const
{
    return roundEven(m_printer.paperRect(QPrinter::DevicePixel).height());
}

int QtPrinterService::PhysicalOffsetX() const
{
    return roundEven(m_printer.pageRect(QPrinter::DevicePixel).left() - m_printer.paperRect(QPrinter::DevicePixel).left());
}

int QtPrinterService::PhysicalOffsetY() const
{
    return roundEven(m_printer.pageRect(QPrinter::DevicePixel).top() - m_printer.paperRect(QPrinter::DevicePixel).top());
}

int QtPrinterService::PageWidth() const
{
    return roundEven(m_printer.pageRect(QPrinter::DevicePixel).width());
}

int QtPrinterService::PageHeight() const
{
    return roundEven(m_printer.pageRect(QPrinter::DevicePixel).height());
}

bool QtPrinterService::Printing() const
{
    return m_painter && m_painter->isActive();
}

void QtPrinterService::BeginDoc()
{
    if (m_index < 0)
        throw PrintError(QStringLiteral("There is no default printer currently selected"));
    if (Printing())
        throw PrintError(QStringLiteral("Printing in progress"));
    m_printer.setDocName(m_title);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&m_printer))
        throw PrintError(QStringLiteral("Printer \"%1\" could not start the job").arg(m_names.at(m_index)));
    m_painter = std::move(painter);
    m_canvas = std::make_unique<PainterCanvas>(m_painter.get(), m_printer.resolution());
}

void QtPrinterService::NewPage()
{
    if (!Printing())
        throw PrintError(notPrinting());
    if (!m_printer.newPage())
        throw PrintError(QStringLiteral("Printer \"%1\" could not start a new page").arg(m_names.at(m_index)));
    m_canvas->Refresh();
}

void QtPrinterService::EndPainting()
{
    m_canvas.reset();
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
}

void QtPrinterService::EndDoc()
{
    if (!Printing())
        throw PrintError(notPrinting());
    m_canvas.reset();
    const bool ok = m_painter->end();
    m_painter.reset();
    if (!ok)
        throw PrintError(QStringLiteral("Printer \"%1\" could not finish the job").arg(m_names.at(m_index)));
}

void QtPrinterService::Abort()
{
    if (!Printing())
        return;
    m_printer.abort();
    EndPainting();
}

TCanvas* QtPrinterService::Canvas()
{
    return m_canvas.get();
}
