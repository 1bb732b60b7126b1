#include "document/map_file.h"
#include "test_maps.h"

#include <atomic>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace trelvik {
namespace {

namespace fs = std::filesystem;
using test::MakeDocument;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::size_t FilesIn(const fs::path &folder)
{
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
}

TEST(MapFileWrite, FileRoundTripIsExact)
{
    TempDir dir;
    const MapDocument doc = MakeDocument(96, 64, 7);
    const std::string path = dir.File("round.swd");
    ASSERT_TRUE(WriteMapFile(path, doc).Ok);
    EXPECT_EQ(ReadBytes(path), WriteMapBytes(doc));
    MapDocument read;
    const ReadResult result = ReadMapFile(path, read);
    ASSERT_TRUE(result.Ok()) << result.Message;
    EXPECT_EQ(read, doc);
    EXPECT_EQ(FilesIn(dir.Path()), 1u); // no temporary file left behind
}

TEST(MapFileWrite, SavingOverALongerFileLeavesNothingOfIt)
{
    TempDir dir;
    const std::string path = dir.File("big.wld");
    ASSERT_TRUE(WriteMapFile(path, MakeDocument(128, 128, 20)).Ok);
    ASSERT_TRUE(WriteMapFile(path, MakeDocument(64, 64)).Ok);
    EXPECT_EQ(fs::file_size(path), 59921u);
}

TEST(MapFileWrite, DatMapIsSavedInTheFullLayout)
{
    TempDir dir;
    const std::vector<uint8_t> full = WriteMapBytes(MakeDocument(32, 32, 1));
    const std::string path = dir.File("MAP01.DAT");
    WriteBytes(path,
               std::vector<uint8_t>(full.begin() + kMapHeaderSize - kDatHeaderSize, full.end()));
    MapDocument doc;
    ASSERT_TRUE(ReadMapFile(path, doc).Ok());
    ASSERT_TRUE(WriteMapFile(path, doc).Ok);
    const std::vector<uint8_t> saved = ReadBytes(path);
    ASSERT_EQ(saved.size(), full.size());
    EXPECT_EQ(std::string(saved.begin(), saved.begin() + 17), "WORLD_V1.0Unknown");
    // Read back as a .dat it would be garbage; as a full map it is the same document.
    MapDocument again;
    ASSERT_TRUE(ReadMapBytes(saved, MapLayout::Full, again).Ok());
    EXPECT_EQ(again, doc);
}

TEST(MapFileWrite, FailedWritesLeaveTheOldFileIntact)
{
    TempDir dir;
    const MapDocument doc = MakeDocument(32, 32);

    const WriteResult missing = WriteMapFile(dir.File("no/such/folder/map.swd"), doc);
    EXPECT_FALSE(missing.Ok);
    EXPECT_NE(missing.Message.find("no/such/folder/map.swd"), std::string::npos);
    EXPECT_NE(missing.Message.find("No such file or directory"), std::string::npos);

    const WriteResult folder = WriteMapFile(dir.Path().string(), doc);
    EXPECT_FALSE(folder.Ok);
    EXPECT_TRUE(fs::is_directory(dir.Path()));

    // A folder nobody may create files in. Root may write anywhere, so /proc stands in there.
    const std::string old = dir.File("old.swd");
    const std::vector<uint8_t> oldBytes{1, 2, 3, 4, 5};
    WriteBytes(old, oldBytes);
    fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    if (geteuid() != 0) {
        const WriteResult readOnly = WriteMapFile(old, doc);
        EXPECT_FALSE(readOnly.Ok);
        EXPECT_NE(readOnly.Message.find("Permission denied"), std::string::npos);
    }
    EXPECT_EQ(ReadBytes(old), oldBytes);
    fs::permissions(dir.Path(), fs::perms::owner_all);
    EXPECT_FALSE(WriteMapFile("/proc/trelvik-test.swd", doc).Ok);
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

TEST(MapFileWrite, FullDiskIsReported)
{
    if (!fs::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    const WriteResult result = WriteMapFile("/dev/full", MakeDocument(32, 32));
    EXPECT_FALSE(result.Ok);
    EXPECT_NE(result.Message.find("No space left on device"), std::string::npos);
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

TEST(MapFileWrite, SavingThroughALinkReplacesTheLinkedFile)
{
    TempDir dir;
    const std::string real = dir.File("real.swd");
    const std::string link = dir.File("link.swd");
    WriteBytes(real, {9, 9, 9});
    fs::create_symlink(real, link);
    ASSERT_TRUE(WriteMapFile(link, MakeDocument(32, 32)).Ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), WriteMapBytes(MakeDocument(32, 32)));
}

TEST(MapFileWrite, PermissionsOfTheReplacedFileAreKept)
{
    TempDir dir;
    const std::string path = dir.File("shared.swd");
    WriteBytes(path, {1});
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read
                       | fs::perms::others_read;
    fs::permissions(path, perms);
    ASSERT_TRUE(WriteMapFile(path, MakeDocument(32, 32)).Ok);
    EXPECT_EQ(fs::status(path).permissions(), perms);
}

TEST(MapFileOpen, MissingAndUnreadableFilesNameTheFileAndReason)
{
    TempDir dir;
    MapDocument doc = MakeDocument(32, 32);
    const MapDocument before = doc;

    const ReadResult missing = ReadMapFile(dir.File("nothing.swd"), doc);
    EXPECT_EQ(missing.Outcome, ReadOutcome::CannotOpen);
    EXPECT_NE(missing.Message.find("nothing.swd"), std::string::npos);
    EXPECT_NE(missing.Message.find("No such file or directory"), std::string::npos);

    const ReadResult folder = ReadMapFile(dir.Path().string(), doc);
    EXPECT_EQ(folder.Outcome, ReadOutcome::CannotOpen);
    EXPECT_NE(folder.Message.find("Is a directory"), std::string::npos);

    const std::string text = dir.File("notes.txt");
    WriteBytes(text, {'h', 'e', 'l', 'l', 'o'});
    EXPECT_EQ(ReadMapFile(text, doc).Outcome, ReadOutcome::NotAMapFile);
    EXPECT_EQ(doc, before);
}

TEST(MapFileOpen, AnImpossibleHeaderIsRefusedBeforeTheRestIsRead)
{
    // The writer sends only the header and keeps the pipe open until the reader is done: a
    // reader that went on to read the rest would wait here for ever.
    TempDir dir;
    const std::string pipe = dir.File("map.swd");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    MapDocument doc = MakeDocument(32, 32);
    doc.Header.Width = 16;
    std::vector<uint8_t> header = WriteMapBytes(doc);
    header.resize(kMapHeaderSize);
    std::atomic<bool> done{false};
    std::thread writer([&] {
        const int fd = open(pipe.c_str(), O_WRONLY);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(write(fd, header.data(), header.size()), static_cast<ssize_t>(header.size()));
        while (!done)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        close(fd);
    });
    MapDocument read;
    const ReadResult result = ReadMapFile(pipe, read);
    done = true;
    writer.join();
    EXPECT_EQ(result.Outcome, ReadOutcome::InvalidMapSize);
}

} // namespace
} // namespace trelvik
