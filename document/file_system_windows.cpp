// SPDX-License-Identifier: GPL-3.0-or-later
#include "file_system.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <cwchar>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

namespace trelvik {
namespace {

std::wstring WideFromUtf8(const char *text, std::size_t size)
{
    if (size == 0 || size > INT_MAX)
        return {};
    const int length = static_cast<int>(size);
    const int wide = MultiByteToWideChar(CP_UTF8, 0, text, length, nullptr, 0);
    if (wide <= 0)
        return {};
    std::wstring result(static_cast<std::size_t>(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text, length, result.data(), wide);
    return result;
}

std::string Utf8FromWide(const wchar_t *text, std::size_t size)
{
    if (size == 0 || size > INT_MAX)
        return {};
    const int length = static_cast<int>(size);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return {};
    std::string result(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, result.data(), bytes, nullptr, nullptr);
    return result;
}

// The common reasons in the words the C library uses for the same errors, so that a message
// reads alike on every system; the system's own text for the rest.
std::string SystemCodeReason(DWORD code)
{
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return "No such file or directory";
    case ERROR_ACCESS_DENIED:
        return "Permission denied";
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "The file is in use by another program";
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return "No space left on device";
    case ERROR_WRITE_PROTECT:
        return "Read-only file system";
    case ERROR_NOT_SAME_DEVICE:
        return "Invalid cross-device link";
    case ERROR_INVALID_NAME:
        return "The file name is not valid";
    default:
        break;
    }
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    std::string reason = text != nullptr ? Utf8FromWide(text, length) : std::string();
    if (text != nullptr)
        LocalFree(text);
    while (!reason.empty()
           && (reason.back() == '.' || reason.back() == ' ' || reason.back() == '\r'
               || reason.back() == '\n'))
        reason.pop_back();
    return reason.empty() ? "error " + std::to_string(code) : reason;
}

} // namespace

std::filesystem::path PathFromUtf8(const std::string &utf8)
{
    return std::filesystem::path(WideFromUtf8(utf8.data(), utf8.size()));
}

std::string Utf8FromPath(const std::filesystem::path &path)
{
    const std::wstring &wide = path.native();
    return Utf8FromWide(wide.data(), wide.size());
}

std::FILE *OpenFile(const std::filesystem::path &path, const char *mode)
{
    std::wstring wideMode;
    for (const char *c = mode; *c != '\0'; ++c)
        wideMode.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    return _wfopen(path.c_str(), wideMode.c_str());
}

std::FILE *CreateNewFile(const std::filesystem::path &path)
{
    const int fd = _wopen(path.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY | _O_NOINHERIT,
                          _S_IREAD | _S_IWRITE);
    if (fd < 0)
        return nullptr;
    std::FILE *file = _fdopen(fd, "wb");
    if (file == nullptr) {
        const int error = errno;
        _close(fd);
        _wremove(path.c_str());
        errno = error;
    }
    return file;
}

std::error_code MoveIntoPlace(const std::filesystem::path &temp,
                              const std::filesystem::path &target)
{
    // A read-only file is not replaced. Windows itself refuses to, but not every file system
    // it reaches does (Wine's does not), so the attribute is checked here first.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0)
        return {ERROR_ACCESS_DENIED, std::system_category()};
    // The temporary file keeps its own attributes: had it taken a read-only one it could not
    // be removed after a failure.
    if (!MoveFileExW(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {static_cast<int>(GetLastError()), std::system_category()};
    return {};
}

std::error_code SyncFile(std::FILE *file)
{
    const intptr_t handle = _get_osfhandle(_fileno(file));
    if (handle == -1)
        return {EBADF, std::generic_category()};
    if (!FlushFileBuffers(reinterpret_cast<HANDLE>(handle)))
        return {static_cast<int>(GetLastError()), std::system_category()};
    return {};
}

std::error_code SyncFolder(const std::filesystem::path &)
{
    return {};
}

std::string ErrorReason(const std::error_code &error)
{
    if (error.category() == std::system_category())
        return SystemCodeReason(static_cast<DWORD>(error.value()));
    return std::strerror(error.value());
}

std::vector<std::string> ProgramArguments(int argc, char **argv)
{
    int count = 0;
    if (wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        std::vector<std::string> args;
        for (int i = 1; i < count; ++i)
            args.push_back(Utf8FromWide(wide[i], std::wcslen(wide[i])));
        LocalFree(wide);
        return args;
    }
    return argc > 1 ? std::vector<std::string>(argv + 1, argv + argc) : std::vector<std::string>();
}

void WriteOutputAsBytes()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
}

std::filesystem::path ExecutablePath(const char *argv0)
{
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = static_cast<DWORD>(name.size());
        const DWORD length = GetModuleFileNameW(nullptr, name.data(), size);
        if (length == 0)
            break;
        if (length < size) {
            name.resize(length);
            return std::filesystem::path(name);
        }
        if (name.size() >= 32768) // longer than any path the system allows
            break;
        name.resize(name.size() * 2);
    }
    std::error_code error;
    return std::filesystem::absolute(PathFromUtf8(argv0), error);
}

} // namespace trelvik
