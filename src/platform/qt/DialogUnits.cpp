#include "platform/qt/DialogUnits.h"

#include <QFontMetrics>
#include <QString>

namespace sekreta::platform::qt {

namespace {

// units * base / divisor, rounded to the nearest pixel, halves away from zero.
int Scale(int units, int base, int divisor)
{
    const long long product = static_cast<long long>(units) * base;
    const long long half = divisor / 2;
    return static_cast<int>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
}

}  // namespace

DialogUnits::DialogUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int letters
        = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    m_baseWidth = (letters / 26 + 1) / 2;
    m_baseHeight = metrics.height();
}

DialogUnits::DialogUnits(int baseWidth, int baseHeight)
    : m_baseWidth(baseWidth)
    , m_baseHeight(baseHeight)
{
}

int DialogUnits::ToPixelsX(int units) const
{
    return Scale(units, m_baseWidth, 4);
}

int DialogUnits::ToPixelsY(int units) const
{
    return Scale(units, m_baseHeight, 8);
}

QRect DialogUnits::ToPixels(int x, int y, int width, int height) const
{
    return QRect(ToPixelsX(x), ToPixelsY(y), ToPixelsX(width), ToPixelsY(height));
}

}  // namespace sekreta::platform::qt
