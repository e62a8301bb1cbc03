#pragma once
// The report's printer settings, stored with the report and edited by the
// print dialog; copied into the output target before every run.

#include "TBRBin.h"
#include "TBRPaperSize.h"
#include "TPrinterOrientation.h"
#include <QObject>
#include <QString>

class TBRPrinterSettings : public QObject {
    Q_OBJECT
    Q_PROPERTY(int Copies MEMBER Copies)
    Q_PROPERTY(bool Duplex MEMBER Duplex)
    Q_PROPERTY(bool UseStandardprinter MEMBER UseStandardprinter)
    Q_PROPERTY(int ExtendedDuplex MEMBER ExtendedDuplex)
    Q_PROPERTY(bool UseCustomBinCode MEMBER UseCustomBinCode)
    Q_PROPERTY(int CustomBinCode MEMBER CustomBinCode)
    Q_PROPERTY(bool UseCustomPaperCode MEMBER UseCustomPaperCode)
    Q_PROPERTY(int CustomPaperCode MEMBER CustomPaperCode)
    Q_PROPERTY(int OutputBin READ OutputBinValue WRITE SetOutputBinValue)
    Q_PROPERTY(int FirstPage MEMBER FirstPage)
    Q_PROPERTY(int LastPage MEMBER LastPage)
    Q_PROPERTY(bool PrintMetaFile MEMBER PrintMetaFile)
public:
    explicit TBRPrinterSettings(QObject* parent = nullptr) : QObject(parent) {}

    int Copies = 1;
    TPrinterOrientation Orientation = poPortrait;
    bool Duplex = false;
    bool UseStandardprinter = false;
    int ExtendedDuplex = 0;
    bool UseCustomBinCode = false;
    int CustomBinCode = 0;
    bool UseCustomPaperCode = false;
    int CustomPaperCode = 0;
    TBRBin OutputBin = TBRBin::Auto;
    TBRPaperSize PaperSize = TBRPaperSize::Letter;
    int PrinterIndex = -1;
    QString JobTitle;
    int FirstPage = 0;
    int LastPage = 0;
    bool PrintMetaFile = false;

private:
    int OutputBinValue() const { return static_cast<int>(OutputBin); }
    void SetOutputBinValue(int v)
    {
        if (v >= 0 && v < BRBinCount)
            OutputBin = static_cast<TBRBin>(v);
    }
};
