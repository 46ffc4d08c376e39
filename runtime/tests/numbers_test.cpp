#include "runtime/numbers.h"
#include "runtime/strings.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

TEST(LenientParse, ReadsTheLeadingNumberAndIgnoresTheRest) {
    EXPECT_EQ(parseNumber(""), 0);
    EXPECT_EQ(parseNumber("57"), 57);
    EXPECT_EQ(parseNumber("  12abc"), 12);
    EXPECT_EQ(parseNumber("1 2"), 12);
    EXPECT_DOUBLE_EQ(parseNumber("182.0000001"), 182.0000001);
    EXPECT_EQ(parseNumber("-3.5"), -3.5);
    EXPECT_EQ(parseNumber("abc"), 0);
    EXPECT_EQ(parseNumber("."), 0);
    EXPECT_EQ(parseNumber("1E3"), 1000);
    EXPECT_EQ(parseNumber("1E"), 1);
    EXPECT_EQ(parseNumber("&H10"), 16);
    EXPECT_EQ(parseNumber("&o17"), 15);
}

TEST(HalfEvenRounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(12637.8), 12638);
    EXPECT_EQ(roundToInt16(32767.4), 32767);
    EXPECT_EQ(roundToInt16(-32768.5), -32768);
    EXPECT_THROW(roundToInt16(32767.5), OverflowError);
    EXPECT_THROW(roundToInt16(-32768.6), OverflowError);
    EXPECT_EQ(roundToInt32(2147483647.0), 2147483647);
    EXPECT_THROW(roundToInt32(2147483647.5), OverflowError);
    EXPECT_THROW(roundToInt32(std::numeric_limits<double>::quiet_NaN()), OverflowError);
}

TEST(DecimalText, KeepsFifteenSignificantDigitsAndSurvivesARoundTrip) {
    EXPECT_EQ(formatNumber(0), "0");
    EXPECT_EQ(formatNumber(182), "182");
    EXPECT_EQ(formatNumber(0.91), "0.91");
    EXPECT_EQ(formatNumber(-5), "-5");
    EXPECT_EQ(formatNumber(200 * 0.91), "182");
    EXPECT_EQ(formatNumber(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(formatNumber(1e20), "1E+20");
    EXPECT_EQ(formatNumber(1.5e-7), "1.5E-07");
    double value = 380.0 / 2 * 1.19;
    EXPECT_DOUBLE_EQ(parseNumber(formatNumber(value)), 226.1);
}

TEST(HoursMinutes, DropsSecondsAndPadsMinutes) {
    EXPECT_EQ(formatHoursMinutes(0), "0:00");
    EXPECT_EQ(formatHoursMinutes(5999), "1:39");
    EXPECT_EQ(formatHoursMinutes(14196), "3:56");
    EXPECT_EQ(formatHoursMinutes(18200), "5:03");
    EXPECT_EQ(formatHoursMinutes(32767), "9:06");
    EXPECT_EQ(formatHoursMinutes(36000), "10:00");
}

TEST(TextHelpers, TrimOnlyBlanksAndCompareNamesWithoutCase) {
    EXPECT_EQ(trimBlanks("  a b  "), "a b");
    EXPECT_EQ(trimBlanks("\tx "), "\tx");
    EXPECT_EQ(trimBlanks("   "), "");
    EXPECT_TRUE(equalsIgnoreCase("ok", "OK"));
    EXPECT_FALSE(equalsIgnoreCase("ok", "OK "));
    EXPECT_EQ(replaceAll("Charging (Charging)", "Charging", "Fully Charged"),
              "Fully Charged (Fully Charged)");
}

}  // namespace
}  // namespace tv
