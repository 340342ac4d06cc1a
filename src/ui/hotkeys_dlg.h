// The Hotkeys dialog: the hotkey of one sound, the hotkey that stops the sound, and every sound's
// hotkey, a gone file's marked; the hotkeys' only writer.
#pragma once
#include "framework/dialog.h"
#include "rules/soundboard.h"

#include <functional>
#include <optional>
#include <string>

namespace fw {
class CWinApp;
}

class CHotkeysDlg : public fw::CDialog {
public:
    // A file of the folder by its path below it: the sounds folder still has it.
    using IsListed = std::function<bool(const std::string& sound)>;

    // For the sound, "" for none; the board as it stands.
    CHotkeysDlg(fw::CWinApp& app, std::string sound, soundboard::Soundboard board,
                IsListed isListed);
    // The board as OK stored it.
    const soundboard::Soundboard& Board() const { return m_board; }

protected:
    fw::CommandMap GetCommandMap() const override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    void FillList() const;
    std::optional<soundboard::Hotkey> HotkeyIn(int control) const;
    void SetHotkeyIn(int control, const std::optional<soundboard::Hotkey>& hotkey) const;
    // What the control holds, in place of the combination it showed before.
    std::optional<soundboard::Hotkey> Chosen(int control,
                                             const std::optional<soundboard::Hotkey>& before) const;
    // Says why the sound ("" for Stop) cannot have the combination: another sound of the board
    // holds it, or another program does; false when it can.
    bool Refuses(const soundboard::Soundboard& board, const soundboard::Hotkey& hotkey,
                 const std::string& sound) const;

    void OnRemove();

    fw::CWinApp* m_pApp;
    const std::string m_strSound;
    const soundboard::Soundboard m_before;
    soundboard::Soundboard m_board;
    const IsListed m_isListed;

    static const fw::CommandEntry s_commands[];
};
