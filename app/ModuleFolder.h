#pragma once
// Pure rule, no Windows headers: also built natively for fuzzing.
#include <string>

// The folder of an executable path, without a trailing separator: the text
// before the last "/" if there is one, else before the last "\". A path
// without either separator is its own folder.
template <class Char>
std::basic_string<Char> FolderOfModulePath(const std::basic_string<Char>& path)
{
    using String = std::basic_string<Char>;
    typename String::size_type cut = path.rfind(static_cast<Char>('/'));
    if (cut == String::npos) {
        cut = path.rfind(static_cast<Char>('\\'));
    }
    if (cut == String::npos) {
        return path;
    }
    return path.substr(0, cut);
}
