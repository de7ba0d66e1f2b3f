// libFuzzer target: any registry type, byte count and data give a text or
// a failure, never more than the buffer holds and never a zero inside.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "workflow/InstallLocation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1) {
        return 0;
    }
    const std::uint32_t type = data[0] % 12;
    std::u16string text = u"unchanged";
    const bool ok = DecodeInstallLocation(type, data + 1, size - 1, text);
    if (ok) {
        if (type != 1 && type != 2) std::abort();
        if (text.size() > kInstallLocationBufferChars - 1 || text.find(u'\0') != std::u16string::npos)
            std::abort();
        if ((size - 1) % 2 != 0) std::abort();
    } else if (text != u"unchanged") {
        std::abort();  // a failure leaves the text alone
    }
    return 0;
}
