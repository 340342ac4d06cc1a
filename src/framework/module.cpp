#include "framework/module.h"

#include "framework/shell.h"
#include "framework/text.h"

#include <cassert>

namespace fw {
namespace {

CModule* g_pModule = nullptr;

} // namespace

CModule& Module() {
    assert(g_pModule && "the program has no module");
    return *g_pModule;
}

CModule::CModule() {
    assert(!g_pModule && "a program has one module");
    g_pModule = this;
}

CModule::~CModule() {
    g_pModule = nullptr;
}

std::string CModule::LoadString(UINT id) const {
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(m_hInstance, id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 && text ? Narrow({text, static_cast<std::size_t>(length)}) : std::string();
}

std::string_view CModule::LoadRaw(UINT id, LPCWSTR type) const {
    const HRSRC resource = ::FindResourceW(m_hInstance, MAKEINTRESOURCEW(id), type);
    const HGLOBAL loaded = resource ? ::LoadResource(m_hInstance, resource) : nullptr;
    const char* bytes = static_cast<const char*>(loaded ? ::LockResource(loaded) : nullptr);
    return bytes ? std::string_view(bytes, ::SizeofResource(m_hInstance, resource))
                 : std::string_view();
}

int CModule::ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                            UINT type) {
    return ::MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), type);
}

int CModule::DoMessageBox(const std::string& text, UINT type) {
    HWND owner = ::GetActiveWindow();
    if (!owner)
        owner = GetMainWindow();
    return ShowMessageBox(owner, text, m_strAppTitle, type);
}

std::optional<std::string> CModule::ChooseFolder(HWND owner, const std::string& initial,
                                                 const std::string& title) {
    return BrowseForFolder(owner, initial, title);
}

bool CModule::OpenFolder(const std::string& folder) {
    return OpenInFileManager(folder);
}

} // namespace fw
