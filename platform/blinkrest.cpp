#include "blinkrest.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QStyleHints>

namespace quorvela {

BlinkRest::BlinkRest(QObject *parent, int restAfterMs)
    : QObject(parent), flashTime_(QGuiApplication::styleHints()->cursorFlashTime())
{
    rest_.setSingleShot(true);
    rest_.setInterval(restAfterMs);
    connect(&rest_, &QTimer::timeout, this,
            [] { QGuiApplication::styleHints()->setCursorFlashTime(0); });
    QCoreApplication::instance()->installEventFilter(this);
    rest_.start();
}

BlinkRest::~BlinkRest()
{
    QGuiApplication::styleHints()->setCursorFlashTime(flashTime_);
}

bool BlinkRest::resting() const
{
    return QGuiApplication::styleHints()->cursorFlashTime() == 0;
}

void BlinkRest::wake()
{
    if (resting())
        QGuiApplication::styleHints()->setCursorFlashTime(flashTime_);
    rest_.start();
}

bool BlinkRest::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::InputMethod:
        wake();
        break;
    default:
        break;
    }
    return false;
}

} // namespace quorvela
