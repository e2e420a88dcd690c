#include "controls.h"

#include "platform/keypress.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOption>
#include <QtWidgets/qdrawutil.h>

namespace quorvela {

namespace {

// The desktop's styles (Windows' among them) draw a button as the system does,
// ignoring its palette. Fusion honours the palette but shades the face, with a
// lightened gradient (a darker flat colour when pressed) that turns the orange
// to peach. The picture buttons keep Fusion's frame, picture, caption and focus
// frame, on a face flat in their own colour.
class FlatFaceStyle final : public QProxyStyle {
public:
    FlatFaceStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override
    {
        switch (element) {
        case PE_PanelButtonTool:
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            // Inside the outline and the light line that Fusion draws within it.
            painter->fillRect(option->rect.adjusted(2, 2, -2, -2), option->palette.button());
            break;
        case PE_FrameFocusRect: {
            // Only the frame's edge: Fusion also tints everything inside it.
            const QRect edge = option->rect;
            painter->save();
            painter->setClipRegion(QRegion(edge).subtracted(edge.adjusted(1, 1, -1, -1)),
                                   Qt::IntersectClip);
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            painter->restore();
            break;
        }
        default:
            QProxyStyle::drawPrimitive(element, option, painter, widget);
        }
    }
};

QStyle *flatFaceStyle()
{
    static QStyle *const style = [] {
        auto *flat = new FlatFaceStyle;
        flat->setParent(qApp);
        return flat;
    }();
    return style;
}

} // namespace

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

QVariant TextBox::inputMethodQuery(Qt::InputMethodQuery query) const
{
    if (query == Qt::ImEnterKeyType)
        return enterKeyType_;
    return QLineEdit::inputMethodQuery(query);
}

void TextBox::paintEvent(QPaintEvent *event)
{
    QLineEdit::paintEvent(event);
    QPainter p(this);
    qDrawWinPanel(&p, rect(), palette(), true);
}

void TextBox::focusInEvent(QFocusEvent *event)
{
    QLineEdit::focusInEvent(event);
    // A box the game hands the focus to (Enter in the numerator box, the end of
    // the time) takes it with the caret after its text, where typing goes on: a
    // judged answer put the caret at home for the screen reader's sake. A click
    // puts it where the pupil clicked, and Tab selects the text, as anywhere.
    if (event->reason() == Qt::OtherFocusReason && !hasSelectedText())
        end(false);
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
    // The face is painted in the palette's Button colour, whatever the desktop's style.
    setStyle(flatFaceStyle());
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
