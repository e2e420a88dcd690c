#include "controls.h"

#include "platform/keypress.h"

#include <QKeyEvent>
#include <QPainter>

namespace quorvela {

Label::Label(const QString &caption, QWidget *parent, bool fitsText)
    : QLabel(caption, parent), fitsText_(fitsText)
{
    setTextFormat(Qt::PlainText);
    setFocusPolicy(Qt::NoFocus);
}

void Label::setCaption(const QString &caption)
{
    setText(caption);
    if (fitsText_)
        resize(sizeHint());
}

void TextBox::keyPressEvent(QKeyEvent *event)
{
    if (onKeyPress) {
        if (auto code = keyAsciiOf(*event))
            onKeyPress(*code);
    }
    // The handler never cancels a key: it always has its ordinary effect.
    QLineEdit::keyPressEvent(event);
}

LineControl::LineControl(int index, QWidget *parent) : QWidget(parent), index_(index)
{
    setObjectName(QStringLiteral("Line1"));
    setProperty("index", index);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::paintEvent(QPaintEvent *)
{
    QPainter(this).fillRect(rect(), QColor(255, 0, 255));
}

PictureButton::PictureButton(const QString &caption, const QIcon &face, const QIcon &pressedFace,
                             QWidget *parent)
    : QToolButton(parent), face_(face), pressedFace_(pressedFace)
{
    setText(caption);
    setIcon(face_);
    setIconSize(QSize(32, 32));
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setFocusPolicy(Qt::StrongFocus);
    setAutoFillBackground(true);
    connect(this, &QAbstractButton::pressed, this, [this] { setIcon(pressedFace_); });
    connect(this, &QAbstractButton::released, this, [this] { setIcon(face_); });
}

void PictureButton::keyPressEvent(QKeyEvent *event)
{
    // Enter clicks the focused button. Its auto-repeat does not: holding Enter
    // after judging an answer must not skip through problems.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        if (!event->isAutoRepeat())
            click();
        event->accept();
        return;
    }
    QToolButton::keyPressEvent(event);
}

ClientArea::ClientArea(QWidget *parent) : QWidget(parent), backColor_(0, 0, 255)
{
    setObjectName(QStringLiteral("client"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ClientArea::setBackColor(const QColor &color)
{
    backColor_ = color;
    cls();
}

QImage &ClientArea::canvas()
{
    ensureCanvas();
    return canvas_;
}

void ClientArea::cls()
{
    ensureCanvas();
    canvas_.fill(backColor_);
    update();
}

void ClientArea::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.drawImage(event->rect(), canvas_, QRectF(QPointF(event->rect().topLeft()) * canvas_.devicePixelRatio(),
                                               QSizeF(event->rect().size()) * canvas_.devicePixelRatio()));
}

void ClientArea::resizeEvent(QResizeEvent *) { ensureCanvas(); }

void ClientArea::ensureCanvas()
{
    // The drawing persists: a larger area keeps it and adds background around it.
    const qreal dpr = devicePixelRatioF();
    const QSize needed = size() * dpr;
    if (canvas_.width() >= needed.width() && canvas_.height() >= needed.height() &&
        canvas_.devicePixelRatio() == dpr)
        return;
    QImage grown(needed.expandedTo(canvas_.size()), QImage::Format_ARGB32_Premultiplied);
    grown.setDevicePixelRatio(dpr);
    grown.fill(backColor_);
    if (!canvas_.isNull() && canvas_.devicePixelRatio() == dpr)
        QPainter(&grown).drawImage(QPoint(0, 0), canvas_);
    canvas_ = grown;
}

} // namespace quorvela
