#include "webpage.h"

#include <QApplication>
#include <QBuffer>
#include <QCursor>
#include <QHash>
#include <QPixmap>
#include <QScreen>
#include <QWidget>

#include <emscripten.h>

namespace quorvela::page {

namespace {

// clang-format off
EM_JS(void, quorvela_page_focus, (const char *inputMode, const char *enterKey,
                                  int x, int y, int width, int height), {
    if (window.quorvelaPage && window.quorvelaPage.focus)
        window.quorvelaPage.focus(UTF8ToString(inputMode), UTF8ToString(enterKey),
                                  { x, y, width, height });
});

EM_JS(void, quorvela_page_pointer, (const char *css), {
    if (window.quorvelaPage && window.quorvelaPage.pointer)
        window.quorvelaPage.pointer(UTF8ToString(css));
});

EM_JS(int, quorvela_page_touch_target, (), {
    return window.quorvelaPage && window.quorvelaPage.touchTargetHeight
        ? window.quorvelaPage.touchTargetHeight() : 0;
});
// clang-format on

// The keyboard a box asks for, as a page's inputmode; "none" where nothing is
// typed (a button), so that no on-screen keyboard covers the window.
const char *inputModeOf(const QWidget *widget)
{
    if (!widget || !widget->testAttribute(Qt::WA_InputMethodEnabled))
        return "none";
    const Qt::InputMethodHints hints = widget->inputMethodHints();
    if (hints & Qt::ImhDigitsOnly)
        return "numeric";
    if (hints & (Qt::ImhFormattedNumbersOnly | Qt::ImhPreferNumbers))
        return "decimal";
    return "text";
}

// The label of the on-screen keyboard's Enter, as a page's enterkeyhint.
const char *enterKeyOf(const QWidget *widget)
{
    if (!widget || !widget->testAttribute(Qt::WA_InputMethodEnabled))
        return "";
    switch (widget->inputMethodQuery(Qt::ImEnterKeyType).value<Qt::EnterKeyType>()) {
    case Qt::EnterKeyNext:
        return "next";
    case Qt::EnterKeyDone:
        return "done";
    case Qt::EnterKeyGo:
        return "go";
    default:
        return "";
    }
}

// The pointer Qt would show over a widget: that of the nearest one that sets
// one, none over a disabled one.
QCursor pointerOver(QWidget *widget)
{
    while (widget && !widget->isWindow() && !widget->testAttribute(Qt::WA_SetCursor))
        widget = widget->parentWidget();
    if (!widget || !widget->isEnabled())
        return QCursor();
    return widget->cursor();
}

// A picture pointer as a CSS cursor value; the empty text for Qt's own shapes,
// which Qt's browser platform shows itself.
QByteArray cssPointer(const QCursor &cursor)
{
    if (cursor.shape() != Qt::BitmapCursor)
        return {};
    static QHash<qint64, QByteArray> made;
    const QPixmap picture = cursor.pixmap();
    const auto found = made.constFind(picture.cacheKey());
    if (found != made.constEnd())
        return *found;
    // A page measures a cursor's picture and hot spot in CSS pixels.
    const qreal ratio = picture.devicePixelRatio();
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.toImage()
        .scaled((QSizeF(picture.size()) / ratio).toSize(), Qt::IgnoreAspectRatio,
                Qt::SmoothTransformation)
        .save(&buffer, "PNG");
    const QPoint hot = cursor.hotSpot() / ratio;
    QByteArray css = "url(\"data:image/png;base64," + png.toBase64() + "\") " +
                     QByteArray::number(hot.x()) + ' ' + QByteArray::number(hot.y());
    made.insert(picture.cacheKey(), css);
    return css;
}

class InputFollower final : public QObject {
public:
    InputFollower()
    {
        connect(qApp, &QApplication::focusChanged, this, [](QWidget *, QWidget *now) {
            // Where it is on the canvas, which is Qt's screen.
            QRect place;
            if (now && now->screen())
                place = QRect(now->mapToGlobal(QPoint()) - now->screen()->geometry().topLeft(),
                              now->size());
            quorvela_page_focus(inputModeOf(now), enterKeyOf(now), place.x(), place.y(),
                                place.width(), place.height());
        });
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        QWidget *under = nullptr;
        if (event->type() == QEvent::Enter)
            under = qobject_cast<QWidget *>(watched);
        else if (event->type() == QEvent::Leave && watched->isWidgetType())
            under = static_cast<QWidget *>(watched)->parentWidget();
        else
            return false;
        const QByteArray css = cssPointer(pointerOver(under));
        if (css != shown_) {
            shown_ = css;
            quorvela_page_pointer(css.constData());
        }
        return false;
    }

private:
    QByteArray shown_;
};

} // namespace

void followInput()
{
    static InputFollower follower;
}

int touchTargetHeight()
{
    return quorvela_page_touch_target();
}

} // namespace quorvela::page
