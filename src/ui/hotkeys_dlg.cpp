#include "ui/hotkeys_dlg.h"

#include "framework/app.h"
#include "framework/text.h"
#include "resource.h"
#include "sound/file_paths.h"
#include "ui/notice_box.h"

#include <commctrl.h>

namespace {

using soundboard::Hotkey;

constexpr int kProbeId = 1;

// The hotkey control's modifier flags against the platform's hotkey flags.
constexpr struct {
    unsigned control, hotkey;
} kModifiers[] = {{HOTKEYF_CONTROL, Hotkey::kControl},
                  {HOTKEYF_ALT, Hotkey::kAlt},
                  {HOTKEYF_SHIFT, Hotkey::kShift}};

} // namespace

const fw::CommandEntry CHotkeysDlg::s_commands[] = {
    fw::OnCommand(IDC_REMOVE_HOTKEY, &CHotkeysDlg::OnRemove),
};

fw::CommandMap CHotkeysDlg::GetCommandMap() const {
    return fw::MakeCommandMap(s_commands);
}

CHotkeysDlg::CHotkeysDlg(fw::CWinApp& app, std::string sound, soundboard::Soundboard board,
                         IsListed isListed)
    : CDialog(IDD_HOTKEYS), m_pApp(&app), m_strSound(std::move(sound)), m_before(board),
      m_board(std::move(board)), m_isListed(std::move(isListed)) {}

// A key with one modifier or none would be taken from every program: the control makes it
// Ctrl+Alt and the key.
BOOL CHotkeysDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (const int control : {IDC_SOUND_HOTKEY, IDC_STOP_HOTKEY})
        ::SendDlgItemMessageW(m_hWnd, control, HKM_SETRULES,
                              HKCOMB_NONE | HKCOMB_S | HKCOMB_C | HKCOMB_A,
                              MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
    fw::SetWindowTextOf(GetDlgItem(IDC_HOTKEY_SOUND),
                        m_strSound.empty() ? m_pApp->LoadString(IDS_NO_SOUND_CHOSEN) : m_strSound);
    ::EnableWindow(GetDlgItem(IDC_SOUND_HOTKEY), !m_strSound.empty());
    SetHotkeyIn(IDC_SOUND_HOTKEY, soundboard::HotkeyOf(m_board, m_strSound, SameName));
    SetHotkeyIn(IDC_STOP_HOTKEY, m_board.stop);
    const int tabStop = 60;
    ::SendDlgItemMessageW(m_hWnd, IDC_HOTKEY_LIST, LB_SETTABSTOPS, 1,
                          reinterpret_cast<LPARAM>(&tabStop));
    FillList();
    return TRUE;
}

void CHotkeysDlg::FillList() const {
    std::vector<std::string> entries;
    for (const soundboard::Binding& binding : m_board.bindings) {
        const std::string sound =
            m_isListed(binding.sound)
                ? binding.sound
                : fw::FormatText(m_pApp->LoadString(IDS_HOTKEY_GONE), {binding.sound});
        entries.push_back(soundboard::Format(binding.hotkey) + "\t" + sound);
    }
    fw::CListBox list;
    list.m_hWnd = GetDlgItem(IDC_HOTKEY_LIST);
    list.Fill(entries);
}

std::optional<Hotkey> CHotkeysDlg::HotkeyIn(int control) const {
    const auto value =
        static_cast<WORD>(::SendDlgItemMessageW(m_hWnd, control, HKM_GETHOTKEY, 0, 0));
    if (!LOBYTE(value))
        return std::nullopt;
    Hotkey hotkey{0, LOBYTE(value)};
    for (const auto& modifier : kModifiers) {
        if (HIBYTE(value) & modifier.control)
            hotkey.modifiers |= modifier.hotkey;
    }
    return hotkey;
}

void CHotkeysDlg::SetHotkeyIn(int control, const std::optional<Hotkey>& hotkey) const {
    unsigned flags = 0;
    for (const auto& modifier : kModifiers) {
        if (hotkey && (hotkey->modifiers & modifier.hotkey))
            flags |= modifier.control;
    }
    ::SendDlgItemMessageW(m_hWnd, control, HKM_SETHOTKEY,
                          hotkey ? MAKEWORD(hotkey->key, flags) : 0, 0);
}

// Brisa lets its own hotkeys go while the dialog is open, so the system names only others'.
bool CHotkeysDlg::Refuses(const soundboard::Soundboard& board, const Hotkey& hotkey,
                          const std::string& sound) const {
    const std::string name = soundboard::Format(hotkey);
    if (const auto holder = soundboard::HolderOf(board, hotkey, sound, SameName)) {
        ShowNotice({IDS_HOTKEY_HELD, {name, *holder}});
        return true;
    }
    if (!::RegisterHotKey(m_hWnd, kProbeId, hotkey.modifiers | MOD_NOREPEAT, hotkey.key)) {
        ShowNotice({IDS_HOTKEY_TAKEN, {name}});
        return true;
    }
    ::UnregisterHotKey(m_hWnd, kProbeId);
    return false;
}

// The hotkey control cannot show Win: a combination with it, left as the control shows it, stays.
std::optional<Hotkey> CHotkeysDlg::Chosen(int control, const std::optional<Hotkey>& before) const {
    const auto chosen = HotkeyIn(control);
    if (before && chosen &&
        *chosen == Hotkey{before->modifiers & ~Hotkey::kWin, before->key})
        return before;
    return chosen;
}

// Closing would take the choices back from the file, as in Options: the dialog stays open.
void CHotkeysDlg::OnOK() {
    soundboard::Soundboard board = m_board;
    board.stop.reset();
    if (!m_strSound.empty()) {
        const auto hotkey = Chosen(IDC_SOUND_HOTKEY, soundboard::HotkeyOf(board, m_strSound, SameName));
        if (hotkey && Refuses(board, *hotkey, m_strSound))
            return;
        soundboard::Bind(board, m_strSound, hotkey, SameName);
    }
    const auto stop = Chosen(IDC_STOP_HOTKEY, m_board.stop);
    if (stop && Refuses(board, *stop, ""))
        return;
    board.stop = stop;
    const fw::CProfile& profile = m_pApp->GetProfile();
    if (!soundboard::SaveHotkeys(profile, m_before, board)) {
        ShowNotice({IDS_SETTINGS_NOT_SAVED, {profile.GetPath()}});
        return;
    }
    m_board = std::move(board);
    CDialog::OnOK();
}

void CHotkeysDlg::OnRemove() {
    const int index =
        static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_HOTKEY_LIST, LB_GETCURSEL, 0, 0));
    if (index < 0 || index >= static_cast<int>(m_board.bindings.size()))
        return;
    if (SameName(m_board.bindings[index].sound, m_strSound))
        SetHotkeyIn(IDC_SOUND_HOTKEY, std::nullopt);
    m_board.bindings.erase(m_board.bindings.begin() + index);
    FillList();
}
