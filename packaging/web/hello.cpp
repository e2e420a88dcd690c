// The smallest Qt Widgets program that asks a name in the page, built as the game
// is: the reference for how long the game takes to reach its first dialog.
#include <QApplication>
#include <QInputDialog>

#include <emscripten.h>

// clang-format off
EM_JS(void, hello_say, (const char *text), {
    if (window.quorvelaPage)
        window.quorvelaPage.say(UTF8ToString(text));
});
// clang-format on

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QInputDialog dialog;
    dialog.setLabelText(QStringLiteral("Come ti chiami?"));
    hello_say("Come ti chiami?");
    dialog.exec();
    return 0;
}
