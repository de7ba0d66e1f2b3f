#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imagelib/BilinearScaler.h"

namespace {

// Channel `shift` of output pixel (x, y) by plain floating-point bilinear
// interpolation: centres aligned, edges clamped.
double Expected(const std::vector<std::uint32_t>& image, int from[2], int to[2], int x, int y, int shift)
{
    auto axis = [](int i, int f, int t, int& a, int& b, double& weight) {
        double centre = (i + 0.5) * f / t - 0.5;
        centre = centre < 0 ? 0 : centre > f - 1 ? f - 1 : centre;
        a = static_cast<int>(std::floor(centre));
        b = a + 1 < f ? a + 1 : a;
        weight = centre - a;
    };
    int x0, x1, y0, y1;
    double wx, wy;
    axis(x, from[0], to[0], x0, x1, wx);
    axis(y, from[1], to[1], y0, y1, wy);
    auto at = [&](int px, int py) { return static_cast<double>((image[py * from[0] + px] >> shift) & 0xFF); };
    return (at(x0, y0) * (1 - wx) + at(x1, y0) * wx) * (1 - wy) + (at(x0, y1) * (1 - wx) + at(x1, y1) * wx) * wy;
}

}  // namespace

// Every channel of every pixel within 2 of exact bilinear interpolation (two
// passes in 1/256 steps), the same size copied exactly, and rows made in
// any order alike.
TEST(BilinearScaler, MatchesBilinearInterpolationAtEverySize)
{
    const int kSizes[][4] = {{1, 1, 5, 3}, {4, 3, 4, 3}, {3, 2, 7, 5}, {9, 7, 4, 3}, {2, 2, 1, 1},
                             {40, 16, 120, 48}, {40, 16, 50, 20}, {5, 40, 13, 100}};
    for (const auto& size : kSizes) {
        int from[2] = {size[0], size[1]};
        int to[2] = {size[2], size[3]};
        SCOPED_TRACE(testing::Message() << from[0] << "x" << from[1] << " to " << to[0] << "x" << to[1]);
        std::vector<std::uint32_t> image(from[0] * from[1]);
        std::srand(static_cast<unsigned>(image.size()));
        for (std::uint32_t& pixel : image) {
            pixel = static_cast<std::uint32_t>(std::rand()) << 16 ^ static_cast<std::uint32_t>(std::rand());
        }
        std::vector<std::uint8_t> work(BilinearScaler::WorkBytes(to[0]) + 4);
        BilinearScaler scaler(image.data(), from[0], from[1], to[0], to[1], work.data());
        std::vector<std::uint32_t> row(to[0]);
        int worst = 0;
        for (int y = to[1] - 1; y >= 0; --y) {  // bottom up: any order
            scaler.Row(y, row.data());
            for (int x = 0; x < to[0]; ++x) {
                for (int shift = 0; shift < 32; shift += 8) {
                    const double exact = Expected(image, from, to, x, y, shift);
                    const int diff = static_cast<int>(std::lround(std::fabs(((row[x] >> shift) & 0xFF) - exact)));
                    worst = diff > worst ? diff : worst;
                    if (from[0] == to[0] && from[1] == to[1]) {
                        ASSERT_EQ(row[x], image[y * from[0] + x]) << x << ", " << y;
                    }
                }
            }
        }
        EXPECT_LE(worst, 2);
    }
}
