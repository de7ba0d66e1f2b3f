#pragma once
// Bilinear scaling of 32-bit pixels (four 8-bit channels), a row at a time,
// in fixed point: each output pixel is the mix of the four image pixels
// around its centre, weighed in 1/256 (centres aligned, edges clamped). No
// division or floating point per pixel, no Windows and no C++ runtime: the
// image DLL uses none.
#include <cstddef>
#include <cstdint>

class BilinearScaler {
public:
    // Where output column or row `i` of `to` samples an axis of `from`
    // pixels: the two image pixels around its centre and the second one's
    // weight in 1/256.
    struct Tap {
        std::uint32_t first;
        std::uint32_t second;
        std::uint32_t weight;
    };
    static Tap TapFor(std::uint32_t i, std::uint32_t from, std::uint32_t to);

    // The bytes of working memory a scaler to `width` needs.
    static std::size_t WorkBytes(std::uint32_t width);

    // `pixels`: top-down rows of `sourceWidth` x `sourceHeight`; `work`:
    // WorkBytes(width) bytes, 4-byte aligned, the caller's until the last
    // row is made. All sizes at least 1.
    BilinearScaler(const std::uint32_t* pixels, std::uint32_t sourceWidth, std::uint32_t sourceHeight,
                   std::uint32_t width, std::uint32_t height, void* work);
    BilinearScaler(const BilinearScaler&) = delete;
    BilinearScaler& operator=(const BilinearScaler&) = delete;

    // Writes output row `y` (`width` pixels) to `out`. Rows in any order;
    // in order, each image row is scaled across once.
    void Row(std::uint32_t y, std::uint32_t* out);

private:
    const std::uint32_t* Across(std::uint32_t imageRow);

    const std::uint32_t* m_pixels;
    std::uint32_t m_sourceWidth;
    std::uint32_t m_sourceHeight;
    std::uint32_t m_width;
    std::uint32_t m_height;
    Tap* m_columns;
    std::uint32_t* m_across[2];  // two image rows scaled across
    std::uint32_t m_held[2];     // which image row each holds
};
