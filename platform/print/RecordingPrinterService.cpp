#include "RecordingPrinterService.h"
#include "EmfPlayer.h"
#include "PrintError.h"
#include "TMetafileCanvas.h"

#include <QImage>
#include <QPainter>

class RecordingPrinterService::PageCanvas : public TMetafileCanvas {
public:
    PageCanvas(PrintedPage& page, int width, int height, int ppi) : TMetafileCanvas(width, height, ppi), m_page(page) {}
    bool StretchDraw(const TRect& rect, const QByteArray& emf) override
    {
        m_page.pictures.append(emf);
        m_page.pictureRects.append(rect);
        // A damaged picture is told apart as a real device tells it: played,
        // here at a small size.
        QImage probe(32, 32, QImage::Format_RGB32);
        QPainter painter(&probe);
        return EmfPlayer::Play(emf, &painter, QRectF(0, 0, 32, 32)).Ok();
    }

private:
    PrintedPage& m_page;
};

RecordedPrinter RecordedPrinter::Laser(const QString& name)
{
    RecordedPrinter p;
    p.name = name;
    p.driverPath = QStringLiteral("/usr/lib/drivers/laser/LASERDRV.PPD");
    p.port = QStringLiteral("usb://laser");
    p.paperCodes = {1, 5, 9, 11};
    p.defaults.dmFields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES |
                          DM_DEFAULTSOURCE | DM_DUPLEX;
    p.defaults.dmPaperSize = DMPAPER_A4;
    p.defaults.dmPaperWidth = 2100;
    p.defaults.dmPaperLength = 2970;
    p.defaults.dmCopies = 1;
    p.defaults.dmDefaultSource = DMBIN_AUTO;
    p.defaults.dmDuplex = DMDUP_SIMPLEX;
    return p;
}

RecordingPrinterService::RecordingPrinterService(QList<RecordedPrinter> printers, int defaultIndex)
    : m_printers(std::move(printers))
{
    for (const RecordedPrinter& p : m_printers)
        m_modes.append(p.defaults);
    if (!m_printers.isEmpty())
        m_index = (defaultIndex >= 0 && defaultIndex < m_printers.size()) ? defaultIndex : 0;
}

RecordingPrinterService::~RecordingPrinterService() = default;

// As a real queue does: the job in progress keeps its device and mode.
void RecordingPrinterService::RefuseWhilePrinting() const
{
    if (m_printing)
        throw PrintError(QStringLiteral("Cannot change the printer while printing"));
}

QStringList RecordingPrinterService::Printers() const
{
    QStringList names;
    for (const RecordedPrinter& p : m_printers)
        names.append(p.name);
    return names;
}

void RecordingPrinterService::SetPrinterIndex(int index)
{
    if (index == -1) {
        if (m_printers.isEmpty())
            throw PrintError(QStringLiteral("There is no default printer currently selected"));
        index = 0;
    }
    if (index < 0 || index >= m_printers.size())
        throw PrintError(QStringLiteral("Printer index out of range"));
    RefuseWhilePrinting();
    m_index = index;
    Log.append(QStringLiteral("SetIndex %1").arg(index));
}

void RecordingPrinterService::GetPrinter(QString& device, QString& driver, QString& port, DeviceModeHandle& mode)
{
    if (m_index < 0) {
        NoDevice(device, driver, port, mode);
        return;
    }
    device = m_printers[m_index].name;
    driver = QStringLiteral("recorder");
    port = m_printers[m_index].port;
    mode = std::make_shared<DeviceMode>(m_modes[m_index]);
}

void RecordingPrinterService::SetPrinter(const QString& device, const QString&, const QString&,
                                         const DeviceModeHandle& mode)
{
    int index = -1;
    for (int i = 0; i < m_printers.size(); ++i)
        if (m_printers[i].name == device)
            index = i;
    if (index < 0)
        throw PrintError(QStringLiteral("Printer \"%1\" not found").arg(device));
    RefuseWhilePrinting();
    m_index = index;
    m_modes[index] = mode ? *mode : m_printers[index].defaults;
    Log.append(QStringLiteral("SetPrinter %1").arg(device));
}

QString RecordingPrinterService::DriverPath(const QString& device) const
{
    for (const RecordedPrinter& p : m_printers)
        if (p.name == device)
            return p.driverPath;
    return {};
}

QList<int> RecordingPrinterService::PaperCodes(const QString& device, const QString&, const DeviceMode*) const
{
    for (const RecordedPrinter& p : m_printers)
        if (p.name == device)
            return p.paperCodes;
    return {};
}

int RecordingPrinterService::LogPixelsX() const { return m_index < 0 ? 0 : m_printers[m_index].dpiX; }
int RecordingPrinterService::LogPixelsY() const { return m_index < 0 ? 0 : m_printers[m_index].dpiY; }
int RecordingPrinterService::PhysicalWidth() const { return m_index < 0 ? 0 : m_printers[m_index].physicalWidth; }
int RecordingPrinterService::PhysicalHeight() const { return m_index < 0 ? 0 : m_printers[m_index].physicalHeight; }
int RecordingPrinterService::PhysicalOffsetX() const { return m_index < 0 ? 0 : m_printers[m_index].offsetX; }
int RecordingPrinterService::PhysicalOffsetY() const { return m_index < 0 ? 0 : m_printers[m_index].offsetY; }

int RecordingPrinterService::PageWidth() const
{
    return m_index < 0 ? 0 : m_printers[m_index].physicalWidth - 2 * m_printers[m_index].offsetX;
}

int RecordingPrinterService::PageHeight() const
{
    return m_index < 0 ? 0 : m_printers[m_index].physicalHeight - 2 * m_printers[m_index].offsetY;
}

DeviceMode RecordingPrinterService::CurrentMode() const
{
    return m_index < 0 ? DeviceMode{} : m_modes[m_index];
}

void RecordingPrinterService::BeginDoc()
{
    if (m_index < 0)
        throw PrintError(QStringLiteral("There is no default printer currently selected"));
    if (m_printing)
        throw PrintError(QStringLiteral("Printing in progress"));
    if (!FailBeginDoc.isEmpty())
        throw PrintError(FailBeginDoc);
    Log.append(QStringLiteral("BeginDoc %1").arg(m_title));
    if (OnCall)
        OnCall(Log.last());
    JobMode = m_modes[m_index];
    m_printing = true;
    m_page = PrintedPage{};
    m_canvas = std::make_unique<PageCanvas>(m_page, PageWidth(), PageHeight(), LogPixelsX());
}

void RecordingPrinterService::ClosePage()
{
    if (m_canvas) {
        m_page.emf = m_canvas->Finish();
        Pages.append(m_page);
    }
    m_canvas.reset();
}

void RecordingPrinterService::NewPage()
{
    if (!m_printing)
        throw PrintError(QStringLiteral("Printer is not currently printing"));
    Log.append(QStringLiteral("NewPage"));
    if (OnCall)
        OnCall(Log.last());
    ClosePage();
    m_page = PrintedPage{};
    m_canvas = std::make_unique<PageCanvas>(m_page, PageWidth(), PageHeight(), LogPixelsX());
}

void RecordingPrinterService::EndDoc()
{
    if (!m_printing)
        throw PrintError(QStringLiteral("Printer is not currently printing"));
    Log.append(QStringLiteral("EndDoc"));
    if (OnCall)
        OnCall(Log.last());
    ClosePage();
    m_printing = false;
}

void RecordingPrinterService::Abort()
{
    if (!m_printing)
        return;
    Log.append(QStringLiteral("Abort"));
    if (OnCall)
        OnCall(Log.last());
    ClosePage();
    m_printing = false;
}

TCanvas* RecordingPrinterService::Canvas()
{
    return m_canvas.get();
}

bool RecordingPrinterService::PageHasText(const QByteArray& emf, const QString& text)
{
    const QByteArray utf16(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return emf.contains(utf16);
}
