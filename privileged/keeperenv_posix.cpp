#include "keeperenv.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace quorvela::keeper {

namespace {

// Each by its whole name; LC_* as well. None of them names code to load: Qt
// takes its plugins (platform, input method) from its own folders by key.
constexpr std::string_view kPassed[] = {
    // the display and the session
    "DISPLAY", "WAYLAND_DISPLAY", "XAUTHORITY", "XDG_SESSION_TYPE", "XDG_RUNTIME_DIR",
    "DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM",
    // the player's home and language
    "HOME", "USER", "LOGNAME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
    "XDG_STATE_HOME", "LANG", "LANGUAGE", "TZ",
    // a screen reader, an input method, the pointer
    "AT_SPI_BUS_ADDRESS", "QT_ACCESSIBILITY", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "QT_IM_MODULE",
    "XMODIFIERS", "XCURSOR_THEME", "XCURSOR_SIZE",
    // scaling
    "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
    "QT_ENABLE_HIGHDPI_SCALING", "QT_SCALE_FACTOR_ROUNDING_POLICY", "QT_FONT_DPI",
};

bool passed(std::string_view name, std::string_view value)
{
    // A bus address may name a program to start (unixexec:): only a socket's
    // address passes, or none.
    if (name == "DBUS_SESSION_BUS_ADDRESS" || name == "AT_SPI_BUS_ADDRESS")
        return value.substr(0, 10) == "unix:path=" || value.substr(0, 14) == "unix:abstract=" ||
               value == "disabled:";
    return name.substr(0, 3) == "LC_" ||
           std::find(std::begin(kPassed), std::end(kPassed), name) != std::end(kPassed);
}

} // namespace

std::vector<std::string> gameEnvironment(const char *const *environment)
{
    std::vector<std::string> kept{"PATH=/usr/bin:/bin"};
    for (const char *const *entry = environment; entry && *entry; ++entry) {
        const std::string_view text(*entry);
        const std::size_t equals = text.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view name = text.substr(0, equals);
        // The first of a name that comes twice, as getenv() takes it.
        const bool seen = std::any_of(kept.begin(), kept.end(), [&](const std::string &k) {
            return std::string_view(k).substr(0, equals + 1) == text.substr(0, equals + 1);
        });
        if (passed(name, text.substr(equals + 1)) && !seen)
            kept.emplace_back(text);
    }
    return kept;
}

} // namespace quorvela::keeper
