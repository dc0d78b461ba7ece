// How numbers and names are written.
#include <gtest/gtest.h>

#include "Import/SceneWriter.h"

using namespace Import;

TEST(SceneWriterTest, NumbersLoseTrailingZerosAndNegativeZero) {
    EXPECT_EQ(Num(12.5, 3), "12.5");
    EXPECT_EQ(Num(3.0, 3), "3");
    EXPECT_EQ(Num(-0.0001, 3), "0");
    EXPECT_EQ(Num(1.23456, 2), "1.23");
    EXPECT_EQ(Num(NAN, 2), "0");
    // 1/200 of a pixel: 2 decimals at 1 pixel a unit, 5 at 1000 pixels a unit.
    EXPECT_EQ(DecimalsFor(1), 3);
    EXPECT_EQ(DecimalsFor(0.01), 1);
    EXPECT_EQ(DecimalsFor(1000), 6);
}

TEST(SceneWriterTest, NamesAreUniquePrefixedAndTokens) {
    SceneWriter writer("p-");
    EXPECT_EQ(writer.AddGeometry("a b", "Rectangle{ }"), "p-a_b");
    EXPECT_EQ(writer.AddGeometry("a b", "Rectangle{ }"), "p-a_b-2");
    EXPECT_EQ(writer.AddGeometry("{$x}", "Rectangle{ }"), "p-__x_");
    // the same name in another section is fine
    EXPECT_EQ(writer.AddBrush("a b", "SolidColorBrush{ }"), "p-a_b");
    // an equal brush under the same name is shared, a different one is not
    EXPECT_EQ(writer.AddBrush("a b", "SolidColorBrush{ }"), "p-a_b");
    EXPECT_EQ(writer.AddBrush("a b", "SolidColorBrush{ x }"), "p-a_b-2");
    SceneWriter plain("");
    EXPECT_EQ(plain.AddProcedure("null", {}), "shape");
    const std::string text = plain.Text("shape");
    EXPECT_NE(text.find("noOfChildZels 0\nnoOfExecutables 1\nshape Procedure{ noOfCommands 0\n}"),
              std::string::npos)
        << text;
}
