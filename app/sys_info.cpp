// SPDX-License-Identifier: GPL-3.0-or-later
#include "sys_info.h"

#include <algorithm>

#include <QDir>
#include <QFileInfo>

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

} // namespace trelvik
