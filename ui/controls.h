// The kinds of control on Tavola, and the struct that holds one load's worth.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QMenuBar;
class QTimer;

namespace quorvela {

// A label that can resize itself to its text, keeping its top-left corner.
class Label : public QLabel {
    Q_OBJECT
public:
    Label(const QString &caption, QWidget *parent, bool fitsText);
    // Every caption the game writes goes through here, so fitting never lags.
    void setCaption(const QString &caption);

private:
    bool fitsText_;
};

// A text box whose key-press handler runs before the key reaches the box.
class TextBox : public QLineEdit {
    Q_OBJECT
public:
    TextBox(const QString &text, QWidget *parent);
    std::function<void(std::int16_t &)> onKeyPress;
    // What Enter does here, for on-screen keyboards that label their Enter key.
    void setEnterKeyType(Qt::EnterKeyType type) { enterKeyType_ = type; }
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    // The classic sunken border, the same under every style.
    void paintEvent(QPaintEvent *event) override;

private:
    Qt::EnterKeyType enterKeyType_ = Qt::EnterKeyDefault;
};

// One item of the line array Line1: a horizontal bar.
class LineControl : public QWidget {
    Q_OBJECT
public:
    LineControl(int index, QWidget *parent);
    int index() const { return index_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int index_;
};

// A button with a picture centred above its caption, that Enter clicks too. Its
// face is flat in the palette's Button colour, pressed and disabled too.
class PictureButton : public QToolButton {
    Q_OBJECT
public:
    PictureButton(const QString &caption, const QIcon &face, const QIcon &pressedFace,
                  QWidget *parent);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QIcon face_;
    QIcon pressedFace_;
};

// The client area: the background colour and what has been drawn on it. The
// drawing persists (it is repainted after being covered) until cls() or a new
// background colour wipes it; it is kept as the boxes drawn, not as pixels.
class ClientArea : public QWidget {
    Q_OBJECT
public:
    explicit ClientArea(QWidget *parent);
    QColor backColor() const { return backColor_; }
    // Setting the colour wipes everything drawn.
    void setBackColor(const QColor &color);
    // Clears the drawing to the background colour.
    void cls();
    // Draws a filled box, in the client area's coordinates.
    void fillBox(const QRect &box, const QColor &color);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Box {
        QRect rect;
        QColor color;
    };
    QColor backColor_;
    std::vector<Box> boxes_;
};

struct Controls {
    ClientArea *client = nullptr;
    QMenuBar *menuBar = nullptr;
    QTimer *Timer1 = nullptr;

    TextBox *Text1 = nullptr, *Text2 = nullptr, *Text5 = nullptr, *Text6 = nullptr;
    TextBox *txtAnswer = nullptr, *Text3 = nullptr, *Text9 = nullptr, *Text10 = nullptr;
    // Items 0, 1 and 4 exist; 2 and 3 do not.
    std::array<LineControl *, 5> Line1{};

    Label *Label2 = nullptr, *Label4 = nullptr, *Label11 = nullptr, *lblconto = nullptr;
    Label *lblMessage = nullptr, *Label6 = nullptr, *lblScore = nullptr, *Label1 = nullptr;
    Label *lblScore1 = nullptr, *Label3 = nullptr, *lblScore2 = nullptr, *Label14 = nullptr;
    Label *lblnome1 = nullptr, *Label12 = nullptr, *lblnome = nullptr, *Label13 = nullptr;
    Label *lblpunti = nullptr;

    PictureButton *cmdNext = nullptr, *cmdExit = nullptr;
};

// The design's fonts, with metric-compatible stand-ins where they are missing.
// Sizes are in points at 96 dpi, turned into logical pixels so the layout holds
// whatever dpi the screen reports.
enum class Family { TimesNewRoman, Arial, ArialBlack, MsSansSerif };
QFont designFont(Family family, qreal points, bool bold = false, bool italic = false);

// Twips to the window's logical pixels (15 twips a pixel at 96 dpi).
constexpr int px(int twips)
{
    return twips / 15;
}

} // namespace quorvela
