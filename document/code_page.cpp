// SPDX-License-Identifier: GPL-3.0-or-later
#include "code_page.h"

#include <array>

namespace trelvik {
namespace {

// Code points of bytes 0x80 to 0xFF.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557,
    0x255D, 0x255C, 0x255B, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559,
    0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C, 0x2588, 0x2584, 0x258C, 0x2590, 0x2580,
    0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4, 0x03A6, 0x0398, 0x03A9, 0x03B4,
    0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320, 0x2321, 0x00F7, 0x2248,
    0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0,
};

void AppendUtf8(std::string &out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        // Every code point of the table lies in the basic plane.
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

uint8_t CodePointToCp437(char32_t cp)
{
    if (cp < 0x80)
        return static_cast<uint8_t>(cp);
    for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
        if (kUpperHalf[i] == cp)
            return static_cast<uint8_t>(0x80 + i);
    }
    return '?';
}

// Decodes one UTF-8 sequence starting at text[pos]; returns the number of bytes consumed
// (at least 1) and sets `cp`, or sets `valid` false for a malformed sequence.
std::size_t DecodeUtf8(std::string_view text, std::size_t pos, char32_t &cp, bool &valid)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    valid = true;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    std::size_t length = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2;
        cp = lead & 0x1Fu;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3;
        cp = lead & 0x0Fu;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4;
        cp = lead & 0x07u;
        minimum = 0x10000;
    } else {
        valid = false;
        return 1;
    }
    if (pos + length > text.size()) {
        valid = false;
        return 1;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            valid = false;
            return 1;
        }
        cp = (cp << 6) | (next & 0x3Fu);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        valid = false;
        return 1;
    }
    return length;
}

} // namespace

char32_t Cp437ToCodePoint(uint8_t byte)
{
    return byte < 0x80 ? char32_t{byte} : char32_t{kUpperHalf[byte - 0x80u]};
}

std::string Cp437ToUtf8(std::span<const uint8_t> bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (uint8_t b : bytes)
        AppendUtf8(out, Cp437ToCodePoint(b));
    return out;
}

std::vector<uint8_t> Utf8ToCp437(std::string_view text)
{
    std::vector<uint8_t> out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp = 0;
        bool valid = true;
        pos += DecodeUtf8(text, pos, cp, valid);
        out.push_back(valid ? CodePointToCp437(cp) : uint8_t{'?'});
    }
    return out;
}

std::string EscapeForDisplay(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp = 0;
        bool valid = true;
        const std::size_t length = DecodeUtf8(text, pos, cp, valid);
        const bool control = cp < 0x20 || (cp >= 0x7F && cp <= 0x9F);
        if (valid && !control) {
            out.append(text.substr(pos, length));
        } else {
            for (std::size_t i = pos; i < pos + length; ++i) {
                const auto byte = static_cast<unsigned char>(text[i]);
                out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0x0F]};
            }
        }
        pos += length;
    }
    return out;
}

} // namespace trelvik
