#include "TBRPaperSize.h"
#include <cstring>

namespace {
struct Row {
    const char* name;
    BRPaperDimensions dims;
};

// Ledger is kept landscape-shaped, as it is applied; Note is 279.0 long on purpose.
constexpr Row kPapers[BRPaperSizeCount] = {
    {"Default", {0, 0}},          {"Letter", {215.9, 279.4}},   {"LetterSmall", {215.9, 279.4}},
    {"Tabloid", {279.4, 431.8}},  {"Ledger", {431.8, 279.4}},   {"Legal", {215.9, 355.6}},
    {"Statement", {139.7, 215.9}}, {"Executive", {190.5, 254.0}}, {"A3", {297.0, 420.0}},
    {"A4", {210.0, 297.0}},       {"A4Small", {210.0, 297.0}},  {"A5", {148.0, 210.0}},
    {"B4", {250.0, 354.0}},       {"B5", {182.0, 257.0}},       {"Folio", {215.9, 330.2}},
    {"Quarto", {215.0, 275.0}},   {"br10X14", {254.0, 355.6}},  {"br11X17", {279.4, 431.8}},
    {"Note", {215.9, 279.0}},     {"Env9", {98.43, 225.4}},     {"Env10", {104.8, 241.3}},
    {"Env11", {114.3, 263.5}},    {"Env12", {101.6, 279.4}},    {"Env14", {127.0, 292.1}},
    {"CSheet", {100.0, 100.0}},   {"DSheet", {100.0, 100.0}},   {"ESheet", {100.0, 100.0}},
    {"Custom", {0, 0}},
};
} // namespace

namespace brp {

BRPaperDimensions PaperTable(TBRPaperSize size)
{
    const int i = static_cast<int>(size);
    if (i < 0 || i >= BRPaperSizeCount)
        return {0, 0};
    return kPapers[i].dims;
}

const char* PaperSizeName(TBRPaperSize size)
{
    const int i = static_cast<int>(size);
    return (i < 0 || i >= BRPaperSizeCount) ? "" : kPapers[i].name;
}

int PaperSizeFromName(const char* name)
{
    for (int i = 0; i < BRPaperSizeCount; ++i)
        if (std::strcmp(kPapers[i].name, name) == 0)
            return i;
    return -1;
}

} // namespace brp
