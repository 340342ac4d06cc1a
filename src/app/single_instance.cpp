#include "app/single_instance.h"

#include "framework/text.h"

#include <cstdint>

namespace {

// Named after the settings file, whatever the letter case of its path; the main window's handle
// held as 64 bits, for 32- and 64-bit Brisa alike.
std::wstring InstanceName(const std::string& profilePath) {
    std::wstring path = fw::Widen(profilePath);
    ::CharUpperBuffW(path.data(), static_cast<DWORD>(path.size()));
    std::uint32_t hash = 2166136261u;
    for (const wchar_t c : path)
        hash = (hash ^ static_cast<std::uint32_t>(c)) * 16777619u;
    return L"Local\\Brisa-" + std::to_wstring(hash);
}

} // namespace

CSingleInstance::~CSingleInstance() {
    if (m_hMapping)
        ::CloseHandle(m_hMapping);
}

bool CSingleInstance::Claim(const std::string& profilePath) {
    if (m_hMapping)
        return true;
    const HANDLE mapping =
        ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                             sizeof(std::uint64_t), InstanceName(profilePath).c_str());
    if (!mapping || ::GetLastError() != ERROR_ALREADY_EXISTS) {
        m_hMapping = mapping;
        return true;
    }
    const auto* announced = static_cast<const std::uint64_t*>(
        ::MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(std::uint64_t)));
    const HWND running =
        announced ? reinterpret_cast<HWND>(static_cast<std::uintptr_t>(*announced)) : nullptr;
    if (announced)
        ::UnmapViewOfFile(announced);
    ::CloseHandle(mapping);
    if (running && ::IsWindow(running)) {
        if (::IsIconic(running))
            ::ShowWindow(running, SW_RESTORE);
        ::SetForegroundWindow(running);
    }
    return false;
}

void CSingleInstance::Announce(HWND mainWindow) const {
    if (!m_hMapping)
        return;
    if (auto* announced = static_cast<std::uint64_t*>(
            ::MapViewOfFile(m_hMapping, FILE_MAP_WRITE, 0, 0, sizeof(std::uint64_t)))) {
        *announced = reinterpret_cast<std::uintptr_t>(mainWindow);
        ::UnmapViewOfFile(announced);
    }
}
