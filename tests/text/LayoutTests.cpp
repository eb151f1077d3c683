#include <gtest/gtest.h>

#include "UDrawText.h"

using namespace runeplate;

TEST(CharToJamoIndices, WorkedExamples) {
  EXPECT_EQ(CharToJamoIndices(0xAC00), PackJamo(1, 1, 0));
}
