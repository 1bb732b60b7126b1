// SPDX-License-Identifier: GPL-3.0-or-later
#include "test_platform.h"

#include <clocale>
#include <sys/resource.h>

#include <QProcess>

namespace trelvik::test {

bool CapMemory(std::size_t bytes)
{
#ifdef __SANITIZE_ADDRESS__ // the sanitizer maps far more than this for itself
    (void)bytes;
    return false;
#else
    rlimit limit{};
    if (::getrlimit(RLIMIT_DATA, &limit) != 0)
        return false;
    limit.rlim_cur = std::min<rlim_t>(limit.rlim_max, bytes);
    return ::setrlimit(RLIMIT_DATA, &limit) == 0;
#endif
}

void UseEnglishSystemMessages()
{
    std::setlocale(LC_MESSAGES, "C");
}

// A pipe without a writer (which would block a reader at opening), /dev/zero under a .dat name
// (which would be read for ever), a link that leads nowhere, a file that cannot be read (unless
// by root), /dev/null.
HostileFiles MakeHostileFiles(const TempDir &dir, const std::string &good)
{
    const QString make =
        QStringLiteral("cd '%1' && mkfifo pipe.swd && ln -s /dev/zero zeros.dat && ln -s nowhere "
                       "dangling.swd && cp '%2' locked.swd && chmod 0 locked.swd");
    QStringList output;
    HostileFiles files;
    if (RunShell(
            make.arg(QString::fromStdString(dir.Path().string()), QString::fromStdString(good)),
            output)
        != 0)
        return files;
    files.Paths.push_back("/dev/null");
    for (const char *name : {"pipe.swd", "zeros.dat", "dangling.swd", "locked.swd"})
        files.Paths.push_back(dir.File(name));
    return files;
}

std::optional<int> RunShell(const QString &command, QStringList &output)
{
    QProcess shell;
    shell.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), command});
    const bool finished = shell.waitForFinished();
    output << QString::fromUtf8(shell.readAll()).split(u'\n', Qt::SkipEmptyParts);
    return finished && shell.exitStatus() == QProcess::NormalExit ? shell.exitCode() : -1;
}

// Under XDG_CONFIG_HOME, here in the test's own folder.
std::unique_ptr<QSettings> StartedProgramSettings(QProcessEnvironment &environment,
                                                  const TempDir &dir)
{
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"),
                       QString::fromStdString(dir.Path().string()));
    return std::make_unique<QSettings>(QString::fromStdString(dir.File("Trelvik/Trelvik.conf")),
                                       QSettings::IniFormat);
}

} // namespace trelvik::test
