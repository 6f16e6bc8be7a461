#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/IntegerText.h"

namespace {

TEST(ReadItemInteger, WholeTextMustBeANumber) {
    const struct {
        const char* texto;
        int esperado;
    } casos[] = {
        {"", 0},
        {"0", 0},
        {"42", 42},
        {"-7", -7},
        {"  +12", 12},
        {"12abc", 0},
        {"abc", 0},
        {"-", 0},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
        {"2147483648", 0},
        {"-2147483649", 0},
        {"99999999999999999999999", 0},
    };
    for (const auto& c : casos) EXPECT_EQ(ReadItemInteger(c.texto), c.esperado) << c.texto;
}

TEST(ReadFieldInteger, ReadsDigitsUpToTheFirstOtherCharacter) {
    const struct {
        std::string texto;
        std::optional<int> esperado;
    } casos[] = {
        {"12abc", 12},
        {"  -24", -24},
        {"+5", 5},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"abc", std::nullopt},
        {"-", std::nullopt},
        {"- 5", std::nullopt},
        {"2147483648", std::nullopt},
        {"-2147483648", -2147483647 - 1},
        // Only the first 63 characters are looked at.
        {std::string(62, ' ') + "7", 7},
        {std::string(63, ' ') + "7", std::nullopt},
    };
    for (const auto& c : casos) EXPECT_EQ(ReadFieldInteger(c.texto), c.esperado) << c.texto;
}

}  // namespace
