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
    m_ppiX = info.MicrometersWidth > 0 ? info.DeviceWidth * 25400.0 / info.MicrometersWidth
                                       : info.DeviceWidth * 25.4 / info.MillimetersWidth;
    m_ppiY = info.MicrometersHeight > 0 ? info.DeviceHeight * 25400.0 / info.MicrometersHeight
                                        : info.DeviceHeight * 25.4 / info.MillimetersHeight;
}
