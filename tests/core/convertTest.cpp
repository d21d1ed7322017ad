#include "core/model/gConvert.h"
#include "core/base/gError.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

TEST(Conversions, LeadingNumericValueAndStrictInteger) {
    // text, leading value, strict 16-bit result (nullopt: type mismatch, -1 marks overflow via `overflow`)
    const struct {
        const char* text;
        double val;
        std::optional<int> cint;
        bool overflow;
    } cases[] = {
        {"12", 12, 12, false},
        {"  12  ", 12, 12, false},
        {"12abc", 12, std::nullopt, false},
        {"abc", 0, std::nullopt, false},
        {"", 0, std::nullopt, false},
        {"-7", -7, -7, false},
        {"+3", 3, 3, false},
        {"2.5", 2.5, 2, false}, // half to even
        {"3.5", 3.5, 4, false},
        {"-2.5", -2.5, -2, false},
        {"1e3", 1000, 1000, false},
        {"1.5E2x", 150, std::nullopt, false},
        {".5", 0.5, 0, false},
        {"1 2", 12, std::nullopt, false},
        {"32767", 32767, 32767, false},
        {"-32768", -32768, -32768, false},
        {"32768", 32768, std::nullopt, true},
        {"-32768.6", -32768.6, std::nullopt, true},
        {"99999999999", 99999999999.0, std::nullopt, true},
        {"1e", 1, std::nullopt, false},
        {"-", 0, std::nullopt, false},
        {"０１", 0, std::nullopt, false}, // full-width digits are not digits here
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(gVal(QString::fromUtf8(c.text)), c.val) << c.text;
        try {
            const int v = gCInt(QString::fromUtf8(c.text));
            EXPECT_TRUE(c.cint.has_value()) << c.text;
            if (c.cint) EXPECT_EQ(v, *c.cint) << c.text;
        } catch (const gRuntimeError& e) {
            EXPECT_FALSE(c.cint.has_value()) << c.text;
            EXPECT_EQ(e.number(), c.overflow ? gErr::Overflow : gErr::TypeMismatch) << c.text;
        }
    }
}
