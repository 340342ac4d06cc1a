#!/usr/bin/env bash
# Fault power of the tests: applies realistic faults to src/ one at a time, rebuilds, runs the
# tests (native first, then Windows, the suites likeliest to catch it first, each run stopping at
# its first failure) and prints which test
# caught each fault. Every fault must be caught. Not part of the CI run: it takes about half an
# hour.
#   scripts/mutate.sh [pattern]    only the faults whose description matches the extended
#                                  regular expression (a word, or words joined by |)
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
fault framework/data_exchange.cpp 'Widen(value).size() > static_cast<std::size_t>(maxChars)' \
    'value.size() > static_cast<std::size_t>(maxChars)' 'length rule counts bytes, not characters'
fault framework/data_exchange.cpp 'Widen(value).size() > static_cast<std::size_t>(maxChars)' \
    'Widen(value).size() >= static_cast<std::size_t>(maxChars)' 'length rule refuses a text of exactly the limit'
fault framework/dialog.cpp 'if (lParam && code != 0 && m_bInUpdateData)' \
    'if (lParam && code != 0 && false)' 'notifications delivered while data exchange runs'
fault framework/dialog.cpp 'if (placed.left == 0 && placed.top == 0)' \
    'if (placed.left == 0 && placed.top == 1)' 'dialog template at 0,0 not centred'
fault framework/dialog.cpp 'extended.dlgVer == 1 &&' 'extended.dlgVer == 2 &&' \
    'extended dialog template read as a plain one'
fault framework/cmd_target.cpp 'id > entry->lastId' 'id >= entry->lastId' \
    'range row misses its last id'
fault framework/profile.cpp 'if (IsFile(folder + fileName) || appData.empty())' \
    'if (appData.empty())' 'profile beside the program ignored'
fault framework/profile.cpp 'if (length + 1 < buffer.size())' 'if (length < buffer.size())' \
    'long profile values cut at 255 characters'
fault framework/profile.cpp '(ascii && !forWriting)' '!forWriting' \
    'a legacy settings file read without conversion'
fault framework/profile.cpp 'if (!Prepare(true))' 'if (!Prepare(false))' \
    'settings written in the ANSI code page'
fault framework/profile.cpp 'return m_strCopy.empty() ? Widen(m_strPath) : m_strCopy;' \
    'return Widen(m_strPath);' 'a held file not yet converted read in the wrong encoding'
fault framework/profile.cpp '(outer(text.front()) || outer(text.back()))' 'outer(text.front())' \
    'a value'"'"'s spaces at its end lost'
fault framework/profile.cpp 'size.QuadPart <= kMaxSettingsBytes &&' '' \
    'a file far beyond any settings file rewritten'
fault framework/profile.cpp 'utf8 || text.empty() ? CP_UTF8 : SystemAnsiCodePage()' \
    'text.empty() ? CP_UTF8 : SystemAnsiCodePage()' 'a UTF-8 settings file read as ANSI'
fault framework/text.cpp '    if (lossy)
        return std::nullopt;' '' 'a text an ANSI program cannot hold given to it with question marks'
fault framework/text.cpp 'return FromCodePage(utf8, CP_UTF8);' 'return FromCodePage(utf8, CP_ACP);' \
    'UTF-8 read as the ANSI code page'
fault framework/wnd.cpp 'LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));' \
    'LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied - 1, 0, length)));' \
    'list entry read without its last character'
fault framework/data_exchange.cpp 'value ? BST_CHECKED : BST_UNCHECKED' 'value == 1 ? BST_CHECKED : BST_UNCHECKED' \
    'a stored 2 shown unticked'
fault framework/frame.cpp '::lstrcmpiW(className, L"Edit") == 0' '::lstrcmpiW(className, L"Edit") != 0' \
    'edit keys swallowed by the accelerators'
fault framework/app.cpp 'ShowMessageBox(owner, text, m_strAppTitle, type)' \
    'ShowMessageBox(owner, text, "", type)' 'message boxes without the program title'
fault framework/frame.cpp 'context = HID_BASE_COMMAND + id;' 'context = HID_BASE_RESOURCE + id;' \
    'context help on a control opens the wrong topic'
fault framework/frame.cpp '            m_pView->ResizeParentToFit(false);
        return 0;' '        return 0;' 'a new scale leaves the frame at the suggested size'

# bridge
fault bridge/command_lines.cpp "if (title[length - 1] == ':')" "if (title[length - 1] == ';')" \
    'channel keeps the colon before the first space'
fault bridge/command_lines.cpp 'std::string_view("#&+!")' 'std::string_view("#&")' \
    'channels marked + and ! refused'
fault bridge/command_lines.cpp 'find_first_not_of("@+%~&")' 'find_first_not_of("@")' \
    'voice and other status marks kept in nicknames'
fault bridge/command_lines.cpp "' ' + QuotedIfSpaced(file) + ' '" "' ' + file + ' '" \
    'a file name with spaces not quoted'
fault bridge/command_lines.cpp '!continuation && characters++ == kMaxTagLength' \
    'characters++ == kMaxTagLength' 'tag cut inside a character'
fault bridge/client_window.cpp '::GetWindow(first, GW_HWNDNEXT)' 'first' \
    'walk takes the first child instead of the second'
fault bridge/client_window.cpp 'windows.editLine && IsEditLine(windows.editLine) &&' \
    'windows.editLine &&' 'any first child of the active window taken for the edit line'
fault bridge/client_window.cpp 'FindWindowExW(topLevel, nullptr, L"MDIClient", nullptr)' \
    'FindWindowExW(topLevel, nullptr, L"MDIClientX", nullptr)' 'no search by class'
fault view/brisa_view.cpp 'const bool raise = prompt || settings::FallsBack(m_settings);' \
    'const bool raise = prompt;' 'Fall Back raises nothing'
fault bridge/dcc_send_dlg.cpp 'm_bFallBack ? RaiseAfter::ActiveWindow : RaiseAfter::Nothing' \
    'm_bFallBack ? RaiseAfter::MainWindow : RaiseAfter::Nothing' 'DCC Send raises the main window'
fault bridge/client_window.cpp 'SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS' 'SWP_NOMOVE | SWP_NOSIZE' \
    'raising waits for the client'
fault bridge/client_window.cpp 'kClientTimeoutMs = 1500' 'kClientTimeoutMs = 15000' \
    'client messages wait 15 s'
fault bridge/client_window.cpp '        return ClientOutcome::EnterUnanswered;' \
    '        return ClientOutcome::NotAnswering;' 'unanswered Enter reported as nothing typed'
fault bridge/client_window.h 'kMaxListEntries = 10000' 'kMaxListEntries = 0x7FFFFFFF' \
    'nickname count not capped'
fault bridge/client_window.cpp 'else if (!gone)' 'else' 'a failed read adds a blank nickname'
fault bridge/client_window.h '::GetTickCount64() > deadline ? ClientList::EEnd::Cut :' \
    'false ? ClientList::EEnd::Cut :' 'nickname copy not bounded in time'
fault bridge/client_window.cpp 'std::min(kClientTimeoutMs, deadline - now)' 'kClientTimeoutMs' \
    'each message of an operation waits its own time in full'
fault bridge/client_window.cpp '    if (!::IsWindowUnicode(editLine) &&' '    if (false &&' \
    'an ANSI edit line given question marks'
fault bridge/mirc_interface.cpp '        m_bReserved = true;
        return EAnswer::NotAnswering;' '        return EAnswer::NotAnswering;' \
    'a mapping whose message timed out reused'
fault bridge/mirc_interface.cpp '        return EAnswer::CannotCarry;' '        return EAnswer::Refused;' \
    'a line the client cannot carry reported as refused'
fault bridge/irc_client.cpp '        // Handed over, the line may still be performed when the client answers.
        return answer' '        if (answer != CMircInterface::EAnswer::Refused)
        return answer' 'a refused line typed again through the windows'
fault bridge/irc_client.cpp 'answer == CMircInterface::EAnswer::Refused ? ClientList::EEnd::Refused' \
    'answer == CMircInterface::EAnswer::Refused ? ClientList::EEnd::NotAnswering' \
    'a refused nickname copy said not to answer'
fault bridge/dcc_send_dlg.cpp 'if (m_strNick.empty() || m_strFileName.empty()) {' \
    'if (m_strFileName.empty()) {' 'DCC Send types a line without a nickname'
fault bridge/dcc_send_dlg.cpp '    ::BringWindowToTop(m_hWnd);' '' \
    'DCC Send dialog not raised after a send'
fault bridge/dcc_send_dlg.cpp '    if (nicks.value.items.empty())
        return;' '' 'an empty channel wipes the copied nicknames'
fault bridge/dcc_send_dlg.cpp 'kMaxNickChars = 10' 'kMaxNickChars = 11' \
    'nickname box takes 11 characters'
fault bridge/mirc_interface.cpp 'const bool inUse = mapping && ::GetLastError() == ERROR_ALREADY_EXISTS;' \
    'const bool inUse = false;' 'a mapping name in use taken over'
fault bridge/mirc_interface.cpp 'mirc.m_bUnicode = major >= 7;' 'mirc.m_bUnicode = major >= 6;' \
    'version 6 spoken to in UTF-16'
fault bridge/irc_client.cpp 'return className == "mIRC32" || className == "mIRC";' \
    'return className == "mIRC32";' 'today'"'"'s mIRC reached through its windows only'
fault bridge/irc_client.cpp '(spaceAtEnd ? "/editbox -ap " : "/editbox -a ")' \
    '(spaceAtEnd ? "/editbox -a " : "/editbox -a ")' 'Prompt for Tag loses the space after the hyphen'

# settings
fault settings/settings.h '{kTagText, s.m_strTagText}' '{kWavDir, s.m_strTagText}' \
    'OK writes the tag under the wrong key'
fault settings/settings.h 'kDefaultSendTagText[] = "-plays Brisa: @"' \
    'kDefaultSendTagText[] = "-plays Brisa @"' 'wrong default tag for Send'
fault settings/settings.cpp 'settings.m_bFallBack != 0' 'settings.m_bFallBack == 1' \
    'Fall Back only at exactly 1'
fault settings/settings.cpp 'settings.m_bSendClose == 1' 'settings.m_bSendClose != 0' \
    'Close on Send at any non-zero value'
fault settings/options_dlg.cpp '    UpdateData(true);
    m_editTagText.EnableWindow(!settings::PromptsForTag(m_settings));' '    UpdateData(true);
    m_editTagText.EnableWindow(settings::PromptsForTag(m_settings));' 'Prompt for Tag enables the tag box'
fault settings/options_dlg.cpp 'settings::ClientChosenBy(static_cast<int>(id))->stored' \
    'static_cast<int>(id)' 'the radio button'"'"'s id stored as the client'
fault settings/options_dlg.cpp 'if (!settings::Save(profile, m_settings)) {' \
    'if (!settings::Save(profile, m_settings) && false) {' \
    'OK closes as if it had saved what it could not'
fault settings/options_dlg.cpp 'client.stored == m_settings.m_nClient ? BST_CHECKED : BST_UNCHECKED' \
    'client.stored == m_settings.m_nClient ? BST_CHECKED : BST_CHECKED' 'two radio buttons checked at once'

# view
fault view/brisa_view.cpp '    RemoveFile(*path);
    RefreshList(m_listFiles.GetCurSel());' '    RemoveFile(*path);
    RefreshList(0);' 'after Delete the first entry is selected'
fault view/brisa_view.cpp '    RefreshList(m_listFiles.GetCurSel());
    EnableClientButtons(IsClientPresent());' '    RefreshList(m_listFiles.GetCurSel());
    if (IsClientPresent())
        EnableClientButtons(true);' 'Send and DCC stay enabled when the client is gone'
fault view/brisa_view.cpp 'm_listFiles.SelectString(-1, m_strFileName)' \
    'm_listFiles.SelectString(0, m_strFileName)' 'typed prefix searched from the second entry'
fault view/brisa_view.cpp '    m_listFiles.SetRedraw(false);
    m_listFiles.ResetContent();' '    m_listFiles.ResetContent();' 'the list redrawn for every file'
fault view/brisa_view.cpp '    if (!ListFolder())
        m_listFiles.ResetContent();
    WatchFolder();' '    ListFolder();
    WatchFolder();' 'an unlistable folder keeps the names of the one before'
fault view/brisa_view.cpp 'FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM' \
    'FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM' 'hidden files listed'
fault view/brisa_view.cpp 'folder.size() + kListSpecTailChars >= kListSpecChars' \
    'folder.size() + kListSpecTailChars > kListSpecChars' 'a folder one character too long listed'
fault view/brisa_view.cpp '    ::SetTimer(m_hWnd, kEverySecondTimer, kEverySecondMs, nullptr);' '' \
    'Send and DCC do not follow the client'
fault view/brisa_view.cpp '    m_pApp->Watch(change, *this);' '' 'the list does not follow its folder'
fault view/brisa_view.cpp '    ::SetTimer(m_hWnd, kFollowFolderTimer, static_cast<UINT>(wait), nullptr);' \
    '    FollowFolder();' 'each change of the folder listed at once'
fault view/brisa_view.cpp '    m_listFiles.SetCurSel(selected.empty() ? -1 : m_listFiles.FindStringExact(selected));
' '' 'a change of the folder loses the selection'
fault view/brisa_view.cpp '    m_listFiles.SetCurSel(selected.empty() ? -1 : m_listFiles.FindStringExact(selected));
' '    m_listFiles.SetCurSel(selected.empty() ? -1 : m_listFiles.FindStringExact(selected));
    OnSelchangeFileList();
' 'a change of the folder overwrites the name box'
fault view/brisa_view.cpp '        if (m_hFolderChange &&' '        if (false &&' 'a folder that went away stays listed'
fault view/brisa_view.cpp 'ClientSoundKind(SoundTypeOf(m_strFileName).value_or(SoundType::Wave))' '"wave"' \
    'the sounds folder of WAVE files asked for every type'
fault view/file_paths.cpp "           (folder.size() == root.size() || folder[root.size()] == L'\\\\') &&" '' \
    'a folder that only begins like the client'"'"'s counted as in it'
fault view/file_paths.cpp 'root.c_str(), length, TRUE)' 'root.c_str(), length, FALSE)' \
    'folders compared in their letter case'
fault view/file_paths.cpp "while (!path->empty() && path->back() == L'\\\\')" 'while (false)' \
    'a trailing backslash makes another folder'
fault view/sound_files.cpp 'EqualsIgnoringCase(extension, ".mp3")' 'extension == ".mp3"' \
    'MP3 files listed only in lower case'
fault view/sound_files.cpp 'find_last_not_of(". ")' 'find_last_not_of(".")' \
    'a name ending in a space not listed'
fault view/sound_player.cpp 'sndPlaySound(path, SND_ASYNC)' 'sndPlaySound(path, SND_ASYNC | SND_NODEFAULT)' \
    'Play without the default sound'
fault view/sound_player.cpp 'L"sequencer" : L"mpegvideo"' 'L"mpegvideo" : L"mpegvideo"' \
    'MIDI opened as MP3'
fault view/sound_player.cpp '        PlayWave(nullptr);
        m_bMciOpen' '        m_bMciOpen' 'a WAVE sound plays on under a MIDI or MP3 one'
fault view/sound_player.cpp '    PlayWave(nullptr);
    CloseMci();
}' '    PlayWave(nullptr);
}' 'Stop leaves MIDI and MP3 playing'
fault view/sound_player.cpp 'SoundType type) {
    CloseMci();' 'SoundType type) {' 'a WAVE sound plays on top of a MIDI or MP3 one'
fault bridge/irc_client.cpp '    if (!m_mirc)
        return {};' '    if (!m_mirc)
        return {ClientOutcome::Done, std::string()};' 'through the windows a sound is named by its path'
fault framework/app.cpp '    RunSignalledWatches();
    MSG msg{};' '    MSG msg{};' 'watched handles not looked at by the message loop'
fault view/brisa_view.cpp '    if (m_strFileName.empty())
        return std::nullopt;' '' 'Play and Delete with no name act on the folder'
fault view/brisa_view.cpp '    if (m_strFileName.empty()) {
        m_pApp->DoMessageBox(m_pApp->LoadString(IDS_NO_SOUND_NAME)' '    if (false) {
        m_pApp->DoMessageBox(m_pApp->LoadString(IDS_NO_SOUND_NAME)' 'Send types a line without a sound'
fault view/brisa_view.cpp 'ExactPath(m_settings.m_strWavDir, m_strFileName).c_str()' 'fw::Widen(path).c_str()' \
    'Delete reaches the file of the normalised name'
fault view/file_paths.cpp "return last != ' ' && last != '.' &&" "return last != '.' &&" \
    'Play reaches the file of the normalised name'
fault view/brisa_view.cpp 'const bool nameCut = title.value.cut &&' 'const bool nameCut = false &&' \
    'a title cut inside the channel name sent to'

# app
fault app/brisa_app.cpp 'if (location.newFolder && length > 0' 'if (length > 0' \
    'the old settings copied at every start'
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

# The Windows suites most likely to catch a fault in the file, tried before the others.
likely_suites() {
    case $1 in
    src/view/* | src/app/*) echo 'WavListView|Shell|EndToEnd' ;;
    src/bridge/*) echo 'CurrentClient|SendCommand|DccSendDialog' ;;
    *) echo 'OptionsDialog' ;;
    esac
}

caught=0 missed=0 broken=0
for i in "${!files[@]}"; do
    description=${descriptions[$i]}
    [ -n "$only" ] && ! grep -qE -- "$only" <<<"$description" && continue
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
    likely=$(likely_suites "$target")
    for selection in "-R $likely" "-E $likely"; do
        [ -z "$by" ] && by=$(ctest --preset win64 --stop-on-failure $selection 2>&1 |
            tee -a "$log" | first_failure)
    done
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
