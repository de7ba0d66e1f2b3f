#pragma once
// SHA-256 (FIPS 180-4). Pure rule, no Windows headers: also built natively.
// The launcher's own, so that checking its image DLL needs no
// cryptographic provider: XP before SP3 has none for SHA-256, and a
// provider is one more DLL loaded into the signed process.
#include <array>
#include <cstddef>
#include <cstdint>

class Sha256 {
public:
    using Digest = std::array<std::uint8_t, 32>;

    Sha256();
    void Update(const void* data, std::size_t size);
    Digest Finish();

private:
    void Block(const std::uint8_t* block);

    std::uint32_t m_state[8];
    std::uint8_t m_buffer[64];
    std::size_t m_buffered = 0;
    std::uint64_t m_length = 0;
};
