// The file layer under the record, without Qt: built for Linux and, with
// MinGW, for Windows, where it runs under Wine (through tests/native/wine-run.sh).
#include "platform/nativefile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <thread>

namespace fs = std::filesystem;
namespace native = quorvela::native;

namespace {

int failures = 0;

#define CHECK(condition)                                                                           \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::printf("FAIL %s:%d: %s\n", __FILE__, __LINE__, #condition);                       \
            ++failures;                                                                            \
        }                                                                                          \
    } while (false)

std::string contents(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void put(const fs::path &path, const std::string &text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string readBack(native::Handle handle)
{
    std::string text;
    char buffer[3]; // small, so that several reads are needed
    std::size_t got = 0;
    while (native::read(handle, buffer, sizeof buffer, got) == 0 && got > 0)
        text.append(buffer, got);
    return text;
}

void appendedFilesAreSharedAndKept(const fs::path &dir)
{
    const fs::path file = dir / "qvlmarc1.txt";
    native::Handle handle = native::kNoHandle;
    CHECK(native::createShared(file, handle) == 0);
    CHECK(native::writeAll(handle, "Luca\r\n", 6) == 0);
    CHECK(native::close(handle) == 0);
    // A second creation must not truncate what the first wrote.
    CHECK(native::createShared(file, handle) == EEXIST);
    CHECK(native::openRegular(file, true, handle) == 0);
    CHECK(native::writeAll(handle, "Eva\r\n", 5) == 0);
    CHECK(native::close(handle) == 0);
    CHECK(contents(file) == "Luca\r\nEva\r\n");
    CHECK(native::openRegular(file, false, handle) == 0);
    CHECK(readBack(handle) == "Luca\r\nEva\r\n");
    CHECK(native::close(handle) == 0);
#ifndef _WIN32
    CHECK((fs::status(file).permissions() & fs::perms::all) ==
          (fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
           fs::perms::group_write | fs::perms::others_read | fs::perms::others_write));
#endif
}

void saveReplacesWholeAndLeavesNothingBehind(const fs::path &dir)
{
    const fs::path file = dir / "qvlmarc.txt";
    put(file, "1\r\n");
    native::Path temporary;
    native::Handle handle = native::kNoHandle;
    CHECK(native::createTemporary(file, temporary, handle) == 0);
    const std::string name = temporary.filename().string();
    CHECK(temporary.parent_path() == file.parent_path());
    CHECK(name.size() == std::string(".qvlmarc.txt.").size() + native::kTemporarySuffix);
    CHECK(name.rfind(".qvlmarc.txt.", 0) == 0);
    CHECK(native::writeAll(handle, "25\r\n", 4) == 0);
    // Until the replace, the old record stands.
    CHECK(contents(file) == "1\r\n");
    CHECK(native::sync(handle) == 0);
    CHECK(native::close(handle) == 0);
    CHECK(native::replace(temporary, file) == 0);
    CHECK(contents(file) == "25\r\n");
    CHECK(!fs::exists(temporary));

    // Another copy reading the record for a moment (or a virus scanner looking
    // at it) does not make the next save fail.
    CHECK(native::openRegular(file, false, handle) == 0);
    std::thread reader([handle] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        native::close(handle);
    });
    native::Handle second = native::kNoHandle;
    CHECK(native::createTemporary(file, temporary, second) == 0);
    CHECK(native::writeAll(second, "30\r\n", 4) == 0);
    CHECK(native::close(second) == 0);
    CHECK(native::replace(temporary, file) == 0);
    reader.join();
    CHECK(contents(file) == "30\r\n");

    // Two temporary files at once get different names.
    native::Path other;
    CHECK(native::createTemporary(file, temporary, handle) == 0);
    CHECK(native::createTemporary(file, other, second) == 0);
    CHECK(temporary != other);
    native::close(handle);
    native::close(second);
    native::removeFile(temporary);
    native::removeFile(other);
    CHECK(!fs::exists(temporary) && !fs::exists(other));
}

void whatIsNotARegularFileIsRefused(const fs::path &dir)
{
    const fs::path folder = dir / "folder";
    fs::create_directory(folder);
    native::Handle handle = native::kNoHandle;
    CHECK(native::openRegular(folder, false, handle) == EISDIR);
    CHECK(native::openRegular(dir / "missing.txt", false, handle) == ENOENT);
    CHECK(native::checkReplaceable(folder) == EISDIR);
    CHECK(native::checkReplaceable(dir / "missing.txt") == 0);
    put(dir / "plain.txt", "x");
    CHECK(native::checkReplaceable(dir / "plain.txt") == 0);
#ifndef _WIN32
    // A link planted at a record's name is never written through.
    fs::create_symlink(dir / "plain.txt", dir / "link.txt");
    CHECK(native::checkReplaceable(dir / "link.txt") == ELOOP);
    CHECK(native::openRegular(dir / "link.txt", true, handle) == ELOOP);
    CHECK(native::createShared(dir / "link.txt", handle) == EEXIST);
    CHECK(contents(dir / "plain.txt") == "x");
#endif
}

void foldersAreMadeOnce(const fs::path &dir)
{
    const fs::path folder = dir / "record";
    CHECK(native::folderStatus(folder) == ENOENT);
    CHECK(native::makeFolder(folder, true) == 0);
    CHECK(native::folderStatus(folder) == 0);
    CHECK(native::makeFolder(folder, true) == EEXIST);
    CHECK(native::makeFolder(dir / "missing" / "record", false) == ENOENT);
    put(dir / "plain.txt", "x");
    CHECK(native::folderStatus(dir / "plain.txt") == ENOTDIR);
#ifndef _WIN32
    CHECK((fs::status(folder).permissions() & fs::perms::all) == fs::perms::all);
#endif
}

void folderLockIsExclusive(const fs::path &dir)
{
    native::Handle held = native::kNoHandle;
    CHECK(native::lockFolder(dir, held) == 0);
    std::atomic<bool> got{false};
    std::thread other([&] {
        native::Handle lock = native::kNoHandle;
        if (native::lockFolder(dir, lock) == 0) {
            got = true;
            native::unlockFolder(lock);
        }
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    CHECK(!got);
    native::unlockFolder(held);
    other.join();
    CHECK(got);
    // Another folder has a lock of its own.
    native::Handle first = native::kNoHandle, second = native::kNoHandle;
    fs::create_directory(dir / "elsewhere");
    CHECK(native::lockFolder(dir, first) == 0);
    std::thread elsewhere([&] {
        CHECK(native::lockFolder(dir / "elsewhere", second) == 0);
        native::unlockFolder(second);
    });
    elsewhere.join();
    native::unlockFolder(first);
}

#ifdef _WIN32
void windowsFolders(const fs::path &dir)
{
    std::string windows;
    CHECK(native::windowsDirectory(windows) == 0);
    CHECK(!windows.empty() && windows.size() < 128);
    CHECK(native::folderStatus(windows) == 0);
    native::Path common;
    CHECK(native::commonDataFolder(common) == 0);
    CHECK(native::folderStatus(common) == 0);
    CHECK(common != native::Path(windows));

    // A record carried over from the old folder: copied once, never over a newer one.
    const fs::path old = dir / "old", now = dir / "now";
    fs::create_directory(old);
    fs::create_directory(now);
    put(old / "qvlmarc.txt", "12\r\n");
    CHECK(native::copyIfMissing(old / "qvlmarc.txt", now / "qvlmarc.txt") == 0);
    CHECK(contents(now / "qvlmarc.txt") == "12\r\n");
    put(now / "qvlmarc.txt", "20\r\n");
    CHECK(native::copyIfMissing(old / "qvlmarc.txt", now / "qvlmarc.txt") == 0);
    CHECK(contents(now / "qvlmarc.txt") == "20\r\n");
    CHECK(native::copyIfMissing(old / "qvlmarc1.txt", now / "qvlmarc1.txt") == 0);
    CHECK(!fs::exists(now / "qvlmarc1.txt"));
    int entries = 0;
    for ([[maybe_unused]] const auto &entry : fs::directory_iterator(now))
        ++entries;
    CHECK(entries == 1);
}
#endif

} // namespace

int main()
{
    const fs::path dir =
        fs::temp_directory_path() / ("quorvela-native-" + std::to_string(std::random_device{}()));
    fs::create_directories(dir);
    struct Case {
        const char *name;
        void (*run)(const fs::path &);
    };
    const Case cases[] = {
        {"appendedFilesAreSharedAndKept", appendedFilesAreSharedAndKept},
        {"saveReplacesWholeAndLeavesNothingBehind", saveReplacesWholeAndLeavesNothingBehind},
        {"whatIsNotARegularFileIsRefused", whatIsNotARegularFileIsRefused},
        {"foldersAreMadeOnce", foldersAreMadeOnce},
        {"folderLockIsExclusive", folderLockIsExclusive},
#ifdef _WIN32
        {"windowsFolders", windowsFolders},
#endif
    };
    for (const Case &c : cases) {
        const int before = failures;
        const fs::path own = dir / c.name;
        fs::create_directory(own);
        c.run(own);
        std::printf("%s %s\n", failures == before ? "PASS" : "FAIL", c.name);
    }
    fs::remove_all(dir);
    std::printf("%d failure(s)\n", failures);
    return failures == 0 ? 0 : 1;
}
