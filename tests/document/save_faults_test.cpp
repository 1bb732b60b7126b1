// SPDX-License-Identifier: GPL-3.0-or-later
// Saves that fail at each of their file-system steps, the failure injected through the
// file-system layer's test seam (InjectSaveFault): whatever step fails, the file is afterwards
// the old one or the whole new one, no temporary file is left and the message names the file
// and the reason.
#include "document/file_system.h"
#include "document/map_file.h"
#include "test_maps.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace trelvik {
namespace {

namespace fs = std::filesystem;
using test::MakeDocument;
using test::ReadBytes;

// The names in the folder, sorted, as UTF-8 and joined for a failure message.
std::string Listing(const fs::path &folder)
{
    std::vector<std::string> names;
    for (const fs::directory_entry &entry : fs::directory_iterator(folder))
        names.push_back(Utf8FromPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    std::string listing;
    for (const std::string &name : names)
        listing += (listing.empty() ? "" : ", ") + name;
    return "{" + listing + "}";
}

// The fault is global: no test leaves one armed for the next, whatever it did.
class SaveFaults : public ::testing::Test
{
protected:
    void SetUp() override { ClearSaveFault(); }
    void TearDown() override { ClearSaveFault(); }
};

// Which file the target is after the failed save.
enum class Left {
    OldFile, // the bytes it had, or no file when there was none
    NewFile, // the complete new bytes
};

struct FaultRow
{
    const char *Name;
    SaveStep Step;
    int Error;
    Left Target;
    // What the message says before the error's words.
    const char *Before;
};

constexpr const char *kUnconfirmed =
    "it is in place, but the system did not confirm that it is on the disk: ";

// In the order a save takes the steps; each fails with an error a disk could give there.
const FaultRow kFaults[] = {
    {"creating the temporary file", SaveStep::CreateTemp, EACCES, Left::OldFile, ""},
    {"writing", SaveStep::Write, ENOSPC, Left::OldFile, ""},
    {"flushing", SaveStep::Flush, EFBIG, Left::OldFile, ""},
    {"syncing the file", SaveStep::SyncFile, EIO, Left::OldFile, ""},
    {"closing", SaveStep::Close, ENOSPC, Left::OldFile, ""},
    {"moving into place", SaveStep::MoveIntoPlace, EXDEV, Left::OldFile, ""},
    // The move has happened and cannot be taken back; the save reports that the new file is
    // not known to be on the disk, so that the user saves again.
    {"syncing the folder", SaveStep::SyncFolder, EIO, Left::NewFile, kUnconfirmed},
};

TEST_F(SaveFaults, TheTableHasEveryStepInOrder)
{
    ASSERT_EQ(std::size(kFaults), static_cast<std::size_t>(SaveStep::SyncFolder) + 1);
    for (std::size_t i = 0; i < std::size(kFaults); ++i)
        EXPECT_EQ(static_cast<std::size_t>(kFaults[i].Step), i) << kFaults[i].Name;
}

TEST_F(SaveFaults, AFailedStepLeavesTheOldFileOrTheWholeNewOneAndNoTemporaryFile)
{
    const std::vector<uint8_t> oldBytes = WriteMapBytes(MakeDocument(64, 32, 3));
    const MapDocument doc = MakeDocument(32, 48, 5);
    const std::vector<uint8_t> newBytes = WriteMapBytes(doc);
    ASSERT_NE(oldBytes, newBytes);
    const std::string name = "K\xC3\xA4rte.swd"; // "Kärte.swd"

    for (const FaultRow &row : kFaults) {
        for (const bool existed : {true, false}) {
            const std::string label =
                std::string(row.Name) + (existed ? ", over a file" : ", no file before");
            test::TempDir dir;
            const std::string target = dir.File(name);
            if (existed)
                test::WriteBytes(target, oldBytes);

            InjectSaveFault(row.Step, row.Error);
            const WriteResult result = WriteMapFile(target, doc);

            EXPECT_FALSE(result.Ok) << label;
            EXPECT_EQ(result.Message, "Cannot save the map to '" + target + "': " + row.Before
                                          + std::strerror(row.Error) + ".")
                << label;
            const bool present = fs::exists(PathFromUtf8(target));
            if (row.Target == Left::NewFile) {
                EXPECT_EQ(ReadBytes(target), newBytes) << label;
            } else if (existed) {
                EXPECT_EQ(ReadBytes(target), oldBytes) << label;
            } else {
                EXPECT_FALSE(present) << label << ": a file was left in the target's place";
            }
            // Nothing beside it: no temporary file, whichever step failed.
            EXPECT_EQ(Listing(dir.Path()), present ? "{" + name + "}" : "{}") << label;

            // The fault is spent: the next save goes through.
            const WriteResult again = WriteMapFile(target, doc);
            EXPECT_TRUE(again.Ok) << label << ": " << again.Message;
            EXPECT_EQ(ReadBytes(target), newBytes) << label;
            EXPECT_EQ(Listing(dir.Path()), "{" + name + "}") << label;
        }
    }
}

// A save with no fault, into a folder given and into the current folder (a name with no
// folder, whose folder is synced all the same), over a file and where there was none.
TEST_F(SaveFaults, ASaveWithNoFaultReplacesTheFileAndLeavesNoTemporaryFile)
{
    struct Row
    {
        const char *Name;
        bool InCurrentFolder;
        bool Existed;
    };
    const Row rows[] = {
        {"in a folder, over a file", false, true},
        {"in a folder, no file before", false, false},
        {"in the current folder, over a file", true, true},
        {"in the current folder, no file before", true, false},
    };
    const MapDocument doc = MakeDocument(256, 256, 20);
    const std::vector<uint8_t> newBytes = WriteMapBytes(doc);
    const fs::path home = fs::current_path();
    for (const Row &row : rows) {
        test::TempDir dir;
        const std::string full = dir.File("map.swd");
        if (row.Existed)
            test::WriteBytes(full, {1, 2, 3});
        if (row.InCurrentFolder)
            fs::current_path(dir.Path());
        const WriteResult result = WriteMapFile(row.InCurrentFolder ? "map.swd" : full, doc);
        fs::current_path(home);
        EXPECT_TRUE(result.Ok) << row.Name << ": " << result.Message;
        EXPECT_EQ(result.Message, "") << row.Name;
        EXPECT_EQ(ReadBytes(full), newBytes) << row.Name;
        EXPECT_EQ(Listing(dir.Path()), "{map.swd}") << row.Name;
    }
}

// A fault that was armed and cleared, or armed for a step the save never reaches
// (it fails before), is not met by the next save.
TEST_F(SaveFaults, AClearedOrUnreachedFaultDoesNotTouchTheNextSave)
{
    test::TempDir dir;
    const std::string target = dir.File("map.swd");
    const MapDocument doc = MakeDocument(32, 32, 1);

    InjectSaveFault(SaveStep::Write, ENOSPC);
    ClearSaveFault();
    const WriteResult cleared = WriteMapFile(target, doc);
    EXPECT_TRUE(cleared.Ok) << cleared.Message;

    InjectSaveFault(SaveStep::SyncFile, EIO);
    const std::string nowhere = dir.File("no such folder/map.swd");
    const WriteResult missing = WriteMapFile(nowhere, doc);
    EXPECT_EQ(missing.Message,
              "Cannot save the map to '" + nowhere + "': " + std::strerror(ENOENT) + ".");
    // Still armed for the save that gets that far.
    const WriteResult armed = WriteMapFile(target, doc);
    EXPECT_EQ(armed.Message,
              "Cannot save the map to '" + target + "': " + std::strerror(EIO) + ".");
    EXPECT_EQ(ReadBytes(target), WriteMapBytes(doc));
    EXPECT_EQ(Listing(dir.Path()), "{map.swd}");
}

} // namespace
} // namespace trelvik
