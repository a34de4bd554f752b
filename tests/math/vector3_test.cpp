// Tests of Vector3: exact results of the rounded float operations, IEEE
// behaviour for zero lengths and divisors, and the operand order of Cross.
#include "math/vector3.h"

#include "float_bits.h"

#include <cmath>

#include <gtest/gtest.h>

using kwTest::Bits;
using kwTest::HasBits;
using kwTest::SameBits;
using Skidwell::Lerp;
using Skidwell::Vector3;

TEST(Vector3Test, LerpRoundsAfterSubtractionScalingAndAddition)
{
    const Vector3 from(0.1f, -2.5f, 3.3f);
    const Vector3 to(7.7f, 0.3f, -1.1f);

    EXPECT_TRUE(SameBits(Lerp(0.0f, from, to), from));
    // from + (to - from) misses to in the last bit of y and z.
    EXPECT_TRUE(HasBits(Lerp(1.0f, from, to), 0x40F66666, 0x3E999998, 0xBF8CCCCE));
    EXPECT_NE(Bits(Lerp(1.0f, from, to).y), Bits(to.y));
    // Not clamped: t = 2 extrapolates beyond to.
    EXPECT_TRUE(HasBits(Lerp(2.0f, from, to), 0x4174CCCD, 0x40466666, 0xC0B00000));
}

TEST(Vector3Test, NormalizedDividesByTheRoundedLength)
{
    const Vector3 v(3.0f, 0.0f, 4.0f);
    EXPECT_TRUE(HasBits(v.Normalized(), 0x3F19999A, 0x00000000, 0x3F4CCCCD));
    EXPECT_TRUE(HasBits(v, 0x40400000, 0x00000000, 0x40800000)); // operand unchanged

    Vector3 inPlace(3.0f, 0.0f, 4.0f);
    inPlace.Normalize();
    EXPECT_TRUE(SameBits(inPlace, v.Normalized()));
}

TEST(Vector3Test, ZeroVectorNormalisesToNaNs)
{
    const Vector3 n = Vector3().Normalized();
    EXPECT_TRUE(std::isnan(n.x));
    EXPECT_TRUE(std::isnan(n.y));
    EXPECT_TRUE(std::isnan(n.z));

    Vector3 inPlace;
    inPlace.Normalize();
    EXPECT_TRUE(std::isnan(inPlace.x) && std::isnan(inPlace.y) && std::isnan(inPlace.z));
}

TEST(Vector3Test, DivisionFollowsIeee)
{
    EXPECT_TRUE(HasBits(Vector3(2.0f, 4.0f, 6.0f) / 2.0f, 0x3F800000, 0x40000000, 0x40400000));

    const Vector3 q = Vector3(1.0f, -1.0f, 0.0f) / 0.0f;
    EXPECT_TRUE(std::isinf(q.x) && q.x > 0.0f);
    EXPECT_TRUE(std::isinf(q.y) && q.y < 0.0f);
    EXPECT_TRUE(std::isnan(q.z));

    // A true division: 7 * (1/3) would give 0x40155556.
    EXPECT_EQ(Bits((Vector3(7.0f, 0.0f, 0.0f) / 3.0f).x), 0x40155555u);
}

TEST(Vector3Test, CrossIsRightHandedAndAnticommutative)
{
    EXPECT_TRUE(HasBits(Vector3(1.0f, 0.0f, 0.0f).Cross(Vector3(0.0f, 1.0f, 0.0f)), 0x00000000, 0x00000000, 0x3F800000));

    const Vector3 a(1.5f, -2.0f, 0.25f);
    const Vector3 b(-3.0f, 0.5f, 4.0f);
    EXPECT_TRUE(SameBits(a.Cross(b), -(b.Cross(a))));
    // (-2*4 - 0.25*0.5, 0.25*-3 - 1.5*4, 1.5*0.5 - -2*-3)
    EXPECT_TRUE(HasBits(a.Cross(b), 0xC1020000, 0xC0D80000, 0xC0A80000));

    const Vector3 self = a.Cross(a);
    EXPECT_EQ(self.x, 0.0f);
    EXPECT_EQ(self.y, 0.0f);
    EXPECT_EQ(self.z, 0.0f);
}

TEST(Vector3Test, NegatingZeroSetsTheSignBits)
{
    EXPECT_TRUE(HasBits(-Vector3(), 0x80000000, 0x80000000, 0x80000000));
    EXPECT_TRUE(HasBits(Vector3(), 0x00000000, 0x00000000, 0x00000000));
}
