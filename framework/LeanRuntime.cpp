// The few pieces of the C++ runtime the launcher uses, built with its own
// flags (no exceptions, no RTTI) so that linking it statically does not
// bring in the exception machinery, the unwinder, the demangler and the
// POSIX thread library behind them. The launcher's bytes are read from the
// device's emulated CD drive at every start; those pieces were three
// quarters of them.
//
// Rules that come with these flags:
// - No thread-safe statics: no function-local static with a dynamic
//   initialiser may be reachable from two threads. The monitor thread runs
//   beside the dialogs, so such statics stay on the user-interface thread.
// - A runtime function used later that is not provided here links from the
//   library's prebuilt copy, which brings the exception machinery back; the
//   pe_header test reads the link map and fails on the unwinder or the
//   thread library it pulls in.
#include <windows.h>

#include <cstdlib>
#include <new>
#include <string>

namespace {

// Only a bug or exhausted memory gets here; with exceptions off there is
// nothing to unwind to. End the process quietly, as the launcher ends
// itself anyway, rather than showing the C runtime's abort box.
[[noreturn]] void FailFast()
{
    TerminateProcess(GetCurrentProcess(), ERROR_NOT_ENOUGH_MEMORY);
    // TerminateProcess on the own process does not return; should it ever,
    // a trap ends the process where an empty loop would be undefined.
    __builtin_trap();
}

}  // namespace

// The strings' members, instantiated here with the flags above instead of
// taken from the library's prebuilt (exception-using) copies.
template class std::__cxx11::basic_string<char>;
template class std::__cxx11::basic_string<wchar_t>;

// What the library would throw: length and range errors in the strings,
// failed allocations.
namespace std {
void __throw_length_error(const char*)
{
    FailFast();
}
void __throw_logic_error(const char*)
{
    FailFast();
}
void __throw_out_of_range(const char*)
{
    FailFast();
}
void __throw_out_of_range_fmt(const char*, ...)
{
    FailFast();
}
void __throw_bad_alloc()
{
    FailFast();
}
void __throw_bad_array_new_length()
{
    FailFast();
}
}  // namespace std

void* operator new(std::size_t size)
{
    void* block = std::malloc(size != 0 ? size : 1);
    if (block == nullptr) {
        FailFast();
    }
    return block;
}

void* operator new[](std::size_t size)
{
    return operator new(size);
}

void operator delete(void* block) noexcept
{
    std::free(block);
}

void operator delete[](void* block) noexcept
{
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    std::free(block);
}
