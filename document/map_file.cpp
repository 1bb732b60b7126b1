// SPDX-License-Identifier: GPL-3.0-or-later
#include "map_file.h"

#include "byte_io.h"
#include "file_system.h"
#include "fixed_text_field.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <optional>
#include <random>

namespace trelvik {
namespace {

constexpr std::string_view kSignature = "WORLD_V1.0";

ReadResult Failure(ReadOutcome outcome, std::string message)
{
    return ReadResult{outcome, std::move(message), 0};
}

ReadResult Damaged(const std::string &fileName, const std::string &where)
{
    return Failure(ReadOutcome::Damaged,
                   "The map file '" + fileName + "' is damaged: " + where + ".");
}

void ReadHeaderTail(ByteReader &in, MapHeader &header)
{
    in.Bytes(header.Marker);
    header.Zero = in.I32();
    header.Width = in.I16();
    header.Height = in.I16();
}

void ReadFullHeader(ByteReader &in, MapHeader &header)
{
    in.Bytes(header.Signature);
    in.Bytes(header.Title);
    header.WidthCopy = in.I16();
    header.HeightCopy = in.I16();
    header.WorldType = in.U8();
    header.PlayerCount = in.U8();
    in.Bytes(header.Author);
    for (int16_t &x : header.HeadquartersX)
        x = in.I16();
    for (int16_t &y : header.HeadquartersY)
        y = in.I16();
    in.Bytes(header.UnknownBytes);
    for (AreaEntry &area : header.Areas) {
        area.Type = in.U8();
        area.X = in.I16();
        area.Y = in.I16();
        area.Size = in.I32();
    }
    ReadHeaderTail(in, header);
}

// The fixed values that stand in for the header fields a .dat file lacks.
void CompleteDatHeader(MapHeader &header)
{
    FixedTextField::Store(header.Signature, kSignature);
    FixedTextField::Store(header.Title, "Unknown");
    FixedTextField::Store(header.Author, "Blue Byte");
    header.WidthCopy = header.Width;
    header.HeightCopy = header.Height;
    header.WorldType = 0;
    header.PlayerCount = 1;
}

// Reads the header and checks what it alone can tell: the signature and the size.
ReadResult
ReadHeader(ByteReader &in, MapLayout layout, MapHeader &header, const std::string &fileName)
{
    if (layout == MapLayout::Dat) {
        if (!in.Has(kDatHeaderSize))
            return Damaged(fileName, "it ends inside the map header");
        ReadHeaderTail(in, header);
        CompleteDatHeader(header);
    } else {
        if (!in.Has(kSignatureSize))
            return Failure(ReadOutcome::NotAMapFile, "Not a Settlers II map file");
        ByteReader signature = in;
        signature.Bytes(header.Signature);
        if (!HasMapSignature(header))
            return Failure(ReadOutcome::NotAMapFile, "Not a Settlers II map file");
        if (!in.Has(kMapHeaderSize))
            return Damaged(fileName, "it ends inside the map header");
        ReadFullHeader(in, header);
    }

    if (!HasMapSignature(header))
        return Failure(ReadOutcome::NotAMapFile, "Not a Settlers II map file");
    if (header.Width / 16 < 2 || header.Height / 16 < 2)
        return Failure(ReadOutcome::InvalidMapSize, "Invalid map size");
    return {};
}

// Reads the fourteen blocks and the animals that follow the header.
ReadResult ReadBody(ByteReader &in, MapDocument &fresh, const std::string &fileName)
{
    for (int k = 1; k <= kLayerCount; ++k) {
        const auto block = [k] { return "block " + std::to_string(k); };
        if (!in.Has(kBlockHeaderSize))
            return Damaged(fileName, "it ends inside the header of " + block());
        LayerBlockHeader &blockHeader = fresh.BlockHeader(k);
        in.Bytes(blockHeader.Marker);
        blockHeader.Zero = in.I32();
        blockHeader.Width = in.I16();
        blockHeader.Height = in.I16();
        blockHeader.One = in.I16();
        blockHeader.DataLength = in.I32();
        if (blockHeader.DataLength < 0)
            return Damaged(fileName, block() + " has a negative length");
        const auto length = static_cast<std::size_t>(blockHeader.DataLength);
        // Checked against the bytes that are really there before anything is allocated.
        if (!in.Has(length))
            return Damaged(fileName, "it ends inside " + block());
        const auto bytesOfLayer = in.Take(length);
        fresh.Layer(k).assign(bytesOfLayer.begin(), bytesOfLayer.end());
    }

    const std::size_t animalCount = in.Remaining() / kAnimalEntrySize;
    fresh.Animals.resize(animalCount);
    for (AnimalEntry &animal : fresh.Animals) {
        animal.Species = in.U8();
        animal.X = in.I16();
        animal.Y = in.I16();
    }
    return ReadResult{ReadOutcome::Read, {}, animalCount};
}

void WriteHeader(ByteWriter &out, const MapHeader &header)
{
    out.Bytes(header.Signature);
    out.Bytes(header.Title);
    out.I16(header.WidthCopy);
    out.I16(header.HeightCopy);
    out.U8(header.WorldType);
    out.U8(header.PlayerCount);
    out.Bytes(header.Author);
    for (int16_t x : header.HeadquartersX)
        out.I16(x);
    for (int16_t y : header.HeadquartersY)
        out.I16(y);
    out.Bytes(header.UnknownBytes);
    for (const AreaEntry &area : header.Areas) {
        out.U8(area.Type);
        out.I16(area.X);
        out.I16(area.Y);
        out.I32(area.Size);
    }
    out.Bytes(header.Marker);
    out.I32(header.Zero);
    out.I16(header.Width);
    out.I16(header.Height);
}

struct FileCloser
{
    void operator()(std::FILE *file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

std::string SystemReason(int error)
{
    return std::strerror(error);
}

// Leaves new bytes uninitialised where std::allocator would zero them: the file is read over
// them at once, and zeroing a whole map first would add half again to the cost of reading it.
template <typename T> struct UninitialisedAllocator : std::allocator<T>
{
    template <typename U> void construct(U *place) noexcept
    {
        ::new (static_cast<void *>(place)) U;
    }
};
using FileBytes = std::vector<uint8_t, UninitialisedAllocator<uint8_t>>;

// No map comes near this size; a device or pipe that never ends is stopped here.
constexpr std::size_t kLargestMapFile = std::size_t{64} << 20;

// The file's size when it gives one that can be believed, otherwise 0. Only a hint: folders
// and devices report sizes that mean nothing, and a file can change while it is read.
std::size_t SizeHint(std::FILE *file)
{
    if (std::fseek(file, 0, SEEK_END) != 0)
        return 0;
    const long size = std::ftell(file);
    std::rewind(file);
    return size > 0 && static_cast<unsigned long>(size) <= kLargestMapFile
               ? static_cast<std::size_t>(size)
               : 0;
}

// Appends to `bytes` from `file` until it holds `limit` bytes or the file ends; false with
// `error` set on a read error. Room is made for `expected` more bytes at once (what the file's
// size promises; 0 when it says nothing) and beyond that in steps that at most double what has
// arrived, so a size that is not true never causes a large allocation of its own.
bool ReadUpTo(
    std::FILE *file, FileBytes &bytes, std::size_t limit, std::size_t expected, int &error)
{
    constexpr std::size_t kStep = 1 << 16;
    std::size_t used = bytes.size();
    std::size_t room = std::min(limit, used + (expected != 0 ? expected : kStep));
    for (;;) {
        bytes.resize(room);
        errno = 0;
        used += std::fread(bytes.data() + used, 1, room - used, file);
        if (used < room || room == limit)
            break;
        room = std::min(limit, used + std::max(used, kStep));
    }
    bytes.resize(used);
    if (used < limit && std::ferror(file)) {
        error = errno != 0 ? errno : EIO;
        return false;
    }
    return true;
}

std::filesystem::path TempPathBeside(const std::filesystem::path &target)
{
    static std::mt19937_64 generator{std::random_device{}()};
    const auto suffix = std::to_string(generator() % 1000000000u);
    // Put together as paths, so that the name's characters never pass through a narrow string.
    std::filesystem::path name(".");
    name += target.filename();
    name += "." + suffix + ".tmp";
    std::filesystem::path temp = target;
    temp.replace_filename(name);
    return temp;
}

// The error errno holds, EIO when a failing call did not set it.
std::error_code LastError()
{
    return {errno != 0 ? errno : EIO, std::generic_category()};
}

bool WriteAll(std::FILE *file, const std::vector<uint8_t> &bytes, int &error)
{
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()
        || std::fflush(file) != 0) {
        error = errno != 0 ? errno : EIO;
        return false;
    }
    return true;
}

// Files that are not regular files (devices, pipes) cannot be replaced by a rename; they are
// written in place. Returns why that failed, or nothing.
std::optional<std::string> WriteInPlace(const std::filesystem::path &target,
                                        const std::vector<uint8_t> &bytes)
{
    errno = 0;
    std::FILE *raw = OpenFile(target, "wb");
    if (raw == nullptr)
        return SystemReason(errno);
    FileHandle file(raw);
    int error = 0;
    if (!WriteAll(file.get(), bytes, error))
        return SystemReason(error);
    errno = 0;
    if (std::fclose(file.release()) != 0)
        return SystemReason(errno != 0 ? errno : EIO);
    return std::nullopt;
}

} // namespace

bool HasMapSignature(const MapHeader &header)
{
    return FixedTextField::Read(header.Signature) == kSignature;
}

MapLayout LayoutForFileName(const std::string &fileName)
{
    if (fileName.size() < 4)
        return MapLayout::Full;
    std::string tail = fileName.substr(fileName.size() - 4);
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".dat" ? MapLayout::Dat : MapLayout::Full;
}

MapLayout DetectLayout(const std::string &fileName, std::span<const uint8_t> firstBytes)
{
    if (LayoutForFileName(fileName) == MapLayout::Full)
        return MapLayout::Full;
    const bool hasSignature =
        firstBytes.size() >= kSignature.size()
        && std::equal(kSignature.begin(), kSignature.end(), firstBytes.begin());
    return hasSignature ? MapLayout::Full : MapLayout::Dat;
}

ReadResult ReadMapBytes(std::span<const uint8_t> bytes,
                        MapLayout layout,
                        MapDocument &document,
                        const std::string &fileName)
{
    // Everything goes into a fresh document first, so that a rejected file leaves the
    // caller's map whole.
    auto fresh = std::make_unique<MapDocument>();
    ByteReader in(bytes);
    ReadResult result = ReadHeader(in, layout, fresh->Header, fileName);
    if (result.Ok())
        result = ReadBody(in, *fresh, fileName);
    if (result.Ok())
        document = std::move(*fresh);
    return result;
}

ReadResult ReadMapFile(const std::string &fileName, MapDocument &document)
{
    // A folder opens for reading on some systems and not on others; it is told alike on all.
    std::error_code folderCheck;
    if (std::filesystem::is_directory(PathFromUtf8(fileName), folderCheck)) {
        return Failure(ReadOutcome::CannotOpen,
                       "Cannot read the file '" + fileName + "': " + SystemReason(EISDIR) + ".");
    }
    errno = 0;
    std::FILE *raw = OpenFile(PathFromUtf8(fileName), "rb");
    if (raw == nullptr) {
        return Failure(ReadOutcome::CannotOpen,
                       "Cannot open the file '" + fileName + "': " + SystemReason(errno) + ".");
    }
    FileHandle file(raw);
    const std::size_t size = SizeHint(file.get());
    const auto cannotRead = [&fileName](int error) {
        return Failure(ReadOutcome::CannotOpen,
                       "Cannot read the file '" + fileName + "': " + SystemReason(error) + ".");
    };

    // The header is checked before the rest is read, so a large file of another kind, or with
    // an impossible size, is turned away without reading it whole. The whole file then goes
    // into one buffer, sized from the file's size, and the layers are copied out of it once.
    FileBytes bytes;
    bytes.reserve(kMapHeaderSize);
    int error = 0;
    static_assert(kDatHeaderSize == kSignatureSize, "the first read must cover the signature");
    // The first bytes tell a full-layout file saved under a .dat name from a short one.
    bool ok = ReadUpTo(file.get(), bytes, kDatHeaderSize, 0, error);
    const MapLayout layout = DetectLayout(fileName, bytes);
    if (ok && layout == MapLayout::Full)
        ok = ReadUpTo(file.get(), bytes, kMapHeaderSize, 0, error);
    if (!ok)
        return cannotRead(error);
    auto fresh = std::make_unique<MapDocument>();
    ByteReader head(bytes);
    ReadResult result = ReadHeader(head, layout, fresh->Header, fileName);
    if (!result.Ok())
        return result;
    const std::size_t headerSize = head.Position();
    // One byte more than the file said, so that its end is seen without growing the buffer.
    const std::size_t expected = size > headerSize ? size - headerSize + 1 : 0;
    if (!ReadUpTo(file.get(), bytes, kLargestMapFile + 1, expected, error))
        return cannotRead(error);
    if (bytes.size() > kLargestMapFile)
        return Damaged(fileName, "it is longer than any map (more than 64 MiB)");

    ByteReader in(std::span<const uint8_t>(bytes).subspan(headerSize));
    result = ReadBody(in, *fresh, fileName);
    if (result.Ok())
        document = std::move(*fresh);
    return result;
}

std::vector<uint8_t> WriteMapBytes(const MapDocument &document)
{
    std::size_t total = kMapHeaderSize + document.Animals.size() * kAnimalEntrySize + 1;
    for (const MapLayer &layer : document.Layers)
        total += kBlockHeaderSize + layer.size();

    std::vector<uint8_t> bytes;
    bytes.reserve(total);
    ByteWriter out(bytes);
    WriteHeader(out, document.Header);
    for (int k = 1; k <= kLayerCount; ++k) {
        const LayerBlockHeader &blockHeader = document.BlockHeader(k);
        out.Bytes(blockHeader.Marker);
        out.I32(blockHeader.Zero);
        out.I16(blockHeader.Width);
        out.I16(blockHeader.Height);
        out.I16(blockHeader.One);
        out.I32(blockHeader.DataLength);
        out.Bytes(document.Layer(k));
    }
    for (const AnimalEntry &animal : document.Animals) {
        out.U8(animal.Species);
        out.I16(animal.X);
        out.I16(animal.Y);
    }
    out.U8(0xFF);
    return bytes;
}

std::optional<std::string> WriteFileSafely(const std::string &fileName,
                                           const std::vector<uint8_t> &bytes)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target = PathFromUtf8(fileName);
    // Saving through a link replaces the file the link points to, not the link.
    if (fs::is_symlink(target, ec))
        target = fs::weakly_canonical(target, ec);
    const fs::file_status status = fs::status(target, ec);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        if (fs::is_directory(status))
            return "it is a folder";
        return WriteInPlace(target, bytes);
    }

    // The bytes are on the disk before the file takes the old one's place, and the move is on
    // the disk before the save is done: after a power cut at any moment the file is the old
    // one or the new one, never one whose bytes did not arrive. A step is taken only when those
    // before it went well, and a fault a test injected (TakeSaveFault) stands in for it.
    std::error_code failed;
    const auto step = [&failed](SaveStep which, const auto &take) {
        if (!failed)
            failed = TakeSaveFault(which);
        if (!failed)
            failed = take();
    };
    const fs::path temp = TempPathBeside(target);
    std::FILE *file = nullptr;
    step(SaveStep::CreateTemp, [&] {
        errno = 0;
        file = CreateNewFile(temp);
        return file != nullptr ? std::error_code() : LastError();
    });
    if (failed)
        return ErrorReason(failed);
    step(SaveStep::Write, [&] {
        errno = 0;
        const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
        return written ? std::error_code() : LastError();
    });
    step(SaveStep::Flush, [&] {
        errno = 0;
        return std::fflush(file) == 0 ? std::error_code() : LastError();
    });
    step(SaveStep::SyncFile, [&] { return SyncFile(file); });
    // Closed whatever happened before, since an open file cannot be removed everywhere; a
    // failed close closes the file all the same.
    errno = 0;
    const std::error_code notClosed = std::fclose(file) == 0 ? std::error_code() : LastError();
    step(SaveStep::Close, [&] { return notClosed; });
    step(SaveStep::MoveIntoPlace, [&] { return MoveIntoPlace(temp, target); });
    if (failed) {
        fs::remove(temp, ec);
        return ErrorReason(failed);
    }
    // The new file is in place and cannot be taken back; what is not known is whether it
    // would outlast a power cut, which the user is told, so as to save again.
    step(SaveStep::SyncFolder, [&] { return SyncFolder(target.parent_path()); });
    if (failed)
        return "it is in place, but the system did not confirm that it is on the disk: "
               + ErrorReason(failed);
    return std::nullopt;
}

WriteResult WriteMapFile(const std::string &fileName, const MapDocument &document)
{
    if (const auto reason = WriteFileSafely(fileName, WriteMapBytes(document)))
        return WriteResult{false, "Cannot save the map to '" + fileName + "': " + *reason + "."};
    return {};
}

std::string FooterSizeLine(std::size_t animalCount)
{
    if (animalCount == 0)
        return "Footer size: 1 byte";
    return "Footer size: " + std::to_string(kAnimalEntrySize * animalCount + 1) + " bytes";
}

} // namespace trelvik
