#include "document/map_file.h"
#include "run_program.h"
#include "test_maps.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace trelvik {
namespace {

using test::RunCli;

TEST(CliInfo, PrintsTheHeaderAndLists)
{
    test::TempDir dir;
    const std::string path = dir.File("map.swd");
    ASSERT_TRUE(WriteMapFile(path, test::MakeDocument(64, 32, 2)).Ok);
    const auto run = RunCli("info " + path);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    for (const char *line :
         {"Map name: Test Map\n", "World type: Wasteland\n", "Size: 64 x 32\n", "Players: 3\n",
          "Player 7: 61 x -7\n", "Unknown bytes: 01 AB 00 00 FF 10 7F 80\n",
          "Footer size: 11 bytes\n", "  Land\t12 x 34\t567 bytes\n", "  Unknown (0)\t0 x 0\n",
          "  Rabbit\t1 x -1\n", "  Layer 14: 2048 bytes\n"}) {
        EXPECT_NE(run.Out.find(line), std::string::npos) << line;
    }
}

TEST(CliInfo, JsonHasEveryPart)
{
    test::TempDir dir;
    const std::string path = dir.File("map.wld");
    ASSERT_TRUE(WriteMapFile(path, test::MakeDocument(32, 48, 1)).Ok);
    const auto run = RunCli("info --json " + path);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    const auto j = nlohmann::json::parse(run.Out);
    EXPECT_EQ(j["width"], 32);
    EXPECT_EQ(j["height"], 48);
    EXPECT_EQ(j["headquarters"].size(), 7u);
    EXPECT_EQ(j["areas"].size(), 2u);
    EXPECT_EQ(j["areas"][1]["size"], -70000);
    EXPECT_EQ(j["animals"].size(), 1u);
    EXPECT_EQ(j["layers"].size(), 14u);
    EXPECT_EQ(j["layers"][0]["length"], 32 * 48);
    EXPECT_EQ(j["unknownBytes"], "01 AB 00 00 FF 10 7F 80");
}

TEST(CliConvert, DatBecomesTheFullLayout)
{
    test::TempDir dir;
    const std::vector<uint8_t> full = WriteMapBytes(test::MakeDocument(32, 32, 1));
    const std::string dat = dir.File("MAP.DAT");
    test::WriteBytes(
        dat, std::vector<uint8_t>(full.begin() + kMapHeaderSize - kDatHeaderSize, full.end()));
    const std::string out = dir.File("map.swd");
    const auto run = RunCli("convert " + dat + " -o " + out);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    MapDocument doc;
    ASSERT_TRUE(ReadMapFile(out, doc).Ok());
    EXPECT_EQ(test::ReadBytes(out).size(), full.size());
}

TEST(CliErrors, UsageErrorsExit2AndMapErrorsExit1)
{
    test::TempDir dir;
    EXPECT_EQ(RunCli("").ExitCode, 2);
    EXPECT_EQ(RunCli("frobnicate").ExitCode, 2);
    EXPECT_EQ(RunCli("info").ExitCode, 2);
    EXPECT_EQ(RunCli("convert " + dir.File("a.swd")).ExitCode, 2); // no -o
    EXPECT_EQ(RunCli("--help").ExitCode, 0);

    const auto missing = RunCli("info " + dir.File("none.swd"));
    EXPECT_EQ(missing.ExitCode, 1);
    EXPECT_NE(missing.Err.find("none.swd"), std::string::npos);

    const std::string text = dir.File("text.swd");
    test::WriteBytes(text, {'n', 'o', 'p', 'e'});
    const auto notMap = RunCli("info " + text);
    EXPECT_EQ(notMap.ExitCode, 1);
    EXPECT_NE(notMap.Err.find("Not a Settlers II map file"), std::string::npos);

    const auto badTarget = RunCli("convert " + text + " -o " + dir.File("x/y.swd"));
    EXPECT_EQ(badTarget.ExitCode, 1);
}

} // namespace
} // namespace trelvik
