#include "EmfPlayer.h"

#include "EmfRecords.h"

#include <QtEndian>

double EmfHeaderInfo::FrameWidthPixels() const { return 0; }
double EmfHeaderInfo::FrameHeightPixels() const { return 0; }

bool EmfPlayer::ReadHeader(const QByteArray& emf, EmfHeaderInfo* info, QString* error)
{
    Q_UNUSED(emf); Q_UNUSED(info);
    if (error) *error = QStringLiteral("not yet");
    return false;
}

EmfPlayResult EmfPlayer::Play(const QByteArray& emf, QPainter* painter, const QRectF& target)
{
    Q_UNUSED(emf); Q_UNUSED(painter); Q_UNUSED(target);
    return {};
}
