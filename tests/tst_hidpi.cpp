// The window at the scale factor this test runs under (QT_SCALE_FACTOR): the
// layout keeps its proportions, no text is cut, pictures are drawn for the ratio.
#include "support/fakes.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QtMath>

using namespace quorvela;
using namespace quorvela::test;

class TestHiDpi : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }
    void layoutScales();
    void noTextIsCut();
    void picturesAreDrawnForTheRatio();
    void labelsPaintTheirTextWhereQLabelWould();
};

void TestHiDpi::layoutScales()
{
    // The same logical layout; device pixels follow the ratio; stripes and boxes where they belong.
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
    const QPixmap face = game.c().cmdExit->icon().pixmap(QSize(32, 32), ratio);
    QCOMPARE(face.width(), qRound(32 * ratio));
    QCOMPARE(game.window->cursor().pixmap().devicePixelRatio(), ratio);
    QCOMPARE(game.window->cursor().pixmap().width(), qRound(32 * ratio));
    QCOMPARE(game.window->cursor().hotSpot(), QPoint(1, 1));
}

namespace {

// The box around the text's pixels (light on black), inside the frame.
QRect inkBox(QWidget *widget, const QRect &contents)
{
    const QImage image = widget->grab().toImage();
    const qreal ratio = image.devicePixelRatio();
    const QRect inside(QPoint(qCeil(contents.left() * ratio), qCeil(contents.top() * ratio)),
                       QPoint(qFloor((contents.right() + 1) * ratio) - 1,
                              qFloor((contents.bottom() + 1) * ratio) - 1));
    QRect box;
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (qGray(image.pixel(x, y)) > 128)
                box |= QRect(x, y, 1, 1);
    return box;
}

} // namespace

void TestHiDpi::labelsPaintTheirTextWhereQLabelWould()
{
    // Our labels keep their laid-out text between paints; the text must land
    // where a plain QLabel with the same settings puts it.
    Game game;
    QVERIFY(game.start());
    // A record file of several lines, and a long name.
    game.c().lblpunti->setCaption("12\r\n7\r\n");
    game.c().lblnome1->setCaption("Maria Vittoria");
    for (Label *label : game.window->findChildren<Label *>()) {
        if (label->text().isEmpty())
            continue;
        QLabel plain(label->text());
        plain.setFont(label->font());
        plain.setFrameStyle(label->frameStyle());
        plain.setAlignment(label->alignment());
        plain.resize(label->size());
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, Qt::black);
        palette.setColor(QPalette::WindowText, Qt::white);
        plain.setPalette(palette);
        const QPalette before = label->palette();
        label->setPalette(palette);
        const QRect ours = inkBox(label, label->contentsRect());
        const QRect theirs = inkBox(&plain, plain.contentsRect());
        label->setPalette(before);
        QVERIFY2(!ours.isEmpty(), qPrintable(label->objectName()));
        for (int edge = 0; edge < 4; ++edge) {
            const int a[4] = {ours.left(), ours.top(), ours.right(), ours.bottom()};
            const int b[4] = {theirs.left(), theirs.top(), theirs.right(), theirs.bottom()};
            QVERIFY2(std::abs(a[edge] - b[edge]) <= 1,
                     qPrintable(QStringLiteral("%1: ours %2,%3 %4x%5, QLabel's %6,%7 %8x%9")
                                    .arg(label->objectName())
                                    .arg(ours.x())
                                    .arg(ours.y())
                                    .arg(ours.width())
                                    .arg(ours.height())
                                    .arg(theirs.x())
                                    .arg(theirs.y())
                                    .arg(theirs.width())
                                    .arg(theirs.height())));
        }
    }
}

QTEST_MAIN(TestHiDpi)
#include "tst_hidpi.moc"
