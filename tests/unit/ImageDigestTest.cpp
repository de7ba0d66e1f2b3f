#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/PeImageDigest.h"
#include "framework/Sha256.h"

namespace {
std::string Hex(const Sha256::Digest& digest)
{
    static const char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (std::uint8_t b : digest) {
        hex += kDigits[b >> 4];
        hex += kDigits[b & 15];
    }
    return hex;
}

std::string Sha(const std::string& text)
{
    Sha256 hash;
    hash.Update(text.data(), text.size());
    return Hex(hash.Finish());
}

void Put32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A PE32 file: headers (MZ, e_lfanew 0x40, PE signature, a 224-byte
// optional header with 16 directories) and 512 bytes of "sections".
std::vector<std::uint8_t> SmallPe()
{
    std::vector<std::uint8_t> bytes(0x40 + 24 + 224 + 512, 0x5A);
    bytes[0] = 'M';
    bytes[1] = 'Z';
    Put32(bytes, 0x3C, 0x40);
    Put32(bytes, 0x40, 0x00004550);
    bytes[0x40 + 4 + 16] = 224;  // SizeOfOptionalHeader
    bytes[0x40 + 4 + 17] = 0;
    bytes[0x58] = 0x0B;  // PE32
    bytes[0x59] = 0x01;
    Put32(bytes, 0x58 + 92, 16);      // NumberOfRvaAndSizes
    Put32(bytes, 0x58 + 96 + 32, 0);  // no certificate table
    Put32(bytes, 0x58 + 96 + 36, 0);
    return bytes;
}

std::string Digest(const std::vector<std::uint8_t>& bytes, bool* ok = nullptr)
{
    Sha256::Digest digest{};
    const bool read = PeImageDigest(bytes.data(), bytes.size(), digest);
    if (ok != nullptr) *ok = read;
    return read ? Hex(digest) : "<refused>";
}
}  // namespace

TEST(Sha256, StandardVectors)
{
    EXPECT_EQ(Sha(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(Sha("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
    EXPECT_EQ(Sha("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1");
    Sha256 million;
    const std::string chunk(1000, 'a');
    for (int i = 0; i < 1000; ++i) million.Update(chunk.data(), chunk.size());
    EXPECT_EQ(Hex(million.Finish()), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0");
}

TEST(PeImageDigest, SigningLeavesItUnchangedAndAnyOtherByteChangesIt)
{
    std::vector<std::uint8_t> file = SmallPe();
    bool ok = false;
    const std::string unsigned_ = Digest(file, &ok);
    ASSERT_TRUE(ok);

    // Signing: a new checksum, the certificate table's entry, the table
    // appended at the end.
    std::vector<std::uint8_t> signedFile = file;
    Put32(signedFile, 0x58 + 64, 0x12345678);
    Put32(signedFile, 0x58 + 96 + 32, static_cast<std::uint32_t>(file.size()));
    Put32(signedFile, 0x58 + 96 + 36, 64);
    signedFile.resize(file.size() + 64, 0xC3);
    EXPECT_EQ(Digest(signedFile), unsigned_);

    for (std::size_t at : {std::size_t(2), std::size_t(0x58 + 60), std::size_t(0x58 + 68), file.size() - 1}) {
        std::vector<std::uint8_t> changed = file;
        changed[at] ^= 1;
        EXPECT_NE(Digest(changed), unsigned_) << "byte " << at;
    }
}

TEST(PeImageDigest, MalformedFilesAreRefused)
{
    const std::vector<std::uint8_t> good = SmallPe();
    std::vector<std::uint8_t> bad = good;
    bad[0] = 'X';
    EXPECT_EQ(Digest(bad), "<refused>") << "no MZ";
    bad = good;
    Put32(bad, 0x3C, 0xFFFFFFF0);
    EXPECT_EQ(Digest(bad), "<refused>") << "header offset beyond the file";
    bad = good;
    bad[0x41] = 'X';
    EXPECT_EQ(Digest(bad), "<refused>") << "no PE signature";
    bad = good;
    bad[0x58] = 0x07;
    EXPECT_EQ(Digest(bad), "<refused>") << "unknown optional header";
    bad = good;
    Put32(bad, 0x58 + 92, 4);
    EXPECT_EQ(Digest(bad), "<refused>") << "no certificate directory";
    bad = good;
    Put32(bad, 0x58 + 96 + 32, 0x200);
    Put32(bad, 0x58 + 96 + 36, 16);
    EXPECT_EQ(Digest(bad), "<refused>") << "data hidden behind the certificate table";
    bad = good;
    Put32(bad, 0x58 + 96 + 32, static_cast<std::uint32_t>(good.size()) - 8);
    Put32(bad, 0x58 + 96 + 36, 0xFFFFFFFF);
    EXPECT_EQ(Digest(bad), "<refused>") << "table larger than the file";
    bad.assign(good.begin(), good.begin() + 0x60);
    EXPECT_EQ(Digest(bad), "<refused>") << "cut inside the optional header";
    EXPECT_EQ(Digest({}), "<refused>");
}
