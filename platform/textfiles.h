// Sequential text files under numbered handles, for reading, in the system's
// encoding (UTF-8 on Linux, the ANSI code page on Windows). Every failure throws
// FileError. The record files are written only through the record keeper
// (record/recordkeeper.h).
#pragma once

#include "fileerror.h"
#include "store/nativefile.h"

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

    // Reads of more than this many bytes stop there.
    static constexpr qint64 kReadLimit = qint64(native::kRecordReadLimit);

    // The lowest file number not in use.
    std::int16_t freeFile() const;
    // An existing regular file (never through a link).
    void openForInput(std::int16_t number, const QString &path);
    // The whole content (at most kReadLimit bytes) as text.
    QString readAll(std::int16_t number);
    void close(std::int16_t number);
    void closeAll() noexcept;

private:
    struct OpenFile {
        native::Handle handle = native::kNoHandle;
        QString path;
    };
    std::map<std::int16_t, OpenFile> files_;
};

} // namespace quorvela
