#include "viewer/palette_file.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace trelvik {
namespace {

// A table whose every entry differs from anything a palette line below writes.
ColourTable MarkedTable()
{
    ColourTable table;
    for (std::size_t i = 0; i < kColourCount; ++i)
        table.Entries[i] = {static_cast<uint8_t>(i), 1, 2, 0xEE};
    return table;
}

PaletteLoadResult Load(const std::string &text, ColourTable &table)
{
    std::istringstream stream(text);
    return LoadPaletteStream(stream, table);
}

std::string Crlf(std::initializer_list<const char *> lines)
{
    std::string text;
    for (const char *line : lines)
        text += std::string(line) + "\r\n";
    return text;
}

TEST(PaletteFile, StoresRedGreenBlueAsBlueGreenRedReserved)
{
    ColourTable table = MarkedTable();
    const auto result = Load(Crlf({"JASC-PAL", "0100", "1", "255 128 0"}), table);
    EXPECT_TRUE(result.Ok());
    EXPECT_EQ(result.EntriesStored, 1);
    EXPECT_EQ(table.Entries[0], (ColourEntry{0, 128, 255, 0}));
    EXPECT_EQ(table.Entries[1], MarkedTable().Entries[1]);
}

TEST(PaletteFile, HeaderMismatchesChangeNothing)
{
    const std::string body = "3\r\n1 2 3\r\n4 5 6\r\n7 8 9\r\n";
    const struct
    {
        const char *Name;
        std::string Text;
        PaletteOutcome Outcome;
    } cases[] = {
        {"line feeds only", "JASC-PAL\n0100\n3\n1 2 3\n4 5 6\n7 8 9\n", PaletteOutcome::NotJascPal},
        {"lower case", "jasc-pal\r\n0100\r\n" + body, PaletteOutcome::NotJascPal},
        {"trailing blank", "JASC-PAL \r\n0100\r\n" + body, PaletteOutcome::NotJascPal},
        {"leading blank", " JASC-PAL\r\n0100\r\n" + body, PaletteOutcome::NotJascPal},
        {"other version", "JASC-PAL\r\n0101\r\n" + body, PaletteOutcome::WrongVersion},
        {"version with blank", "JASC-PAL\r\n0100 \r\n" + body, PaletteOutcome::WrongVersion},
        {"empty file", "", PaletteOutcome::NotJascPal},
        {"count not a number", "JASC-PAL\r\n0100\r\nabc\r\n1 2 3\r\n", PaletteOutcome::BadCount},
        {"count missing", "JASC-PAL\r\n0100\r\n", PaletteOutcome::BadCount},
    };
    for (const auto &c : cases) {
        ColourTable table = MarkedTable();
        const auto result = Load(c.Text, table);
        EXPECT_EQ(result.Outcome, c.Outcome) << c.Name;
        EXPECT_EQ(result.EntriesStored, 0) << c.Name;
        EXPECT_EQ(table, MarkedTable()) << c.Name;
    }
}

TEST(PaletteFile, CarriageReturnAloneEndsLinesToo)
{
    ColourTable table = MarkedTable();
    const auto result = Load("JASC-PAL\r0100\r2\r10 20 30\r\n40 50 60", table);
    EXPECT_TRUE(result.Ok());
    EXPECT_EQ(table.Entries[0], (ColourEntry{30, 20, 10, 0}));
    EXPECT_EQ(table.Entries[1], (ColourEntry{60, 50, 40, 0})); // last line needs no line end
}

TEST(PaletteFile, CountOfThreeChangesOnlyTheFirstThreeEntries)
{
    ColourTable table = MarkedTable();
    const auto result =
        Load(Crlf({"JASC-PAL", "0100", "3", "1 2 3", "4 5 6", "7 8 9", "10 11 12"}), table);
    EXPECT_TRUE(result.Ok());
    ColourTable expected = MarkedTable();
    expected.Entries[0] = {3, 2, 1, 0};
    expected.Entries[1] = {6, 5, 4, 0};
    expected.Entries[2] = {9, 8, 7, 0};
    EXPECT_EQ(table, expected);
}

TEST(PaletteFile, BadColourLineKeepsWhatWasStoredBeforeIt)
{
    ColourTable table = MarkedTable();
    const auto result = Load(Crlf({"JASC-PAL", "0100", "8", "0 0 1", "0 0 2", "0 0 3", "0 0 4",
                                   "0 0 5", "300 0 0", "0 0 7", "0 0 8"}),
                             table);
    EXPECT_EQ(result.Outcome, PaletteOutcome::BadColour);
    EXPECT_EQ(result.EntriesStored, 5);
    ColourTable expected = MarkedTable();
    for (std::size_t i = 0; i < 5; ++i)
        expected.Entries[i] = {static_cast<uint8_t>(i + 1), 0, 0, 0};
    EXPECT_EQ(table, expected);
}

TEST(PaletteFile, ColourFieldRules)
{
    const struct
    {
        const char *Line;
        bool Stored;
        ColourEntry Entry;
    } cases[] = {
        {"10 20 30 40", true, {30, 20, 10, 0}}, // fields past the third ignored
        {"10 20 30 junk and more", true, {30, 20, 10, 0}},
        {"10 20 30 ", true, {30, 20, 10, 0}},
        {"255.4 0.5 1.5", true, {2, 0, 255, 0}}, // rounded half to even, then range-checked
        {"-0.4 +7 007", true, {7, 7, 0, 0}},
        {"255.5 0 0", false, {}},
        {"-1 0 0", false, {}},
        {"10  20 30", false, {}}, // two blanks make an empty field
        {" 10 20 30", false, {}},
        {"10 20", false, {}},
        {"10\t20\t30", false, {}},
        {"10 20 x", false, {}},
        {"", false, {}},
    };
    for (const auto &c : cases) {
        ColourTable table = MarkedTable();
        const auto result = Load(Crlf({"JASC-PAL", "0100", "1", c.Line}), table);
        EXPECT_EQ(result.Ok(), c.Stored) << '"' << c.Line << '"';
        EXPECT_EQ(table.Entries[0], c.Stored ? c.Entry : MarkedTable().Entries[0])
            << '"' << c.Line << '"';
    }
}

TEST(PaletteFile, FileEndingEarlyKeepsTheLinesRead)
{
    ColourTable table = MarkedTable();
    const auto result = Load(Crlf({"JASC-PAL", "0100", "256", "9 9 9", "8 8 8"}), table);
    EXPECT_EQ(result.Outcome, PaletteOutcome::EndedEarly);
    EXPECT_EQ(result.EntriesStored, 2);
    EXPECT_EQ(table.Entries[1], (ColourEntry{8, 8, 8, 0}));
    EXPECT_EQ(table.Entries[2], MarkedTable().Entries[2]);
}

TEST(PaletteFile, CountsRoundAndNonPositiveCountsReadNothing)
{
    const std::string lines = "1 1 1\r\n2 2 2\r\n3 3 3\r\n4 4 4\r\n";
    const struct
    {
        const char *Count;
        int Stored;
    } cases[] = {{"0", 0}, {"-5", 0}, {"0.4", 0}, {"0.5", 1}, {"2.5", 3}, {"3.5", 3}, {"+2", 2}};
    for (const auto &c : cases) {
        ColourTable table = MarkedTable();
        const auto result =
            Load("JASC-PAL\r\n0100\r\n" + std::string(c.Count) + "\r\n" + lines, table);
        EXPECT_TRUE(result.Ok()) << c.Count;
        EXPECT_EQ(result.EntriesStored, c.Stored) << c.Count;
        EXPECT_EQ(table.Entries[static_cast<std::size_t>(c.Stored)],
                  MarkedTable().Entries[static_cast<std::size_t>(c.Stored)])
            << c.Count;
    }
}

TEST(PaletteFile, LinesPastTheTableAreReadAndIgnored)
{
    std::string text = "JASC-PAL\r\n0100\r\n300\r\n";
    for (int i = 0; i < 300; ++i)
        text += std::to_string(i % 256) + " 0 0\r\n";
    ColourTable table = MarkedTable();
    auto result = Load(text, table);
    EXPECT_TRUE(result.Ok());
    EXPECT_EQ(result.EntriesStored, 256);
    EXPECT_EQ(table.Entries[255].Red, 255);

    // A bad line past the table still ends the load, but all 256 entries are in.
    text = "JASC-PAL\r\n0100\r\n300\r\n";
    for (int i = 0; i < 260; ++i)
        text += "5 5 5\r\n";
    text += "bad\r\n";
    table = MarkedTable();
    result = Load(text, table);
    EXPECT_EQ(result.Outcome, PaletteOutcome::BadColour);
    EXPECT_EQ(result.EntriesStored, 256);
}

TEST(PaletteFile, EndlessLinesAreNotKept)
{
    // A colour line far longer than anything kept: the fields that matter come first.
    ColourTable table = MarkedTable();
    auto result =
        Load("JASC-PAL\r\n0100\r\n1\r\n1 2 3 " + std::string(100000, 'x') + "\r\n", table);
    EXPECT_TRUE(result.Ok());
    EXPECT_EQ(table.Entries[0], (ColourEntry{3, 2, 1, 0}));

    // A third field that runs on past what is kept cannot be read whole.
    table = MarkedTable();
    result = Load("JASC-PAL\r\n0100\r\n1\r\n1 2 " + std::string(100000, '0') + "3\r\n", table);
    EXPECT_EQ(result.Outcome, PaletteOutcome::BadColour);
    EXPECT_EQ(table, MarkedTable());
}

TEST(PaletteFile, MissingFileLeavesTheTableAsItWas)
{
    ColourTable table = MarkedTable();
    const auto result = LoadPaletteFile("/nonexistent-folder/Greenland.pal", table);
    EXPECT_EQ(result.Outcome, PaletteOutcome::CannotOpen);
    EXPECT_EQ(table, MarkedTable());

    const auto folder = LoadPaletteFile(std::filesystem::temp_directory_path().string(), table);
    EXPECT_FALSE(folder.Ok());
    EXPECT_EQ(table, MarkedTable());
}

TEST(PaletteFile, ShippedPalettesLoadCompletely)
{
    for (const char *name : {"Greenland.pal", "Wasteland.pal", "Winter.pal"}) {
        const std::string path = std::string(TRELVIK_PALETTE_DIR) + "/" + name;
        std::ifstream raw(path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(raw),
                                std::istreambuf_iterator<char>()};
        EXPECT_EQ(bytes.rfind("JASC-PAL\r\n0100\r\n256\r\n", 0), 0u) << name;
        EXPECT_EQ(bytes.find("\n\n"), std::string::npos) << name;

        ColourTable table = MarkedTable();
        const auto result = LoadPaletteFile(path, table);
        EXPECT_TRUE(result.Ok()) << name;
        EXPECT_EQ(result.EntriesStored, 256) << name;
    }
}

} // namespace
} // namespace trelvik
