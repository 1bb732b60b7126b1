#include "../viewer/hand_map.h"
#include "document/map_file.h"
#include "tools/animal_removal.h"

#include <gtest/gtest.h>

namespace trelvik {
namespace {

TEST(AnimalRemoval, EmptiesTheFooterAndKeepsEverythingElse)
{
    MapDocument doc = test::MakeFlatMap(32, 32, 2);
    doc.Animals = {{1, 3, 4}, {9, 31, 0}, {200, -1, -1}};
    doc.Layer(5)[17] = 99;
    MapDocument expected = doc;
    expected.Animals.clear();

    RemoveAnimals(doc);
    EXPECT_EQ(doc, expected);

    // Written and read back, the footer holds no animal records.
    const std::vector<uint8_t> bytes = WriteMapBytes(doc);
    MapDocument reread;
    const ReadResult result = ReadMapBytes(bytes, MapLayout::Full, reread);
    ASSERT_TRUE(result.Ok()) << result.Message;
    EXPECT_EQ(result.AnimalCount, 0u);
    EXPECT_EQ(reread, expected);

    RemoveAnimals(doc); // an empty list stays empty
    EXPECT_EQ(doc, expected);
}

} // namespace
} // namespace trelvik
