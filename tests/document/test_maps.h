#pragma once

#include "document/map_document.h"

#include <filesystem>
#include <string>
#include <vector>

namespace trelvik::test {

/// A document as the program builds one: all block headers filled, every layer W x H bytes of a
/// pattern that differs per layer, `animals` animals.
MapDocument MakeDocument(int16_t width, int16_t height, std::size_t animals = 0);

/// A fresh empty folder under the system's temporary folder, removed by the destructor.
class TempDir
{
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &Path() const { return mPath; }
    std::string File(const std::string &name) const { return (mPath / name).string(); }

private:
    std::filesystem::path mPath;
};

std::vector<uint8_t> ReadBytes(const std::string &path);
void WriteBytes(const std::string &path, const std::vector<uint8_t> &bytes);

} // namespace trelvik::test
