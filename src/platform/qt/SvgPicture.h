#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

#include <string_view>

namespace sekreta::platform::qt {

// A picture of the program's resources, given as SVG text, drawn at the size asked for; a null
// pixmap or icon when the text is no picture.
QPixmap SvgPixmap(std::string_view svg, QSize size, qreal devicePixelRatio = 1.0);
// Drawn at the sizes tool bars, menus and task bars ask for, so it stays sharp on any screen.
QIcon SvgIcon(std::string_view svg);

}  // namespace sekreta::platform::qt
