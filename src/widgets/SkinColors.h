#pragma once

#include <QColor>

// The skin's colours as colour values of the form 0x00BBGGRR (red in the lowest byte), the way the
// window description and the preferences store them.
namespace SkinColors {
constexpr quint32 SkinBackColor = 3029767; // 2E3B07: field backgrounds
constexpr quint32 StatusColorNormal = 10813084; // A4FE9C: text and frames
constexpr quint32 StatusColorSent = 65535; // 00FFFF: yellow, a message was accepted
constexpr quint32 StatusColorError = 1196540; // 1241FC: failures and refused input
constexpr quint32 StatusColorUnknown = 39679; // FF9A00 as RGB: orange, a message that may have been sent

constexpr QRgb toRgb(quint32 colorValue)
{
    return qRgb(int(colorValue & 0xFF), int((colorValue >> 8) & 0xFF), int((colorValue >> 16) & 0xFF));
}

inline QColor toColor(quint32 colorValue)
{
    return QColor(toRgb(colorValue));
}

constexpr quint32 fromRgb(QRgb rgb)
{
    return quint32(qRed(rgb)) | quint32(qGreen(rgb)) << 8 | quint32(qBlue(rgb)) << 16;
}

inline quint32 fromColor(const QColor& color)
{
    return fromRgb(color.rgb());
}
} // namespace SkinColors
