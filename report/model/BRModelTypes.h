#pragma once
// Types shared by the report, its bands, controllers and printables.

#include <QObject>
#include <cstdint>
#include <functional>

class TBRCustomBand;

// Report options; a set of these bits.
enum TBRReportOption : unsigned { FirstPageHeader = 1, LastPageFooter = 2, Compression = 4 };
using TBRReportOptions = unsigned;

// Style of the standard preview window.
enum TBRFormStyle { fsNormal = 0, fsMDIChild = 1, fsMDIForm = 2, fsStayOnTop = 3 };
// Initial state of the preview window.
enum TBRWindowState { wsNormal = 0, wsMinimized = 1, wsMaximized = 2 };

// Horizontal alignment of a printable.
enum TAlignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2 };

// Codes a controller or a band sends to printables (EngineNotify).
constexpr std::uint8_t NotifyDataAdvance = 0;
constexpr std::uint8_t NotifyBandSizeChange = 2;

// Events: the sender, and where a handler may veto or supply data a Boolean in-out.
using TBRNotifyEvent = std::function<void(QObject* sender)>;
using TBRBeforePrintEvent = std::function<void(QObject* sender, bool& printReport)>;
using TBRNeedDataEvent = std::function<void(QObject* sender, bool& moreData)>;
using TBRBandBeforePrintEvent = std::function<void(TBRCustomBand* sender, bool& printBand)>;
using TBRBandAfterPrintEvent = std::function<void(TBRCustomBand* sender, bool bandPrinted)>;
