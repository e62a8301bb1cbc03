#pragma once
// The printer's device-mode record: the job settings a driver takes, with a
// flag word telling which of them the driver declares.

#include <cstdint>
#include <memory>

constexpr std::uint32_t DM_ORIENTATION = 0x0001;
constexpr std::uint32_t DM_PAPERSIZE = 0x0002;
constexpr std::uint32_t DM_PAPERLENGTH = 0x0004;
constexpr std::uint32_t DM_PAPERWIDTH = 0x0008;
constexpr std::uint32_t DM_COPIES = 0x0100;
constexpr std::uint32_t DM_DEFAULTSOURCE = 0x0200;
constexpr std::uint32_t DM_DUPLEX = 0x1000;

constexpr std::int16_t DMORIENT_PORTRAIT = 1;
constexpr std::int16_t DMORIENT_LANDSCAPE = 2;

constexpr std::int16_t DMPAPER_A4 = 9;
constexpr std::int16_t DMPAPER_USER = 256;

constexpr std::int16_t DMDUP_SIMPLEX = 1;
constexpr std::int16_t DMDUP_VERTICAL = 2;
constexpr std::int16_t DMDUP_HORIZONTAL = 3;

constexpr std::int16_t DMBIN_UPPER = 1;
constexpr std::int16_t DMBIN_LOWER = 2;
constexpr std::int16_t DMBIN_MIDDLE = 3;
constexpr std::int16_t DMBIN_MANUAL = 4;
constexpr std::int16_t DMBIN_ENVELOPE = 5;
constexpr std::int16_t DMBIN_ENVMANUAL = 6;
constexpr std::int16_t DMBIN_AUTO = 7;
constexpr std::int16_t DMBIN_TRACTOR = 8;
constexpr std::int16_t DMBIN_SMALLFMT = 9;
constexpr std::int16_t DMBIN_LARGEFMT = 10;
constexpr std::int16_t DMBIN_LARGECAPACITY = 11;
constexpr std::int16_t DMBIN_CASSETTE = 14;
constexpr std::int16_t DMBIN_FORMSOURCE = 15;

struct DeviceMode {
    std::uint32_t dmFields = 0;
    std::int16_t dmOrientation = DMORIENT_PORTRAIT;
    std::int16_t dmPaperSize = 0;
    std::int16_t dmPaperLength = 0; // tenths of a millimetre
    std::int16_t dmPaperWidth = 0;  // tenths of a millimetre
    std::int16_t dmCopies = 1;
    std::int16_t dmDefaultSource = 0;
    std::int16_t dmDuplex = DMDUP_SIMPLEX;

    bool operator==(const DeviceMode&) const = default;
};

// What the printer hands out and takes back. A fresh copy each time, so edits
// reach the printer only when handed back with SetPrinter.
using DeviceModeHandle = std::shared_ptr<DeviceMode>;
