#include "pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QSvgRenderer>

namespace quorvela::pictures {

namespace {

QIcon svgIcon(const QString &name)
{
    return QIcon(QStringLiteral(":/pics/%1.svg").arg(name));
}

// A pointer drawn on a 32 x 32 grid, rendered for the screen's pixel ratio so
// that it stays crisp; the hot spot is in the grid's units.
QCursor svgCursor(const QString &name, int hotX, int hotY)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
    QPixmap pixmap(QSize(32, 32) * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QSvgRenderer(QStringLiteral(":/pics/%1.svg").arg(name)).render(&painter, QRectF(0, 0, 32, 32));
    painter.end();
    return QCursor(pixmap, hotX, hotY);
}

} // namespace

// Each picture is made once and shared by every load of the window: new icons
// each time would fill Qt's pixmap cache with copies of the same faces. Icons
// render on demand, so none of them costs start-up anything.
QIcon windowIcon()
{
    static const QIcon result = svgIcon(QStringLiteral("quorvela"));
    return result;
}

QIcon face(Face mood)
{
    static const QIcon faces[] = {
        [] {
            // Disabled, the smile turns to a straight mouth.
            QIcon smiling = svgIcon(QStringLiteral("smiling"));
            smiling.addFile(QStringLiteral(":/pics/straight.svg"), QSize(), QIcon::Disabled);
            return smiling;
        }(),
        svgIcon(QStringLiteral("laughing")),
        svgIcon(QStringLiteral("straight")),
    };
    return faces[int(mood)];
}

QIcon noEntry()
{
    static const QIcon result = svgIcon(QStringLiteral("noentry"));
    return result;
}

QCursor pointingHand()
{
    static const QCursor result = svgCursor(QStringLiteral("hand"), 1, 1);
    return result;
}

QCursor wavingFigure()
{
    static const QCursor result = svgCursor(QStringLiteral("waving"), 3, 3);
    return result;
}

QCursor wingedNote()
{
    static const QCursor result = svgCursor(QStringLiteral("note"), 0, 0);
    return result;
}

QCursor iconPointer()
{
    static const QCursor result = svgCursor(QStringLiteral("iconpointer"), 16, 16);
    return result;
}

} // namespace quorvela::pictures
