// SPDX-License-Identifier: GPL-3.0-or-later
#include "sys_info.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace trelvik {

void RegistryValueText(std::span<const uint8_t> bytes, uint32_t valueType, std::string &keyVal)
{
    std::string text(bytes.begin(), bytes.end());
    if (!text.empty() && text.back() == '\0')
        text.pop_back();
    switch (valueType) {
    case kRegistryString:
        keyVal = text;
        break;
    case kRegistryNumber: {
        // Built from the bytes themselves: a number whose top bytes are zero has lost its last
        // zero byte above, and reads the same without it.
        uint32_t value = 0;
        const size_t used = std::min<size_t>(text.size(), 4);
        for (size_t i = 0; i < used; ++i)
            value |= static_cast<uint32_t>(static_cast<uint8_t>(text[i])) << (8 * i);
        keyVal = std::to_string(value);
        break;
    }
    default:
        break;
    }
}

#ifdef _WIN32
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
#endif

const QStringList &SysInfoProgramNames()
{
    static const QStringList names = {
        QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"), QStringLiteral("kinfocenter"),
        QStringLiteral("cpu-x"),     QStringLiteral("lshw-gtk"),
    };
    return names;
}

QString FindProgramOnPath(const QStringList &names, const QString &searchPath)
{
    const QStringList folders = searchPath.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString &name : names) {
        for (const QString &folder : folders) {
            const QFileInfo candidate(QDir(folder), name);
            if (candidate.isFile() && candidate.isExecutable())
                return candidate.absoluteFilePath();
        }
    }
    return {};
}

namespace {

#ifdef _WIN32
QString FromAnsi(const std::string &text)
{
    return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}
#endif

bool StartProgram(const QString &program)
{
    return !program.isEmpty() && QProcess::startDetached(program, {});
}

} // namespace

bool StartSysInfoTool()
{
#ifdef _WIN32
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
#else
    return StartProgram(FindProgramOnPath(SysInfoProgramNames(), qEnvironmentVariable("PATH")));
#endif
}

} // namespace trelvik
