// Functions of Windows DLLs loaded when first needed.
#pragma once
#include <windows.h>

namespace fw {

// A function of a Windows DLL that few runs need, loaded at its first call instead of with the
// program: every DLL imported is loaded, with its own imports, at each start-up. Null when the
// DLL or the function is missing. The DLL stays loaded for the rest of the run.
template <class Function> Function LoadSystemFunction(const wchar_t* dll, const char* name) {
    const HMODULE module = ::LoadLibraryW(dll);
    const FARPROC address = module ? ::GetProcAddress(module, name) : nullptr;
    // Through a plain function type, as GetProcAddress's result must be cast to the real one.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(address));
}

} // namespace fw
