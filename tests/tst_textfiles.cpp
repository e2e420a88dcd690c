// Numbered text files: encoding, line ends, safe replacement, refusal of links.
#include "platform/textfiles.h"
#include "record/recordfiles.h"
#include "support/fakes.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTest>

#ifndef _WIN32
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

Q_DECLARE_METATYPE(quorvela::FileError)

using namespace quorvela;
using namespace quorvela::test;

class TestTextFiles : public QObject {
    Q_OBJECT
private slots:
    void fileNumbers();
    void writeAndReadBack();
    void unclosedWriteLeavesTheOldFile();
    void linkAtTheNameIsNeverWrittenThrough();
    void missingFileCannotBeRead();
    void messageTellsWhatAndWhy_data();
    void messageTellsWhatAndWhy();
    void folderCreatedWithParents();
    void folderLockIsExclusive();
    void killedSavesLeaveWholeFilesAndNoLeftovers();
};

void TestTextFiles::fileNumbers()
{
    // The free number is the lowest one not open; a number in use cannot be reused.
    QTemporaryDir dir;
    TextFiles files;
    QCOMPARE(files.freeFile(), 1);
    files.openForAppend(1, dir.filePath("a"));
    QCOMPARE(files.freeFile(), 2);
    QVERIFY_THROWS_EXCEPTION(FileError, files.openForAppend(1, dir.filePath("b")));
    files.close(1);
    QCOMPARE(files.freeFile(), 1);
}

void TestTextFiles::writeAndReadBack()
{
    // One line ended by CR LF in the system's encoding, read back whole.
    QTemporaryDir dir;
    TextFiles files;
    const QString path = dir.filePath("name.txt");
    files.openForOutput(3, path);
    files.printLine(3, "Niccolò");
    files.close(3);
#ifdef _WIN32
    QCOMPARE(readBytes(path), QByteArray("Niccol\xf2\r\n")); // Windows-1252
#else
    QCOMPARE(readBytes(path), QByteArray("Niccol\xc3\xb2\r\n"));
#endif
    files.openForInput(4, path);
    QCOMPARE(files.readAll(4), "Niccolò\r\n");
    files.close(4);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"name.txt"});
}

void TestTextFiles::unclosedWriteLeavesTheOldFile()
{
    // Until close, the old content stays; dropping the write leaves no stray file.
    QTemporaryDir dir;
    const QString path = dir.filePath("score.txt");
    writeBytes(path, "9\r\n");
    {
        TextFiles files;
        files.openForOutput(1, path);
        files.printLine(1, "12");
        QCOMPARE(readBytes(path), QByteArray("9\r\n"));
    }
    QCOMPARE(readBytes(path), QByteArray("9\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

void TestTextFiles::linkAtTheNameIsNeverWrittenThrough()
{
    // Neither reading, appending nor writing follows a link at the name.
#ifdef _WIN32
    QSKIP("QFile::link makes a shortcut file on Windows; links need a privilege there");
#endif
    QTemporaryDir dir;
    const QString target = dir.filePath("target");
    const QString link = dir.filePath("link");
    writeBytes(target, "secret");
    QVERIFY(QFile::link(target, link));
    TextFiles files;
    QVERIFY_THROWS_EXCEPTION(FileError, files.openForInput(1, link));
    QVERIFY_THROWS_EXCEPTION(FileError, files.openForAppend(1, link));
    QVERIFY_THROWS_EXCEPTION(FileError, files.openForOutput(1, link));
    QCOMPARE(readBytes(target), QByteArray("secret"));
    QVERIFY(QFileInfo(link).isSymLink());
}

void TestTextFiles::missingFileCannotBeRead()
{
    QTemporaryDir dir;
    TextFiles files;
    try {
        files.openForInput(1, dir.filePath("none"));
        QFAIL("a missing file was opened");
    } catch (const FileError &error) {
        QCOMPARE(error.action, FileAction::Read);
        QCOMPARE(error.error.number, ENOENT);
        QVERIFY(fileErrorMessage(error).contains("il file o la cartella non esiste"));
    }
}

void TestTextFiles::messageTellsWhatAndWhy_data()
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
    // A code with no errno counterpart (Windows') keeps the system's own words.
    const native::Error unknown{native::kUnknownError, EBADMSG};
    QTest::newRow("unknown code, the system's words")
        << FileError{file, FileAction::Write, unknown}
        << QStringLiteral(
               "Non riesco a scrivere il file del record\n/var/games/quorvela/qvlmarc.txt"
               "\n\nMotivo: errore di sistema %1 (%2).\n\nIl gioco termina.")
               .arg(EBADMSG)
               .arg(QString::fromLocal8Bit(std::strerror(EBADMSG)));
}

void TestTextFiles::messageTellsWhatAndWhy()
{
    // The player reads what was being done, where, and why, in Italian where we know the reason.
    QFETCH(FileError, error);
    QFETCH(QString, message);
    QCOMPARE(fileErrorMessage(error), message);
}

void TestTextFiles::folderCreatedWithParents()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("a/b/record");
    TextFiles::makeSharedFolder(folder);
    QVERIFY(QFileInfo(folder).isDir());
#ifndef _WIN32 // access lists on Windows, which the file layer's own test covers
    QCOMPARE(QFileInfo(folder).permissions() & QFile::WriteOther, QFile::WriteOther);
    QCOMPARE(QFileInfo(dir.filePath("a")).permissions() & QFile::WriteOther,
             QFileDevice::Permissions());
#endif
}

void TestTextFiles::folderLockIsExclusive()
{
    // While one copy holds the folder's lock, no other can take it; none is left after.
#ifdef _WIN32
    QSKIP("a named mutex on Windows, tried by the file layer's own test");
#else
    QTemporaryDir dir;
    const int probe = ::open(QFile::encodeName(dir.path()).constData(), O_RDONLY | O_DIRECTORY);
    QVERIFY(probe >= 0);
    {
        const FolderLock lock(dir.path());
        QCOMPARE(::flock(probe, LOCK_EX | LOCK_NB), -1);
        QCOMPARE(errno, EWOULDBLOCK);
    }
    QCOMPARE(::flock(probe, LOCK_EX | LOCK_NB), 0);
    ::close(probe);
    QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
#endif
}

namespace {

// One save as the game makes it: both files under the folder's lock.
void save(const QString &folder, const QByteArray &score, const QByteArray &name)
{
    TextFiles files;
    const FolderLock lock(folder);
    for (const auto &[file, text] : {std::pair{"/qvlmarc.txt", score}, {"/qvlmarc1.txt", name}}) {
        const QString path = folder + file;
        TextFiles::removeLeftovers(path);
        files.openForOutput(1, path);
        files.printLine(1, QString::fromLatin1(text));
        files.close(1);
    }
}

} // namespace

void TestTextFiles::killedSavesLeaveWholeFilesAndNoLeftovers()
{
    // A save killed at any moment leaves each file old or new, whole; a later save tidies up.
    QTemporaryDir dir;
    const QString folder = dir.path();
    const QByteArray oldLine(3000, 'o');
    const QByteArray newLine(3000, 'n');
    save(folder, oldLine, oldLine);
    const QByteArray oldFile = oldLine + "\r\n";
    const QByteArray newFile = newLine + "\r\n";
#ifndef _WIN32 // no fork there: only the tidying up below
    int killedWithLeftovers = 0;
    for (int round = 0; round < 150; ++round) {
        const pid_t child = ::fork();
        QVERIFY(child >= 0);
        if (child == 0) {
            for (int i = 0;; ++i)
                save(folder, i % 2 ? oldLine : newLine, i % 2 ? oldLine : newLine);
        }
        ::usleep(useconds_t(QRandomGenerator::global()->bounded(3000)));
        ::kill(child, SIGKILL);
        int status = 0;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFSIGNALED(status));
        for (const char *file : {"/qvlmarc.txt", "/qvlmarc1.txt"}) {
            const QByteArray bytes = readBytes(folder + file);
            QVERIFY2(bytes == oldFile || bytes == newFile, file);
        }
        if (QDir(folder).entryList(QDir::Files | QDir::Hidden).size() > 2)
            ++killedWithLeftovers;
    }
    qInfo("%d of 150 killed saves left a temporary file", killedWithLeftovers);
#endif
    // One left by an older kill, and files that merely look alike, which stay.
    writeBytes(folder + "/.qvlmarc1.txt.Ab3xYz", "half");
    writeBytes(folder + "/.qvlmarc.txt.bak", "mine");
    writeBytes(folder + "/notes.txt", "mine");
    save(folder, newLine, oldLine);
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden),
             (QStringList{".qvlmarc.txt.bak", "notes.txt", "qvlmarc.txt", "qvlmarc1.txt"}));
    QCOMPARE(readBytes(folder + "/qvlmarc.txt"), newFile);
    QCOMPARE(readBytes(folder + "/qvlmarc1.txt"), oldFile);
}

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_textfiles.moc"
