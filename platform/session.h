// The game's session: which window system it asks Qt for, before the
// application exists, and what every game does first once it exists.
#pragma once

#include <QByteArray>

#include <functional>

namespace quorvela {

// On a Wayland session that also offers X (XWayland), "xcb;wayland": as an X
// client the game learns when it is minimised (its title then shows the time
// left) and keeps its place on the screen, neither of which Wayland tells or
// allows a client. Empty (Qt's own choice) everywhere else, and whenever the
// user named a platform with QT_QPA_PLATFORM or -platform.
QByteArray preferredPlatform(const std::function<QByteArray(const char *)> &environment, int argc,
                             const char *const *argv);

// The application's names (no display name: the windows' titles are the
// game's own) and the Italian buttons of the dialogs.
void setUpApplication();

} // namespace quorvela
