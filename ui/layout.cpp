// The controls of Tavola as every load creates them: kind, name, place, text,
// font, colours, border, pointer, tooltip and tab order.
#include "controls.h"
#include "pictures.h"
#include "tavola.h"

#include <QApplication>
#include <QFontDatabase>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>

#include <initializer_list>
#include <iterator>
#include <memory>

namespace quorvela {

namespace {

const QColor kYellow(255, 255, 0);
const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
const QColor kCyan(0, 255, 255);
const QColor kDarkGreen(0, 128, 0);
const QColor kGreen(0, 255, 0);

// The first of the families that is installed, so every painter (and cached
// text) uses the same face.
QString installedFamily(std::initializer_list<const char *> families)
{
    const QStringList installed = QFontDatabase::families();
    for (const char *family : families) {
        if (installed.contains(QLatin1String(family), Qt::CaseInsensitive))
            return QString::fromLatin1(family);
    }
    return QString::fromLatin1(*std::prev(families.end()));
}

} // namespace

QFont designFont(Family family, qreal points, bool bold, bool italic)
{
    static const QString serif = installedFamily({"Times New Roman", "Liberation Serif"});
    static const QString sans = installedFamily({"Arial", "Liberation Sans"});
    static const QString black = installedFamily({"Arial Black", "Liberation Sans"});
    // Windows' "MS Sans Serif" is a bitmap font, drawn in a few fixed sizes: scaled
    // to 150 or 200 % it turns blocky or jumps to another size. "Microsoft Sans
    // Serif" is the same design as an outline font, on every Windows since 2000.
    static const QString msSans =
        installedFamily({"Microsoft Sans Serif", "MS Sans Serif", "Liberation Sans"});
    QFont font;
    switch (family) {
    case Family::TimesNewRoman:
        font.setFamily(serif);
        break;
    case Family::Arial:
        font.setFamily(sans);
        break;
    case Family::ArialBlack:
        font.setFamily(black);
        font.setWeight(QFont::Black);
        break;
    case Family::MsSansSerif:
        font.setFamily(msSans);
        break;
    }
    font.setPixelSize(qRound(points * 96.0 / 72.0));
    if (bold && family != Family::ArialBlack)
        font.setBold(true);
    font.setItalic(italic);
    return font;
}

namespace {

// Qt's own style, which paints with the palette it is given, made once.
QStyle *fusionStyle()
{
    static QStyle *const style = [] {
        QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion"));
        fusion->setParent(qApp);
        return fusion;
    }();
    return style;
}

// What "default" colours mean for the game: black text and white text boxes,
// the classic light scheme, whatever the desktop's scheme is. Dark desktop
// themes must not turn the problem's boxes dark.
const QPalette &classicPalette()
{
    static const QPalette palette = fusionStyle()->standardPalette();
    return palette;
}

QRect twips(int left, int top, int width, int height)
{
    return QRect(px(left), px(top), px(width), px(height));
}

enum LabelStyle { Plain = 0, Border = 1, Centred = 2, Fits = 4 };

Label *makeLabel(QWidget *parent, const char *name, const QRect &place, const QString &caption,
                 const QFont &font, const QColor &colour, int style)
{
    auto *label = new Label(caption, parent, style & Fits);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(place);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
    if (style & Border)
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment((style & Centred ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignTop);
    if (style & Fits)
        label->setCaption(caption);
    return label;
}

TextBox *makeBox(QWidget *parent, const char *name, const QRect &place, const QString &text,
                 const QFont &font, const QColor &background = QColor())
{
    auto *box = new TextBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(place);
    box->setFont(font);
    box->setAlignment(Qt::AlignCenter);
    if (background.isValid()) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Base, background);
        palette.setColor(QPalette::Text, Qt::black);
        box->setPalette(palette);
    }
    return box;
}

LineControl *makeLine(QWidget *parent, int index, int x1, int x2, int y)
{
    // A 5-pixel bar centred on the line's row.
    auto *line = new LineControl(index, parent);
    line->setGeometry(px(x1), px(y) - 2, px(x2) - px(x1), 5);
    return line;
}

PictureButton *makeButton(QWidget *parent, const char *name, const QRect &place,
                          const QString &caption, const QColor &face, const QIcon &normal,
                          const QIcon &pressed, const QString &tip)
{
    auto *button = new PictureButton(caption, normal, pressed, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    button->setFont(designFont(Family::MsSansSerif, 8.25, true));
    QPalette palette = button->palette();
    palette.setColor(QPalette::Button, face);
    palette.setColor(QPalette::Window, face);
    palette.setColor(QPalette::ButtonText, Qt::black);
    button->setPalette(palette);
    button->setToolTip(tip);
    return button;
}

} // namespace

void Tavola::createControls()
{
    ui = std::make_unique<Controls>();
    Controls &c = *ui;
    c.client = new ClientArea(this);
    // Every control inherits it; the menus and the dialogs follow the desktop.
    c.client->setPalette(classicPalette());
    setCentralWidget(c.client);
    setCursor(pictures::pointingHand());
    QWidget *w = c.client;

    const QString answerTip = QStringLiteral("Inserisci il risultato e  premi il tasto  Invio");
    const QFont boxFont = designFont(Family::TimesNewRoman, 36, true);
    const QFont answerFont = designFont(Family::Arial, 48, true);
    const QFont counterFont = designFont(Family::TimesNewRoman, 36, true);
    const QFont captionFont = designFont(Family::MsSansSerif, 18);

    // Labels and lines first: they lie beneath the boxes and buttons.
    c.Label2 = makeLabel(w, "Label2", twips(2880, 480, 855, 1335), QStringLiteral("+"),
                         designFont(Family::Arial, 48, true), Qt::black, Plain);
    c.Label4 = makeLabel(w, "Label4", twips(6840, 480, 615, 975), QStringLiteral("="),
                         designFont(Family::Arial, 48, true), Qt::black, Centred);
    c.Label11 =
        makeLabel(w, "Label11", twips(240, 2280, 2415, 375), QStringLiteral("Tempo restante"),
                  designFont(Family::MsSansSerif, 13.5, true), kYellow, Plain);
    c.lblconto = makeLabel(w, "lblconto", twips(600, 2760, 1575, 495), QStringLiteral("00.00.00"),
                           designFont(Family::ArialBlack, 12, true), kRed, Border);
    c.lblMessage = makeLabel(w, "lblMessage", twips(2040, 2400, 6615, 615), QString(),
                             designFont(Family::MsSansSerif, 24, true, true), kRed, Centred);
    c.lblMessage->setCursor(pictures::iconPointer());
    c.Label6 =
        makeLabel(w, "Label6", twips(240, 3360, 2565, 495), QStringLiteral("Risposte esatte"),
                  captionFont, kYellow, Border | Centred | Fits);
    c.lblScore = makeLabel(w, "lblScore", twips(1080, 4080, 555, 885), QStringLiteral("0"),
                           counterFont, kYellow, Border | Centred | Fits);
    c.lblScore->setToolTip(QStringLiteral("Questo è il tuo punteggio. Forza con il  record"));
    c.Label1 = makeLabel(w, "Label1", twips(3840, 3360, 2520, 495),
                         QStringLiteral("Risposte errate"), captionFont, kRed, Border | Fits);
    c.lblScore1 = makeLabel(w, "lblScore1", twips(4830, 4080, 540, 885), QStringLiteral("0"),
                            counterFont, kRed, Border | Centred | Fits);
    c.Label3 = makeLabel(w, "Label3", twips(7440, 3360, 2340, 495),
                         QStringLiteral("Risposte totali"), captionFont, kBlue, Border | Fits);
    c.lblScore2 = makeLabel(w, "lblScore2", twips(8310, 4080, 555, 885), QStringLiteral("0"),
                            counterFont, kBlue, Border | Centred | Fits);
    c.Label14 = makeLabel(w, "Label14", twips(480, 5400, 1845, 615), QStringLiteral("Sfidante"),
                          designFont(Family::MsSansSerif, 24), kDarkGreen, Border | Centred | Fits);
    c.lblnome1 = makeLabel(w, "lblnome1", twips(480, 6480, 180, 495), QString(),
                           designFont(Family::MsSansSerif, 18, true), kDarkGreen, Border | Fits);
    c.Label12 = makeLabel(w, "Label12", twips(120, 7200, 2295, 375),
                          QStringLiteral("Il record  è di "), captionFont, kCyan, Plain);
    c.lblnome =
        makeLabel(w, "lblnome", twips(2520, 7200, 5535, 495), QString(), captionFont, kCyan, Plain);
    c.lblnome->setCursor(pictures::wingedNote());
    c.Label13 = makeLabel(w, "Label13", twips(8280, 7200, 1455, 435), QStringLiteral("con punti"),
                          captionFont, kCyan, Fits);
    c.lblpunti = makeLabel(w, "lblpunti", twips(9960, 7080, 270, 555), QStringLiteral("0"),
                           designFont(Family::MsSansSerif, 24), kGreen, Fits);

    c.Line1[0] = makeLine(w, 0, 240, 2160, 1080);
    c.Line1[1] = makeLine(w, 1, 4080, 6000, 1080);
    c.Line1[4] = makeLine(w, 4, 8280, 10680, 1560);

    c.Text1 = makeBox(w, "Text1", twips(480, 120, 1455, 855), QStringLiteral("1"), boxFont);
    c.Text2 = makeBox(w, "Text2", twips(480, 1200, 1455, 855), QStringLiteral("2"), boxFont);
    c.Text5 = makeBox(w, "Text5", twips(4320, 120, 1455, 855), QStringLiteral("5"), boxFont);
    c.Text6 = makeBox(w, "Text6", twips(4320, 1200, 1455, 855), QStringLiteral("6"), boxFont);
    c.txtAnswer = makeBox(w, "txtAnswer", twips(8640, 120, 1815, 1200), QStringLiteral("9"),
                          answerFont, kCyan);
    c.Text3 =
        makeBox(w, "Text3", twips(8640, 1800, 1815, 1200), QStringLiteral("10"), answerFont, kCyan);
    for (TextBox *answer : {c.txtAnswer, c.Text3}) {
        answer->setToolTip(answerTip);
        answer->setMaxLength(15);
        // A number keyboard where the keyboard is on the screen.
        answer->setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhNoPredictiveText);
    }
    // Enter in the numerator moves on to the denominator, where it judges.
    c.txtAnswer->setEnterKeyType(Qt::EnterKeyNext);
    c.Text3->setEnterKeyType(Qt::EnterKeyDone);
    c.Text9 = makeBox(w, "Text9", QRect(), QStringLiteral("9"), boxFont);
    c.Text10 = makeBox(w, "Text10", QRect(), QStringLiteral("10"), boxFont);
    c.Text9->hide();
    c.Text10->hide();

    c.cmdNext =
        makeButton(w, "cmdNext", twips(4320, 5040, 1815, 1095), QStringLiteral("&Nuovo calcolo"),
                   QColor(0, 192, 192), pictures::face(pictures::Face::Smiling),
                   pictures::face(pictures::Face::Laughing), QStringLiteral("Go"));
    c.cmdNext->setCursor(pictures::iconPointer());
    c.cmdExit = makeButton(w, "cmdExit", twips(7680, 5040, 1815, 1095), QStringLiteral("E&xit"),
                           QColor(255, 128, 0), pictures::noEntry(), pictures::noEntry(),
                           QStringLiteral("Allora ti arrendi?"));
    c.cmdExit->setCursor(pictures::wavingFigure());

    QWidget::setTabOrder(c.cmdExit, c.cmdNext);
    QWidget::setTabOrder(c.cmdNext, c.txtAnswer);
    QWidget::setTabOrder(c.txtAnswer, c.Text1);
    QWidget::setTabOrder(c.Text1, c.Text2);
    QWidget::setTabOrder(c.Text2, c.Text5);
    QWidget::setTabOrder(c.Text5, c.Text6);
    QWidget::setTabOrder(c.Text6, c.Text3);
    c.Text9->setFocusPolicy(Qt::NoFocus);
    c.Text10->setFocusPolicy(Qt::NoFocus);

    c.Timer1 = new QTimer(this);
    c.Timer1->setObjectName(QStringLiteral("Timer1"));
    c.Timer1->setInterval(1000);
    c.Timer1->start();
}

} // namespace quorvela
