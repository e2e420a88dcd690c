#include "controls.h"

#include "platform/keypress.h"

#include <QKeyEvent>
#include <QPainter>
#include <QtWidgets/qdrawutil.h>

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

TextBox::TextBox(const QString &text, QWidget *parent) : QLineEdit(text, parent)
{
    setFrame(false);
    setTextMargins(2, 2, 2, 2);
}

void TextBox::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    QPainter p(this);
    qDrawWinPanel(&p, rect(), palette(), true);
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

void ClientArea::cls()
{
    boxes_.clear();
    update();
}

void ClientArea::fillBox(const QRect &box, const QColor &color)
{
    boxes_.push_back({box, color});
    update(box);
}

void ClientArea::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    const QRect area = event->rect();
    p.fillRect(area, backColor_);
    for (const Box &box : boxes_) {
        const QRect visible = box.rect & area;
        if (!visible.isEmpty())
            p.fillRect(visible, box.color);
    }
}

} // namespace quorvela
