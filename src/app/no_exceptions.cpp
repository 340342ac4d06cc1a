// Brisa is built without exceptions: no window procedure may let one through, so nothing could
// catch one, and the runtime that throws and unwinds them would be most of the executable. The
// standard library's few throwing paths (memory exhausted, a string beyond its maximum size) call
// these instead, and they end the program with a message, as an uncaught exception would.
#include <windows.h>

#include <cstdlib>
#include <new>

namespace {

[[noreturn]] void Fail(const wchar_t* pszWhat) {
    FatalAppExitW(0, pszWhat);
    std::abort();
}

} // namespace

void* operator new(std::size_t nSize) {
    if (void* p = std::malloc(nSize != 0 ? nSize : 1))
        return p;
    Fail(L"Brisa has run out of memory.");
}

void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace std {

void __throw_bad_alloc() {
    Fail(L"Brisa has run out of memory.");
}
void __throw_bad_array_new_length() {
    Fail(L"Brisa has run out of memory.");
}
void __throw_length_error(const char*) {
    Fail(L"Brisa met a text longer than it can hold.");
}
void __throw_logic_error(const char*) {
    Fail(L"Brisa met an internal error.");
}
void __throw_bad_function_call() {
    Fail(L"Brisa met an internal error.");
}
void __throw_out_of_range_fmt(const char*, ...) {
    Fail(L"Brisa met an internal error.");
}
void __glibcxx_assert_fail(const char*, int, const char*, const char*) noexcept {
    Fail(L"Brisa met an internal error.");
}

} // namespace std
