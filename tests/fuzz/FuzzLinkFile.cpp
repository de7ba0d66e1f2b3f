// libFuzzer target: any link file's bytes end in a line and a link or
// "no marker", however they are split into reads.
#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>

#include "workflow/LinkFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string whole = FirstTextLine(bytes);
    if (whole.find('\n') != std::string::npos || whole.find('\x1A') != std::string::npos) {
        std::abort();
    }
    // The same line whatever the read size.
    const std::size_t piece = size == 0 ? 1 : 1 + data[0] % 7;
    FirstLineReader reader;
    for (std::size_t at = 0; at < size; at += piece) {
        if (!reader.Feed(bytes.data() + at, std::min(piece, size - at))) {
            break;
        }
    }
    if (reader.Line() != whole) {
        std::abort();
    }
    std::string link;
    if (ExtractDownloadLink(whole, link)) {
        // A marker was found and removed at least once.
        if (link.size() + 20 > whole.size()) {
            std::abort();
        }
    }
    return 0;
}
