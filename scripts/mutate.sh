#!/usr/bin/env bash
# Fault power of the tests: applies realistic faults to src/ one at a time, rebuilds, runs the
# tests (native first, then Windows, each stopping at its first failure) and prints which test
# caught each fault. Every fault must be caught. Not part of the CI run: it takes about an hour.
#   scripts/mutate.sh [word]    only the faults whose description contains the word
# Needs the native and win64 builds configured (scripts/test.sh does that).
set -uo pipefail
cd "$(dirname "$0")/.."
only=${1:-}

declare -a files finds replaces descriptions
# fault <file under src/> <exact text, found exactly once> <replacement> <description>
fault() {
    files+=("src/$1")
    finds+=("$2")
    replaces+=("$3")
    descriptions+=("$4")
}

# framework
fault framework/data_exchange.cpp 'value.size() > static_cast<std::size_t>(maxChars)' \
    'value.size() >= static_cast<std::size_t>(maxChars)' 'length rule refuses a text of exactly the limit'
fault framework/dialog.cpp 'if (lParam && code != 0 && m_bInUpdateData)' \
    'if (lParam && code != 0 && false)' 'notifications delivered while data exchange runs'
fault framework/dialog.cpp 'if (position.x == 0 && position.y == 0)' \
    'if (position.x == 0 && position.y == 1)' 'dialog template at 0,0 not centred'
fault framework/dialog.cpp 'extended.dlgVer == 1 &&' 'extended.dlgVer == 2 &&' \
    'extended dialog template read as a plain one'
fault framework/cmd_target.cpp 'id > entry->lastId' 'id >= entry->lastId' \
    'range row misses its last id'
fault framework/profile.cpp 'if (IsFile(folder + fileName))' 'if (false)' \
    'profile beside the program ignored'
fault framework/profile.cpp 'if (length + 1 < buffer.size())' 'if (length < buffer.size())' \
    'long profile values cut at 255 characters'
fault framework/wnd.cpp 'std::clamp<LRESULT>(copied, 0, length)' 'std::clamp<LRESULT>(copied - 1, 0, length)' \
    'list entry read without its last character'
fault framework/app.cpp 'ShowMessageBox(owner, text, m_strAppTitle, type)' \
    'ShowMessageBox(owner, text, "", type)' 'message boxes without the program title'
fault framework/frame.cpp 'context = HID_BASE_COMMAND + id;' 'context = HID_BASE_RESOURCE + id;' \
    'context help on a control opens the wrong topic'

# bridge
fault bridge/command_lines.cpp "if (title[length - 1] == ':')" "if (title[length - 1] == ';')" \
    'channel keeps the colon before the first space'
fault bridge/command_lines.cpp "(title[0] != '#' && title[0] != '&')" "(title[0] != '#')" \
    'channel marked & refused'
fault bridge/command_lines.cpp 'tag.size() == kMaxTagLength' 'tag.size() == kMaxTagLength - 1' \
    'expanded tag cut one character short'
fault bridge/command_lines.cpp "wavDir + '\\\\' + fileName" "wavDir + '/' + fileName" \
    'DCC path joined with a slash'
fault bridge/client_window.cpp '::GetWindow(first, GW_HWNDNEXT)' 'first' \
    'walk takes the first child instead of the second'
fault bridge/client_window.cpp 'if (fallBack)' 'if (false)' 'Fall Back raises nothing'
fault bridge/client_window.cpp 'kClientTimeoutMs = 1500' 'kClientTimeoutMs = 15000' \
    'client messages wait 15 s'
fault bridge/dcc_send_dlg.cpp 'nick[0] == kOperatorMark ? nick.substr(1) : nick' 'nick' \
    'operator mark kept in copied nicknames'
fault bridge/dcc_send_dlg.cpp '    ::BringWindowToTop(m_hWnd);' '' \
    'DCC Send dialog not raised after a send'
fault bridge/dcc_send_dlg.cpp '    if (nicks->empty())
        return;' '' 'an empty channel wipes the copied nicknames'
fault bridge/dcc_send_dlg.cpp 'kMaxNickChars = 10' 'kMaxNickChars = 11' \
    'nickname box takes 11 characters'

# settings
fault settings/settings.h 'kSection, kTagText, s.m_strTagText' 'kSection, kWavDir, s.m_strTagText' \
    'OK writes the tag under the wrong key'
fault settings/settings.h 'kDefaultTagText[] = "-plays Brisa: @"' \
    'kDefaultTagText[] = "-plays Brisa @"' 'wrong default tag for Send'
fault settings/settings.cpp 'settings.m_bSendClose == 1' 'settings.m_bSendClose != 0' \
    'Close on Send at any non-zero value'
fault settings/options_dlg.cpp '    UpdateData(true);
    m_editTagText.EnableWindow(!settings::PromptsForTag(m_settings));' '    UpdateData(true);
    m_editTagText.EnableWindow(settings::PromptsForTag(m_settings));' 'Prompt for Tag enables the tag box'
fault settings/options_dlg.cpp 'if (settings::IsClientRadio(m_settings.m_nClient))' \
    'if (m_settings.m_nClient)' 'stored selector ticks any control with its id'
fault settings/options_dlg.cpp 'if (!settings::Save(m_pApp->GetProfile(), m_settings)) {' \
    'if (!settings::Save(m_pApp->GetProfile(), m_settings) && false) {' \
    'OK closes as if it had saved what it could not'

# view
fault view/brisa_view.cpp '            ::SetCurrentDirectoryA(currentFolder);' \
    '            (void)currentFolder;' 'current directory not restored after a listing'
fault view/brisa_view.cpp '    RemoveFile(m_strFullPath);
    RefreshList(m_listFiles.GetCurSel());' '    RemoveFile(m_strFullPath);
    RefreshList(0);' 'after Delete the first entry is selected'
fault view/brisa_view.cpp 'if (present || disableWhenAbsent)' 'if (present)' \
    'Send and DCC stay enabled when the client is gone'
fault view/brisa_view.cpp 'sndPlaySound(path, SND_ASYNC)' 'sndPlaySound(path, SND_ASYNC | SND_NODEFAULT)' \
    'Play without the default sound'
fault view/brisa_view.cpp 'm_listFiles.SelectString(-1, m_strFileName)' \
    'm_listFiles.SelectString(0, m_strFileName)' 'typed prefix searched from the second entry'
fault view/brisa_view.cpp '        m_listFiles.SetRedraw(false);' '' 'the list redrawn for every file'
fault view/brisa_view.cpp 'IDC_FILE_LIST, 0, DDL_READONLY)' 'IDC_FILE_LIST, 0, 0)' \
    'read-only files left out'

# app
fault app/brisa_doc.h 'SetTitle("Brisa Server")' 'SetTitle("Brisa server")' 'wrong document title'
fault app/main_frame.h '        cs.style &= ~WS_THICKFRAME;' '' 'main window can be resized'
fault app/brisa_app.cpp '{HID_BASE_COMMAND + IDC_SEND, IDH_ANNOUNCING}' \
    '{HID_BASE_COMMAND + IDC_SEND, IDH_MAIN_WINDOW}' 'Send opens the wrong help topic'

log=build/mutate.log
: >"$log"
restore() { [ -n "${backup:-}" ] && cp "$backup" "$target" && rm -f "$backup"; backup=; }
trap 'restore; exit 130' INT TERM

# The first test that failed in a ctest output, or nothing.
first_failure() {
    grep -E '\*\*\*(Failed|Timeout|Exception)|\(Failed\)|\(Timeout\)' | head -n 1 |
        sed -E 's/.*Test +#[0-9]+: ([^ ]+).*/\1/'
}

caught=0 missed=0 broken=0
for i in "${!files[@]}"; do
    description=${descriptions[$i]}
    [ -n "$only" ] && [[ "$description" != *"$only"* ]] && continue
    target=${files[$i]}
    backup=$(mktemp)
    cp "$target" "$backup"
    if ! FIND=${finds[$i]} REPLACE=${replaces[$i]} perl -0pi -e \
        '$n = () = /\Q$ENV{FIND}\E/g; die "found $n times\n" if $n != 1; s/\Q$ENV{FIND}\E/$ENV{REPLACE}/' \
        "$target" 2>>"$log"; then
        echo "STALE   $description ($target: the text to change is not there once)"
        broken=$((broken + 1)); restore; continue
    fi
    by=
    if ! { cmake --build --preset native && cmake --build --preset win64; } >>"$log" 2>&1; then
        echo "NO BUILD $description"
        broken=$((broken + 1)); restore; continue
    fi
    by=$(ctest --preset native --stop-on-failure 2>&1 | tee -a "$log" | first_failure)
    [ -z "$by" ] && by=$(ctest --preset win64 --stop-on-failure 2>&1 | tee -a "$log" | first_failure)
    if [ -n "$by" ]; then
        echo "caught  $description  <- $by"
        caught=$((caught + 1))
    else
        echo "MISSED  $description"
        missed=$((missed + 1))
    fi
    restore
done
# The tree as it was, built again.
{ cmake --build --preset native && cmake --build --preset win64; } >>"$log" 2>&1
echo "Faults: $caught caught, $missed missed, $broken not applied (log: $log)"
[ $missed -eq 0 ] && [ $broken -eq 0 ]
