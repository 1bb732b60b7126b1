// SPDX-License-Identifier: GPL-3.0-or-later
// The system information tool on Windows: the one the registry names.
#include "sys_info.h"

#include <algorithm>
#include <windows.h>

#include <QFileInfo>
#include <QProcess>

namespace trelvik {
namespace {

// Reads value `subKeyRef` of key `keyName` under `keyRoot` as text. False, with `keyVal` empty,
// when the key cannot be opened or the value is missing or longer than 1,024 bytes.
bool GetKeyValue(HKEY keyRoot,
                 const std::string &keyName,
                 const std::string &subKeyRef,
                 std::string &keyVal)
{
    // Query access is all a read needs; asking for all access fails for users without the
    // right to change the machine's keys, and nothing here writes to the registry.
    HKEY key = nullptr;
    if (RegOpenKeyExA(keyRoot, keyName.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        keyVal.clear();
        return false;
    }
    uint8_t buffer[1024] = {};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const LONG status = RegQueryValueExA(key, subKeyRef.c_str(), nullptr, &type, buffer, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        keyVal.clear();
        return false;
    }
    RegistryValueText(std::span<const uint8_t>(buffer, std::min<size_t>(size, sizeof buffer)), type,
                      keyVal);
    return true;
}

QString FromAnsi(const std::string &text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

bool StartProgram(const QString &program)
{
    return !program.isEmpty() && QProcess::startDetached(program, {});
}

} // namespace

bool StartSysInfoTool()
{
    std::string path;
    // A path in the first key is taken as the answer, even when it leads nowhere.
    if (GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path))
        return StartProgram(FromAnsi(path));
    if (GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                    path)) {
        const QString program = FromAnsi(path) + QStringLiteral("\\MSINFO32.EXE");
        if (QFileInfo::exists(program))
            return StartProgram(program);
    }
    return false;
}

} // namespace trelvik
