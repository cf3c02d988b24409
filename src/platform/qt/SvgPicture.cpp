#include "platform/qt/SvgPicture.h"

#include <QByteArray>
#include <QPainter>
#include <QSvgRenderer>

namespace sekreta::platform::qt {

namespace {

QByteArray Bytes(std::string_view svg)
{
    return QByteArray(svg.data(), static_cast<qsizetype>(svg.size()));
}

}  // namespace

QPixmap SvgPixmap(std::string_view svg, QSize size, qreal devicePixelRatio)
{
    QSvgRenderer renderer(Bytes(svg));
    if (svg.empty() || !renderer.isValid() || size.isEmpty())
        return {};
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

QIcon SvgIcon(std::string_view svg)
{
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64, 128}) {
        const QPixmap pixmap = SvgPixmap(svg, QSize(side, side));
        if (pixmap.isNull())
            return {};
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace sekreta::platform::qt
