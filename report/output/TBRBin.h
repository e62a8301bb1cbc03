#pragma once
// Paper sources a report can ask for.

enum class TBRBin {
    First = 0, Upper, Lower, Middle, Manual, Envelope, EnvManual, Auto, Tractor, SmallFormat, LargeFormat,
    LargeCapacity, Cassette, Last
};

constexpr int BRBinCount = 14;
