// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include <QString>
#include <QStringList>

namespace trelvik {

// Registry value types the About box understands.
inline constexpr uint32_t kRegistryString = 1;
inline constexpr uint32_t kRegistryNumber = 4;

// Turns a registry value, given as the bytes the query returned and its type, into text. One
// terminating zero byte is dropped first, so a string stored with or without it reads the same.
// A string becomes its bytes; a 32-bit number its unsigned decimal value (little-endian, missing
// high bytes zero); any other type leaves `keyVal` as it was.
void RegistryValueText(std::span<const uint8_t> bytes, uint32_t valueType, std::string &keyVal);

// System information programs of common Linux desktops, in the order they are looked for.
const QStringList &SysInfoProgramNames();

// The full path of the first of `names` that is an executable file in one of the folders of
// `searchPath` (a PATH value, folders separated by ':'); empty when there is none. Empty folder
// entries are skipped rather than taken as the current folder.
QString FindProgramOnPath(const QStringList &names, const QString &searchPath);

// Finds the system information tool and starts it detached: on Windows the one the registry
// names (sys_info_windows.cpp), elsewhere the first of SysInfoProgramNames() on the PATH
// (sys_info_posix.cpp). False when there is none or it
// could not be started; the caller tells the user.
bool StartSysInfoTool();

} // namespace trelvik
