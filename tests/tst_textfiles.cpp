// Numbered text files for reading, and what the player reads when one fails.
#include "platform/textfiles.h"
#include "record/recordfiles.h"
#include "support/fakes.h"

#include <QTest>

#include <cerrno>
#include <cstring>

Q_DECLARE_METATYPE(quorvela::FileError)

using namespace quorvela;
using namespace quorvela::test;

class TestTextFiles : public QObject {
    Q_OBJECT
private slots:
    void fileNumbers();
    void readBackWholeInTheSystemEncoding();
    void linkAtTheNameIsNeverReadThrough();
    void missingFileCannotBeRead();
    void messageTellsWhatAndWhy_data();
    void messageTellsWhatAndWhy();
};

void TestTextFiles::fileNumbers()
{
    // The free number is the lowest one not open; a number in use cannot be reused.
    QTemporaryDir dir;
    writeBytes(dir.filePath("a"), "1");
    TextFiles files;
    QCOMPARE(files.freeFile(), 1);
    files.openForInput(1, dir.filePath("a"));
    QCOMPARE(files.freeFile(), 2);
    QVERIFY_THROWS_EXCEPTION(FileError, files.openForInput(1, dir.filePath("a")));
    files.close(1);
    QCOMPARE(files.freeFile(), 1);
}

void TestTextFiles::readBackWholeInTheSystemEncoding()
{
    // The whole content, line ends included, decoded as the system writes names.
    QTemporaryDir dir;
    const QString path = dir.filePath("name.txt");
#ifdef _WIN32
    writeBytes(path, "Niccol\xf2\r\nEva"); // Windows-1252
#else
    writeBytes(path, "Niccol\xc3\xb2\r\nEva");
#endif
    TextFiles files;
    files.openForInput(4, path);
    QCOMPARE(files.readAll(4), "Niccolò\r\nEva");
    files.close(4);
}

void TestTextFiles::linkAtTheNameIsNeverReadThrough()
{
    // A link planted at a record's name shows nothing of what it points to.
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

void TestTextFiles::messageTellsWhatAndWhy()
{
    // The player reads what was being done, where, and why, in Italian where we know the reason.
    QFETCH(FileError, error);
    QFETCH(QString, message);
    QCOMPARE(fileErrorMessage(error), message);
}

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_textfiles.moc"
