// Test support: exact comparison of floats and vectors by their bit patterns,
// so that -0 and +0, and NaNs, are told apart and no tolerance hides a rounding.
#pragma once

#include "math/vector3.h"

#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

namespace kwTest {

inline std::uint32_t Bits(float value)
{
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline testing::AssertionResult HasBits(const Skidwell::Vector3& v, std::uint32_t x, std::uint32_t y, std::uint32_t z)
{
    if (Bits(v.x) == x && Bits(v.y) == y && Bits(v.z) == z) {
        return testing::AssertionSuccess();
    }
    return testing::AssertionFailure() << std::hex << "got (0x" << Bits(v.x) << ", 0x" << Bits(v.y) << ", 0x"
                                       << Bits(v.z) << "), expected (0x" << x << ", 0x" << y << ", 0x" << z << ")";
}

inline testing::AssertionResult SameBits(const Skidwell::Vector3& actual, const Skidwell::Vector3& expected)
{
    return HasBits(actual, Bits(expected.x), Bits(expected.y), Bits(expected.z));
}

} // namespace kwTest
