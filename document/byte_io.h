// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace trelvik {

/// Reads little-endian numbers from a byte span. Callers check Has() before each read; a read
/// past the end is a programming error and is not attempted.
class ByteReader
{
public:
    explicit ByteReader(std::span<const uint8_t> data)
        : mData(data)
    {}

    bool Has(std::size_t count) const { return mData.size() - mPos >= count; }
    std::size_t Position() const { return mPos; }
    std::size_t Remaining() const { return mData.size() - mPos; }

    uint8_t U8() { return mData[mPos++]; }
    int16_t I16()
    {
        const auto value = static_cast<uint16_t>(mData[mPos] | (mData[mPos + 1] << 8));
        mPos += 2;
        return static_cast<int16_t>(value);
    }
    int32_t I32()
    {
        const uint32_t value = uint32_t{mData[mPos]} | (uint32_t{mData[mPos + 1]} << 8)
                               | (uint32_t{mData[mPos + 2]} << 16)
                               | (uint32_t{mData[mPos + 3]} << 24);
        mPos += 4;
        return static_cast<int32_t>(value);
    }
    void Bytes(std::span<uint8_t> out)
    {
        const auto next = mData.subspan(mPos, out.size());
        std::copy(next.begin(), next.end(), out.begin());
        mPos += out.size();
    }
    std::span<const uint8_t> Take(std::size_t count)
    {
        const auto taken = mData.subspan(mPos, count);
        mPos += count;
        return taken;
    }

private:
    std::span<const uint8_t> mData;
    std::size_t mPos = 0;
};

/// Appends little-endian numbers to a byte vector.
class ByteWriter
{
public:
    explicit ByteWriter(std::vector<uint8_t> &out)
        : mOut(out)
    {}

    void U8(uint8_t value) { mOut.push_back(value); }
    void I16(int16_t value)
    {
        const auto bits = static_cast<uint16_t>(value);
        mOut.push_back(static_cast<uint8_t>(bits & 0xFF));
        mOut.push_back(static_cast<uint8_t>(bits >> 8));
    }
    void I32(int32_t value)
    {
        const auto bits = static_cast<uint32_t>(value);
        for (int shift = 0; shift < 32; shift += 8)
            mOut.push_back(static_cast<uint8_t>((bits >> shift) & 0xFF));
    }
    void Bytes(std::span<const uint8_t> bytes)
    {
        mOut.insert(mOut.end(), bytes.begin(), bytes.end());
    }

private:
    std::vector<uint8_t> &mOut;
};

} // namespace trelvik
