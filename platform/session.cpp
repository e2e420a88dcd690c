#include "session.h"

#include "dialogs.h"

#include <QApplication>

#include <cstring>

namespace quorvela {

QByteArray preferredPlatform(const std::function<QByteArray(const char *)> &environment, int argc,
                             const char *const *argv)
{
    if (!environment("QT_QPA_PLATFORM").isEmpty())
        return {};
    for (int i = 1; i < argc; ++i) {
        // Qt reads "-platform" and "--platform" alike.
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return {};
    }
    const bool wayland =
        environment("XDG_SESSION_TYPE") == "wayland" || !environment("WAYLAND_DISPLAY").isEmpty();
    if (!wayland || environment("DISPLAY").isEmpty())
        return {};
    // Wayland stays the fallback, should the X server not answer.
    return QByteArrayLiteral("xcb;wayland");
}

void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("quorvela"));
    QApplication::setApplicationDisplayName(QString());
    QApplication::setDesktopFileName(QStringLiteral("invalid.quorvela.quorvela"));
    useItalianButtons();
}

} // namespace quorvela
