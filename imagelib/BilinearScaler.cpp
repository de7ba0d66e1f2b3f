#include "imagelib/BilinearScaler.h"

namespace {

const std::uint32_t kNone = 0xFFFFFFFF;

// `a` and `b` mixed, b by `weight` / 256: two 8-bit channels at a time in
// 16-bit lanes, which 255 x 256 and the rounding still fit.
inline std::uint32_t Mix(std::uint32_t a, std::uint32_t b, std::uint32_t weight)
{
    const std::uint32_t keep = 256 - weight;
    const std::uint32_t blueRed =
        (((a & 0x00FF00FF) * keep + (b & 0x00FF00FF) * weight + 0x00800080) >> 8) & 0x00FF00FF;
    const std::uint32_t greenAlpha =
        (((a >> 8) & 0x00FF00FF) * keep + ((b >> 8) & 0x00FF00FF) * weight + 0x00800080) & 0xFF00FF00;
    return blueRed | greenAlpha;
}

}  // namespace

BilinearScaler::Tap BilinearScaler::TapFor(std::uint32_t i, std::uint32_t from, std::uint32_t to)
{
    // The centre of output pixel i in image pixels, times 256.
    const std::int64_t centre =
        (static_cast<std::int64_t>(2 * i + 1) * from * 256) / (2 * static_cast<std::int64_t>(to)) - 128;
    if (centre <= 0) {
        return {0, 0, 0};
    }
    const auto first = static_cast<std::uint32_t>(centre >> 8);
    if (first >= from - 1) {
        return {from - 1, from - 1, 0};
    }
    return {first, first + 1, static_cast<std::uint32_t>(centre & 255)};
}

std::size_t BilinearScaler::WorkBytes(std::uint32_t width)
{
    return static_cast<std::size_t>(width) * (sizeof(Tap) + 2 * sizeof(std::uint32_t));
}

BilinearScaler::BilinearScaler(const std::uint32_t* pixels, std::uint32_t sourceWidth, std::uint32_t sourceHeight,
                               std::uint32_t width, std::uint32_t height, void* work)
    : m_pixels(pixels), m_sourceWidth(sourceWidth), m_sourceHeight(sourceHeight), m_width(width), m_height(height),
      m_columns(static_cast<Tap*>(work)), m_across{reinterpret_cast<std::uint32_t*>(m_columns + width),
                                                   reinterpret_cast<std::uint32_t*>(m_columns + width) + width},
      m_held{kNone, kNone}
{
    for (std::uint32_t x = 0; x < width; ++x) {
        m_columns[x] = TapFor(x, sourceWidth, width);
    }
}

const std::uint32_t* BilinearScaler::Across(std::uint32_t imageRow)
{
    const std::uint32_t slot = imageRow & 1;
    std::uint32_t* out = m_across[slot];
    if (m_held[slot] != imageRow) {
        const std::uint32_t* in = m_pixels + static_cast<std::size_t>(imageRow) * m_sourceWidth;
        const Tap* tap = m_columns;
        for (std::uint32_t x = 0; x < m_width; ++x, ++tap) {
            out[x] = Mix(in[tap->first], in[tap->second], tap->weight);
        }
        m_held[slot] = imageRow;
    }
    return out;
}

void BilinearScaler::Row(std::uint32_t y, std::uint32_t* out)
{
    const Tap row = TapFor(y, m_sourceHeight, m_height);
    const std::uint32_t* upper = Across(row.first);
    if (row.weight == 0) {
        for (std::uint32_t x = 0; x < m_width; ++x) {
            out[x] = upper[x];
        }
        return;
    }
    const std::uint32_t* lower = Across(row.second);
    for (std::uint32_t x = 0; x < m_width; ++x) {
        out[x] = Mix(upper[x], lower[x], row.weight);
    }
}
