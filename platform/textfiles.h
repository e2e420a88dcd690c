// Sequential text files under numbered handles, in the system's encoding
// (UTF-8 on Linux, the ANSI code page on Windows). Every failure throws
// FileError.
#pragma once

#include "fileerror.h"
#include "nativefile.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <map>

namespace quorvela {

// A path as the system's file calls take it, and back.
native::Path toNative(const QString &path);
QString fromNative(const native::Path &path);

class TextFiles {
public:
    TextFiles() = default;
    TextFiles(const TextFiles &) = delete;
    TextFiles &operator=(const TextFiles &) = delete;
    ~TextFiles();

    // Reads of more than this many bytes stop there: a record line is a few
    // bytes, and a label asked to show megabytes would freeze the window.
    static constexpr qint64 kReadLimit = 4096;

    // The lowest file number not in use.
    std::int16_t freeFile() const;
    // Creates an empty file when missing (readable and writable by every
    // account), keeps an existing one unchanged.
    void openForAppend(std::int16_t number, const QString &path);
    void openForInput(std::int16_t number, const QString &path);
    // The file is written whole to a temporary file beside it and renamed over
    // the old one at close: a failed write leaves the old content intact.
    void openForOutput(std::int16_t number, const QString &path);
    // The whole content (at most kReadLimit bytes) as text.
    QString readAll(std::int16_t number);
    // The text followed by carriage return and line feed.
    void printLine(std::int16_t number, const QString &text);
    void close(std::int16_t number);
    // Closes everything; pending writes are dropped, old files stay intact.
    void closeAll() noexcept;

    // Makes a folder (and its parents) that every local account may use.
    static void makeSharedFolder(const QString &path);
    // Removes the temporary files that a save of this path left behind when it
    // was killed half-way. Only under the folder's lock: without it, the file
    // removed could be one that another copy of the game is writing.
    static void removeLeftovers(const QString &path);

private:
    enum class Mode { Append, Input, Output };
    struct OpenFile {
        native::Handle handle = native::kNoHandle;
        Mode mode = Mode::Input;
        QString path;
        QString tempPath;
        QByteArray pending;
    };
    OpenFile &at(std::int16_t number);
    void insert(std::int16_t number, OpenFile file);

    std::map<std::int16_t, OpenFile> files_;
};

// An exclusive lock on a folder, held until destroyed: copies of the game on
// one machine (several accounts included) take turns at the record. It locks
// the folder's name (each save replaces the files by new ones), and it
// creates no file.
class FolderLock {
public:
    explicit FolderLock(const QString &folder);
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

private:
    native::Handle lock_ = native::kNoHandle;
};

} // namespace quorvela
