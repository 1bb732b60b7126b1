// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/file_system.h"
#include "document/fixed_text_field.h"
#include "document/map_file.h"
#include "test_maps.h"

#include <gtest/gtest.h>
#include <string_view>

#ifndef _WIN32
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#endif

namespace trelvik {
namespace {

namespace fs = std::filesystem;
using test::MakeDocument;
using test::ReadBytes;

std::size_t FilesIn(const fs::path &folder)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
}

std::string Utf8(std::u8string_view text)
{
    return {text.begin(), text.end()};
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

#ifndef _WIN32
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

    // A read-only file in a folder that can be written is replaced, and stays read-only.
    fs::permissions(real, fs::perms::owner_read);
    ASSERT_TRUE(WriteMapFile(real, read).Ok);
    EXPECT_EQ(ReadBytes(real), WriteMapBytes(read));
    EXPECT_EQ(fs::status(real).permissions(), fs::perms::owner_read);
#endif
}

// File names travel as UTF-8 whatever the system; the file must appear under exactly the name
// given, not one that merely reads back the same way.
TEST(MapFileIo, NamesInAnyScriptSaveReadBackAndOverwrite)
{
    test::TempDir dir;
    const std::pair<std::u8string_view, std::u8string_view> places[] = {
        {u8"Kärten", u8"Öl.swd"},
        {u8"日本", u8"地図.wld"},
        {u8"two words", u8"a map with spaces.SWD"},
        {u8"Ελλάδα", u8"Χάρτης.dat"},
    };
    for (const auto &[folderName, name] : places) {
        const std::string row = Utf8(folderName) + "/" + Utf8(name);
        const fs::path folder = dir.Path() / fs::path(folderName);
        fs::create_directory(folder);
        const std::string path = dir.File(row);
        ASSERT_TRUE(WriteMapFile(path, MakeDocument(64, 32, 3)).Ok) << row;
        const MapDocument doc = MakeDocument(32, 48, 1);
        const WriteResult saved = WriteMapFile(path, doc);
        EXPECT_TRUE(saved.Ok) << row << ": " << saved.Message;
        ASSERT_EQ(FilesIn(folder), 1u) << row; // replaced, and no temporary file left
        EXPECT_EQ(fs::directory_iterator(folder)->path().filename(), fs::path(name)) << row;
        MapDocument read;
        EXPECT_TRUE(ReadMapFile(path, read).Ok()) << row;
        EXPECT_EQ(read, doc) << row;
        EXPECT_EQ(ReadBytes(path), WriteMapBytes(doc)) << row;
        // Messages name the file as it was given.
        const std::string missing = dir.File(Utf8(folderName) + "/" + "no " + Utf8(name));
        EXPECT_EQ(ReadMapFile(missing, read).Message,
                  "Cannot open the file '" + missing + "': No such file or directory.")
            << row;
    }
}

// Each row prepares a save that must fail, and names the file that must keep its bytes.
TEST(MapFileIo, AFailedSaveLeavesTheOldBytesAndNoNewFile)
{
    struct FailedSave
    {
        std::string Name;
        std::string Target;
        std::string Kept;
        std::string Reason;
    };
    test::TempDir dir;
    const std::vector<uint8_t> old = {1, 2, 3};
    std::vector<FailedSave> saves;
    fs::create_directory(dir.Path() / fs::path(u8"Öl.swd"));
    test::WriteBytes(dir.File(Utf8(u8"Öl.swd/inside")), old);
    saves.push_back({"a folder", dir.File(Utf8(u8"Öl.swd")), dir.File(Utf8(u8"Öl.swd/inside")),
                     "it is a folder"});
    const fs::path locked = dir.Path() / fs::path(u8"Kärten");
    fs::create_directory(locked);
    const std::string lockedFile = dir.File(Utf8(u8"Kärten/Öl.swd"));
    test::WriteBytes(lockedFile, old);
#ifdef _WIN32
    // Windows does not replace a read-only file.
    fs::permissions(PathFromUtf8(lockedFile), fs::perms::owner_write, fs::perm_options::remove);
    saves.push_back({"a read-only file", lockedFile, lockedFile, "Permission denied"});
#else
    fs::permissions(locked, fs::perms::owner_write, fs::perm_options::remove);
    if (geteuid() != 0) // the superuser writes into any folder
        saves.push_back({"a file in a folder that cannot be written", lockedFile, lockedFile,
                         "Permission denied"});
#endif

    for (const FailedSave &save : saves) {
        const fs::path targetFolder = PathFromUtf8(save.Target).parent_path();
        const fs::path keptFolder = PathFromUtf8(save.Kept).parent_path();
        const std::size_t files = FilesIn(targetFolder) + FilesIn(keptFolder);
        const WriteResult result = WriteMapFile(save.Target, MakeDocument(32, 32));
        EXPECT_FALSE(result.Ok) << save.Name;
        EXPECT_EQ(result.Message,
                  "Cannot save the map to '" + save.Target + "': " + save.Reason + ".")
            << save.Name;
        EXPECT_EQ(ReadBytes(save.Kept), old) << save.Name;
        EXPECT_EQ(FilesIn(targetFolder) + FilesIn(keptFolder), files) << save.Name;
    }
    // What the folder's removal needs.
    fs::permissions(locked, fs::perms::owner_all, fs::perm_options::add);
    fs::permissions(PathFromUtf8(lockedFile), fs::perms::owner_write, fs::perm_options::add);
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
        {Utf8FromPath(dir.Path()), "it is a folder"},
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
    EXPECT_EQ(ReadMapFile(Utf8FromPath(dir.Path()), doc).Outcome, ReadOutcome::CannotOpen);
    EXPECT_EQ(doc, before);
    EXPECT_EQ(ReadBytes(dir.File("old.swd")), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

#ifndef _WIN32
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
#endif

} // namespace
} // namespace trelvik
