// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the window tests do differently on POSIX systems and on Windows, in one place:
// test_platform_posix.cpp or test_platform_windows.cpp, chosen by tests/app/CMakeLists.txt.
#include "test_maps.h"

#include <memory>
#include <optional>

#include <QProcessEnvironment>
#include <QSettings>
#include <QStringList>

namespace trelvik::test {

// Lets no more than about `bytes` of memory be taken, so that asking for a layer or a picture of
// a huge claimed size fails instead of being granted; false when it cannot.
bool CapMemory(std::size_t bytes);

// The system's reasons for a failure in the words of the golden files.
void UseEnglishSystemMessages();

// Files in `dir` that the window must turn away, as far as this platform can make them, and what
// must stay alive while they are opened.
struct HostileFiles
{
    std::vector<std::string> Paths;
    std::shared_ptr<void> Keep;
};
HostileFiles MakeHostileFiles(const TempDir &dir, const std::string &good);

// Runs `command` with the POSIX shell, adding what it wrote to `output`: its exit status, or none
// where there is no such shell.
std::optional<int> RunShell(const QString &command, QStringList &output);

// The settings that the window program started with `environment` keeps, apart from the user's
// own where the platform lets them be moved.
std::unique_ptr<QSettings> StartedProgramSettings(QProcessEnvironment &environment,
                                                  const TempDir &dir);

} // namespace trelvik::test
