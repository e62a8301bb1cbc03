#include "Win1252Text.h"

namespace {
// 0x80..0x9F; 0 marks the five undefined positions (kept as the C1 control).
const char16_t kHigh[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};
}

namespace brp {

QChar win1252ToQChar(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F && kHigh[byte - 0x80])
        return QChar(kHigh[byte - 0x80]);
    return QChar(char16_t(byte));
}

QString win1252ToQString(const char* data, qsizetype length)
{
    QString out(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i)
        out[i] = win1252ToQChar(static_cast<unsigned char>(data[i]));
    return out;
}

QByteArray qStringToWin1252(const QString& text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        char b = '?';
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF) || (u >= 0x80 && u <= 0x9F && !kHigh[u - 0x80]))
            b = static_cast<char>(u);
        else
            for (int k = 0; k < 32; ++k)
                if (kHigh[k] == u) {
                    b = static_cast<char>(0x80 + k);
                    break;
                }
        out[i] = b;
    }
    return out;
}

} // namespace brp
