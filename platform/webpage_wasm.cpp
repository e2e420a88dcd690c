#include "webpage.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>

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

Answer SpokenDialogs::messageBox(const MessageBox &box)
{
    say(box.buttons == Buttons::YesNo
            ? box.title + QStringLiteral(": ") + box.text + QStringLiteral(" Sì o No.")
            : box.text);
    const QPointer<QWidget> before = QApplication::activeWindow();
    dialogs_.setTouchTargetHeight(touchTargetHeight());
    const Answer answer = dialogs_.messageBox(box);
    // Qt's browser platform leaves no window active once a dialog has closed,
    // and the keys would then reach nothing until a click.
    if (before && before->isVisible())
        before->activateWindow();
    return answer;
}

QString SpokenDialogs::inputBox(const QString &prompt, const QString &title)
{
    say(prompt);
    dialogs_.setTouchTargetHeight(touchTargetHeight());
    return dialogs_.inputBox(prompt, title);
}

void SpokenDialogs::beep()
{
    page::beep();
}

void PageEnder::endProgram(int exitCode)
{
    ended(exitCode);
    ender_.endProgram(exitCode);
}

} // namespace quorvela::page
