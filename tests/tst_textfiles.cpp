// Numbered text files: encoding, line ends, safe replacement, refusal of links.
#include "platform/programend.h"
#include "platform/textfiles.h"
#include "support/fakes.h"

#include <QDir>
#include <QTest>

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
    void folderCreatedWithParents();
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
    // One line ended by CR LF in the locale's encoding, read back whole.
    QTemporaryDir dir;
    TextFiles files;
    const QString path = dir.filePath("name.txt");
    files.openForOutput(3, path);
    files.printLine(3, "Niccolò");
    files.close(3);
    QCOMPARE(readBytes(path), QByteArray("Niccol\xc3\xb2\r\n"));
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
        QCOMPARE(error.action, "leggere");
        QVERIFY(error.message().contains("il file o la cartella non esiste"));
    }
}

void TestTextFiles::folderCreatedWithParents()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("a/b/record");
    TextFiles::makeSharedFolder(folder);
    QVERIFY(QFileInfo(folder).isDir());
    QCOMPARE(QFileInfo(folder).permissions() & QFile::WriteOther, QFile::WriteOther);
    QCOMPARE(QFileInfo(dir.filePath("a")).permissions() & QFile::WriteOther,
             QFileDevice::Permissions());
}

QTEST_GUILESS_MAIN(TestTextFiles)
#include "tst_textfiles.moc"
