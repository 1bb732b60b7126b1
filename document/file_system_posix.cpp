// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_system.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trelvik {

std::filesystem::path PathFromUtf8(const std::string &utf8)
{
    return std::filesystem::path(utf8);
}

std::string Utf8FromPath(const std::filesystem::path &path)
{
    return path.native();
}

std::FILE *OpenFile(const std::filesystem::path &path, const char *mode)
{
    return std::fopen(path.c_str(), mode);
}

std::FILE *CreateNewFile(const std::filesystem::path &path)
{
    const int fd = open(path.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        return nullptr;
    std::FILE *file = fdopen(fd, "wb");
    if (file == nullptr) {
        const int error = errno;
        close(fd);
        unlink(path.c_str());
        errno = error;
    }
    return file;
}

std::error_code MoveIntoPlace(const std::filesystem::path &temp,
                              const std::filesystem::path &target)
{
    struct stat old
    {};
    if (stat(target.c_str(), &old) == 0)
        chmod(temp.c_str(), old.st_mode & 07777); // the new file is usable even without them
    if (std::rename(temp.c_str(), target.c_str()) != 0)
        return {errno, std::generic_category()};
    return {};
}

std::error_code SyncFile(std::FILE *file)
{
    const int fd = fileno(file);
    if (fd < 0 || fsync(fd) != 0)
        return {errno != 0 ? errno : EIO, std::generic_category()};
    return {};
}

std::error_code SyncFolder(const std::filesystem::path &folder)
{
    const char *name = folder.empty() ? "." : folder.c_str();
    const int fd = open(name, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return {errno, std::generic_category()};
    std::error_code error;
    // Some file systems cannot sync a folder and say so with EINVAL: nothing more can be done
    // there, and every save failing for it would help no one.
    if (fsync(fd) != 0 && errno != EINVAL)
        error.assign(errno, std::generic_category());
    close(fd);
    return error;
}

std::string ErrorReason(const std::error_code &error)
{
    return std::strerror(error.value());
}

std::vector<std::string> ProgramArguments(int argc, char **argv)
{
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void WriteOutputAsBytes() {}

std::filesystem::path ExecutablePath(const char *argv0)
{
    std::error_code error;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        exe = std::filesystem::absolute(argv0, error);
    return exe;
}

} // namespace trelvik
