#include "document/fixed_text_field.h"
#include "document/map_file.h"
#include "test_maps.h"

#include <atomic>
#include <csignal>
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
    ASSERT_TRUE(WriteMapFile(path, MakeDocument(256, 128, 20)).Ok);
    const MapDocument doc = MakeDocument(128, 96, 7); // read in more than one piece
    ASSERT_TRUE(WriteMapFile(path, doc).Ok);
    EXPECT_EQ(ReadBytes(path), WriteMapBytes(doc)); // nothing of the longer file remains
    MapDocument read;
    ASSERT_TRUE(ReadMapFile(path, read).Ok());
    EXPECT_EQ(read, doc);
    EXPECT_EQ(FilesIn(dir.Path()), 1u); // no temporary file left behind
    // A map followed by more than any map holds (or a device that never ends) is refused.
    fs::resize_file(path, (std::uintmax_t{64} << 20) + 1);
    EXPECT_EQ(ReadMapFile(path, read).Message,
              "The map file '" + path
                  + "' is damaged: it is longer than any map (more than 64 MiB).");
    ASSERT_TRUE(WriteMapFile(path, doc).Ok);

    // A .dat map is saved in the full layout, whatever the name, and reads back under it.
    const std::string dat = dir.File("MAP01.DAT");
    test::WriteBytes(dat, test::DatBytes(MakeDocument(32, 32, 1)));
    ASSERT_TRUE(ReadMapFile(dat, read).Ok());
    FixedTextField::Store(read.Header.Title, "Renamed");
    ASSERT_TRUE(WriteMapFile(dat, read).Ok);
    const std::vector<uint8_t> saved = ReadBytes(dat);
    EXPECT_EQ(std::string(saved.begin(), saved.begin() + 17), "WORLD_V1.0Renamed");
    MapDocument again;
    ASSERT_TRUE(ReadMapFile(dat, again).Ok());
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

// Failures name the file and the system's reason and leave the old file and the map as they
// were (the window's tests go through more of them).
TEST(MapFileIo, FailuresNameTheFileAndTheReason)
{
    test::TempDir dir;
    MapDocument doc = MakeDocument(32, 32);
    const MapDocument before = doc;
    test::WriteBytes(dir.File("old.swd"), {1, 2, 3});
    const std::pair<std::string, std::string> writes[] = {
        {dir.File("no/such/map.swd"), "No such file or directory"},
        {dir.Path().string(), "it is a folder"},
        {fs::exists("/dev/full") ? "/dev/full" : dir.File("no/such/map.swd"), "No"}};
    for (const auto &[path, reason] : writes) {
        const WriteResult result = WriteMapFile(path, doc);
        EXPECT_FALSE(result.Ok) << path;
        EXPECT_NE(result.Message.find("'" + path + "': " + reason), std::string::npos)
            << result.Message;
    }
    const ReadResult missing = ReadMapFile(dir.File("none.swd"), doc);
    EXPECT_EQ(missing.Message,
              "Cannot open the file '" + dir.File("none.swd") + "': No such file or directory.");
    EXPECT_EQ(ReadMapFile(dir.Path().string(), doc).Outcome, ReadOutcome::CannotOpen);
    EXPECT_EQ(doc, before);
    EXPECT_EQ(ReadBytes(dir.File("old.swd")), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
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

TEST(MapFileIo, APipeHasNoSizeButAWholeMapComesThrough)
{
    test::TempDir dir;
    const std::string pipe = dir.File("map.swd");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    const MapDocument whole = MakeDocument(128, 96, 3); // longer than a step of the buffer
    std::signal(SIGPIPE, SIG_IGN); // a reader that stops early fails the test, not the program
    std::thread writer([&] { test::WriteBytes(pipe, WriteMapBytes(whole)); });
    MapDocument read;
    EXPECT_TRUE(ReadMapFile(pipe, read).Ok());
    writer.join();
    EXPECT_EQ(read, whole);
}

} // namespace
} // namespace trelvik
