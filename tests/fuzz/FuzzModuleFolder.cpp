// libFuzzer target: the folder of any module path is a prefix of it and is
// cut at a separator or is the whole path.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/ModuleFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::u16string path;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        path.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
    const std::u16string folder = FolderOfModulePath(path);
    if (folder.size() > path.size() || path.compare(0, folder.size(), folder) != 0) {
        std::abort();
    }
    if (folder.size() < path.size()) {
        const char16_t cut = path[folder.size()];
        if (cut != u'/' && cut != u'\\') std::abort();
        if (cut == u'\\' && path.find(u'/') != std::u16string::npos) std::abort();
    }
    return 0;
}
