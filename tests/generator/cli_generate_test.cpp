#include "document/map_file.h"
#include "generator_test_support.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace trelvik {
namespace {

namespace fs = std::filesystem;

class CliGenerate : public testing::Test
{
protected:
    void SetUp() override
    {
        mFolder = fs::temp_directory_path()
                  / ("trelvik-cli-generate-" + std::to_string(::getpid()) + "-"
                     + testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(mFolder);
    }
    void TearDown() override { fs::remove_all(mFolder); }

    std::string PathOf(const std::string &name) const { return (mFolder / name).string(); }

    // Runs trelvik-cli with the arguments; stdout goes to out.txt, stderr to err.txt.
    int Run(const std::string &arguments) const
    {
        const std::string command = std::string(TRELVIK_BIN_DIR) + "/trelvik-cli " + arguments
                                    + " > '" + PathOf("out.txt") + "' 2> '" + PathOf("err.txt")
                                    + "'";
        const int status = std::system(command.c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    std::string Output() const { return test::ReadTextFile(PathOf("out.txt")); }
    std::string Errors() const { return test::ReadTextFile(PathOf("err.txt")); }

private:
    fs::path mFolder;
};

TEST_F(CliGenerate, RejectsBadSizesAndSeedsAsUsageErrors)
{
    const std::vector<std::string> bad = {
        "--seed 1 --size 70x64",
        "--seed 1 --size 64x48",
        "--seed 1 --size 272x64",
        "--seed 1 --size 64",
        "--seed 1 --size 64x64x64",
        "--seed 1 --size x64",
        "--seed 1 --size 0064x64",
        "--seed -1",
        "--seed 18446744073709551616",
        "--seed 0x10",
        "--seed 12a",
        "--seed 1 --mode fast",
        "--seed 1 --world moon",
        "--size 64x64",
    };
    for (const std::string &arguments : bad) {
        EXPECT_EQ(Run("generate " + arguments + " -o '" + PathOf("bad.swd") + "'"), 2) << arguments;
        EXPECT_FALSE(Errors().empty()) << arguments;
        EXPECT_FALSE(fs::exists(PathOf("bad.swd"))) << arguments;
    }
    EXPECT_NE(Run("generate --seed 1 --size 70x64 -o '" + PathOf("x.swd") + "'"), 0);
    EXPECT_NE(Errors().find("multiple of 16 from 64 to 256"), std::string::npos);
}

TEST_F(CliGenerate, SameSeedWritesTheSameBytesAsTheReference)
{
    const std::string first = PathOf("first.swd");
    const std::string second = PathOf("second.swd");
    ASSERT_EQ(Run("generate --seed 1 --size 64x64 --mode quick -o '" + first + "'"), 0);
    ASSERT_EQ(Run("generate --seed 1 --size 64x64 --mode quick -o '" + second + "'"), 0);
    const std::string bytes = test::ReadTextFile(first);
    EXPECT_EQ(bytes, test::ReadTextFile(second));
    // The reference digest of seed 1, 64 x 64, QUICK.
    const std::vector<uint8_t> raw(bytes.begin(), bytes.end());
    EXPECT_EQ(test::Sha256Hex(raw),
              "ddd17b2b07400ef2d0a06678d5410963875de071354a729122e0dcacaafd0919");
    EXPECT_NE(Output().find("Seed: 1\nSize: 64 x 64\nMode: QUICK\n"), std::string::npos);
}

TEST_F(CliGenerate, DrawsSizeAndModeFromTheSeedWhenNotGiven)
{
    // Seed 1 draws 176 x 64 QUICK, as File > New would from that state.
    const std::string drawn = PathOf("drawn.swd");
    const std::string given = PathOf("given.swd");
    ASSERT_EQ(Run("generate --seed 1 -o '" + drawn + "'"), 0);
    EXPECT_NE(Output().find("Size: 176 x 64\nMode: QUICK\n"), std::string::npos);
    ASSERT_EQ(Run("generate --seed 1 --size 176x64 --mode quick -o '" + given + "'"), 0);
    EXPECT_EQ(test::ReadTextFile(drawn), test::ReadTextFile(given));

    MapDocument document;
    ASSERT_TRUE(ReadMapFile(drawn, document).Ok());
    EXPECT_EQ(document.Header.Width, 176);
    EXPECT_EQ(document.Header.Height, 64);
}

TEST_F(CliGenerate, WorldSetsOnlyTheWorldType)
{
    const std::string greenland = PathOf("greenland.swd");
    const std::string winter = PathOf("winter.swd");
    ASSERT_EQ(Run("generate --seed 9 --size 80x96 --mode normal -o '" + greenland + "'"), 0);
    ASSERT_EQ(
        Run("generate --seed 9 --size 80x96 --mode normal --world winter -o '" + winter + "'"), 0);
    MapDocument plain;
    MapDocument wintry;
    ASSERT_TRUE(ReadMapFile(greenland, plain).Ok());
    ASSERT_TRUE(ReadMapFile(winter, wintry).Ok());
    EXPECT_EQ(plain.Header.WorldType, 0);
    EXPECT_EQ(wintry.Header.WorldType, 2);
    wintry.Header.WorldType = 0;
    EXPECT_EQ(wintry, plain);
}

TEST_F(CliGenerate, UnwritableOutputIsAMapError)
{
    EXPECT_EQ(Run("generate --seed 3 --size 64x64 -o '" + PathOf("missing/dir/x.swd") + "'"), 1);
    EXPECT_FALSE(Errors().empty());
}

} // namespace
} // namespace trelvik
