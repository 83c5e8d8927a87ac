// Clamped channel arithmetic and the HLS and HSV conversions.
#include "toolkit/foundation/QZColor.h"

#include <algorithm>
#include <cmath>

namespace {

// One channel of an HLS colour: m1 + (m2 - m1) scaled by where hue h falls.
double HlsChannel(double m1, double m2, double h)
{
    if (h < 0.0)
        h += 1.0;
    else if (h > 1.0)
        h -= 1.0;
    if (6.0 * h < 1.0)
        return m1 + (m2 - m1) * 6.0 * h;
    if (2.0 * h < 1.0)
        return m2;
    if (3.0 * h < 2.0)
        return m1 + (m2 - m1) * (2.0 / 3.0 - h) * 6.0;
    return m1;
}

// A channel of 0..1 as a byte, cut toward zero.
BYTE TruncatedByte(double channel)
{
    return static_cast<BYTE>(static_cast<int>(channel * 255.0));
}

// A channel of 0..1 as a byte, rounded half up.
BYTE RoundedByte(double channel)
{
    return static_cast<BYTE>(static_cast<int>(channel * 255.0 + 0.5));
}

} // namespace

int QZColorValue::Clamp(int value)
{
    return std::clamp(value, 0, 255);
}

COLORREF QZColorValue::FromChannels(int red, int green, int blue)
{
    return RGB(Clamp(red), Clamp(green), Clamp(blue));
}

QZColorValue& QZColorValue::AddInPlace(COLORREF other)
{
    m_color = FromChannels(GetRValue(m_color) + GetRValue(other), GetGValue(m_color) + GetGValue(other),
                           GetBValue(m_color) + GetBValue(other));
    return *this;
}

QZColorValue QZColorValue::Add(COLORREF other) const
{
    QZColorValue sum(m_color);
    sum.AddInPlace(other);
    return sum;
}

QZColorValue QZColorValue::QZAdjustGrey(int level) const
{
    const int grey = Clamp(level);
    return Add(RGB(grey, grey, grey));
}

QZColorValue& QZColorValue::QZBlendColor(COLORREF other, int percent)
{
    auto blend = [percent](int own, int theirs) { return (theirs * percent + own * (100 - percent)) / 100; };
    m_color = FromChannels(blend(GetRValue(m_color), GetRValue(other)), blend(GetGValue(m_color), GetGValue(other)),
                           blend(GetBValue(m_color), GetBValue(other)));
    return *this;
}

void QZColorValue::QZColorToHLS(double* hue, double* saturation, double* luminance) const
{
    const double r = GetRValue(m_color) / 255.0;
    const double g = GetGValue(m_color) / 255.0;
    const double b = GetBValue(m_color) / 255.0;
    const double maximum = std::max({r, g, b});
    const double minimum = std::min({r, g, b});
    const double l = (maximum + minimum) / 2.0;
    double h = 0.0;
    double s = 0.0;
    if (maximum != minimum) {
        const double delta = maximum - minimum;
        s = l < 0.5 ? delta / (maximum + minimum) : delta / (2.0 - maximum - minimum);
        // Red wins a tie with green or blue, green a tie with blue.
        if (r == maximum)
            h = (g - b) / delta;
        else if (g == maximum)
            h = 2.0 + (b - r) / delta;
        else
            h = 4.0 + (r - g) / delta;
        h /= 6.0;
        if (h < 0.0)
            h += 1.0;
    }
    *hue = h;
    *saturation = s;
    *luminance = l;
}

COLORREF QZColorValue::QZColorFromHLS(double hue, double saturation, double luminance)
{
    if (saturation == 0.0) {
        const BYTE grey = TruncatedByte(luminance);
        return RGB(grey, grey, grey);
    }
    const double m2 = luminance < 0.5 ? luminance * (1.0 + saturation)
                                      : luminance + saturation - luminance * saturation;
    const double m1 = 2.0 * luminance - m2;
    return RGB(TruncatedByte(HlsChannel(m1, m2, hue + 1.0 / 3.0)), TruncatedByte(HlsChannel(m1, m2, hue)),
               TruncatedByte(HlsChannel(m1, m2, hue - 1.0 / 3.0)));
}

QZColorValue& QZColorValue::QZColorFromHSV(double hue, double saturation, double value)
{
    if (saturation == 0.0) {
        const BYTE grey = RoundedByte(value);
        m_color = RGB(grey, grey, grey);
        return *this;
    }
    const double h6 = (hue - std::floor(hue)) * 6.0;
    const double f = h6 - std::floor(h6);
    const double p = value * (1.0 - saturation);
    const double q = value * (1.0 - saturation * f);
    const double t = value * (1.0 - (1.0 - f) * saturation);
    double r = value;
    double g = t;
    double b = p;
    switch (static_cast<int>(h6)) {
    case 1: r = q; g = value; b = p; break;
    case 2: r = p; g = value; b = t; break;
    case 3: r = p; g = q; b = value; break;
    case 4: r = t; g = p; b = value; break;
    case 5: r = value; g = p; b = q; break;
    default: break;
    }
    m_color = RGB(RoundedByte(r), RoundedByte(g), RoundedByte(b));
    return *this;
}
