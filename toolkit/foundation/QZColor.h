// Colour arithmetic of the toolkit: clamped channel sums and blends (from which the XP
// palette is derived) and conversions between RGB and hue, saturation and luminance
// or value (for the colour dialog). Needs no window.
#pragma once

#include <windows.h>

// Black, the end point of the palette's darkening blends.
constexpr COLORREF kColorBlack = RGB(0, 0, 0);

// One COLORREF (0x00BBGGRR) with its channels as clamped 0..255 values.
class QZColorValue {
public:
    QZColorValue(COLORREF color = kColorBlack) : m_color(color) {}
    operator COLORREF() const { return m_color; }

    static int Clamp(int value);
    // Each channel clamped to 0..255, then combined.
    static COLORREF FromChannels(int red, int green, int blue);

    // Each channel becomes the clamped sum of both channels.
    QZColorValue& AddInPlace(COLORREF other);
    QZColorValue Add(COLORREF other) const;
    // The level, clamped to 0..255, added as a grey to each channel.
    QZColorValue QZAdjustGrey(int level) const;
    // Each channel becomes (other * p + own * (100 - p)) / 100, clamped: p = 0 keeps
    // the colour, p = 100 gives the other.
    QZColorValue& QZBlendColor(COLORREF other, int percent);

    // Hue, saturation and luminance, each 0..1.
    void QZColorToHLS(double* hue, double* saturation, double* luminance) const;
    // Channels truncate toward zero: 0.999 of full becomes 254.
    static COLORREF QZColorFromHLS(double hue, double saturation, double luminance);
    // Sets the colour from hue, saturation and value (channels rounded half up).
    QZColorValue& QZColorFromHSV(double hue, double saturation, double value);

private:
    COLORREF m_color;
};
