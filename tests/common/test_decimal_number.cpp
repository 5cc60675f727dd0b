// The one reader of decimal numbers: the strict form the settings file and the dialog take,
// the lenient one of the command line, and the two roundings into 16 and 32 bits.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "common/decimal_number.h"

namespace quorlane {
namespace {

TEST(DecimalNumber, StrictTextIsOneNumberOrNone) {
    const struct {
        const char* text;
        std::optional<double> value;
    } cases[] = {
        {"12", 12.0},
        {"+3", 3.0},
        {"-2.5", -2.5},
        {".5", 0.5},
        {"7.", 7.0},
        {"3E2", 300.0},
        {"1e-2", 0.01},
        {"1e-400", 0.0},
        {"", std::nullopt},
        {"-", std::nullopt},
        {".", std::nullopt},
        {" 1", std::nullopt},
        {"1 ", std::nullopt},
        {"1,9", std::nullopt},
        {"12E", std::nullopt},
        {"3D2", std::nullopt},
        {"0x10", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(parseDecimal(c.text), c.value) << '"' << c.text << '"';
    EXPECT_EQ(parseDecimal("1e999"), HUGE_VAL);
    EXPECT_EQ(parseDecimal("-1e999"), -HUGE_VAL);
}

TEST(DecimalNumber, LenientTextIsReadAsFarAsItGoes) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {"1 2 3", 123.0}, {" -4\t2", -42.0}, {"12abc", 12.0}, {"3D2", 300.0}, {"12E", 12.0},
        {"12E+", 12.0},   {"1.5.5", 1.5},    {"", 0.0},       {"-", 0.0},     {"abc", 0.0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(readLeadingNumber(c.text), c.value) << '"' << c.text << '"';
}

TEST(DecimalNumber, RoundsAsAskedAndRefusesWhatDoesNotFit) {
    EXPECT_EQ(roundToInt16(2.7, Rounding::Down), 2);
    EXPECT_EQ(roundToInt16(-2.5, Rounding::Down), -3);
    EXPECT_EQ(roundToInt16(2.5, Rounding::HalvesToEven), 2);
    EXPECT_EQ(roundToInt16(3.5, Rounding::HalvesToEven), 4);
    EXPECT_EQ(roundToInt16(32767.4, Rounding::HalvesToEven), 32767);
    EXPECT_EQ(roundToInt16(32767.5, Rounding::HalvesToEven), std::nullopt);
    EXPECT_EQ(roundToInt16(-32768.9, Rounding::Down), std::nullopt);
    EXPECT_EQ(roundToInt16(-32768.4, Rounding::HalvesToEven), -32768);
    EXPECT_EQ(roundToInt32(2147483647.4, Rounding::HalvesToEven), 2147483647);
    EXPECT_EQ(roundToInt32(2147483648.0, Rounding::HalvesToEven), std::nullopt);
    EXPECT_EQ(roundToInt32(HUGE_VAL, Rounding::Down), std::nullopt);
    EXPECT_EQ(roundToInt32(NAN, Rounding::HalvesToEven), std::nullopt);
}

}  // namespace
}  // namespace quorlane
