#include "webpage.h"

#include <emscripten.h>

namespace quorvela::page {

namespace {

// The page's script defines window.quorvelaPage; the game runs without one too.
// clang-format off
EM_JS(void, quorvela_page_say, (const char *text), {
    if (window.quorvelaPage)
        window.quorvelaPage.say(UTF8ToString(text));
});

EM_JS(void, quorvela_page_ended, (int code), {
    if (window.quorvelaPage)
        window.quorvelaPage.ended(code);
});

EM_JS(void, quorvela_page_beep, (), {
    if (window.quorvelaPage && window.quorvelaPage.beep)
        window.quorvelaPage.beep();
});
// clang-format on

} // namespace

void say(const QString &text)
{
    quorvela_page_say(text.toUtf8().constData());
}

void ended(int exitCode)
{
    quorvela_page_ended(exitCode);
}

void beep()
{
    quorvela_page_beep();
}

} // namespace quorvela::page
