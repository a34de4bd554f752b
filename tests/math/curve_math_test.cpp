// Tests of the curve mathematics where the state tests' trajectory and frames cannot reach: IEEE
// results of the vector operations, lengths rounded in their own order, chains through open and
// two-point lists, to the bit.
#include "math/bezier_curve.h"

#include "float_bits.h"

#include <gtest/gtest.h>

using kwTest::Hex;
using namespace Skidwell;

namespace {

// 0 / 0 gives the processor's default NaN: negative on x86, positive (the canonical NaN) in WebAssembly.
#if defined(__wasm__)
#define KW_NAN "7fc00000"
#else
#define KW_NAN "ffc00000"
#endif

// "p1 p2; " of every segment, and whether each runs from its point to the next.
std::string Handles(const std::vector<Vector3>& points, bool closed)
{
    BezierCurve curve;
    curve.BuildFromPoints({Vector3(9, 9, 9), Vector3(8, 8, 8)}, false); // replaced by the next build
    curve.BuildFromPoints(points, closed);
    std::string text = std::to_string(curve.GetSegmentCount()) + ": ";
    for (size_t k = 0; k < curve.GetSegmentCount(); ++k) {
        const BezierSegment& s = curve.GetSegment(k);
        const bool joined = Hex(s.p0) == Hex(points[k]) && Hex(s.p3) == Hex(points[(k + 1) % points.size()]);
        text += Hex(s.p1) + " " + Hex(s.p2) + (joined ? "; " : " (not joined); ");
    }
    return text;
}

} // namespace

TEST(Vector3, IeeeResultsToTheBit)
{
    const Vector3 a(1, 2, 3);
    const Vector3 b(0.1f, 0.7f, -3);
    const struct {
        const char* operation;
        Vector3 result;
        const char* bits;
    } kResults[] = {
        // Regrouping the squared length or multiplying by its reciprocal changes these bits.
        {"normalized", Vector3(0.1f, -0.3f, 2.1f).Normalized(), "3d40df86 be10a7a4 3f7d255e"},
        {"zero normalized", Vector3().Normalized(), KW_NAN " " KW_NAN " " KW_NAN}, // no guard: 0 / 0
        {"divided by zero", Vector3(1, -1, 0) / 0.0f, "7f800000 ff800000 " KW_NAN},
        {"negated zero", -Vector3(), "80000000 80000000 80000000"},
        {"cross", Vector3(1, 0, 0).Cross(Vector3(0, 1, 0)), "0 0 3f800000"}, // right-handed
        {"lerp at 1", Lerp(1, Vector3(1e8f, 0, 0), a), "0 40000000 40400000"}, // 1 - 1e8 rounds to -1e8
        {"lerp at 2", Lerp(2, a, b), "bf4ccccc bf199998 c1100000"}, // beyond b, the same distance again
    };
    for (const auto& row : kResults) {
        SCOPED_TRACE(row.operation);
        EXPECT_EQ(Hex(row.result), row.bits);
    }
}

TEST(BezierCurve, OpenChainHandles)
{
    // Inner handles from both neighbours, the last arriving handle on the end point.
    EXPECT_EQ(
        Handles({Vector3(0, 0, 0), Vector3(1, 0, 2), Vector3(3, 0, -1), Vector3(4, 0, 1), Vector3(6, 0, 0)},
                false),
        "4: 3e2aaaab 0 3eaaaaab 3f000000 0 400aaaab; 3fc00000 0 3feaaaab 40200000 0 bf555555; "
        "40600000 0 bf955555 40600000 0 3f555555; 40900000 0 3f955555 40c00000 0 0; ");
}

TEST(BezierCurve, TwoPointChains)
{
    // A sixth of the chord, by true divisions: 7 * (1/6) would give 3f955556 and 40baaaaa.
    EXPECT_EQ(Handles({Vector3(), Vector3(7, 0, 0)}, false), "1: 3f955555 0 0 40baaaab 0 0; ");
    // Closed: there and back, each end's outer handle on its end point.
    const std::string start = Hex(Vector3(1, 2, 3));
    const std::string end = Hex(Vector3(7, -4, 15));
    EXPECT_EQ(Handles({Vector3(1, 2, 3), Vector3(7, -4, 15)}, true),
              "2: " + start + " 40c00000 c0400000 41500000; " + end + " " + start + "; ");
}

TEST(BezierCurve, FewerThanTwoPointsLeaveItEmpty)
{
    // One point: the sanitizer build sees any read past it.
    EXPECT_EQ(Handles(std::vector<Vector3>(1), true), "0: ");
    EXPECT_EQ(Handles({}, false), "0: ");
}
