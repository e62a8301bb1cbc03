#pragma once
// Settings for printing plain-text reports on character-mode printers, or
// through graphical printing with a chosen font. It only holds and stores
// the settings.

#include "TComponent.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

#include "THeaderData.h"
#include "TPrintWin.h"

class TPrintFast : public TComponent {
    Q_OBJECT
    Q_PROPERTY(bool PageHeader READ PageHeader WRITE SetPageHeader)
    Q_PROPERTY(int PageNumber READ PageNumber WRITE SetPageNumber)
    Q_PROPERTY(int LineNumber READ LineNumber WRITE SetLineNumber)
    Q_PROPERTY(TPrinterName PrinterName READ PrinterName WRITE SetPrinterName)
    Q_PROPERTY(THeaderData* HeaderData READ HeaderData WRITE SetHeaderData)
    Q_PROPERTY(bool Preview READ Preview WRITE SetPreview)
    Q_PROPERTY(bool ForcarGuardarConteudo READ ForcarGuardarConteudo WRITE SetForcarGuardarConteudo)
    Q_PROPERTY(bool UtilizarGeradorRelatorios READ UtilizarGeradorRelatorios WRITE SetUtilizarGeradorRelatorios)
    Q_PROPERTY(bool GerarRelatorioMemoria READ GerarRelatorioMemoria WRITE SetGerarRelatorioMemoria)
    Q_PROPERTY(int QtLines READ QtLines WRITE SetQtLines)
    Q_PROPERTY(int LinesHeader READ LinesHeader WRITE SetLinesHeader)
    Q_PROPERTY(int LinesFooter READ LinesFooter WRITE SetLinesFooter)
    Q_PROPERTY(int PageWidth READ PageWidth WRITE SetPageWidth)
    Q_PROPERTY(QString PrinterPort READ PrinterPort WRITE SetPrinterPort)
    Q_PROPERTY(quint8 PRow READ PRow)
    Q_PROPERTY(quint8 PCol READ PCol)
    Q_PROPERTY(TPrintWin* Windows READ Windows WRITE SetWindows)
    Q_PROPERTY(bool PrinterTermic READ PrinterTermic WRITE SetPrinterTermic)
    Q_PROPERTY(bool Paisagem READ Paisagem WRITE SetPaisagem)
    Q_PROPERTY(int Zoom READ Zoom WRITE SetZoom)
public:
    enum TPrinterName {
        pfPadraoIBM,
        pfDeskjet500,
        pfDeskjet600,
        pfRima,
        pfEpson9pinos,
        pfEmiliaPS,
        pfEpsonStylusC2,
        pfCanonBJC4000,
        pfEpson24pinos,
        pfBematech
    };
    Q_ENUM(TPrinterName)

    using TBeforeNewPageEvent = std::function<void(QObject* Sender, std::int32_t& NewPage)>;

    explicit TPrintFast(TComponent* owner = nullptr);
    ~TPrintFast() override;

    // Makes the class known to definitions.
    static void Register();

    TBeforeNewPageEvent OnBeforeNewPage;

    bool PageHeader() const { return m_pageHeader; }
    void SetPageHeader(bool v) { m_pageHeader = v; }
    int PageNumber() const { return m_pageNumber; }
    void SetPageNumber(int v) { m_pageNumber = v; }
    int LineNumber() const { return m_lineNumber; }
    void SetLineNumber(int v) { m_lineNumber = v; }
    TPrinterName PrinterName() const { return m_printerName; }
    void SetPrinterName(TPrinterName v) { m_printerName = v; }
    THeaderData* HeaderData() const { return m_headerData; }
    // Copies the given header's values; the component keeps its own object.
    void SetHeaderData(THeaderData* value);
    bool Preview() const { return m_preview; }
    void SetPreview(bool v) { m_preview = v; }
    bool ForcarGuardarConteudo() const { return m_forcarGuardarConteudo; }
    void SetForcarGuardarConteudo(bool v) { m_forcarGuardarConteudo = v; }
    bool UtilizarGeradorRelatorios() const { return m_utilizarGeradorRelatorios; }
    void SetUtilizarGeradorRelatorios(bool v) { m_utilizarGeradorRelatorios = v; }
    bool GerarRelatorioMemoria() const { return m_gerarRelatorioMemoria; }
    void SetGerarRelatorioMemoria(bool v) { m_gerarRelatorioMemoria = v; }
    int QtLines() const { return m_qtLines; }
    void SetQtLines(int v) { m_qtLines = v; }
    int LinesHeader() const { return m_linesHeader; }
    void SetLinesHeader(int v) { m_linesHeader = v; }
    int LinesFooter() const { return m_linesFooter; }
    void SetLinesFooter(int v) { m_linesFooter = v; }
    int PageWidth() const { return m_pageWidth; }
    void SetPageWidth(int v) { m_pageWidth = v; }
    QString PrinterPort() const { return m_printerPort; }
    void SetPrinterPort(const QString& v) { m_printerPort = v; }
    quint8 PRow() const { return static_cast<quint8>(m_lineNumber & 0xFF); }
    quint8 PCol() const { return m_pCol; }
    TPrintWin* Windows() const { return m_windows; }
    // Copies the given options; the component keeps its own object.
    void SetWindows(TPrintWin* value);
    bool PrinterTermic() const { return m_printerTermic; }
    void SetPrinterTermic(bool v) { m_printerTermic = v; }
    bool Paisagem() const { return m_paisagem; }
    void SetPaisagem(bool v) { m_paisagem = v; }
    int Zoom() const { return m_zoom; }
    void SetZoom(int v) { m_zoom = v; }

    // Character translation for the printer: one Windows-1252 byte each
    // source, the printer's code page 850 byte each target, row by row.
    const QList<QByteArray>& TranslationSources() const { return m_translationSources; }
    const QList<QByteArray>& TranslationTargets() const { return m_translationTargets; }

    QString WorkingFileName() const { return m_workingFileName; }
    const QStringList& Lines() const { return m_lines; }

    // Output file of the printing operations, shared by every instance; an
    // instance destroyed while previewing or printing graphically removes it.
    static QString OutputFileName();
    static void SetOutputFileName(const QString& name);
    // Shared flag, reset whenever an instance is created.
    static bool SharedFlag();

private:
    void FillTranslationTable();

    bool m_pageHeader = true;
    int m_pageNumber = 0;
    int m_lineNumber = 0;
    TPrinterName m_printerName = pfPadraoIBM;
    THeaderData* m_headerData = nullptr;
    bool m_preview = false;
    bool m_forcarGuardarConteudo = false;
    bool m_utilizarGeradorRelatorios = false;
    bool m_gerarRelatorioMemoria = false;
    int m_qtLines = 0;
    int m_linesHeader = 0;
    int m_linesFooter = 0;
    int m_pageWidth = 0;
    QString m_printerPort;
    quint8 m_pCol = 0;
    TPrintWin* m_windows = nullptr;
    bool m_printerTermic = false;
    bool m_paisagem = false;
    int m_zoom = 0;

    QStringList m_lines;
    QString m_text;
    bool m_firstFlag = false;
    bool m_flags[3] = {false, false, false};
    bool m_furtherFlag = false;
    QString m_workingFileName;
    QList<QByteArray> m_translationSources;
    QList<QByteArray> m_translationTargets;
};
