// The record files at start-up, and leaving the game with or without a new record.
#include "rules/numbers.h"
#include "record/browserkeeper.h"
#include "record/recordfiles.h"
#include "record/recordkeeper.h"
#include "store/keeperrequest.h"
#include "support/fakes.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cerrno>
#include <cstring>

#ifndef _WIN32
#include <sys/socket.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#endif

Q_DECLARE_METATYPE(quorvela::FileError)

using namespace quorvela;
using namespace quorvela::test;

namespace {

// A browser's site storage, shared by the pages of its tabs.
class MapStorage final : public RecordStorage {
public:
    std::optional<std::string> read() override
    {
        return blocked ? std::nullopt : std::optional<std::string>(bytes);
    }
    bool write(const std::string &b) override
    {
        if (blocked || full)
            return false;
        bytes = b;
        return true;
    }
    std::string bytes;
    bool blocked = false;
    bool full = false;
};

} // namespace

class TestRecord : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QTRY_VERIFY(QApplication::topLevelWidgets().isEmpty()); }
    void firstRunCreatesEmptyFiles();
    void recordShownWhole_data();
    void recordShownWhole();
    void onlyTheNameFileMissing();
    void leaving_data();
    void leaving();
    void notSavedIsToldAndEnds_data();
    void notSavedIsToldAndEnds();
    void filesThatCannotBeMadeReadAsNoRecord();
    void twoCopiesKeepTheBetterRecord_data();
    void twoCopiesKeepTheBetterRecord();
    void noChangesNothing();
    void closingFromTheTitleBarSavesNothing();
    void unreadableRecordEndsBeforeTheWindow_data();
    void unreadableRecordEndsBeforeTheWindow();
    void messageTellsWhatAndWhy_data();
    void messageTellsWhatAndWhy();
    void failedSaveKeepsTheOldRecord();
    void hugeRecordFileStartsQuickly();
    void browserRecord_data();
    void browserRecord();
#ifndef _WIN32
    void keeperAnswers_data();
    void keeperAnswers();
    void keeperReads_data();
    void keeperReads();
    void noKeeperNoSave();
#endif
#ifdef _WIN32
    void recordCarriedOverFromTheWindowsDirectory_data();
    void recordCarriedOverFromTheWindowsDirectory();
#endif
};

void TestRecord::firstRunCreatesEmptyFiles()
{
    // Folder, both files and the journal are created, the files empty; none of
    // them may be changed by other accounts (the installation shares the record).
    Game game;
    QVERIFY(game.start());
    QCOMPARE(readBytes(game.scoreFile()), QByteArray());
    QCOMPARE(readBytes(game.nameFile()), QByteArray());
    QVERIFY(QFile::exists(game.recordFolder() + "/qvlmarc.journal"));
#ifndef _WIN32 // access lists on Windows, which the installer sets
    for (const QString &path : {game.recordFolder(), game.scoreFile(), game.nameFile()}) {
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & S_IWOTH, mode_t(0));
    }
#endif
    QCOMPARE(game.window->windowsDir, game.recordFolder() + QChar(kSeparator));
}

void TestRecord::recordShownWhole_data()
{
    QTest::addColumn<QByteArray>("score");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("a record") << QByteArray("12\r\n") << QByteArray("Anna\r\n");
    QTest::newRow("several lines") << QByteArray("12\r\n7\r\nxx") << QByteArray("A\r\nB\r\n");
    QTest::newRow("no line end") << QByteArray("9") << QByteArray("Zoe");
    QTest::newRow("binary bytes") << QByteArray("\x00\xff\x01", 3) << QByteArray("\xc3(", 2);
}

void TestRecord::recordShownWhole()
{
    // The labels show the files' whole content, line ends included.
    QFETCH(QByteArray, score);
    QFETCH(QByteArray, name);
    Game game;
    QDir().mkpath(game.recordFolder());
    writeBytes(game.scoreFile(), score);
    writeBytes(game.nameFile(), name);
    QVERIFY(game.start());
    QCOMPARE(game.c().lblpunti->text(), QString::fromLocal8Bit(score));
    QCOMPARE(game.c().lblnome->text(), QString::fromLocal8Bit(name));
    QCOMPARE(readBytes(game.scoreFile()), score);
}

void TestRecord::onlyTheNameFileMissing()
{
    // The name file comes back empty; the score stays the record, held by nobody.
    Game game;
    QDir().mkpath(game.recordFolder());
    writeBytes(game.scoreFile(), "9\r\n");
    QVERIFY(game.start());
    QCOMPARE(readBytes(game.nameFile()), QByteArray());
    QCOMPARE(game.c().lblpunti->text(), "9\r\n");
    QCOMPARE(game.c().lblnome->text(), "");
}

void TestRecord::leaving_data()
{
    QTest::addColumn<QString>("player");
    QTest::addColumn<int>("score");
    QTest::addColumn<QByteArray>("oldScore"); // "<missing>": no file before start-up
    QTest::addColumn<QByteArray>("newScore");
    QTest::addColumn<QByteArray>("newName");
    QTest::newRow("first run, score 0: nothing written")
        << "Luca" << 0 << QByteArray("<missing>") << QByteArray() << QByteArray();
    QTest::newRow("first run, score 5")
        << "Luca" << 5 << QByteArray("<missing>") << QByteArray("5\r\n") << QByteArray("Luca\r\n");
#ifdef _WIN32
    const QByteArray niccolo("Niccol\xf2\r\n"); // Windows-1252
#else
    const QByteArray niccolo("Niccol\xc3\xb2\r\n");
#endif
    QTest::newRow("accented name, score 7")
        << "Niccolò" << 7 << QByteArray() << QByteArray("7\r\n") << niccolo;
    QTest::newRow("empty name saved as CR LF")
        << "" << 2 << QByteArray() << QByteArray("2\r\n") << QByteArray("\r\n");
    QTest::newRow("equal score keeps the record")
        << "Luca" << 9 << QByteArray("9\r\n") << QByteArray("9\r\n") << QByteArray("Anna\r\n");
    QTest::newRow("12 beats 9") << "Luca" << 12 << QByteArray("9\r\n") << QByteArray("12\r\n")
                                << QByteArray("Luca\r\n");
    QTest::newRow("only the leading number counts")
        << "Luca" << 3 << QByteArray("2\r\n99\r\n") << QByteArray("3\r\n")
        << QByteArray("Luca\r\n");
    QTest::newRow("0 beats a negative record")
        << "Luca" << 0 << QByteArray("-5\r\n") << QByteArray("0\r\n") << QByteArray("Luca\r\n");
    QTest::newRow("text counts as 0")
        << "Luca" << 1 << QByteArray("abc\r\n") << QByteArray("1\r\n") << QByteArray("Luca\r\n");
}

void TestRecord::leaving()
{
    // Yes: a score above the record rewrites both files, congratulates and ends.
    QFETCH(QString, player);
    QFETCH(int, score);
    QFETCH(QByteArray, oldScore);
    QFETCH(QByteArray, newScore);
    QFETCH(QByteArray, newName);
    Game game(player);
    if (oldScore != "<missing>") {
        QDir().mkpath(game.recordFolder());
        writeBytes(game.scoreFile(), oldScore);
        writeBytes(game.nameFile(), "Anna\r\n");
    }
    game.scriptProblem(1, 2, 1, 6);
    QVERIFY(game.start());
    if (score > 0)
        game.answer("2", "3");
    for (int i = 1; i < score; ++i)
        QTest::keyClick(game.c().Text3, Qt::Key_Return);
    QCOMPARE(game.c().lblScore->text(), QString::number(score));
    game.dialogs.boxes.clear();
    game.dialogs.answers.push_back(Answer::Yes);
    QTest::mouseClick(game.c().cmdExit, Qt::LeftButton);

    QCOMPARE(game.ender.codes, std::vector<int>{0});
    QCOMPARE(readBytes(game.scoreFile()), newScore.isEmpty() ? QByteArray() : newScore);
    const bool saved = newScore != oldScore && !newScore.isEmpty();
    if (saved) {
        QCOMPARE(readBytes(game.nameFile()), newName);
        QCOMPARE(game.boxTexts().last(), "Ok ho registrato il tuo record, C A M P I O N E\"");
        QCOMPARE(game.dialogs.boxes.back().title, "Quorvela");
    } else {
        QCOMPARE(game.boxTexts().size(), 1);
        QCOMPARE(readBytes(game.nameFile()),
                 oldScore == "<missing>" ? QByteArray() : QByteArray("Anna\r\n"));
    }
    // Nothing runs after the end.
    QVERIFY(game.window->hasEnded());
    QTest::mouseClick(game.c().cmdExit, Qt::LeftButton);
    QCOMPARE(game.ender.codes.size(), size_t(1));
}

void TestRecord::notSavedIsToldAndEnds_data()
{
    QTest::addColumn<Saving>("saving");
    QTest::addColumn<QString>("reason");
    QTest::newRow("busy") << Saving::Busy << "in questo momento il record è occupato.";
    QTest::newRow("refused") << Saving::Refused << "non accetta questa copia del gioco";
}

void TestRecord::notSavedIsToldAndEnds()
{
    // A better score that could not be saved now: the player is told, in an OK
    // box with the game's title, and the game ends as after a save; no error.
    QFETCH(Saving, saving);
    QFETCH(QString, reason);
    Game game;
    game.scriptProblem(1, 2, 1, 6);
    QVERIFY(game.start());
    game.answer("2", "3");
    game.record.saving = saving;
    game.dialogs.boxes.clear();
    game.dialogs.answers.push_back(Answer::Yes);
    QTest::mouseClick(game.c().cmdExit, Qt::LeftButton);
    QCOMPARE(game.ender.codes, std::vector<int>{0});
    QCOMPARE(game.dialogs.boxes.size(), size_t(2));
    const MessageBox &box = game.dialogs.boxes.back();
    QVERIFY2(box.text.startsWith("Hai battuto il record, ma non ho potuto registrarlo: ") &&
                 box.text.contains(reason),
             qPrintable(box.text));
    QCOMPARE(box.title, "Quorvela");
    QCOMPARE(box.buttons, Buttons::Ok);
    QCOMPARE(readBytes(game.scoreFile()), QByteArray());
}

void TestRecord::filesThatCannotBeMadeReadAsNoRecord()
{
    // An installation's folder where root removed a file and its spare: start-up
    // goes on with what is there.
    Game game;
    QDir().mkpath(game.recordFolder());
    writeBytes(game.scoreFile(), "8\r\n");
    game.record.makesNothing = true;
    QVERIFY(game.start());
    QCOMPARE(game.c().lblpunti->text(), "8\r\n");
    QCOMPARE(game.c().lblnome->text(), QString());
    QVERIFY(game.ender.codes.empty());
}

void TestRecord::twoCopiesKeepTheBetterRecord_data()
{
    QTest::addColumn<int>("firstScore");
    QTest::addColumn<int>("secondScore");
    QTest::addColumn<QByteArray>("score");
    QTest::addColumn<QByteArray>("name");
    QTest::newRow("B saves 2, then A leaves with 1")
        << 2 << 1 << QByteArray("2\r\n") << QByteArray("Bruno\r\n");
    QTest::newRow("B saves 1, then A's 2 replaces it")
        << 1 << 2 << QByteArray("2\r\n") << QByteArray("Anna\r\n");
    QTest::newRow("B saves 2, then A leaves with 2")
        << 2 << 2 << QByteArray("2\r\n") << QByteArray("Bruno\r\n");
}

void TestRecord::twoCopiesKeepTheBetterRecord()
{
    // A lower score never replaces a higher record that another copy saved meanwhile.
    QFETCH(int, firstScore);
    QFETCH(int, secondScore);
    QFETCH(QByteArray, score);
    QFETCH(QByteArray, name);
    Game anna("Anna");
    Game bruno("Bruno");
    bruno.sharedFolder = anna.recordFolder();
    for (Game *game : {&anna, &bruno}) {
        game->scriptProblem(1, 2, 1, 6);
        QVERIFY(game->start());
    }
    const auto leaveWith = [](Game &game, int points) {
        game.answer("2", "3");
        for (int i = 1; i < points; ++i)
            QTest::keyClick(game.c().Text3, Qt::Key_Return);
        game.dialogs.answers.push_back(Answer::Yes);
        QTest::mouseClick(game.c().cmdExit, Qt::LeftButton);
        QCOMPARE(game.ender.codes, std::vector<int>{0});
    };
    leaveWith(bruno, firstScore);
    leaveWith(anna, secondScore);
    QCOMPARE(readBytes(anna.scoreFile()), score);
    QCOMPARE(readBytes(anna.nameFile()), name);
    const bool annaSaved = name == "Anna\r\n";
    QCOMPARE(anna.boxTexts().last() == "Ok ho registrato il tuo record, C A M P I O N E\"",
             annaSaved);
    // The two record files and the journal, nothing else.
    QCOMPARE(QDir(anna.recordFolder()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}

void TestRecord::noChangesNothing()
{
    // No: nothing written, the clock and the game go on.
    Game game;
    game.scriptProblem(1, 2, 1, 6);
    QVERIFY(game.start());
    game.answer("2", "3");
    game.dialogs.answers.push_back(Answer::No);
    QTest::mouseClick(game.c().cmdExit, Qt::LeftButton);
    QVERIFY(!game.ended());
    QVERIFY(game.c().Timer1->isActive());
    QCOMPARE(readBytes(game.scoreFile()), QByteArray());
    QCOMPARE(game.c().lblScore->text(), "1");
}

void TestRecord::closingFromTheTitleBarSavesNothing()
{
    Game game;
    game.scriptProblem(1, 2, 1, 6);
    QVERIFY(game.start());
    game.answer("2", "3");
    const size_t boxes = game.dialogs.boxes.size();
    game.window->close();
    QCOMPARE(game.ender.codes, std::vector<int>{0});
    QCOMPARE(game.dialogs.boxes.size(), boxes);
    QCOMPARE(readBytes(game.scoreFile()), QByteArray());
}

void TestRecord::unreadableRecordEndsBeforeTheWindow_data()
{
    QTest::addColumn<QString>("obstacle");
    // "-read": planted where the keeper prepared nothing, so reading meets it.
    QTest::newRow("folder is a file") << "folder-file";
    QTest::newRow("score file is a folder") << "score-folder";
    QTest::newRow("score file is a folder, read") << "score-folder-read";
#ifndef _WIN32
    QTest::newRow("score file is a symbolic link") << "score-link";
    QTest::newRow("score file is a symbolic link, read") << "score-link-read";
    QTest::newRow("name file is a dangling link") << "name-dangling";
    QTest::newRow("name file is a FIFO") << "name-fifo";
    QTest::newRow("name file is a FIFO, read") << "name-fifo-read";
#endif
}

void TestRecord::unreadableRecordEndsBeforeTheWindow()
{
    // A clear message naming the file and the reason, exit status 1, and no window.
    QFETCH(QString, obstacle);
    Game game;
    const bool read = obstacle.endsWith("-read");
    game.record.makesNothing = read;
    obstacle.remove("-read");
    const QString secret = game.folder.path() + "/secret.txt";
    writeBytes(secret, "42\r\n");
    if (obstacle == "folder-file") {
        writeBytes(game.recordFolder(), "x");
    } else {
        QDir().mkpath(game.recordFolder());
        if (obstacle == "score-folder")
            QDir().mkpath(game.scoreFile());
        if (obstacle == "score-link")
            QVERIFY(QFile::link(secret, game.scoreFile()));
        if (obstacle == "name-dangling")
            QVERIFY(QFile::link(game.folder.path() + "/nowhere", game.nameFile()));
#ifndef _WIN32
        if (obstacle == "name-fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(game.nameFile()).constData(), 0666), 0);
#endif
    }
    QVERIFY(!game.start());
    QCOMPARE(game.ender.codes, std::vector<int>{1});
    QVERIFY(!game.window->isVisible());
    const MessageBox &box = game.dialogs.boxes.back();
    QCOMPARE(box.title, "Quorvela");
    QVERIFY2(box.text.contains("Non riesco a") && box.text.contains("Motivo:"),
             qPrintable(box.text));
    if (obstacle == "folder-file")
        QVERIFY2(box.text.startsWith("Non riesco a creare la cartella del record\n"),
                 qPrintable(box.text));
    else
        QVERIFY(box.text.contains(obstacle.startsWith("name") ? "qvlmarc1.txt" : "qvlmarc.txt"));
    if (read)
        QVERIFY2(box.text.startsWith("Non riesco a leggere il file del record\n"),
                 qPrintable(box.text));
    QVERIFY(!box.text.contains("42"));
    QCOMPARE(readBytes(secret), QByteArray("42\r\n"));
}

void TestRecord::messageTellsWhatAndWhy_data()
{
    QTest::addColumn<FileError>("error");
    QTest::addColumn<QString>("message");
    const QString file = QStringLiteral("/var/games/quorvela//qvlmarc.txt");
    QTest::newRow("missing file, read")
        << FileError{file, FileAction::Read, ENOENT}
        << "Non riesco a leggere il file del record\n/var/games/quorvela/qvlmarc.txt\n\n"
           "Motivo: il file o la cartella non esiste.\n\nIl gioco termina.";
    QTest::newRow("folder refused")
        << FileError{QStringLiteral("/var/games/quorvela"), FileAction::Create, EACCES, true}
        << "Non riesco a creare la cartella del record\n/var/games/quorvela\n\n"
           "Motivo: permesso negato.\n\nIl gioco termina.";
    QTest::newRow("the keeper gone")
        << FileError{QStringLiteral("quorvela"), FileAction::Use, ENOENT, false, true}
        << "Non riesco a usare il programma che scrive il record\n"
           "quorvela\n\n"
           "Motivo: il file o la cartella non esiste.\n\nIl gioco termina.";
    QTest::newRow("a file another program opened without sharing it")
        << FileError{file, FileAction::Read, {native::kBusy, 32}}
        << "Non riesco a leggere il file del record\n/var/games/quorvela/qvlmarc.txt\n\n"
           "Motivo: il file è usato in questo momento da un altro programma.\n\nIl gioco termina.";
    // A code with no errno counterpart (Windows') keeps the system's own words.
    const FileError unknown{file, FileAction::Write, {native::kUnknownError, 104}};
#ifndef _WIN32
    QCOMPARE(unknown.systemMessage(), QString::fromLocal8Bit(std::strerror(104)));
#endif
    QVERIFY(!unknown.systemMessage().isEmpty());
    QTest::newRow("unknown code, the system's words")
        << unknown
        << QStringLiteral(
               "Non riesco a scrivere il file del record\n/var/games/quorvela/qvlmarc.txt"
               "\n\nMotivo: errore di sistema 104 (%1).\n\nIl gioco termina.")
               .arg(unknown.systemMessage());
}

void TestRecord::messageTellsWhatAndWhy()
{
    // The player reads what was being done, where, and why, in Italian where we know the reason.
    QFETCH(FileError, error);
    QFETCH(QString, message);
    QCOMPARE(fileErrorMessage(error), message);
}

void TestRecord::failedSaveKeepsTheOldRecord()
{
    // A save that cannot finish ends with a message and leaves the old record whole.
    Game game;
    QDir().mkpath(game.recordFolder());
    writeBytes(game.scoreFile(), "1\r\n");
    writeBytes(game.nameFile(), "Anna\r\n");
    game.scriptProblem(1, 2, 1, 6);
    QVERIFY(game.start());
    game.answer("2", "3");
    QTest::keyClick(game.c().Text3, Qt::Key_Return);
    // The folder turns into a path through a regular file: no temporary file can be made.
    QVERIFY(QDir(game.recordFolder()).rename(game.recordFolder(), game.recordFolder() + ".old"));
    writeBytes(game.recordFolder(), "not a folder");
    game.dialogs.answers.push_back(Answer::Yes);
    QTest::mouseClick(game.c().cmdExit, Qt::LeftButton);
    QCOMPARE(game.ender.codes, std::vector<int>{1});
    QVERIFY(game.dialogs.boxes.back().text.contains("Non riesco a usare la cartella del record"));
    QCOMPARE(readBytes(game.recordFolder() + ".old/qvlmarc.txt"), QByteArray("1\r\n"));
    QCOMPARE(QDir(game.recordFolder() + ".old").entryList(QDir::Files | QDir::Hidden).size(), 3);
}

void TestRecord::hugeRecordFileStartsQuickly()
{
    // Megabytes in the score file: start-up reads a bounded piece and stays quick.
    Game game;
    QDir().mkpath(game.recordFolder());
    writeBytes(game.scoreFile(), "7" + QByteArray(8 << 20, '\x01'));
    QVERIFY(game.start());
    QCOMPARE(game.c().lblpunti->text().size(), int(native::kRecordReadLimit));
    QCOMPARE(lenientReading(game.c().lblpunti->text()), 7.0);
}

void TestRecord::browserRecord_data()
{
    QTest::addColumn<QByteArray>("stored");    // at start-up
    QTest::addColumn<QByteArray>("meanwhile"); // stored by another tab; null: none
    QTest::addColumn<QString>("storage");      // "", "blocked" or "full"
    QTest::addColumn<QString>("player");
    QTest::addColumn<int>("score");
    QTest::addColumn<QByteArray>("after");
    QTest::addColumn<QString>("told"); // the last box's words; empty: none
    QTest::addColumn<QString>("said"); // the record, said for the page at start-up
    const QString champion = "C A M P I O N E";
    const QString notKept = "questo browser non lascia conservare dati";
    QTest::newRow("first visit, a new record")
        << QByteArray() << QByteArray() << ""
        << "Niccolò" << 2
        << "2\r\n" + QStringLiteral("Niccolò").toLocal8Bit() + "\r\n" // UTF-8 in a browser
        << champion << "";
    QTest::newRow("a record shown, not beaten")
        << QByteArray("12\r\nZeno\r\n") << QByteArray() << ""
        << "Anna" << 0 << QByteArray("12\r\nZeno\r\n") << ""
        << "Il record è di Zeno con punti 12.";
    QTest::newRow("another tab's better record kept")
        << QByteArray() << QByteArray("3\r\nZeno\r\n") << ""
        << "Anna" << 2 << QByteArray("3\r\nZeno\r\n") << ""
        << "";
    QTest::newRow("another tab's equal record kept")
        << QByteArray() << QByteArray("2\r\nZeno\r\n") << ""
        << "Anna" << 2 << QByteArray("2\r\nZeno\r\n") << ""
        << "";
    QTest::newRow("another tab's lower record beaten")
        << QByteArray() << QByteArray("1\r\nZeno\r\n") << ""
        << "Anna" << 2 << QByteArray("2\r\nAnna\r\n") << champion << "";
    QTest::newRow("odd text counts by its number") << QByteArray("abc") << QByteArray() << ""
                                                   << "Anna" << 1 << QByteArray("1\r\nAnna\r\n")
                                                   << champion << "Il record è di con punti abc.";
    QTest::newRow("a name over two lines stored as one")
        << QByteArray() << QByteArray() << ""
        << "An\nna" << 1 << QByteArray("1\r\nAn na\r\n") << champion << "";
    QTest::newRow("blocked: played, told, nothing stored")
        << QByteArray() << QByteArray() << "blocked"
        << "Anna" << 1 << QByteArray() << notKept << "";
    QTest::newRow("full: told, the old record kept")
        << QByteArray("0\r\nZeno\r\n") << QByteArray() << "full"
        << "Anna" << 1 << QByteArray("0\r\nZeno\r\n") << notKept
        << "Il record è di Zeno con punti 0.";
}

void TestRecord::browserRecord()
{
    // The record a browser keeps: the record files made from its storage at
    // start-up (a reload shows them whole), and a better score stored on leaving,
    // compared with what another tab may have stored since.
    QFETCH(QByteArray, stored);
    QFETCH(QByteArray, meanwhile);
    QFETCH(QString, storage);
    QFETCH(QString, player);
    QFETCH(int, score);
    QFETCH(QByteArray, after);
    QFETCH(QString, told);
    QFETCH(QString, said);
    MapStorage site;
    site.bytes = stored.toStdString();
    site.blocked = storage == "blocked";
    site.full = storage == "full";
    BrowserKeeper keeper(site);
    Game game(player);
    game.record.instead = &keeper;
    game.scriptProblem(1, 2, 1, 6);
    QVERIFY(game.start());
    const QByteArray shown = site.blocked ? QByteArray() : stored;
    QCOMPARE((game.c().lblpunti->text() + game.c().lblnome->text()).toUtf8(), shown);
    // The page's memory holds no record files.
    QVERIFY(!QFile::exists(game.recordFolder()));
    QCOMPARE(game.announced.first().startsWith("Il record"), !said.isEmpty());
    if (!said.isEmpty())
        QCOMPARE(game.announced.first(), said);
    if (!meanwhile.isNull())
        site.bytes = meanwhile.toStdString();
    if (score > 0)
        game.answer("2", "3");
    for (int i = 1; i < score; ++i)
        QTest::keyClick(game.c().Text3, Qt::Key_Return);
    const size_t boxes = game.dialogs.boxes.size();
    game.dialogs.answers.push_back(Answer::Yes);
    QTest::mouseClick(game.c().cmdExit, Qt::LeftButton);
    QCOMPARE(game.ender.codes, std::vector<int>{0});
    QCOMPARE(QByteArray::fromStdString(site.bytes), after);
    const QString last = game.boxTexts().last();
    if (told.isEmpty())
        QCOMPARE(game.dialogs.boxes.size(), boxes + 1); // the question alone
    else
        QVERIFY2(last.contains(told), qPrintable(last));
}

#ifndef _WIN32
void TestRecord::keeperAnswers_data()
{
    // What the keeper answers; what the game makes of it.
    QTest::addColumn<QString>("reply"); // "<late>": after the deadline; "<gone>": the keeper ended
    QTest::addColumn<Saving>("saving");
    QTest::addColumn<QString>("message"); // empty: no error
    QTest::newRow("saved") << "saved" << Saving::Saved << "";
    QTest::newRow("kept: a better record on disk") << "kept" << Saving::Kept << "";
    QTest::newRow("busy: the lock stayed taken") << "busy" << Saving::Busy << "";
    QTest::newRow("refused: it may not write") << "refused" << Saving::Refused << "";
    QTest::newRow("stopped by its player: busy in time") << "<late>" << Saving::Busy << "";
    QTest::newRow("a record file it cannot write")
        << "error 3 0 13 13 /var/games/quorvela/qvlmarc.txt" << Saving::Kept
        << "Non riesco a scrivere il file del record\n/var/games/quorvela/qvlmarc.txt\n\n"
           "Motivo: permesso negato.";
    QTest::newRow("a folder with a blank in its name")
        << "error 4 1 20 20 /var/my games/quorvela" << Saving::Kept
        << "Non riesco a usare la cartella del record\n/var/my games/quorvela\n\n"
           "Motivo: una parte del percorso non è una cartella.";
    QTest::newRow("the keeper gone") << "<gone>" << Saving::Kept
                                     << "Non riesco a usare il programma che scrive il record";
}

void TestRecord::keeperAnswers()
{
    // The keeper's one line is a save, a kept record, a busy or refusing record
    // (nothing saved, the game goes on to its end), or an error the player is told.
    QFETCH(QString, reply);
    QFETCH(Saving, saving);
    QFETCH(QString, message);
    int sockets[2];
    QCOMPARE(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, sockets), 0);
    // A stand-in keeper: answers each question, the first as the row says.
    std::string asked;
    std::thread keeper([&, reply] {
        char buffer[8192];
        const ssize_t length = ::recv(sockets[1], buffer, sizeof buffer, 0);
        asked.assign(buffer, std::size_t(std::max<ssize_t>(length, 0)));
        if (reply == "<gone>") {
            ::close(sockets[1]);
            return;
        }
        if (reply == "<late>")
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
        const QByteArray first = reply == "<late>" ? QByteArray("saved") : reply.toUtf8();
        ::send(sockets[1], first.data(), std::size_t(first.size()), MSG_NOSIGNAL);
        if (::recv(sockets[1], buffer, sizeof buffer, 0) > 0)
            ::send(sockets[1], "kept", 4, MSG_NOSIGNAL);
        ::close(sockets[1]);
    });
    ParentKeeper parent(sockets[0], 200);
    try {
        QCOMPARE(parent.saveIfBetter(QString(), "12", "Luca"), saving);
        QVERIFY2(message.isEmpty(), "no error was told");
        if (reply == "<late>") {
            // Its late answer to the save is not taken for the next question's.
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
            QCOMPARE(parent.saveIfBetter(QString(), "13", "Luca"), Saving::Kept);
        } else {
            // Start-up goes on whatever the record's state.
            parent.prepare(QString());
        }
    } catch (const FileError &error) {
        QVERIFY2(fileErrorMessage(error).startsWith(message), qPrintable(fileErrorMessage(error)));
        QVERIFY(!message.isEmpty());
    }
    // The game's end closed: the stand-in's wait for a next question ends.
    ::close(sockets[0]);
    keeper.join();
    QCOMPARE(QByteArray::fromStdString(asked), QByteArray("save\0" "12\0" "Luca", 12));
}

void TestRecord::keeperReads_data()
{
    // What the keeper answers to "read"; what the game shows, or tells. Where no
    // record comes, the game reads the files itself: "9" and "Eva".
    QTest::addColumn<QByteArray>("reply"); // "<late>": after the deadline; "<none>": no keeper
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("message"); // empty: no error
    const QStringList files{"9\r\n", "Eva\r\n"};
    QTest::newRow("the record, every byte as it is")
        << QByteArray::fromStdString(
               keeper::recordAnswer({std::string("12\r\n\0x", 6), "Niccol\xc3\xb2 \t\r\n"}))
        << QStringList{QString::fromLatin1("12\r\n\0x", 6), "Niccolò \t\r\n"} << "";
    QTest::newRow("no record yet")
        << QByteArray::fromStdString(keeper::recordAnswer({})) << QStringList{"", ""} << "";
    QTest::newRow("stopped by its player: the files") << QByteArray("<late>") << files << "";
    QTest::newRow("no keeper: the files") << QByteArray("<none>") << files << "";
    QTest::newRow("an answer cut short: the files")
        << QByteArray::fromStdString(keeper::recordAnswer({"123456789", "Ada"})).chopped(9)
        << files << "";
    QTest::newRow("a record file it cannot read")
        << QByteArray("error 2 0 40 40 /var/games/quorvela/qvlmarc.txt") << QStringList()
        << "Non riesco a leggere il file del record\n/var/games/quorvela/qvlmarc.txt\n\n"
           "Motivo: al posto del file c'è un collegamento simbolico.";
}

void TestRecord::keeperReads()
{
    QFETCH(QByteArray, reply);
    QFETCH(QStringList, shown);
    QFETCH(QString, message);
    QTemporaryDir dir;
    writeBytes(dir.filePath(store::kScoreFile), "9\r\n");
    writeBytes(dir.filePath(store::kNameFile), "Eva\r\n");
    int sockets[2];
    QCOMPARE(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, sockets), 0);
    std::string asked;
    std::thread standIn([&, reply] {
        char buffer[8192];
        const ssize_t length = ::recv(sockets[1], buffer, sizeof buffer, 0);
        asked.assign(buffer, std::size_t(std::max<ssize_t>(length, 0)));
        if (reply == "<late>")
            std::this_thread::sleep_for(std::chrono::milliseconds(400));
        ::send(sockets[1], reply.data(), std::size_t(reply.size()), MSG_NOSIGNAL);
        ::close(sockets[1]);
    });
    ParentKeeper parent(reply == "<none>" ? -1 : sockets[0], 200);
    try {
        const RecordText text = parent.read(dir.path());
        QCOMPARE((QStringList{text.score, text.name}), shown);
        QVERIFY2(message.isEmpty(), "no error was told");
    } catch (const FileError &error) {
        QVERIFY2(fileErrorMessage(error).startsWith(message), qPrintable(fileErrorMessage(error)));
        QVERIFY(!message.isEmpty());
    }
    ::close(sockets[0]);
    standIn.join();
    QCOMPARE(QByteArray::fromStdString(asked),
             reply == "<none>" ? QByteArray() : QByteArray(keeper::kRead));
}

void TestRecord::noKeeperNoSave()
{
    // The game run by itself, not by its keeper: it plays, and saves nothing.
    ParentKeeper alone(-1);
    alone.prepare(QString());
    QCOMPARE(alone.saveIfBetter(QString(), "12", "Luca"), Saving::Refused);
}
#endif

#ifdef _WIN32
void TestRecord::recordCarriedOverFromTheWindowsDirectory_data()
{
    // The score file and the name file: in the Windows directory, in the new
    // folder before and after; "-" stands for a missing file. While the new
    // score file is empty, the old record is carried over.
    QTest::addColumn<QStringList>("old");
    QTest::addColumn<QStringList>("now");
    QTest::addColumn<QStringList>("after");
    const QStringList oldRecord{"9\r\n", "Anna\r\n"};
    const QStringList none{"-", "-"};
    QTest::newRow("first start: carried over") << oldRecord << none << oldRecord;
    QTest::newRow("a record of its own: kept")
        << oldRecord << QStringList{"12\r\n", "Eva\r\n"} << QStringList{"12\r\n", "Eva\r\n"};
    QTest::newRow("the installer's empty files: carried over")
        << oldRecord << QStringList{"", ""} << oldRecord;
    QTest::newRow("no old name: the score alone")
        << QStringList{"9\r\n", "-"} << none << QStringList{"9\r\n", ""};
    QTest::newRow("nothing to carry over") << none << none << QStringList{"", ""};
}

void TestRecord::recordCarriedOverFromTheWindowsDirectory()
{
    QFETCH(QStringList, old);
    QFETCH(QStringList, now);
    QFETCH(QStringList, after);
    QTemporaryDir dir;
    const QString oldFolder = dir.filePath("windows");
    const QString folder = dir.filePath("ProgramData/Quorvela");
    QDir().mkpath(oldFolder);
    QDir().mkpath(folder);
    const QStringList names{"/qvlmarc.txt", "/qvlmarc1.txt"};
    const auto state = [](const QString &path) {
        return QFile::exists(path) ? QString::fromLatin1(readBytes(path)) : QStringLiteral("-");
    };
    for (int i = 0; i < 2; ++i) {
        if (old[i] != "-")
            writeBytes(oldFolder + names[i], old[i].toLatin1());
        if (now[i] != "-")
            writeBytes(folder + names[i], now[i].toLatin1());
    }
    QCOMPARE(recordFolderCarryingOver(folder, oldFolder), folder);
    QCOMPARE((QStringList{state(folder + names[0]), state(folder + names[1])}), after);
    QCOMPARE((QStringList{state(oldFolder + names[0]), state(oldFolder + names[1])}), old);
    // The two record files and the journal.
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 3);
}
#endif

QTEST_MAIN(TestRecord)
#include "tst_record.moc"
