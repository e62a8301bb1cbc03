#pragma once
// Builds a report, its bands and printables from a definition: on its own
// (the report object is the text's root) or as one component of a window's
// definition. Properties are set by name; references to other components
// (Master, DataSet, ParentBand, ...) are resolved once every object exists;
// the report rebuilds its band order and layout once, at the end.

#include "DefinitionReader.h"
#include "PlatformError.h"

#include <functional>

class QObject;
class TCustomBandReport;

// A definition that does not describe a valid report; the text names the line.
class EReportDefinitionError : public PlatformError {
public:
    using PlatformError::PlatformError;
};

class BRReportReader {
public:
    // Called for event properties ("OnNeedData = Handler"); may be empty.
    using EventBinder = std::function<void(QObject* object, const QString& event, const QString& handler)>;

    // The report of `definition`, owned by `owner`; with no owner the report
    // owns its bands and printables and the caller owns the report. Names
    // are resolved among the owner's components (or the report's). Throws
    // EReportDefinitionError; nothing created stays behind then.
    static TCustomBandReport* Read(const DefinitionObject& definition, QObject* owner,
                                   const EventBinder& bindEvent = {});
    // Parses `text` first (EParserError on text that is no definition).
    static TCustomBandReport* ReadText(const QString& text, QObject* owner);

    // The report object named `name` (any report when empty) anywhere in a
    // window's definition, or none.
    static const DefinitionObject* FindReport(const DefinitionObject& window, const QString& name);
};
