// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The few file operations that differ between operating systems. File names travel through
// the program as UTF-8 strings and become the system's paths only here.

#include <atomic>
#include <cerrno>
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

/// Makes the system put on the disk what has been handed to it (std::fflush) of the file
/// opened for writing, so that it outlasts a power cut.
std::error_code SyncFile(std::FILE *file);

/// Makes the system put the folder's list of files on the disk, so that a file just moved into
/// it (MoveIntoPlace) is still there after a power cut; an empty path is the current folder.
/// On POSIX systems a file system that cannot sync folders counts as done. On Windows this is
/// nothing: MoveIntoPlace writes the move through to the disk before it returns.
std::error_code SyncFolder(const std::filesystem::path &folder);

/// The file-system steps of a save (WriteFileSafely), in the order it takes them.
enum class SaveStep {
    CreateTemp,    ///< create the temporary file beside the target
    Write,         ///< hand the bytes to the C library
    Flush,         ///< hand them from its buffer to the system
    SyncFile,      ///< put them on the disk
    Close,         ///< close the temporary file
    MoveIntoPlace, ///< put it in the place of the target
    SyncFolder,    ///< put the move itself on the disk
};

/// Test seam for the failures a test cannot bring about with real files (a full disk, a sync
/// that fails): InjectSaveFault(step, error) makes the next save that reaches `step` fail there
/// with the errno value `error` (EIO for 0), as though the system had returned it, and is then
/// spent. The failed step is not taken, except Close, whose failure still closes the file, as a
/// failing std::fclose does. Only tests call it; nothing a user types or opens reaches it, and
/// unarmed it costs a save one atomic compare per step.
namespace save_fault {
// The armed step (-1 for none) and its error; only the three functions below use them.
inline std::atomic<int> armedStep{-1};
inline std::atomic<int> error{0};
} // namespace save_fault

inline void InjectSaveFault(SaveStep step, int error)
{
    save_fault::error.store(error != 0 ? error : EIO);
    save_fault::armedStep.store(static_cast<int>(step));
}

/// Disarms a fault no save has reached.
inline void ClearSaveFault()
{
    save_fault::armedStep.store(-1);
}

/// For the save, at each step: the error injected for `step`, once; otherwise none.
inline std::error_code TakeSaveFault(SaveStep step)
{
    int armed = static_cast<int>(step);
    if (!save_fault::armedStep.compare_exchange_strong(armed, -1))
        return {};
    return {save_fault::error.load(), std::generic_category()};
}

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
