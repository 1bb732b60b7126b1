#include "../viewer/hand_map.h"
#include "document/map_file.h"
#include "run_program.h"
#include "test_maps.h"
#include "tools/coastal_castle_fix.h"

#include <gtest/gtest.h>

namespace trelvik {
namespace {

using test::RunCli;

MapDocument ReadBack(const std::string &path)
{
    MapDocument doc;
    const ReadResult result = ReadMapFile(path, doc);
    EXPECT_TRUE(result.Ok()) << result.Message;
    return doc;
}

TEST(HarborCommand, MarksSavesAndReportsTheCount)
{
    test::TempDir dir;
    MapDocument doc = test::MakeFlatMap(32, 32);   // files hold at least 32 x 32 points
    doc.Layer(3)[test::PointIndex(doc, 5, 5)] = 5; // nine castle sites around it
    const std::string in = dir.File("in.swd");
    const std::string out = dir.File("out.swd");
    ASSERT_TRUE(WriteMapFile(in, doc).Ok);

    const auto run = RunCli("harbor " + in + " -o " + out);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("There is now 9 new positions for harbors!"), std::string::npos)
        << run.Out;
    MapDocument expected = doc;
    EXPECT_EQ(CoastalCastleFix(expected), 9);
    EXPECT_EQ(ReadBack(out), expected);
    EXPECT_EQ(ReadBack(in), doc); // the input stays as it was

    const auto again = RunCli("harbor " + out + " -o " + dir.File("again.swd"));
    ASSERT_EQ(again.ExitCode, 0) << again.Err;
    EXPECT_NE(again.Out.find("There were no positions to fix"), std::string::npos) << again.Out;
    EXPECT_EQ(ReadBack(dir.File("again.swd")), expected);
}

TEST(RemoveAnimalsCommand, WritesAnEmptyFooter)
{
    test::TempDir dir;
    const MapDocument doc = test::MakeDocument(32, 32, 5);
    const std::string in = dir.File("in.wld");
    const std::string out = dir.File("out.swd");
    ASSERT_TRUE(WriteMapFile(in, doc).Ok);

    const auto run = RunCli("remove-animals " + in + " -o " + out);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    EXPECT_NE(run.Out.find("File footer cleared"), std::string::npos);
    MapDocument expected = doc;
    expected.Animals.clear();
    EXPECT_EQ(ReadBack(out), expected);
}

TEST(ToolCommands, ExitCodes)
{
    test::TempDir dir;
    const std::string in = dir.File("in.swd");
    ASSERT_TRUE(WriteMapFile(in, test::MakeFlatMap(32, 32)).Ok);
    for (const char *command : {"harbor", "remove-animals"}) {
        const std::string name = command;
        EXPECT_EQ(
            RunCli(name + " " + dir.File("missing.swd") + " -o " + dir.File("x.swd")).ExitCode, 1)
            << name;
        EXPECT_EQ(RunCli(name + " " + in).ExitCode, 2) << name; // no -o
        const auto unwritable = RunCli(name + " " + in + " -o " + dir.File("no/such/dir.swd"));
        EXPECT_EQ(unwritable.ExitCode, 1) << name;
        EXPECT_FALSE(unwritable.Err.empty()) << name;
    }
}

} // namespace
} // namespace trelvik
