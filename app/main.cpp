// Quorvela: the window with the real dialogs, random source, record keeper,
// record folder and end.
#include "game/rules/randomsource.h"
#include "platform/blinkrest.h"
#include "platform/dialogs.h"
#include "platform/programend.h"
#include "platform/session.h"
#include "record/recordfiles.h"
#include "record/recordkeeper.h"
#include "ui/tavola.h"

#include <QApplication>

#ifdef __EMSCRIPTEN__
#include "platform/webpage.h"
#include "record/browserkeeper.h"
#include "ui/pictures.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QPointer>

namespace {

// The page has no screen-reader bridge to the dialogs: each one's words are said
// in the page's live region as it opens.
class SpokenDialogs final : public quorvela::Dialogs {
public:
    quorvela::Answer messageBox(const quorvela::MessageBox &box) override
    {
        quorvela::page::say(box.buttons == quorvela::Buttons::YesNo
                                ? box.title + QStringLiteral(": ") + box.text +
                                      QStringLiteral(" Sì o No.")
                                : box.text);
        const QPointer<QWidget> before = QApplication::activeWindow();
        dialogs_.setTouchTargetHeight(quorvela::page::touchTargetHeight());
        const quorvela::Answer answer = dialogs_.messageBox(box);
        // Qt's browser platform leaves no window active once a dialog has
        // closed, and the keys would then reach nothing until a click.
        if (before && before->isVisible())
            before->activateWindow();
        return answer;
    }
    QString inputBox(const QString &prompt, const QString &title) override
    {
        quorvela::page::say(prompt);
        dialogs_.setTouchTargetHeight(quorvela::page::touchTargetHeight());
        return dialogs_.inputBox(prompt, title);
    }
    void beep() override { quorvela::page::beep(); }

private:
    quorvela::QtDialogs dialogs_;
};

// The page shows the end in the window's place.
class PageEnder final : public quorvela::ProgramEnder {
public:
    void endProgram(int exitCode) override
    {
        quorvela::page::ended(exitCode);
        ender_.endProgram(exitCode);
    }

private:
    quorvela::QtProgramEnder ender_;
};

} // namespace
#endif

namespace {

// What every game does first, once its QApplication exists.
void setUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("quorvela"));
    QApplication::setApplicationDisplayName(QString());
    QApplication::setDesktopFileName(QStringLiteral("invalid.quorvela.quorvela"));
    quorvela::useItalianButtons();
}

} // namespace

#ifdef __EMSCRIPTEN__

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
    setUpApplication();
    quorvela::page::followInput();
    static const quorvela::BlinkRest cursorRest;
    // A browser has no fonts of the system's to give: the ones the window's
    // design names come with the page.
    for (QDirIterator fonts(QStringLiteral(":/fonts")); fonts.hasNext();)
        QFontDatabase::addApplicationFont(fonts.next());
    // The dialogs, drawn by Qt itself, show the game's icon rather than Qt's.
    QApplication::setWindowIcon(quorvela::pictures::windowIcon());

    static quorvela::ClockSeededRandom random;
    static SpokenDialogs dialogs;
    static PageEnder ender;
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

#else

int main(int argc, char *argv[])
{
#ifndef _WIN32
    // The keeper's socket, closed to any program started from here on, before Qt
    // (whose libraries may start one) is set up.
    const int keeperSocket = quorvela::ParentKeeper::socketFromParent();
#endif
    const QByteArray platform =
        quorvela::preferredPlatform([](const char *name) { return qgetenv(name); }, argc, argv);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
    QApplication app(argc, argv);
    setUpApplication();
    const quorvela::BlinkRest cursorRest;

    quorvela::ClockSeededRandom random;
    quorvela::QtDialogs dialogs;
    quorvela::QtProgramEnder ender;
#ifdef _WIN32
    // No set-group-id there: the game writes the record itself.
    quorvela::StoreKeeper record;
#else
    // The record's keeper started this game and keeps its record.
    quorvela::ParentKeeper record(keeperSocket);
#endif
    quorvela::Tavola tavola({dialogs, random, ender, record, quorvela::systemRecordFolder});
    if (!tavola.Show())
        return ender.exitCode();
    return QApplication::exec();
}

#endif
