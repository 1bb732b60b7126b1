// SPDX-License-Identifier: GPL-3.0-or-later
#include "document/map_file.h"
#include "test_maps.h"

#include <fstream>
#include <gtest/gtest.h>
#ifndef _WIN32
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>

namespace trelvik {
namespace {

namespace fs = std::filesystem;

// Runs trelvik-cli with the arguments in the folder, its output to stdout.txt and stderr.txt;
// returns its exit code, or -1 when it did not exit by itself.
int RunCli(const test::TempDir &dir, const std::string &arguments)
{
#ifdef _WIN32
    const std::string command = "cd /d \"" + dir.Path().string()
                                + "\" && \"" TRELVIK_BIN_DIR "/trelvik-cli.exe\" " + arguments
                                + " >stdout.txt 2>stderr.txt";
    return std::system(command.c_str());
#else
    const std::string command = "cd '" + dir.Path().string()
                                + "' && " TRELVIK_BIN_DIR "/trelvik-cli " + arguments
                                + " >stdout.txt 2>stderr.txt";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

std::string Text(const std::string &path)
{
    const std::vector<uint8_t> bytes = test::ReadBytes(path);
    return {bytes.begin(), bytes.end()};
}

// The maps and palettes the runs of cases.tsv read.
void WriteFixtures(const test::TempDir &dir)
{
    ASSERT_TRUE(WriteMapFile(dir.File("map.swd"), test::MakeDocument(64, 32, 2)).Ok);
    ASSERT_TRUE(WriteMapFile(dir.File("map.wld"), test::MakeDocument(32, 48, 5)).Ok);
    test::WriteBytes(dir.File("MAP.DAT"), test::DatBytes(test::MakeDocument(32, 32, 1)));
    test::WriteBytes(dir.File("text.swd"), {'n', 'o', 'p', 'e'});
    MapDocument harbor = test::MakeFlatMap(32, 32);
    harbor.Layer(3)[test::PointIndex(harbor, 5, 5)] = 5; // nine castle sites around it
    for (const char *name : {"harbor.swd", "harbor-copy.swd"})
        ASSERT_TRUE(WriteMapFile(dir.File(name), harbor).Ok);
    // 37 points wide: rows are not a multiple of four bytes long.
    MapDocument flat = test::MakeFlatMap(37, 32);
    flat.Layer(3)[test::PointIndex(flat, 36, 31)] = 5; // the very last point is water
    flat.Layer(1)[test::PointIndex(flat, 3, 2)] = 63;  // the factor-4 ramp's brightest grey
    flat.Layer(1)[test::PointIndex(flat, 4, 2)] = 64;  // and where it wraps to black
    flat.Layer(2)[test::PointIndex(flat, 1, 0)] = 0x45;
    ASSERT_TRUE(WriteMapFile(dir.File("flat.swd"), flat).Ok);
    flat.Header.Width = flat.Header.Height = 300; // drawn whole, but not at scale 16
    ASSERT_TRUE(WriteMapFile(dir.File("claims300.swd"), flat).Ok);
    flat.Header.Width = flat.Header.Height = 5000; // far more than the layers hold
    ASSERT_TRUE(WriteMapFile(dir.File("huge.swd"), flat).Ok);
    fs::create_directories(dir.Path() / "none");
    fs::create_directories(dir.Path() / "pal");
    std::ofstream palette(dir.File("pal/Greenland.pal"), std::ios::binary);
    palette << "JASC-PAL\r\n0100\r\n256\r\n"; // each entry tells its index apart
    for (int i = 0; i < 256; ++i)
        palette << i << ' ' << 255 - i << ' ' << (3 * i) % 256 << "\r\n";
}

std::string Check(const std::string &check,
                  const test::TempDir &dir,
                  const std::string &out,
                  const std::string &err)
{
    const std::size_t colon = check.find(':');
    const std::size_t equals = check.find('=');
    const std::string kind = check.substr(0, std::min(colon, std::min(equals, check.find('~'))));
    const std::string name = check.substr(colon + 1, equals - colon - 1);
    const std::string value = check.substr(check.find_first_of("=~") + 1);
    if (kind == "out" || kind == "err") {
        const std::string &text = kind == "out" ? out : err;
        if (check[3] == '=')
            return test::CompareGolden("cli/" + value,
                                       std::vector<uint8_t>(text.begin(), text.end()));
        return text.find(value) != std::string::npos ? ""
                                                     : kind + " lacks '" + value + "': " + text;
    }
    if (kind == "file")
        return test::CompareGolden("cli/" + value, test::ReadBytes(dir.File(name)));
    if (kind == "sha")
        return test::Sha256Hex(test::ReadBytes(dir.File(name))) == value ? "" : "digest differs";
    if (kind == "none")
        return fs::exists(dir.File(name)) ? name + " was written" : "";
    if (kind == "scaled") { // "scaled:BIG=SMALL*F": the PNG BIG is SMALL with F x F pixels each
        const int f = std::stoi(value.substr(value.find('*') + 1));
        int w = 0, h = 0, sw = 0, sh = 0, channels = 0;
        stbi_uc *big = stbi_load(dir.File(name).c_str(), &w, &h, &channels, 3);
        stbi_uc *small =
            stbi_load(dir.File(value.substr(0, value.find('*'))).c_str(), &sw, &sh, &channels, 3);
        std::string failure = big && small && w == sw * f && h == sh * f ? "" : "sizes differ";
        for (int i = 0; failure.empty() && i < w * h * 3; ++i)
            if (big[i] != small[(i / 3 / w / f * sw + i / 3 % w / f) * 3 + i % 3])
                failure = "byte " + std::to_string(i) + " differs";
        stbi_image_free(big);
        stbi_image_free(small);
        return failure;
    }
    std::vector<uint8_t> a = test::ReadBytes(dir.File(name));
    std::vector<uint8_t> b = test::ReadBytes(dir.File(value.substr(0, value.find('@'))));
    if (value.find('@') != std::string::npos && a.size() == b.size() && !a.empty()) {
        const auto offset = std::stoul(value.substr(value.find('@') + 1));
        if (a.at(offset) == b.at(offset))
            return "the byte at " + std::to_string(offset) + " is the same";
        a[offset] = b[offset];
    }
    return a == b && !a.empty() ? "" : name + " and " + value + " differ";
}

TEST(Cli, RunsOfTheTable)
{
    test::TempDir dir;
    WriteFixtures(dir);
    const auto rows = test::ReadTable("cli/cases.tsv");
    ASSERT_GT(rows.size(), 50u);
    for (const test::TableRow &row : rows) {
#ifdef _WIN32
        if (row.Fields.at(1).find("$(printf") != std::string::npos)
            continue; // names of any bytes are a POSIX thing
#endif
        const int code = RunCli(dir, row.Fields.at(1));
        const std::string out = Text(dir.File("stdout.txt"));
        const std::string err = Text(dir.File("stderr.txt"));
        EXPECT_EQ(code, std::stoi(row.Fields[0])) << row.Name() << ": " << err;
        for (std::size_t i = 2; i < row.Fields.size(); ++i) {
            const std::string failure = Check(row.Fields[i], dir, out, err);
            EXPECT_TRUE(failure.empty()) << row.Name() << ", " << row.Fields[i] << ": " << failure;
        }
    }
}

#ifndef _WIN32
// Why this machine cannot make a pseudo-terminal (a container without /dev/pts, say), or
// nothing when it can.
std::string NoPseudoTerminal()
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0)
        return std::string("posix_openpt: ") + std::strerror(errno);
    std::string why;
    const char *name = nullptr;
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || !(name = ::ptsname(master))) {
        why = std::string("grantpt: ") + std::strerror(errno);
    } else if (const int slave = ::open(name, O_RDWR | O_NOCTTY); slave < 0) {
        why = std::string(name) + ": " + std::strerror(errno);
    } else {
        ::close(slave);
    }
    ::close(master);
    return why;
}
#endif

// On a terminal, generate draws a bar of 40 cells that ends full (script gives it a terminal).
TEST(Cli, ProgressBarOnATerminal)
{
#ifdef _WIN32
    GTEST_SKIP() << "script, which gives the program a terminal, is a POSIX tool";
#else
    if (const std::string why = NoPseudoTerminal(); !why.empty())
        GTEST_SKIP() << "this machine cannot make a pseudo-terminal (" << why << ")";
#endif
    test::TempDir dir;
    const std::string command = "cd '" + dir.Path().string()
                                + "' && script -qec '" TRELVIK_BIN_DIR
                                  "/trelvik-cli generate --seed 1 --size 64x64 -o m.swd' /dev/null"
                                  " >tty.txt";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const std::string shown = Text(dir.File("tty.txt"));
    EXPECT_NE(shown.find("\r[" + std::string(40, '#') + "] 100%"), std::string::npos) << shown;
}

} // namespace
} // namespace trelvik
