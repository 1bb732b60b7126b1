// SPDX-License-Identifier: GPL-3.0-or-later
#include "common.h"

#include "document/code_page.h"
#include "document/map_file.h"

#include <iostream>

namespace trelvik::cli {

int Fail(const std::string &message)
{
    std::cerr << "trelvik-cli: " << EscapeForDisplay(message) << '\n';
    return kExitMapError;
}

std::string Shown(const std::string &name)
{
    return EscapeForDisplay(name);
}

std::optional<MapDocument> LoadMapOrReport(const std::string &path)
{
    MapDocument document;
    const ReadResult result = ReadMapFile(path, document);
    if (!result.Ok()) {
        Fail(result.Message);
        return std::nullopt;
    }
    return document;
}

bool SaveMapOrReport(const std::string &path, const MapDocument &document)
{
    const WriteResult result = WriteMapFile(path, document);
    if (!result.Ok) {
        Fail(result.Message);
        return false;
    }
    return true;
}

} // namespace trelvik::cli
