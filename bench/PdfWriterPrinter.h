#pragma once
// A "printer" that paints each page straight into a QPdfWriter, at the
// resolution pages are recorded at (96 pixels per inch) and with no margins:
// a report printed to it lays its pages out exactly as for the preview, and
// they are painted into the PDF as they are made, with no metafile between.
// The benchmarks' baseline for the PDF export.

#include "PainterCanvas.h"
#include "RecordingPrinterService.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <memory>

class PdfWriterPrinterService : public RecordingPrinterService {
public:
    explicit PdfWriterPrinterService(QString fileName)
        : RecordingPrinterService({screenA4()}), m_fileName(std::move(fileName))
    {
    }

    bool Printing() const override { return m_painter != nullptr; }
    void BeginDoc() override
    {
        m_file = std::make_unique<QFile>(m_fileName);
        m_file->open(QIODevice::WriteOnly);
        m_writer = std::make_unique<QPdfWriter>(m_file.get());
        m_writer->setPageSize(QPageSize(QPageSize::A4));
        m_writer->setPageMargins(QMarginsF(0, 0, 0, 0));
        m_writer->setResolution(96);
        m_painter = std::make_unique<QPainter>(m_writer.get());
        m_canvas = std::make_unique<PainterCanvas>(m_painter.get(), 96);
    }
    void NewPage() override
    {
        m_canvas.reset();
        m_writer->newPage();
        m_canvas = std::make_unique<PainterCanvas>(m_painter.get(), 96);
    }
    void EndDoc() override
    {
        m_canvas.reset();
        m_painter->end();
        m_painter.reset();
        m_writer.reset();
        m_file.reset();
    }
    void Abort() override
    {
        if (m_painter)
            EndDoc();
    }
    TCanvas* Canvas() override { return m_canvas.get(); }

private:
    static RecordedPrinter screenA4()
    {
        RecordedPrinter p = RecordedPrinter::Laser(QStringLiteral("PDF"));
        p.dpiX = p.dpiY = 96;
        p.physicalWidth = 794;
        p.physicalHeight = 1123;
        p.offsetX = p.offsetY = 0;
        return p;
    }

    QString m_fileName;
    std::unique_ptr<QFile> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    std::unique_ptr<PainterCanvas> m_canvas;
};
