#include "pictures.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

#include <functional>

namespace quorvela::pictures {

namespace {

using Drawing = std::function<void(QPainter &)>;

// Paints a drawing made on a 32 x 32 grid at any size and pixel density.
QPixmap render(int size, qreal dpr, const Drawing &draw)
{
    QPixmap pixmap(QSize(size, size) * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / 32.0, size / 32.0);
    draw(p);
    return pixmap;
}

qreal screenRatio()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->devicePixelRatio() : 1.0;
}

// Paints the drawing at whatever size and pixel ratio is asked, so icons stay
// crisp at 1.5 as at 2; a disabled icon has a drawing of its own.
class PaintedIconEngine : public QIconEngine {
public:
    PaintedIconEngine(Drawing normal, Drawing disabled)
        : normal_(std::move(normal)), disabled_(std::move(disabled))
    {
    }
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 32.0, rect.height() / 32.0);
        drawing(mode)(*painter);
        painter->restore();
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State) override
    {
        return render(size.width(), 1.0, drawing(mode));
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal) override
    {
        return pixmap(size, mode, state);
    }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine *clone() const override { return new PaintedIconEngine(normal_, disabled_); }

private:
    const Drawing &drawing(QIcon::Mode mode) const
    {
        return mode == QIcon::Disabled ? disabled_ : normal_;
    }
    Drawing normal_;
    Drawing disabled_;
};

QIcon icon(const Drawing &draw, const Drawing &disabled = nullptr)
{
    return QIcon(new PaintedIconEngine(draw, disabled ? disabled : draw));
}

QCursor cursor(const Drawing &draw, int hotX, int hotY)
{
    return QCursor(render(32, screenRatio(), draw), hotX, hotY);
}

void drawIcon(QPainter &p)
{
    p.fillRect(QRectF(0, 0, 32, 32), QColor(0, 0, 255));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    font.setBold(true);
    p.setFont(font);
    QLinearGradient shade(0, 0, 0, 32);
    shade.setColorAt(0.0, QColor(255, 255, 0));
    shade.setColorAt(1.0, QColor(255, 0, 255));
    const QColor magenta(255, 0, 255);
    auto fraction = [&](qreal x, const QString &num, const QString &den) {
        p.setPen(QPen(QBrush(shade), 1));
        p.drawText(QRectF(x, 2, 10, 13), Qt::AlignCenter, num);
        p.drawText(QRectF(x, 17, 10, 13), Qt::AlignCenter, den);
        p.fillRect(QRectF(x, 15, 10, 2), magenta);
    };
    fraction(1, QStringLiteral("3"), QStringLiteral("4"));
    fraction(21, QStringLiteral("2"), QStringLiteral("5"));
    p.fillRect(QRectF(12.5, 15, 7, 2), magenta);
    p.fillRect(QRectF(15, 12.5, 2, 7), magenta);
}

void drawFace(QPainter &p, Face mood)
{
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(QColor(255, 230, 0));
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.setBrush(Qt::black);
    p.drawEllipse(QRectF(10, 10, 3.5, 4.5));
    p.drawEllipse(QRectF(18.5, 10, 3.5, 4.5));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 1.8, Qt::SolidLine, Qt::RoundCap));
    switch (mood) {
    case Face::Smiling:
        p.drawArc(QRectF(9, 12, 14, 11), -20 * 16, -140 * 16);
        break;
    case Face::Laughing: {
        QPainterPath mouth;
        mouth.moveTo(9, 18);
        mouth.cubicTo(10, 27, 22, 27, 23, 18);
        mouth.closeSubpath();
        p.setPen(QPen(Qt::black, 1.2));
        p.setBrush(QColor(220, 0, 0));
        p.drawPath(mouth);
        break;
    }
    case Face::Straight:
        p.drawLine(QPointF(10.5, 21), QPointF(21.5, 21));
        break;
    }
}

void drawNoEntry(QPainter &p)
{
    p.setPen(QPen(QColor(120, 0, 0), 1));
    p.setBrush(QColor(220, 0, 0));
    p.drawEllipse(QRectF(2, 2, 28, 28));
    p.fillRect(QRectF(7, 13.5, 18, 5), Qt::white);
}

void drawHand(QPainter &p)
{
    // Index finger up and to the left, fingertip at (1, 1).
    QPainterPath hand;
    hand.moveTo(1, 1);
    hand.lineTo(5, 2.5);
    hand.lineTo(13, 10.5);
    hand.lineTo(15, 9.5);
    hand.lineTo(18, 12);
    hand.lineTo(20, 11.5);
    hand.lineTo(23, 14.5);
    hand.lineTo(25, 14.5);
    hand.lineTo(28, 18);
    hand.lineTo(28, 23);
    hand.lineTo(22, 29);
    hand.lineTo(14, 29);
    hand.lineTo(8, 21);
    hand.lineTo(9, 17);
    hand.lineTo(11, 16);
    hand.lineTo(2.5, 5);
    hand.closeSubpath();
    p.setPen(QPen(QColor(0, 255, 0), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::black);
    p.drawPath(hand);
}

void drawWavingFigure(QPainter &p)
{
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(220, 0, 0));
    p.drawRoundedRect(QRectF(9, 17, 14, 13), 3, 3); // shirt
    p.setPen(QPen(QColor(220, 0, 0), 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(21, 19), QPointF(27, 9)); // raised arm
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(255, 220, 0));
    p.drawEllipse(QRectF(25, 5, 5, 5));  // waving hand
    p.drawEllipse(QRectF(9, 5, 14, 13)); // face
    p.setBrush(Qt::black);
    p.drawChord(QRectF(9, 3, 14, 9), 0, 180 * 16); // hair
    p.drawEllipse(QRectF(12.5, 10, 2, 2));
    p.drawEllipse(QRectF(17.5, 10, 2, 2));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(13, 11, 6, 4), -30 * 16, -120 * 16);
    // A small marker at the hot spot so the click point is visible.
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(255, 220, 0));
    p.drawEllipse(QRectF(1.5, 1.5, 3, 3));
}

void drawWingedNote(QPainter &p)
{
    const QColor darkBlue(0, 0, 128);
    QPainterPath wing;
    wing.moveTo(0, 0);
    wing.cubicTo(8, 2, 14, 6, 16, 13);
    wing.cubicTo(10, 11, 5, 8, 0, 0);
    p.setPen(QPen(QColor(255, 255, 0), 1.2));
    p.setBrush(darkBlue);
    p.drawPath(wing);
    p.setPen(QPen(QColor(255, 0, 0), 1.2));
    p.drawEllipse(QRectF(12, 20, 9, 7)); // note head
    p.setPen(QPen(QColor(255, 255, 0), 2));
    p.drawLine(QPointF(20.5, 23), QPointF(20.5, 7)); // stem
    p.setPen(QPen(QColor(255, 0, 0), 1.2));
    QPainterPath flag;
    flag.moveTo(20.5, 7);
    flag.cubicTo(26, 9, 29, 13, 27, 18);
    flag.cubicTo(26, 14, 23, 12, 20.5, 12);
    flag.closeSubpath();
    p.drawPath(flag);
}

void drawIconPointer(QPainter &p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3));
    p.drawRect(QRectF(8, 8, 16, 16));
    p.setPen(QPen(Qt::black, 1.5));
    p.drawRect(QRectF(8, 8, 16, 16));
    p.fillRect(QRectF(13, 13, 6, 6), Qt::white);
    p.setPen(QPen(Qt::black, 1.5));
    p.drawRect(QRectF(13, 13, 6, 6));
}

} // namespace

// Each picture is painted once and shared by every load of the window: new
// icons each time would fill Qt's pixmap cache with copies of the same faces.
// Icons paint on demand, so none of them costs start-up anything.
QIcon windowIcon()
{
    static const QIcon result = icon(drawIcon);
    return result;
}

QIcon face(Face mood)
{
    static const QIcon faces[] = {
        // Disabled, the smile turns to a straight mouth.
        icon([](QPainter &p) { drawFace(p, Face::Smiling); },
             [](QPainter &p) { drawFace(p, Face::Straight); }),
        icon([](QPainter &p) { drawFace(p, Face::Laughing); }),
        icon([](QPainter &p) { drawFace(p, Face::Straight); }),
    };
    return faces[int(mood)];
}

QIcon noEntry()
{
    static const QIcon result = icon(drawNoEntry);
    return result;
}

QCursor pointingHand()
{
    static const QCursor result = cursor(drawHand, 1, 1);
    return result;
}

QCursor wavingFigure()
{
    static const QCursor result = cursor(drawWavingFigure, 3, 3);
    return result;
}

QCursor wingedNote()
{
    static const QCursor result = cursor(drawWingedNote, 0, 0);
    return result;
}

QCursor iconPointer()
{
    static const QCursor result = cursor(drawIconPointer, 16, 16);
    return result;
}

} // namespace quorvela::pictures
