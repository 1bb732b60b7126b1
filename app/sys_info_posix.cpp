// SPDX-License-Identifier: GPL-3.0-or-later
// The system information tool on Linux and other POSIX systems: the first known one on the PATH.
#include "sys_info.h"

#include <QProcess>

namespace trelvik {

bool StartSysInfoTool()
{
    const QString program = FindProgramOnPath(SysInfoProgramNames(), qEnvironmentVariable("PATH"));
    return !program.isEmpty() && QProcess::startDetached(program, {});
}

} // namespace trelvik
