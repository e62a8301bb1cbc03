#pragma once
// Shared by the commands that paint pages: reads an input that is either a
// saved-report file or a plain enhanced metafile, and sizes a page.

#include "BRPrntr.h"
#include "EmfPlayer.h"

#include <QFile>
#include <QSizeF>
#include <QtEndian>

namespace brptool {

// True when the file starts with a metafile header record and its signature
// (a saved report starts with the words 3 and 362 instead).
inline bool looksLikeEmf(const QString& name)
{
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = f.read(44);
    return head.size() == 44 && qFromLittleEndian<quint32>(head.constData()) == 1 &&
           qFromLittleEndian<quint32>(head.constData() + 40) == 0x464D4520;
}

// The page's size in reference pixels, from its header frame.
inline bool pageSize(const QByteArray& emf, QSizeF* pixels, QSizeF* millimetres, QString* error)
{
    EmfHeaderInfo info;
    if (!EmfPlayer::ReadHeader(emf, &info, error))
        return false;
    *pixels = QSizeF(info.FrameWidthPixels(), info.FrameHeightPixels());
    *millimetres = QSizeF((info.FrameRight - info.FrameLeft + 1) / 100.0, (info.FrameBottom - info.FrameTop + 1) / 100.0);
    if (!(pixels->width() >= 1 && pixels->height() >= 1 && millimetres->width() > 0 && millimetres->height() > 0)) {
        *error = QStringLiteral("the picture has an empty frame");
        return false;
    }
    return true;
}

} // namespace brptool
