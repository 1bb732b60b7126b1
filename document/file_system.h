// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The few file operations that differ between operating systems. File names travel through
// the program as UTF-8 strings and become the system's paths only here.

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace trelvik {

/// The path a UTF-8 file name stands for. On POSIX systems the bytes pass through unchanged,
/// whatever they are; on Windows they become UTF-16, a sequence that is not UTF-8 turning into
/// U+FFFD rather than failing.
std::filesystem::path PathFromUtf8(const std::string &utf8);

/// The path as UTF-8, the inverse of PathFromUtf8 (on Windows an unpaired surrogate becomes
/// U+FFFD).
std::string Utf8FromPath(const std::filesystem::path &path);

/// std::fopen for a path of any characters. Null with errno set when the file cannot be opened.
std::FILE *OpenFile(const std::filesystem::path &path, const char *mode);

/// Creates the file and opens it for writing bytes; fails, with errno set (EEXIST when the
/// name is taken), rather than open anything that already exists.
std::FILE *CreateNewFile(const std::filesystem::path &path);

/// Puts the written and closed file `temp`, which lies in the same folder, in the place of
/// `target` in one step: at every moment `target` is either the old file or the new one. On
/// POSIX systems the new file first takes the old one's permissions; on Windows a read-only
/// target is not replaced. On failure both files stay as they were.
std::error_code MoveIntoPlace(const std::filesystem::path &temp,
                              const std::filesystem::path &target);

/// The words for an error, without a full stop: errno values as the C library puts them, and
/// the system's own codes in the same words where they mean the same thing.
std::string ErrorReason(const std::error_code &error);

/// The program's arguments after its name, as UTF-8: on Windows from the wide command line,
/// since `argv` there holds the ANSI code page, which cannot spell every file name.
std::vector<std::string> ProgramArguments(int argc, char **argv);

/// Lets standard output and error write bytes as they are given (on Windows they would put a
/// "\r" before each "\n"), so that a program's output is the same on every system.
void WriteOutputAsBytes();

/// The running program's file, so that what is installed beside it can be found; `argv0` made
/// absolute when the system does not say.
std::filesystem::path ExecutablePath(const char *argv0);

} // namespace trelvik
