#include "bridge/mirc_link.h"

#include "bridge/client_window.h"
#include "framework/text.h"

#include <cstring>
#include <cwchar>

namespace {

constexpr UINT WM_MCOMMAND = WM_USER + 200;
constexpr UINT WM_MEVALUATE = WM_USER + 201;
// The client reads at most this much of a mapping.
constexpr DWORD kMappingSize = 4096;

} // namespace

CMircLink::~CMircLink() {
    EndOperation();
    ReleaseKept();
}

void CMircLink::Close(Mapping& mapping) {
    if (mapping.view)
        ::UnmapViewOfFile(mapping.view);
    if (mapping.handle)
        ::CloseHandle(mapping.handle);
    mapping = {};
}

void CMircLink::EndOperation() {
    Close(m_current);
}

void CMircLink::KeepForLateAnswer() {
    m_kept.push_back(m_current);
    m_current = {};
}

void CMircLink::ReleaseKept() {
    for (Mapping& mapping : m_kept)
        Close(mapping);
    m_kept.clear();
}

// A name that exists is another program's, or kept for a late answer: in use.
IMircLink::EMapping CMircLink::MakeMapping(unsigned index) {
    Close(m_current);
    const std::wstring name = index ? L"mIRC" + std::to_wstring(index) : L"mIRC";
    const HANDLE mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                kMappingSize, name.c_str());
    const bool inUse = mapping && ::GetLastError() == ERROR_ALREADY_EXISTS;
    if (inUse)
        ::CloseHandle(mapping);
    if (!mapping || inUse)
        return EMapping::InUse;
    void* view = ::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, kMappingSize);
    if (!view) {
        ::CloseHandle(mapping);
        return EMapping::Failed;
    }
    m_current = {mapping, view, index};
    return EMapping::Made;
}

bool CMircLink::Put(const std::string& text, bool unicode) {
    const std::wstring wide = fw::Widen(text);
    std::optional<std::string> bytes =
        unicode
            ? std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t))
            : fw::ToCodePage(wide, fw::SystemAnsiCodePage());
    if (!bytes)
        return false;
    bytes->append(unicode ? 2 : 1, '\0');
    if (bytes->size() > kMappingSize)
        return false;
    std::memcpy(m_current.view, bytes->data(), bytes->size());
    return true;
}

std::string CMircLink::Get(bool unicode) const {
    if (unicode) {
        const auto* text = static_cast<const wchar_t*>(m_current.view);
        return fw::Narrow({text, wcsnlen(text, kMappingSize / sizeof(wchar_t))});
    }
    const auto* text = static_cast<const char*>(m_current.view);
    return fw::Narrow(
        fw::FromCodePage({text, strnlen(text, kMappingSize)}, fw::SystemAnsiCodePage()));
}

std::optional<long long> CMircLink::Send(bool evaluate, unsigned method, Ticks deadline) {
    LRESULT answer = 0;
    if (!SendToClient(m_hWnd, evaluate ? WM_MEVALUATE : WM_MCOMMAND, method, m_current.index,
                      deadline, &answer))
        return std::nullopt;
    return answer;
}
