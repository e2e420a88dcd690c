#include "pictures.h"

#include <QGuiApplication>
#include <QScreen>

namespace quorvela::pictures {

namespace {

void addPicture(QIcon &icon, const QString &name, QIcon::Mode mode = QIcon::Normal)
{
#ifdef QUORVELA_PNG_PICTURES
    // Rendered at build time at one and two times the size: Qt scales the
    // larger one down for the ratios in between.
    icon.addFile(QStringLiteral(":/pics/%1.png").arg(name), QSize(32, 32), mode);
    icon.addFile(QStringLiteral(":/pics/%1@2x.png").arg(name), QSize(64, 64), mode);
#else
    icon.addFile(QStringLiteral(":/pics/%1.svg").arg(name), QSize(), mode);
#endif
}

QIcon picture(const QString &name)
{
    QIcon icon;
    addPicture(icon, name);
    return icon;
}

// A pointer drawn on a 32 x 32 grid, made for the screen's pixel ratio so that
// it stays crisp; the hot spot is in the grid's units.
QCursor pointer(const QString &name, int hotX, int hotY)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen ? screen->devicePixelRatio() : 1.0;
    return QCursor(picture(name).pixmap(QSize(32, 32), ratio), hotX, hotY);
}

} // namespace

// Each picture is made once and shared by every load of the window: new icons
// each time would fill Qt's pixmap cache with copies of the same faces. Icons
// render on demand, so none of them costs start-up anything.
QIcon windowIcon()
{
    static const QIcon result = picture(QStringLiteral("quorvela"));
    return result;
}

QIcon face(Face mood)
{
    static const QIcon faces[] = {
        [] {
            // Disabled, the smile turns to a straight mouth.
            QIcon smiling = picture(QStringLiteral("smiling"));
            addPicture(smiling, QStringLiteral("straight"), QIcon::Disabled);
            return smiling;
        }(),
        picture(QStringLiteral("laughing")),
        picture(QStringLiteral("straight")),
    };
    return faces[int(mood)];
}

QIcon noEntry()
{
    static const QIcon result = picture(QStringLiteral("noentry"));
    return result;
}

QCursor pointingHand()
{
    static const QCursor result = pointer(QStringLiteral("hand"), 1, 1);
    return result;
}

QCursor wavingFigure()
{
    static const QCursor result = pointer(QStringLiteral("waving"), 3, 3);
    return result;
}

QCursor wingedNote()
{
    static const QCursor result = pointer(QStringLiteral("note"), 0, 0);
    return result;
}

QCursor iconPointer()
{
    static const QCursor result = pointer(QStringLiteral("iconpointer"), 16, 16);
    return result;
}

} // namespace quorvela::pictures
