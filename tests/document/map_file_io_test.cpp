#include "document/map_file.h"
#include "test_maps.h"

#include <atomic>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace trelvik {
namespace {

namespace fs = std::filesystem;
using test::MakeDocument;
using test::ReadBytes;

std::size_t FilesIn(const fs::path &folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

TEST(MapFileIo, SavesReadBackAndReplaceWholeFiles)
{
    test::TempDir dir;
    const std::string path = dir.File("map.wld");
    ASSERT_TRUE(WriteMapFile(path, MakeDocument(128, 128, 20)).Ok);
    const MapDocument doc = MakeDocument(64, 64, 7);
    ASSERT_TRUE(WriteMapFile(path, doc).Ok);
    EXPECT_EQ(ReadBytes(path), WriteMapBytes(doc)); // nothing of the longer file remains
    MapDocument read;
    ASSERT_TRUE(ReadMapFile(path, read).Ok());
    EXPECT_EQ(read, doc);
    EXPECT_EQ(FilesIn(dir.Path()), 1u); // no temporary file left behind

    // A .dat map is saved in the full layout, whatever the name.
    const std::string dat = dir.File("MAP01.DAT");
    test::WriteBytes(dat, test::DatBytes(MakeDocument(32, 32, 1)));
    ASSERT_TRUE(ReadMapFile(dat, read).Ok());
    ASSERT_TRUE(WriteMapFile(dat, read).Ok);
    const std::vector<uint8_t> saved = ReadBytes(dat);
    EXPECT_EQ(std::string(saved.begin(), saved.begin() + 17), "WORLD_V1.0Unknown");
    MapDocument again;
    ASSERT_TRUE(ReadMapBytes(saved, MapLayout::Full, again).Ok());
    EXPECT_EQ(again, read);

    // Through a link the linked file is replaced; its permissions are kept.
    const std::string real = dir.File("real.swd");
    test::WriteBytes(real, {9, 9, 9});
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(real, perms);
    fs::create_symlink(real, dir.File("link.swd"));
    ASSERT_TRUE(WriteMapFile(dir.File("link.swd"), doc).Ok);
    EXPECT_TRUE(fs::is_symlink(dir.File("link.swd")));
    EXPECT_EQ(ReadBytes(real), WriteMapBytes(doc));
    EXPECT_EQ(fs::status(real).permissions(), perms);
}

TEST(MapFileIo, FailuresNameTheFileAndTheReasonAndKeepTheOldFile)
{
    test::TempDir dir;
    const MapDocument doc = MakeDocument(32, 32);
    const std::string old = dir.File("old.swd");
    test::WriteBytes(old, {1, 2, 3, 4, 5});
    struct Case
    {
        std::string Path, Reason;
    };
    std::vector<Case> writes = {{dir.File("no/such/folder/map.swd"), "No such file or directory"},
                                {dir.Path().string(), ""},
                                {"/proc/trelvik-test.swd", ""}};
    if (fs::exists("/dev/full"))
        writes.push_back({"/dev/full", "No space left on device"});
    if (geteuid() != 0) // root may write anywhere
        writes.push_back({old, "Permission denied"});
    fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
    for (const Case &c : writes) {
        const WriteResult result = WriteMapFile(c.Path, doc);
        EXPECT_FALSE(result.Ok) << c.Path;
        EXPECT_NE(result.Message.find(c.Path), std::string::npos) << result.Message;
        EXPECT_NE(result.Message.find(c.Reason), std::string::npos) << result.Message;
    }
    fs::permissions(dir.Path(), fs::perms::owner_all);
    EXPECT_EQ(ReadBytes(old), (std::vector<uint8_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
    EXPECT_TRUE(!fs::exists("/dev/full") || fs::is_character_file("/dev/full"));

    MapDocument read = doc;
    test::WriteBytes(dir.File("notes.txt"), {'h', 'e', 'l', 'l', 'o'});
    const std::tuple<std::string, ReadOutcome, std::string> opens[] = {
        {dir.File("nothing.swd"), ReadOutcome::CannotOpen, "No such file or directory"},
        {dir.Path().string(), ReadOutcome::CannotOpen, "Is a directory"},
        {dir.File("notes.txt"), ReadOutcome::NotAMapFile, "Not a Settlers II map file"}};
    for (const auto &[path, outcome, reason] : opens) {
        const ReadResult result = ReadMapFile(path, read);
        EXPECT_EQ(result.Outcome, outcome) << path;
        EXPECT_NE(result.Message.find(reason), std::string::npos) << result.Message;
        EXPECT_EQ(read, doc) << path;
    }
}

TEST(MapFileIo, AnImpossibleHeaderIsRefusedBeforeTheRestIsRead)
{
    // The writer sends only the header and keeps the pipe open until the reader is done: a
    // reader that went on to read the rest would wait here for ever.
    test::TempDir dir;
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
