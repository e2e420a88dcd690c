// Whether the program that started the record's helper is a game it serves.
// No unprivileged program can prove its own score (a debugger, or a program that
// starts the helper and then becomes the game, gets past any check); these
// checks close the cheap ways: another program at the game's path, a preloaded
// or injected library, a tracer. POSIX only.
#pragma once

#include <string>
#include <string_view>
#include <sys/stat.h>
#include <sys/types.h>

namespace quorvela::helper {

// Owners whose files the helper trusts: root, and the helper's own owner (the
// same root when installed; a developer's build tree serves its developer).
struct Trust {
    uid_t helperOwner = 0;
    bool owns(uid_t uid) const { return uid == 0 || uid == helperOwner; }
    // A file or folder a trusted owner has and no one else may change.
    bool unchangeable(const struct stat &st) const;
};

// Every folder from path's up to the root is unchangeable, or, where sticky is
// allowed, sticky (like /tmp, where no one else may rename what a trusted owner
// has in it; a file there must then be checked as well).
bool foldersTrusted(const std::string &path, const Trust &trust, bool sticky = true);

// /proc/PID/status: the tracer's process id, 0 when untraced, -1 when unreadable.
long tracerOf(std::string_view status);

// /proc/PID/environ (NUL-separated): a variable that makes the dynamic linker or
// Qt load code from elsewhere.
bool loadsForeignCode(std::string_view environment);

// /proc/PID/maps: every executable mapping of a file is one that the stat of its
// path finds, with the same device and inode, unchangeable and in trusted
// folders; a file deleted since it was mapped (an upgrade during play) is
// trusted by its folder alone, which no one else may write. Anonymous and
// kernel mappings pass.
using StatFunction = int (*)(const char *, struct stat *);
bool mappingsTrusted(std::string_view maps, const Trust &trust, StatFunction statOf = ::stat);

// The caller's program: /proc/PID/exe's text and its stat, checked against one
// trusted game path: the same file, or that file deleted by an upgrade.
bool isTheGame(const std::string &exeLink, const struct stat &exe, const char *gamePath,
               const Trust &trust);

inline constexpr std::string_view kDeleted = " (deleted)";

} // namespace quorvela::helper
