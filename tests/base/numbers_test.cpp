// Decimal and leading-number conversions, and the general number text.
#include "base/numbers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vornelle;

TEST(DecimalValue, AcceptsCommaFormsAndRefusesEverythingElse) {
    EXPECT_EQ(decimalValue("12,5"), 12.5);
    EXPECT_EQ(decimalValue(" -3,25 "), -3.25);
    EXPECT_EQ(decimalValue("+7"), 7.0);
    EXPECT_EQ(decimalValue("2,0"), 2.0);
    EXPECT_EQ(decimalValue("0,01"), 0.01);
    EXPECT_EQ(decimalValue("1,5E-05"), 1.5e-5);
    EXPECT_EQ(decimalValue("133,33"), 133.33);
    EXPECT_EQ(decimalValue(",5"), 0.5);
    for (const char* bad :
         {"", " ", "1.5", ".", ",", "x", "12a", "1,2,3", "--1", "1E", "1 2", "1E400", "-1E400"})
        EXPECT_FALSE(decimalValue(bad).has_value()) << bad;
}

TEST(DecimalValue, IsCorrectlyRounded) {
    // 0.1 + 0.2 style values must match the nearest double exactly.
    EXPECT_EQ(*decimalValue("0,1"), 0.1);
    EXPECT_EQ(*decimalValue("123456789,123456789"), 123456789.123456789);
    EXPECT_EQ(*decimalValue("2,2250738585072014E-308"), 2.2250738585072014e-308);
}

TEST(LeadingNumber, StopsAtFirstOtherCharacter) {
    EXPECT_EQ(leadingNumber("120"), 120.0);
    EXPECT_EQ(leadingNumber("2,5"), 2.0);
    EXPECT_EQ(leadingNumber("0.5"), 0.5);
    EXPECT_EQ(leadingNumber("x"), 0.0);
    EXPECT_EQ(leadingNumber(""), 0.0);
    EXPECT_EQ(leadingNumber("  -12.75mm"), -12.75);
    EXPECT_EQ(leadingNumber("0.126E-02"), 0.00126);
    EXPECT_EQ(leadingNumber("1E"), 1.0);  // an exponent without digits is not part of it
    EXPECT_EQ(leadingNumber("3e+2x"), 300.0);
    EXPECT_EQ(leadingNumber(".5"), 0.5);
    EXPECT_EQ(leadingNumber("-"), 0.0);
    EXPECT_FALSE(leadingNumber("1E400").has_value());
    EXPECT_EQ(leadingNumberOr0("1E400"), 0.0);
}

TEST(NumberText, FifteenDigitsNoTrailingZerosScientificAtTheEnds) {
    EXPECT_EQ(numberText(0, ','), "0");
    EXPECT_EQ(numberText(-0.0, ','), "0");
    EXPECT_EQ(numberText(37, '.'), "37");
    EXPECT_EQ(numberText(12.5, ','), "12,5");
    EXPECT_EQ(numberText(-3.25, '.'), "-3.25");
    EXPECT_EQ(numberText(10.0 / 3, '.'), "3.33333333333333");
    EXPECT_EQ(numberText(0.1 + 0.2, '.'), "0.3");
    EXPECT_EQ(numberText(0.0001, ','), "0,0001");
    EXPECT_EQ(numberText(0.00001, ','), "1E-05");
    EXPECT_EQ(numberText(1.00000000000655e-05, ','), "1,00000000000655E-05");
    EXPECT_EQ(numberText(1e15, '.'), "1E+15");
    EXPECT_EQ(numberText(999999999999999.0, '.'), "999999999999999");
    // Rounds up into the next decade before the form is chosen.
    EXPECT_EQ(numberText(9999999999999999.0, '.'), "1E+16");
    EXPECT_EQ(numberText(0.000099999999999999999, '.'), "0.0001");
    EXPECT_EQ(numberText(-1.5e-300, '.'), "-1.5E-300");
    EXPECT_EQ(numberText(123456789012.345678, ','), "123456789012,346");
    EXPECT_EQ(numberText(1e100, '.'), "1E+100");
}

TEST(NumberText, RoundTripsThroughTheConversions) {
    for (double v : {1.0 / 7, -2.0 / 3, 1234.5678, 6.02e23, 1.5e-7}) {
        std::string comma = numberText(v, ',');
        auto back = decimalValue(comma);
        ASSERT_TRUE(back) << comma;
        EXPECT_NEAR(*back, v, std::abs(v) * 1e-14) << comma;
        EXPECT_EQ(numberText(*back, ','), comma);
    }
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(0.4), 0);
    EXPECT_EQ(roundHalfEven(2.6), 3);
}
