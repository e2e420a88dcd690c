// The window at the scale factor this test runs under (QT_SCALE_FACTOR): the
// layout keeps its proportions, no text is cut, pictures are drawn for the ratio.
#include "support/fakes.h"

#include "ui/pictures.h"
#include <QApplication>
#include <QScopeGuard>
#include <QScreen>
#include <QTest>

using namespace quorvela;
using namespace quorvela::test;

class TestHiDpi : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }
    void layoutScales_data();
    void layoutScales();
    void buttonFacesAreTheirOwnColour_data();
    void buttonFacesAreTheirOwnColour();
    void noTextIsCut();
    void picturesAreDrawnForTheRatio();
};

void TestHiDpi::layoutScales_data()
{
    QTest::addColumn<bool>("darkDesktop");
    QTest::newRow("light desktop") << false;
    QTest::newRow("dark desktop scheme") << true;
}

void TestHiDpi::layoutScales()
{
    // The same logical layout and colours on any desktop; device pixels follow the ratio.
    QFETCH(bool, darkDesktop);
    const QPalette desktop = QApplication::palette();
    if (darkDesktop) {
        QPalette dark(Qt::white, QColor(53, 53, 53));
        dark.setColor(QPalette::Base, QColor(42, 42, 42));
        dark.setColor(QPalette::Text, Qt::white);
        dark.setColor(QPalette::ButtonText, Qt::white);
        QApplication::setPalette(dark);
    }
    const auto restore = qScopeGuard([&] { QApplication::setPalette(desktop); });
    const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    QVERIFY2(ratio == qEnvironmentVariable("QT_SCALE_FACTOR").toDouble(),
             qPrintable(QString::number(ratio)));
    Game game;
    game.scriptProblem(7, 4, 2, 3); // stripes of red 129, green 240
    QVERIFY(game.start());
    QVERIFY(QTest::qWaitForWindowExposed(game.window.get()));
    QWidget *client = game.window->centralWidget();
    QCOMPARE(client->size(), QSize(729, 516));
    QCOMPARE(game.c().txtAnswer->geometry(), QRect(576, 8, 121, 80));
    const QImage shot = client->grab().toImage();
    QCOMPARE(shot.devicePixelRatio(), ratio);
    QCOMPARE(shot.size(), (QSizeF(729, 516) * ratio).toSize());
    auto at = [&](qreal x, qreal y) {
        return shot.pixelColor(qRound(x * ratio), qRound(y * ratio));
    };
    for (int band : {0, 60, 160})
        QCOMPARE(at(720, (band * 3 + 1.5) * 516.0 / 512.0), QColor(129, 240, band));
    QCOMPARE(at(585, 20), QColor(0, 255, 255));
    QCOMPARE(at(585, 190), QColor(0, 255, 255));
    // The bar under the first fraction: magenta, 5 logical pixels high.
    QCOMPARE(at(80, 72), QColor(255, 0, 255));
    QVERIFY(at(80, 76) != QColor(255, 0, 255));
    // White problem boxes with black digits, a black "+", the buttons' own faces.
    const auto count = [&](const QRect &area, const std::function<bool(QColor)> &wanted) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                n += wanted(at(x, y));
        return n;
    };
    const auto black = [](QColor c) { return c.lightness() < 40; };
    for (TextBox *box : {game.c().Text1, game.c().Text2, game.c().Text5, game.c().Text6}) {
        const QRect inside = box->geometry().adjusted(3, 3, -3, -3);
        QCOMPARE(at(inside.left(), inside.top()), QColor(Qt::white));
        QVERIFY2(count(inside, black) > 20, qPrintable(box->objectName()));
    }
    QVERIFY(count(game.c().Label2->geometry(), black) > 50);
    QCOMPARE(count(game.c().Label2->geometry(), [](QColor c) { return c.lightness() > 215; }), 0);
    const QRect face = game.c().cmdNext->geometry().adjusted(4, 40, -4, -24);
    QCOMPARE(
        count(face, [](QColor c) { return c.red() < 90 && c.green() > 150 && c.blue() > 150; }),
        face.width() * face.height());
}

void TestHiDpi::buttonFacesAreTheirOwnColour_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<QColor>("face");
    QTest::addColumn<QString>("state");
    const QList<std::pair<QString, QColor>> buttons = {{"cmdNext", QColor(0, 192, 192)},
                                                       {"cmdExit", QColor(255, 128, 0)}};
    for (const auto &[name, face] : buttons) {
        for (const char *state : {"enabled", "disabled", "pressed", "keyboard focus"})
            QTest::addRow("%s %s", qPrintable(name), state) << name << face << QString(state);
    }
}

void TestHiDpi::buttonFacesAreTheirOwnColour()
{
    // Flat in the button's own colour: no shading lightens the teal or the orange,
    // pressed, disabled or focused alike.
    QFETCH(QString, button);
    QFETCH(QColor, face);
    QFETCH(QString, state);
    Game game;
    QVERIFY(game.start());
    QVERIFY(QTest::qWaitForWindowExposed(game.window.get()));
    auto *picture = game.window->findChild<PictureButton *>(button);
    QVERIFY(picture);
    picture->setEnabled(state != "disabled");
    picture->setDown(state == "pressed");
    if (state == "keyboard focus") {
        game.window->setAttribute(Qt::WA_KeyboardFocusChange);
        picture->setFocus(Qt::TabFocusReason);
        QVERIFY(picture->hasFocus());
    }
    const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    const QImage shot = picture->grab().toImage();
    QCOMPARE(shot.size(), (QSizeF(picture->size()) * ratio).toSize());

    // The bands either side of the picture and caption, clear of the frame.
    const int content = std::max(picture->iconSize().width(),
                                 picture->fontMetrics().horizontalAdvance(
                                     QString(picture->text()).remove(QLatin1Char('&'))));
    const int band = (picture->width() - content) / 2 - 4;
    const int inset = 6;
    QVERIFY(band - inset >= 6);
    const QRect left(inset, inset, band - inset, picture->height() - 2 * inset);
    for (const QRect &area : {left, left.translated(picture->width() - band - inset, 0)}) {
        const QRect pixels(area.topLeft() * ratio, area.size() * ratio);
        int exact = 0;
        QColor other = face;
        for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
            for (int x = pixels.left(); x <= pixels.right(); ++x) {
                const QColor colour = shot.pixelColor(x, y);
                exact += colour == face;
                if (colour != face)
                    other = colour;
            }
        }
        const int all = pixels.width() * pixels.height();
        QVERIFY2(exact == all,
                 qPrintable(QStringLiteral("%1 of %2 pixels at x %3, y %4 are %5; one is %6")
                                .arg(exact)
                                .arg(all)
                                .arg(area.x())
                                .arg(area.y())
                                .arg(face.name(), other.name())));
    }
}

void TestHiDpi::noTextIsCut()
{
    // Every label shows its whole text, the longest messages included.
    Game game;
    QVERIFY(game.start());
    Controls &c = game.c();
    QStringList messages = {"Sbagliato!! 71 / 40", "F A N T A S T I C O!!!",
                            "Esatto. Sei eccezionale!!!", "SEI INSUPERABILE!!!",
                            "OKKKKKKKKKKKKK!!!"};
    for (const QString &message : messages) {
        c.lblMessage->setCaption(message);
        QVERIFY2(c.lblMessage->fontMetrics().horizontalAdvance(message) <=
                     c.lblMessage->contentsRect().width(),
                 qPrintable(message));
    }
    c.lblMessage->setCaption(QString());
    for (Label *label : game.window->findChildren<Label *>()) {
        const QRect needed = label->fontMetrics().boundingRect(
            label->contentsRect(), int(label->alignment()), label->text());
        QVERIFY2(label->contentsRect().width() >= needed.width(), qPrintable(label->objectName()));
    }
    for (QLineEdit *box :
         {static_cast<QLineEdit *>(c.txtAnswer), static_cast<QLineEdit *>(c.Text1)}) {
        box->setText("88");
        QVERIFY(box->fontMetrics().horizontalAdvance("88") < box->width() - 8);
        QVERIFY(box->fontMetrics().height() <= box->height());
    }
}

void TestHiDpi::picturesAreDrawnForTheRatio()
{
    // Button faces and pointers carry pixels for the ratio, not a blown-up 32 x 32.
    const qreal ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    Game game;
    QVERIFY(game.start());
    const QPixmap exitFace = game.c().cmdExit->icon().pixmap(QSize(32, 32), ratio);
    QCOMPARE(exitFace.width(), qRound(32 * ratio));
    QCOMPARE(game.window->cursor().pixmap().devicePixelRatio(), ratio);
    QCOMPARE(game.window->cursor().pixmap().width(), qRound(32 * ratio));
    QCOMPARE(game.window->cursor().hotSpot(), QPoint(1, 1));

    // Every picture is there and shows its drawing (a good part of it opaque).
    using namespace pictures;
    const auto painted = [&](const QPixmap &pixmap) {
        const QImage image = pixmap.toImage();
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                opaque += qAlpha(image.pixel(x, y)) == 255;
        return opaque >= image.width() * image.height() / 10;
    };
    for (const QIcon &icon :
         {windowIcon(), face(Face::Smiling), face(Face::Laughing), face(Face::Straight), noEntry()})
        QVERIFY(painted(icon.pixmap(QSize(32, 32), ratio)));
    for (const QCursor &pointer : {pointingHand(), wavingFigure(), wingedNote()})
        QVERIFY(painted(pointer.pixmap()));
    QCOMPARE(iconPointer().hotSpot(), QPoint(16, 16));
    // Disabled, the smile turns to the straight face.
    QCOMPARE(face(Face::Smiling).pixmap(QSize(32, 32), ratio, QIcon::Disabled).toImage(),
             face(Face::Straight).pixmap(QSize(32, 32), ratio).toImage());
}

QTEST_MAIN(TestHiDpi)
#include "tst_hidpi.moc"
