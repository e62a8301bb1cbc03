#pragma once
// Base of the geometry holders: lengths are kept in native units (tenths of a
// millimetre) and read and written through the holder in its current Units.

#include "TBRUnit.h"
#include <QList>
#include <QLocale>
#include <QObject>
#include <QString>

class BRReportHost;

class TBRUnitBase : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Values READ ValuesText WRITE SetValuesText)
public:
    explicit TBRUnitBase(BRReportHost* parentReport = nullptr);

    // Locale test made once when the engine starts: inches for the US
    // measurement system, millimetres otherwise. Called lazily with the
    // system locale when nobody called it first.
    static void InitDefaultUnits(const QLocale& locale);
    static TBRUnit DefaultUnits();

    virtual BRNative NativeToUnits(TBRUnit unit, bool horizontal, BRNative value) const;
    virtual BRNative UnitsToNative(TBRUnit unit, bool horizontal, BRNative value) const;

    virtual TBRUnit Units() const { return m_units; }
    virtual void SetUnits(TBRUnit units) { m_units = units; }

    void UsePixelUnits();
    void RestoreUnits();

    // Called when the definition that holds this record has been read.
    virtual void Loaded() { ResizeOwner(); }
    virtual void ResizeOwner() {}

    // The "Values" list: native lengths in the order each holder fixes.
    virtual void LoadValues(const QList<BRNative>& values) { Q_UNUSED(values); }
    virtual QList<BRNative> StoreValues() const { return {}; }

    // The list as it is written in definitions, "(100.0 2970.0 ...)", and read back.
    QString ValuesText() const;
    void SetValuesText(const QString& text);
    static QString FormatValues(const QList<BRNative>& values);
    // Throws PlatformError on a list that is not one.
    static QList<BRNative> ParseValues(const QString& text);

    int Resolution() const { return m_resolution; }
    void SetResolution(int resolution) { m_resolution = resolution; }
    int Zoom() const { return m_zoom; }
    void SetZoom(int zoom) { m_zoom = zoom; }
    BRReportHost* ParentReport() const { return m_parentReport; }
    void SetParentReport(BRReportHost* report) { m_parentReport = report; }
    TBRUnit SavedUnits() const { return m_savedUnits; }
    bool ParentUpdating() const { return m_parentUpdating; }

protected:
    int m_resolution;
    TBRUnit m_units;
    TBRUnit m_savedUnits;
    BRReportHost* m_parentReport;
    bool m_parentUpdating = false;
    int m_zoom = 100;
};

namespace brp {

// Screen pixels per inch of the primary screen (96 without one).
int ScreenPixelsPerInch();

} // namespace brp
