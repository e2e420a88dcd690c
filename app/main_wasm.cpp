// Quorvela in a web page: the window with the page's dialogs and end, the
// browser's record keeper, and the page told what the game says, which keyboard
// its focused box asks for and which pointer it shows. The desktop's main is
// main.cpp.
#include "rules/randomsource.h"
#include "platform/blinkrest.h"
#include "platform/session.h"
#include "platform/webpage.h"
#include "record/browserkeeper.h"
#include "ui/pictures.h"
#include "ui/tavola.h"

#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFontDatabase>

// In a browser the page's events run the game once main has returned, so nothing
// the game uses may live on main's stack: all of it is static, made once, and
// never ends before the page does. exec() is not called: in a browser it would
// not return, and would unwind main's stack beneath the objects on it.
int main(int, char *[])
{
    static int argc = 1;
    static char name[] = "quorvela";
    static char *argv[] = {name, nullptr};
    // The page types into the game itself (page::followInput): Qt's own input
    // for on-screen keyboards takes a letter of a word at a time, and none on
    // an iPad. An input method no plugin provides leaves Qt without one.
    qputenv("QT_IM_MODULE", "page");
    static QApplication app(argc, argv);
    quorvela::setUpApplication();
    quorvela::page::followInput();
    static const quorvela::BlinkRest cursorRest;
    // A browser has no fonts of the system's to give: the ones the window's
    // design names come with the page.
    for (QDirIterator fonts(QStringLiteral(":/fonts")); fonts.hasNext();)
        QFontDatabase::addApplicationFont(fonts.next());
    // The dialogs, drawn by Qt itself, show the game's icon rather than Qt's.
    QApplication::setWindowIcon(quorvela::pictures::windowIcon());

    static quorvela::ClockSeededRandom random;
    static quorvela::page::SpokenDialogs dialogs;
    static quorvela::page::PageEnder ender;
    static quorvela::BrowserKeeper record(quorvela::siteStorage());
    static QElapsedTimer sinceStart;
    sinceStart.start();
    quorvela::Services services{dialogs, random, ender, record,
                                [] { return QStringLiteral("/quorvela"); }};
    services.announce = quorvela::page::say;
    services.monotonicMs = [] { return sinceStart.elapsed(); };
    static quorvela::Tavola tavola(services);
    tavola.Show();
    return 0;
}

