// Tests of Vector3: exact results of the rounded float operations, IEEE
// behaviour for zero lengths and divisors, and the operand order of Cross.
#include "math/vector3.h"

#include "float_bits.h"

#include <cmath>

#include <gtest/gtest.h>

using kwTest::Hex;
using Skidwell::Lerp;
using Skidwell::Vector3;

TEST(Vector3Test, LerpRoundsAfterSubtractionScalingAndAddition)
{
    const Vector3 from(0.1f, -2.5f, 3.3f);
    const Vector3 to(7.7f, 0.3f, -1.1f);

    EXPECT_EQ(Hex(Lerp(0.0f, from, to)), Hex(from));
    // from + (to - from) misses to in the last bit of y and z (3e99999a, bf8ccccd).
    EXPECT_EQ(Hex(Lerp(1.0f, from, to)), "40f66666 3e999998 bf8cccce");
    // Not clamped: t = 2 extrapolates beyond to.
    EXPECT_EQ(Hex(Lerp(2.0f, from, to)), "4174cccd 40466666 c0b00000");
}

TEST(Vector3Test, NormalizedDividesByTheRoundedLength)
{
    const Vector3 v(3.0f, 0.0f, 4.0f);
    EXPECT_EQ(Hex(v.Normalized()), "3f19999a 0 3f4ccccd");
    Vector3 inPlace = v;
    inPlace.Normalize();
    EXPECT_EQ(Hex(inPlace), Hex(v.Normalized()));

    // A zero vector gives NaNs, in place too.
    Vector3 zero;
    zero.Normalize();
    for (const Vector3& n : {Vector3().Normalized(), zero}) {
        EXPECT_TRUE(std::isnan(n.x) && std::isnan(n.y) && std::isnan(n.z));
    }
}

TEST(Vector3Test, DivisionAndNegationFollowIeee)
{
    EXPECT_EQ(Hex(Vector3(2.0f, 4.0f, 6.0f) / 2.0f), "3f800000 40000000 40400000");
    const Vector3 q = Vector3(1.0f, -1.0f, 0.0f) / 0.0f;
    EXPECT_EQ(Hex(Vector3(q.x, q.y, 0.0f)), "7f800000 ff800000 0"); // +inf, -inf
    EXPECT_TRUE(std::isnan(q.z));
    // A true division: 7 * (1/3) would give 40155556.
    EXPECT_EQ(Hex(Vector3(7.0f, 0.0f, 0.0f) / 3.0f), "40155555 0 0");
    EXPECT_EQ(Hex(-Vector3()), "80000000 80000000 80000000");
}

TEST(Vector3Test, CrossIsRightHandedAndAnticommutative)
{
    EXPECT_EQ(Hex(Vector3(1.0f, 0.0f, 0.0f).Cross(Vector3(0.0f, 1.0f, 0.0f))), "0 0 3f800000");
    const Vector3 a(1.5f, -2.0f, 0.25f);
    const Vector3 b(-3.0f, 0.5f, 4.0f);
    // (-2*4 - 0.25*0.5, 0.25*-3 - 1.5*4, 1.5*0.5 - -2*-3)
    EXPECT_EQ(Hex(a.Cross(b)), "c1020000 c0d80000 c0a80000");
    EXPECT_EQ(Hex(a.Cross(b)), Hex(-(b.Cross(a))));
    EXPECT_EQ(Hex(a.Cross(a)), "0 0 0");
}
