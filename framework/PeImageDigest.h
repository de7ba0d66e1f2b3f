#pragma once
// The digest of a PE file that Authenticode signing leaves unchanged, as
// signing tools compute it: SHA-256 over the whole file except the header
// checksum, the certificate table's directory entry and the certificate
// table itself. Pure rule, no Windows headers: also built natively, and
// the build computes the same (tools/image_digest.py).
#include <cstddef>
#include <cstdint>

#include "framework/Sha256.h"

// False for a file that is not a well-formed PE image, or whose
// certificate table does not end the file.
bool PeImageDigest(const std::uint8_t* file, std::size_t size, Sha256::Digest& digest);
