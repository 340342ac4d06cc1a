#include "bridge/mirc_interface.h"

#include "bridge/client_window.h"
#include "framework/text.h"

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <utility>

namespace {

constexpr UINT WM_MCOMMAND = WM_USER + 200;
constexpr UINT WM_MEVALUATE = WM_USER + 201;
constexpr WPARAM kAsTyped = 1;
constexpr WPARAM kUnicode = 8;
// The client reads at most this much of a mapping.
constexpr DWORD kMappingSize = 4096;
// Names "mIRC", "mIRC1", … "mIRC99": one that exists is another program's, in use.
constexpr unsigned kMappingNames = 100;

} // namespace

CMircInterface::CMircInterface(HWND mainWindow, HANDLE mapping, void* view, unsigned index)
    : m_hWnd(mainWindow), m_hMapping(mapping), m_pView(view), m_nIndex(index) {}

CMircInterface::CMircInterface(CMircInterface&& other) noexcept
    : m_hWnd(other.m_hWnd), m_hMapping(std::exchange(other.m_hMapping, nullptr)),
      m_pView(std::exchange(other.m_pView, nullptr)), m_nIndex(other.m_nIndex),
      m_bUnicode(other.m_bUnicode), m_bReserved(other.m_bReserved) {}

CMircInterface& CMircInterface::operator=(CMircInterface&& other) noexcept {
    // The other one takes this one's mapping and closes it in its turn.
    std::swap(m_hWnd, other.m_hWnd);
    std::swap(m_hMapping, other.m_hMapping);
    std::swap(m_pView, other.m_pView);
    std::swap(m_nIndex, other.m_nIndex);
    std::swap(m_bUnicode, other.m_bUnicode);
    std::swap(m_bReserved, other.m_bReserved);
    return *this;
}

CMircInterface::~CMircInterface() {
    if (m_bReserved)
        return;
    if (m_pView)
        ::UnmapViewOfFile(m_pView);
    if (m_hMapping)
        ::CloseHandle(m_hMapping);
}

std::optional<CMircInterface> CMircInterface::Open(HWND mainWindow, ULONGLONG deadline,
                                                   EAnswer* pAnswer) {
    *pAnswer = EAnswer::Refused;
    for (unsigned index = 0; index < kMappingNames; ++index) {
        const std::wstring name = index ? L"mIRC" + std::to_wstring(index) : L"mIRC";
        const HANDLE mapping = ::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE,
                                                    0, kMappingSize, name.c_str());
        const bool inUse = mapping && ::GetLastError() == ERROR_ALREADY_EXISTS;
        if (inUse)
            ::CloseHandle(mapping);
        if (!mapping || inUse)
            continue;
        void* view = ::MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, kMappingSize);
        if (!view) {
            ::CloseHandle(mapping);
            return std::nullopt;
        }
        CMircInterface mirc(mainWindow, mapping, view, index);
        const auto version = mirc.Evaluate("$version", deadline, pAnswer);
        // A window that answers with something else than a version has no such interface.
        const long major = version ? std::strtol(version->c_str(), nullptr, 10) : 0;
        if (major <= 0) {
            *pAnswer = *pAnswer == EAnswer::Done ? EAnswer::Refused : *pAnswer;
            return std::nullopt;
        }
        mirc.m_bUnicode = major >= 7;
        return mirc;
    }
    return std::nullopt;
}

std::optional<std::string> CMircInterface::Evaluate(const std::string& expression,
                                                    ULONGLONG deadline, EAnswer* pAnswer) {
    *pAnswer = Exchange(WM_MEVALUATE, m_bUnicode ? kUnicode : 0, expression, deadline);
    return *pAnswer == EAnswer::Done ? std::optional<std::string>(Get()) : std::nullopt;
}

CMircInterface::EAnswer CMircInterface::Perform(const std::string& line, ULONGLONG deadline) {
    return Exchange(WM_MCOMMAND, kAsTyped | (m_bUnicode ? kUnicode : 0), line, deadline);
}

CMircInterface::EAnswer CMircInterface::Exchange(UINT message, WPARAM method,
                                                 const std::string& text, ULONGLONG deadline) {
    if (m_bReserved)
        return EAnswer::NotAnswering;
    if (!Put(text))
        return EAnswer::CannotCarry;
    LRESULT result = 0;
    if (!SendToClient(m_hWnd, message, method, m_nIndex, deadline, &result)) {
        m_bReserved = true;
        return EAnswer::NotAnswering;
    }
    return result == 1 ? EAnswer::Done : EAnswer::Refused;
}

// Version 7 and later read UTF-16; the earlier ones the system's ANSI code page, in which a
// character that it lacks must not become a look-alike: such a text is not put.
bool CMircInterface::Put(const std::string& text) const {
    const std::wstring wide = fw::Widen(text);
    std::optional<std::string> bytes =
        m_bUnicode
            ? std::string(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t))
            : fw::ToCodePage(wide, fw::SystemAnsiCodePage());
    if (!bytes)
        return false;
    bytes->append(m_bUnicode ? 2 : 1, '\0');
    if (bytes->size() > kMappingSize)
        return false;
    std::memcpy(m_pView, bytes->data(), bytes->size());
    return true;
}

std::string CMircInterface::Get() const {
    if (m_bUnicode) {
        const auto* text = static_cast<const wchar_t*>(m_pView);
        return fw::Narrow({text, wcsnlen(text, kMappingSize / sizeof(wchar_t))});
    }
    const auto* text = static_cast<const char*>(m_pView);
    return fw::Narrow(
        fw::FromCodePage({text, strnlen(text, kMappingSize)}, fw::SystemAnsiCodePage()));
}
