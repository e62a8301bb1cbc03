#include "TMetafile.h"

#include "EmfPlayer.h"
#include "PlatformError.h"

#include <cmath>

void TMetafile::LoadFromBytes(const QByteArray& data)
{
    EmfHeaderInfo info;
    QString error;
    if (!EmfPlayer::ReadHeader(data, &info, &error))
        throw PlatformError(error);
    m_data = data;
    m_width = int(std::lround(info.FrameWidthPixels()));
    m_height = int(std::lround(info.FrameHeightPixels()));
}
