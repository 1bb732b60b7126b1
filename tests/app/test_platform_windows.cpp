// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/file_system.h"
#include "test_platform.h"

#include <atomic>
#include <cstdlib>
#include <new>
#include <windows.h>

namespace {

std::atomic<std::size_t> gMemoryCap{0};

} // namespace

// Wine does not enforce a job's memory limit, so the cap is this program's own: one allocation
// through operator new above it fails, which covers the layers and lists of a map (not the
// pictures Qt allocates itself).
// GCC sees the malloc behind this operator new and takes the free below for a mismatch.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void *operator new(std::size_t size)
{
    const std::size_t cap = gMemoryCap;
    if (void *block = cap != 0 && size > cap ? nullptr : std::malloc(size ? size : 1))
        return block;
    throw std::bad_alloc();
}

void operator delete(void *block) noexcept
{
    std::free(block);
}

void operator delete(void *block, std::size_t) noexcept
{
    std::free(block);
}
#pragma GCC diagnostic pop

namespace trelvik::test {

bool CapMemory(std::size_t bytes)
{
    gMemoryCap = bytes;
    return true;
}

void UseEnglishSystemMessages() {} // the C library's own words

// A file that another handle holds without sharing, the NUL device. Windows lets only its
// administrators make links, and has no pipes or devices of a file's name.
HostileFiles MakeHostileFiles(const TempDir &dir, const std::string &good)
{
    HostileFiles files;
    const std::string locked = dir.File("locked.swd");
    WriteBytes(locked, ReadBytes(good));
    HANDLE holder = CreateFileW(PathFromUtf8(locked).c_str(), GENERIC_READ, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (holder == INVALID_HANDLE_VALUE)
        return files;
    files.Keep = std::shared_ptr<void>(holder, CloseHandle);
    files.Paths = {locked, "NUL"};
    return files;
}

std::optional<int> RunShell(const QString &, QStringList &)
{
    return std::nullopt;
}

// In the registry, where a user's are: the tests run in a Wine folder of their own.
std::unique_ptr<QSettings> StartedProgramSettings(QProcessEnvironment &, const TempDir &)
{
    return std::make_unique<QSettings>(
        QStringLiteral("HKEY_CURRENT_USER\\Software\\Trelvik\\Trelvik"), QSettings::NativeFormat);
}

} // namespace trelvik::test
