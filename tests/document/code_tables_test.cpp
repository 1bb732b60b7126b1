#include "document/code_tables.h"

#include <gtest/gtest.h>

namespace trelvik {
namespace {

TEST(CodeTables, WorldTypes)
{
    EXPECT_EQ(WorldTypeName(0), "Greenland");
    EXPECT_EQ(WorldTypeName(1), "Wasteland");
    EXPECT_EQ(WorldTypeName(2), "Winter");
    EXPECT_EQ(WorldTypeName(3), "Unknown (3)");
    EXPECT_EQ(WorldTypeName(255), "Unknown (255)");
}

TEST(CodeTables, AnimalsRepeatTwoNames)
{
    EXPECT_EQ(AnimalName(1), "Rabbit");
    EXPECT_EQ(AnimalName(4), AnimalName(7));
    EXPECT_EQ(AnimalName(7), "Deer");
    EXPECT_EQ(AnimalName(5), AnimalName(8));
    EXPECT_EQ(AnimalName(8), "Duck");
    EXPECT_EQ(AnimalName(9), "Donkey");
    EXPECT_EQ(AnimalName(0), "Unknown (0)");
    EXPECT_EQ(AnimalName(10), "Unknown (10)");
}

TEST(CodeTables, AreaTypes)
{
    EXPECT_EQ(AreaTypeName(1), "Land");
    EXPECT_EQ(AreaTypeName(2), "Water");
    EXPECT_EQ(AreaTypeName(0), "Unknown (0)");
    EXPECT_EQ(AreaTypeName(3), "Unknown (3)");
}

} // namespace
} // namespace trelvik
