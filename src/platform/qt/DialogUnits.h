#pragma once

#include <QFont>
#include <QRect>

namespace sekreta::platform::qt {

// Dialog templates measure in dialog units: a quarter of the dialog font's average character
// width across, an eighth of its height down. This turns them into pixels for one font.
class DialogUnits {
public:
    // The base units of a font: its average width of the letters A-Z and a-z, rounded, and
    // its height.
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseWidth, int baseHeight);

    int BaseWidth() const { return m_baseWidth; }
    int BaseHeight() const { return m_baseHeight; }
    int ToPixelsX(int units) const;
    int ToPixelsY(int units) const;
    QRect ToPixels(int x, int y, int width, int height) const;

private:
    int m_baseWidth;
    int m_baseHeight;
};

}  // namespace sekreta::platform::qt
