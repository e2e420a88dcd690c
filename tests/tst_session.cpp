// The window system asked for: X on Wayland sessions that offer it, the user's choice always.
#include "platform/session.h"

#include <QMap>
#include <QTest>

using namespace quorvela;

class TestSession : public QObject {
    Q_OBJECT
private slots:
    void preferredPlatform_data();
    void preferredPlatform();
};

void TestSession::preferredPlatform_data()
{
    QTest::addColumn<QStringList>("environment"); // NAME=value
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("expected");
    const QStringList waylandWithX{"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=wayland-0",
                                   "DISPLAY=:0"};
    QTest::newRow("Wayland session with XWayland")
        << waylandWithX << QStringList() << QByteArray("xcb;wayland");
    QTest::newRow("Wayland display without a session type")
        << QStringList{"WAYLAND_DISPLAY=wayland-0", "DISPLAY=:1"} << QStringList()
        << QByteArray("xcb;wayland");
    QTest::newRow("Wayland only") << QStringList{"XDG_SESSION_TYPE=wayland", "WAYLAND_DISPLAY=w"}
                                  << QStringList() << QByteArray();
    QTest::newRow("X session") << QStringList{"XDG_SESSION_TYPE=x11", "DISPLAY=:0"} << QStringList()
                               << QByteArray();
    QTest::newRow("nothing known") << QStringList() << QStringList() << QByteArray();
    QTest::newRow("QT_QPA_PLATFORM named by the user")
        << (waylandWithX + QStringList{"QT_QPA_PLATFORM=wayland"}) << QStringList() << QByteArray();
    QTest::newRow("-platform named by the user")
        << waylandWithX << QStringList{"-platform", "wayland"} << QByteArray();
    QTest::newRow("--platform named by the user")
        << waylandWithX << QStringList{"--platform", "offscreen"} << QByteArray();
    QTest::newRow("a word that only contains platform")
        << waylandWithX << QStringList{"platform"} << QByteArray("xcb;wayland");
}

void TestSession::preferredPlatform()
{
    QFETCH(QStringList, environment);
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, expected);
    QMap<QByteArray, QByteArray> values;
    for (const QString &entry : environment)
        values.insert(entry.section('=', 0, 0).toUtf8(), entry.section('=', 1).toUtf8());
    QList<QByteArray> words{"quorvela"};
    for (const QString &argument : arguments)
        words << argument.toUtf8();
    std::vector<const char *> argv;
    for (const QByteArray &word : words)
        argv.push_back(word.constData());
    const auto environmentOf = [&](const char *name) { return values.value(name); };
    QCOMPARE(quorvela::preferredPlatform(environmentOf, int(argv.size()), argv.data()), expected);
}

QTEST_GUILESS_MAIN(TestSession)
#include "tst_session.moc"
