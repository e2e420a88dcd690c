// The window's life: load, show, unload, the event guard, and the window events.
#include "tavola.h"

#include "controls.h"
#include "pictures.h"
#include "record/recordfiles.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QMenuBar>
#include <QPixmapCache>
#include <QStyleHints>
#include <QTimer>

namespace quorvela {

Tavola::Tavola(const Services &services, QWidget *parent) : QMainWindow(parent), services_(services)
{
    setObjectName(QStringLiteral("Tavola"));
    setWindowIcon(pictures::windowIcon());
}

Tavola::~Tavola() = default;

void Tavola::dispatch(const std::function<void()> &handler)
{
    if (ended_)
        return;
    try {
        handler();
    } catch (const ProgramEnd &end) {
        finish(end.exitCode);
    } catch (const FileError &error) {
        // Nothing in the game catches a file error: it is told, and the game ends.
        // The clock stops first, so no tick comes while the message is open.
        if (ui)
            ui->Timer1->stop();
        MsgBox(MessageBox::ok(fileErrorMessage(error)));
        finish(1);
    }
}

void Tavola::End(int exitCode)
{
    throw ProgramEnd{exitCode};
}

void Tavola::finish(int exitCode)
{
    ended_ = true;
    if (ui)
        ui->Timer1->stop();
    hide();
    services_.ender.endProgram(exitCode);
}

Answer Tavola::MsgBox(const MessageBox &box)
{
    ++dialogsOpen_;
    const Answer answer = services_.dialogs.messageBox(box);
    --dialogsOpen_;
    return answer;
}

QString Tavola::InputBox(const QString &prompt)
{
    ++dialogsOpen_;
    QString text = services_.dialogs.inputBox(prompt, kAppTitle);
    --dialogsOpen_;
    return text;
}

void Tavola::Load()
{
    setWindowTitle(QStringLiteral("Plimvoro"));
    createControls();
    createMenus();
    describeControls();
    connectHandlers();
    const QSize client(px(10935), px(7740));
    centralWidget()->setMinimumSize(client);
    centralWidget()->resize(client);
    move(px(2040), px(525));
    resize(client.width(), client.height() + menuBar()->sizeHint().height());
    Form_Load();
}

void Tavola::showWindow()
{
    if (!isLoaded())
        Load();
    // Where the platform shows every window full screen (a browser's page), this
    // one keeps its own size and place all the same.
    if (QGuiApplication::styleHints()->showIsFullScreen())
        showNormal();
    else
        show();
    activateWindow();
    // The first display always counts as a resize, even at an unchanged size.
    Form_Resize();
    // The first tick comes one second after the window is ready.
    if (ui->Timer1->isActive())
        restartTimer1();
    Form_Activate();
}

bool Tavola::Show()
{
    dispatch([this] { showWindow(); });
    return !ended_;
}

void Tavola::Unload()
{
    if (!ui)
        return;
    hide();
    // Deleting the widgets now, not later: no old control, menu or tick may
    // outlive the unload. Callers reach here from queued events only.
    std::unique_ptr<Controls> old = std::move(ui);
    delete old->Timer1;
    delete old->menuBar;
    delete old->client;
    // The style caches frames keyed by each control's palette; those of the
    // destroyed controls can never be used again.
    QPixmapCache::clear();
}

void Tavola::connectHandlers()
{
    Controls &c = *ui;
    connect(c.cmdNext, &QAbstractButton::clicked, this,
            [this] { dispatch([this] { cmdNext_Click(); }); });
    connect(c.cmdExit, &QAbstractButton::clicked, this,
            [this] { dispatch([this] { cmdExit_Click(); }); });
    connect(c.Timer1, &QTimer::timeout, this, [this] {
        // Ticks that came late are counted now, one handler each, as long as the
        // clock runs (a tick may end the time, the game or the window).
        for (int n = ticksDue(); n > 0 && ui && ui->Timer1->isActive() && !ended_; --n) {
            ++ticksCounted_;
            dispatch([this] { Timer1_Timer(); });
        }
    });
    c.txtAnswer->onKeyPress = [this](std::int16_t &key) {
        dispatch([this, &key] { txtAnswer_KeyPress(key); });
    };
    c.Text3->onKeyPress = [this](std::int16_t &key) {
        dispatch([this, &key] { Text3_KeyPress(key); });
    };
}

void Tavola::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isLoaded())
        Form_Resize();
}

void Tavola::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    if (isLoaded())
        Form_Resize();
}

void Tavola::closeEvent(QCloseEvent *event)
{
    // Closing from the title bar ends the game: no question, no save.
    event->accept();
    if (!ended_)
        finish(0);
}

void Tavola::SetBackColor(const QColor &color)
{
    ui->client->setBackColor(color);
}

} // namespace quorvela
