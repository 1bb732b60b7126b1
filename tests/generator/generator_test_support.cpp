#include "generator_test_support.h"

#include <array>
#include <fstream>
#include <openssl/evp.h>
#include <sstream>

namespace trelvik::test {

std::string Sha256Hex(std::span<const uint8_t> bytes)
{
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_sha256(), nullptr);
    static constexpr char kHex[] = "0123456789abcdef";
    std::string text;
    for (unsigned int i = 0; i < length; ++i) {
        text.push_back(kHex[digest[i] >> 4u]);
        text.push_back(kHex[digest[i] & 15u]);
    }
    return text;
}

std::vector<uint8_t> LittleEndianBytes(std::span<const int16_t> values)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(values.size() * 2);
    for (const int16_t value : values) {
        const auto bits = static_cast<uint16_t>(value);
        bytes.push_back(static_cast<uint8_t>(bits & 0xFFu));
        bytes.push_back(static_cast<uint8_t>(bits >> 8u));
    }
    return bytes;
}

std::string ReadTextFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace trelvik::test
