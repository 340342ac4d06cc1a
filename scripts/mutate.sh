#!/usr/bin/env bash
# Fault power of the tests: applies realistic faults to src/ one at a time, rebuilds, runs the
# tests (a fault in the portable rules natively first; then the Windows tests, the suites likeliest
# to catch it first, each run stopping at its first failure) and prints which test caught each
# fault. Every fault must be caught. Not part of the CI run.
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
fault framework/profile.cpp 'if (length + 2 < buffer.size())' 'if (length < buffer.size())' \
    'long profile values cut at 255 characters'
fault framework/profile.cpp '|| encoding == FileEncoding::Ascii) {' '|| encoding != FileEncoding::Utf8) {' \
    'a legacy settings file read without conversion'
fault framework/profile.cpp 'std::string bytes(kUtf16Mark, 2);' 'std::string bytes;' \
    'settings written without their byte-order mark'
fault framework/profile.cpp 'return m_strCopy.empty() ? Widen(m_strPath) : m_strCopy;' \
    'return Widen(m_strPath);' 'a held file not yet converted read in the wrong encoding'
fault framework/profile_text.cpp '(outer(value.front()) || outer(value.back()))' 'outer(value.front())' \
    'a value'"'"'s spaces at its end lost'
fault framework/profile.cpp 'size.QuadPart <= kMaxSettingsBytes &&' '' \
    'a file far beyond any settings file rewritten'
fault framework/profile_text.cpp 'return IsValidUtf8(bytes) ? FileEncoding::Utf8 : FileEncoding::Ansi;' \
    'return FileEncoding::Ansi;' 'a UTF-8 settings file read as ANSI'
fault framework/profile_text.cpp '(lead == 0xED && second >= 0xA0) ||' '' \
    'a file with UTF-8 surrogates read as UTF-8'
fault framework/profile_text.cpp 'files.Write(beside, bytes) && files.Read(beside) == bytes &&' \
    'files.Write(beside, bytes) &&' 'a short write put in the settings file'"'"'s place'
fault framework/profile_text.cpp '    files.Remove(beside);' '' 'a failed replacement leaves a file beside the settings'
fault framework/profile_text.cpp '[&](char16_t x, char16_t y) { return lower(x) == lower(y); }' \
    '[&](char16_t x, char16_t y) { return x == y; }' 'a key of the settings file found only in its exact letter case'
fault framework/profile_text.cpp '        while (end > first && Trimmed(Content(lines[end - 1])).empty())
            --end;' '' 'a new key put after the blank line before the next section'
fault framework/text.cpp '    if (lossy)
        return std::nullopt;' '' 'a text an ANSI program cannot hold given to it with question marks'
fault framework/text.cpp 'return FromCodePage(utf8, CP_UTF8);' 'return FromCodePage(utf8, CP_ACP);' \
    'UTF-8 read as the ANSI code page'
fault framework/wnd.h 'std::clamp<LRESULT>(copied, 0, length)' 'std::clamp<LRESULT>(copied - 1, 0, length)' \
    'a text read without its last character'
fault framework/data_exchange.cpp 'value ? BST_CHECKED : BST_UNCHECKED' 'value == 1 ? BST_CHECKED : BST_UNCHECKED' \
    'a stored 2 shown unticked'
fault framework/frame.cpp '::lstrcmpiW(className, L"Edit") == 0' '::lstrcmpiW(className, L"Edit") != 0' \
    'edit keys swallowed by the accelerators'
fault framework/module.cpp 'ShowMessageBox(owner, text, m_strAppTitle, type)' \
    'ShowMessageBox(owner, text, "", type)' 'message boxes without the program title'
fault framework/frame.cpp 'context = HID_BASE_COMMAND + id;' 'context = HID_BASE_RESOURCE + id;' \
    'context help on a control opens the wrong topic'
fault framework/wnd.cpp '    SetRedraw(false);
    ResetContent();' '    ResetContent();' 'the list redrawn for every entry added'
fault framework/dialog.cpp '    UpdateData(true);
    list.SelectString(-1, value);' '    UpdateData(true);
    list.SelectString(0, value);' 'typed prefix searched from the second entry'

# rules
fault rules/command_lines.cpp "if (title[length - 1] == ':')" "if (title[length - 1] == ';')" \
    'channel keeps the colon before the first space'
fault rules/command_lines.cpp 'std::string_view("#&+!")' 'std::string_view("#&")' \
    'channels marked + and ! refused'
fault rules/command_lines.cpp 'find_first_not_of("@+%~&")' 'find_first_not_of("@")' \
    'voice and other status marks kept in nicknames'
fault rules/command_lines.cpp "' ' + QuotedIfSpaced(file) + ' '" "' ' + file + ' '" \
    'a file name with spaces not quoted'
fault rules/command_lines.cpp '!continuation && characters++ == kMaxTagLength' \
    'characters++ == kMaxTagLength' 'tag cut inside a character'
fault rules/commands.cpp 'const bool raise = prompt || settings::FallsBack(settings);' \
    'const bool raise = prompt;' 'Fall Back raises nothing'
fault rules/commands.cpp 'settings::FallsBack(settings) ? RaiseAfter::ActiveWindow : RaiseAfter::Nothing' \
    'settings::FallsBack(settings) ? RaiseAfter::MainWindow : RaiseAfter::Nothing' 'DCC Send raises the main window'
fault rules/commands.cpp 'if (nick.empty() || fileName.empty())' 'if (fileName.empty())' \
    'DCC Send types a line without a nickname'
fault rules/commands.cpp '    if (list.value.items.empty())
        return copy;' '' 'an empty channel wipes the copied nicknames'
fault rules/commands.cpp 'ClientSoundKind(SoundTypeOf(fileName).value_or(SoundType::Wave))' '"wave"' \
    'the sounds folder of WAVE files asked for every type'
fault rules/commands.cpp '    if (fileName.empty())
        return {{IDS_NO_SOUND_NAME}};' '' 'Send types a line without a sound'
fault rules/commands.cpp 'const bool nameCut = name.cut &&' 'const bool nameCut = false &&' \
    'a title cut inside the channel name sent to'
fault rules/commands.cpp 'return {{}, settings::ClosesOnSend(settings)};' 'return {{}, settings::FallsBack(settings)};' \
    'Close on Send follows Fall Back'
fault rules/commands.cpp '        if (!entry.empty())
            copy.nicks' '        copy.nicks' 'an empty entry of the client'"'"'s list copied'
fault rules/client.h 'const long long wanted = count < kMaxListEntries ? count : kMaxListEntries;' \
    'const long long wanted = count;' 'nickname count not capped'
fault rules/client.h 'const auto end = now() > deadline' 'const auto end = false' \
    'nickname copy not bounded in time'
fault rules/mirc_protocol.cpp '        m_bReserved = true;
        m_pLink->KeepForLateAnswer();' '        m_pLink->KeepForLateAnswer();' \
    'a mapping whose message timed out reused'
fault rules/mirc_protocol.cpp '        return EAnswer::CannotCarry;' '        return EAnswer::Refused;' \
    'a line the client cannot carry reported as refused'
fault rules/mirc_protocol.cpp '        if (mapping == IMircLink::EMapping::InUse)
            continue;' '' 'a mapping name in use taken over'
fault rules/mirc_protocol.cpp 'memory.unicode = major >= 7;' 'memory.unicode = major >= 6;' \
    'version 6 spoken to in UTF-16'
fault rules/mirc_protocol.cpp '        if (memory.unicode) // a version cannot change while its window lives
            return mirc;' '' 'the version asked at every operation'
fault rules/mirc_protocol.cpp 'if (memory.kept >= kMaxKeptMappings) {' 'if (false) {' \
    'a client that leaves messages unanswered takes ever more mappings'
fault rules/mirc_protocol.cpp '        m_pLink->ReleaseKept();
        m_pMemory->kept = 0;' '' 'mappings kept for late answers never let go'
fault rules/mirc_protocol.cpp 'return *answer == 1 ? EAnswer::Done : EAnswer::Refused;' \
    'return EAnswer::Done;' 'an answer of failure taken as done'
fault rules/client_session.cpp '    } else if (m_bAnswers) {' \
    '    }
    if (outcome == ClientOutcome::Refused || (!m_mirc && m_bAnswers)) {' \
    'a refused line typed again through the windows'
fault rules/client_session.cpp 'm_windows.Raise(raise == RaiseAfter::ActiveWindow ? typedInto : 0);' \
    'm_windows.Raise(raise == RaiseAfter::ActiveWindow ? m_windows.FindActive(m_nDeadline) : 0);' \
    'Fall Back raises the window found after the line went in'
fault rules/client_session.cpp 'constexpr long long kNicknamesAtOnce = 20;' 'constexpr long long kNicknamesAtOnce = 1;' \
    'nicknames asked for one by one'
fault rules/client_session.cpp 'answer == CMircInterface::EAnswer::Refused ? ClientList::EEnd::Refused' \
    'answer == CMircInterface::EAnswer::Refused ? ClientList::EEnd::NotAnswering' \
    'a refused nickname copy said not to answer'
fault rules/client_session.cpp '(spaceAtEnd ? "/editbox -ap " : "/editbox -a ")' \
    '(spaceAtEnd ? "/editbox -a " : "/editbox -a ")' 'Prompt for Tag loses the space after the hyphen'
fault rules/client_session.cpp 'return {title.outcome, {title.value, std::nullopt}};' \
    'return {title.outcome, {title.value, std::string()}};' 'through the windows a sound is named by its path'
fault rules/client_session.cpp 'm_bAnswers = m_mirc || (answer != CMircInterface::EAnswer::NotAnswering && !memory->unicode);' \
    'm_bAnswers = m_mirc || !memory->unicode;' \
    'a client that does not answer the interface is typed into through its windows'
fault rules/client_session.cpp 'm_bAnswers = m_mirc || (answer != CMircInterface::EAnswer::NotAnswering && !memory->unicode);' \
    'm_bAnswers = m_mirc || answer != CMircInterface::EAnswer::NotAnswering;' \
    'a client that answered once is typed into through its windows'
fault rules/client_session.cpp 'if (outcome == ClientOutcome::Done && raise != RaiseAfter::Nothing)' \
    'if (raise != RaiseAfter::Nothing)' 'a client raised although the line did not go in'
fault rules/client_session.cpp 'm_nDeadline(now() + kOperationMs)' 'm_nDeadline(kNoDeadline)' \
    'an operation on the client without a deadline'
fault rules/settings.h '{kTagText, s.m_strTagText}' '{kWavDir, s.m_strTagText}' \
    'OK writes the tag under the wrong key'
fault rules/settings.h 'kDefaultSendTagText[] = "-plays Brisa: @"' \
    'kDefaultSendTagText[] = "-plays Brisa @"' 'wrong default tag for Send'
fault rules/settings.cpp 'settings.m_bFallBack != 0' 'settings.m_bFallBack == 1' \
    'Fall Back only at exactly 1'
fault rules/settings.cpp 'return settings.m_bSendClose == 1;' 'return settings.m_bSendClose != 0;' \
    'Close on Send at any non-zero value'
fault rules/settings.cpp 'return settings.m_bSendClose == 0;' 'return settings.m_bSendClose != 1;' \
    'Fall Back offered while Close on Send holds a 2'
fault rules/sound_files.cpp 'EqualsIgnoringAsciiCase(extension, ".mp3")' 'extension == ".mp3"' \
    'MP3 files listed only in lower case'
fault rules/sound_files.cpp 'find_last_not_of(". ")' 'find_last_not_of(".")' \
    'a name ending in a space not listed'
fault rules/sound_files.cpp 'Utf16Length(folder) + kListSpecTailChars < kListSpecChars' \
    'Utf16Length(folder) + kListSpecTailChars <= kListSpecChars' 'a folder one character too long listed'
fault rules/sound_files.cpp 'units += byte >= 0xF0;' '' 'lengths counted in characters, not UTF-16 units'
fault rules/sound_files.cpp '    if (name.empty())
        return std::nullopt;' '' 'Play and Delete with no name act on the folder'
fault rules/sound_files.cpp "return !path.empty() && path.back() != ' ' &&" "return !path.empty() &&" \
    'Play reaches the file of the normalised name'
fault rules/sound_files.cpp '"\\\\?\\UNC" + fullFolder.substr(1)' '"\\\\?\\" + fullFolder' \
    'a share reached by a path Windows cannot take'
fault rules/sound_files.cpp "           (folder.size() == root.size() || folder[root.size()] == '\\\\') &&" '' \
    'a folder that only begins like the client'"'"'s counted as in it'
fault rules/sound_files.cpp "while (!path.empty() && path.back() == '\\\\')" 'while (false)' \
    'a trailing backslash makes another folder'
fault rules/sound_list.cpp '        if (m_same(entry.name, name))
            return shown;' '        if (entry.name.size() == name.size())
            return shown;' \
    'the selection kept by a name of the same length'
fault rules/sound_list.cpp 'const auto at = std::upper_bound(' 'const auto at = m_entries.end(); std::upper_bound(' \
    'a file come to the folder put at the end of the list'
fault rules/sound_list.cpp 'return latest > now ? std::min(m_nQuiet, latest - now) : 0;' \
    'return m_nQuiet;' 'a folder that never pauses never listed'

# bridge
fault bridge/client_window.cpp '::GetWindow(first, GW_HWNDNEXT)' 'first' \
    'walk takes the first child instead of the second'
fault bridge/client_window.cpp 'windows.editLine && IsEditLine(windows.editLine) &&' \
    'windows.editLine &&' 'any first child of the active window taken for the edit line'
fault bridge/client_window.cpp 'FindWindowExW(m_hTopLevel, nullptr, L"MDIClient", nullptr)' \
    'FindWindowExW(m_hTopLevel, nullptr, L"MDIClientX", nullptr)' 'no search by class'
fault bridge/client_window.cpp 'SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS' 'SWP_NOMOVE | SWP_NOSIZE' \
    'raising waits for the client'
fault bridge/client_window.cpp 'kClientTimeoutMs = 1500' 'kClientTimeoutMs = 15000' \
    'client messages wait 15 s'
fault bridge/client_window.cpp '        return ClientOutcome::EnterUnanswered;' \
    '        return ClientOutcome::NotAnswering;' 'unanswered Enter reported as nothing typed'
fault bridge/client_window.cpp 'else if (!gone)' 'else' 'a failed read adds a blank nickname'
fault bridge/client_window.cpp 'std::min(kClientTimeoutMs, deadline - now)' 'kClientTimeoutMs' \
    'each message of an operation waits its own time in full'
fault bridge/client_window.cpp '    if (!::IsWindowUnicode(editLine) &&' '    if (false &&' \
    'an ANSI edit line given question marks'
fault bridge/client_window.cpp 'RaiseWithoutWaiting(target && ::IsChild(m_hTopLevel, target) ? target : m_hTopLevel);' \
    'RaiseWithoutWaiting(m_hTopLevel);' 'the main window raised for the active one'
fault bridge/mirc_link.cpp '    m_kept.push_back(m_current);
    m_current = {};' '' 'a mapping the client may still read closed'
fault bridge/mirc_link.cpp '    for (Mapping& mapping : m_kept)
        Close(mapping);' '' 'mappings read by a late answer left open'
fault bridge/mirc_link.cpp 'const bool inUse = mapping && ::GetLastError() == ERROR_ALREADY_EXISTS;' \
    'const bool inUse = false;' 'another program'"'"'s mapping taken'
fault bridge/irc_client.cpp 'return className == "mIRC32" || className == "mIRC";' \
    'return className == "mIRC32";' 'today'"'"'s mIRC reached through its windows only'

# ui
fault ui/options_dlg.cpp '    UpdateData(true);
    m_editTagText.EnableWindow(!settings::PromptsForTag(m_settings));' '    UpdateData(true);
    m_editTagText.EnableWindow(settings::PromptsForTag(m_settings));' 'Prompt for Tag enables the tag box'
fault ui/options_dlg.cpp '            m_settings.m_nClient = radio.stored;' '            m_settings.m_nClient = radio.button;' \
    'the radio button'"'"'s id stored as the client'
fault ui/options_dlg.cpp 'if (!settings::Save(profile, m_settings)) {' \
    'if (!settings::Save(profile, m_settings) && false) {' \
    'OK closes as if it had saved what it could not'
fault ui/options_dlg.cpp 'radio.stored == m_settings.m_nClient ? BST_CHECKED : BST_UNCHECKED' \
    'radio.stored == m_settings.m_nClient ? BST_CHECKED : BST_CHECKED' 'two radio buttons checked at once'
fault ui/brisa_view.cpp '    RemoveFile(*path, recycle);
    RefreshList(m_listFiles.GetCurSel());' '    RemoveFile(*path, recycle);
    RefreshList(0);' 'after Delete the first entry is selected'
fault ui/brisa_view.cpp '    RefreshList(m_listFiles.GetCurSel());
    EnableClientButtons(IsClientPresent());' '    RefreshList(m_listFiles.GetCurSel());
    if (IsClientPresent())
        EnableClientButtons(true);' 'Send and DCC stay enabled when the client is gone'
fault ui/brisa_view.cpp '    ::SetTimer(m_hWnd, kClientPollTimer, m_nClientPollMs, nullptr);' '' \
    'Send and DCC do not follow the client'
fault ui/brisa_view.cpp '    EnableClientButtons(client.running);' '' 'the client'"'"'s poll leaves the buttons as they were'
fault ui/brisa_view.cpp '    m_listFiles.SetRedraw(true);
    m_listFiles.SetCurSel(selected.empty() ? -1 : m_sounds.IndexOf(selected));' \
    '    m_listFiles.SetRedraw(true);' 'a change of the folder loses the selection'
fault ui/brisa_view.cpp '    m_listFiles.SetRedraw(true);
    m_listFiles.SetCurSel(selected.empty() ? -1 : m_sounds.IndexOf(selected));' \
    '    m_listFiles.SetRedraw(true);
    m_listFiles.SetCurSel(selected.empty() ? -1 : m_sounds.IndexOf(selected));
    OnSelchangeFileList();' 'a change of the folder overwrites the name box'
fault ui/brisa_view.cpp '    m_listFiles.Fill(m_sounds.Shown());
    m_listFiles.SetCurSel(selected.empty() ? -1 : m_sounds.IndexOf(selected));' \
    '    m_listFiles.Fill(m_sounds.Shown());' 'a listing or a search loses the selection'
fault ui/brisa_view.cpp '    m_sounds.Assign({});
    m_listFiles.ResetContent();' '    m_sounds.Assign({});' 'an unlistable folder keeps the names of the one before'
fault ui/brisa_view.cpp 'ExactPathOf(m_settings.m_strWavDir, m_strFileName).c_str()' 'fw::Widen(path).c_str()' \
    'Delete reaches the file of the normalised name'
fault ui/brisa_view.cpp 'if (result.closeBrisa && mayClose)' 'if (false)' 'Close on Send leaves Brisa open'
fault ui/dcc_send_dlg.cpp '    if (result.typed)
        ::BringWindowToTop(m_hWnd);' '' 'DCC Send dialog not raised after a send'
fault ui/dcc_send_dlg.cpp 'kMaxNickChars = 10' 'kMaxNickChars = 11' 'nickname box takes 11 characters'
fault ui/dcc_send_dlg.cpp '    m_btnSend.EnableWindow(IsClientPresent());' '' 'DCC Send stays enabled when the client is gone'
fault ui/dcc_send_dlg.cpp 'now.m_strWavDir = settings::LoadWavDir(m_pApp->GetProfile());' '' \
    'DCC Send offers from the folder of the view'"'"'s settings'

# the soundboard and the status line
fault rules/soundboard.cpp 'const bool twoModifiers = (modifiers & (modifiers - 1)) != 0;' \
    'const bool twoModifiers = modifiers != 0;' 'a hotkey of one modifier taken from every program'
fault rules/soundboard.cpp 'if (hotkey.modifiers & modifier.key)' \
    'if (hotkey.modifiers & modifier.key & ~Hotkey::kWin)' 'Win left out of a hotkey'"'"'s text'
fault rules/soundboard.cpp 'if (binding.hotkey == hotkey && !same(binding.sound, sound))' \
    'if (binding.hotkey == hotkey)' 'a sound refused its own hotkey'
fault rules/soundboard.cpp 'return same(b.sound, sound); }),' 'return false; }),' \
    'a sound given another hotkey keeps its first'
fault rules/soundboard.cpp 'std::clamp(stored, 0, kFullVolume)' 'stored' 'a volume beyond 100 kept'
fault rules/ascii_text.h 'return lower(x) == lower(y);' 'return x == y;' \
    'extensions and key names compared in their letter case'
fault rules/soundboard.h '        hotkeys.emplace_back(Format(binding.hotkey), std::nullopt);' '' \
    'a hotkey taken away stays in the settings file'
fault rules/soundboard.h 'if (hotkey && !sound.empty())' 'if (hotkey)' 'a hotkey of no sound loaded'
fault rules/sound_list.cpp 'm_strFilter = m_fold(text);' 'm_strFilter = std::string(text);' \
    'a search minds letter case'
fault rules/sound_list.cpp 'return "\x01" + m_textKey(name)' 'return "\x02" + m_textKey(name)' \
    'subfolders'"'"' sounds mixed with the top folder'"'"'s'
fault rules/sound_list.cpp 'const int shown = Shows(*found) ? ShownBefore(index) : -1;' \
    'const int shown = static_cast<int>(index);' 'a change while searching removes the wrong entry'
fault rules/sound_list.cpp 'return m_same(NameOf(entry.name), fileName);' \
    'return m_same(entry.name, fileName);' 'a name in two subfolders not noticed'
fault rules/commands.cpp 'if (!folder && !sendNamesake(NameOf(fileName)))' 'if (false)' \
    'a name in two subfolders sent without a word'
fault rules/command_lines.cpp 'const std::string file = folder ? FilePath(*folder, fileName) : bareName;' \
    'const std::string file = folder ? FilePath(*folder, fileName) : fileName;' \
    'a file of a subfolder named by its path below the folder'
fault rules/status.cpp '    if (folder.shown)' '    if (false)' 'the status line does not say the list is narrowed'
fault rules/status.cpp 'if (client.running && !client.version.empty())' 'if (false)' \
    'the client'"'"'s version and active window not shown'
fault rules/status.cpp 'if (folder.sounds == 1)' 'if (folder.sounds == 0)' 'one sound said as many'
fault rules/placement.cpp 'size * dpi / saved.dpi' 'size' 'a window kept at another scale comes back at the old one'
fault rules/sound_files.cpp 'return driveHasRecycleBin && CanPlayAsListed(path);' 'return driveHasRecycleBin;' \
    'a name the shell would misread sent to the Recycle Bin'
fault rules/sound_files.cpp '        if (SoundTypeOf(NameOf(path)))
            plan.sounds' '        if (true)
            plan.sounds' 'any file dropped copied in'
fault framework/profile_text.cpp 'lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(end--));' '{}' \
    'a key taken away stays in the file'
fault ui/brisa_view.cpp 'if (::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES &&' 'if (false &&' \
    'a dropped file replaces one of the same name unasked'
fault ui/brisa_view.cpp 'if (!m_pApp->OpenFolder(m_settings.m_strWavDir))' \
    'if (!m_pApp->OpenFolder(m_settings.m_strTagText))' 'File > Open Sounds Folder opens another folder'
fault ui/options_dlg.cpp '        fw::SetWindowTextOf(box, *chosen);' '        {}' 'the folder chosen with Browse not taken'
fault framework/shell.cpp 'operation.fFlags = FOF_ALLOWUNDO | ' 'operation.fFlags = ' \
    'Delete removes for good where the Recycle Bin is'
fault ui/brisa_view.cpp '    if (!m_sounds.Contains(sound))
        return;' '' 'a hotkey of a gone file acts'
fault ui/brisa_view.cpp '    if (!taken.empty())' '    if (false)' \
    'a hotkey another program holds not named at start'
fault ui/brisa_view.cpp '    if (IsClientPresent())
        SendFile(sound, false);' '    if (false)
        SendFile(sound, false);' 'a hotkey plays its sound while the client runs'
fault ui/brisa_view.cpp '        m_player.Stop();
        return;' '        return;' 'the stop hotkey stops nothing'
fault ui/brisa_view.cpp 'if (code == TB_ENDTRACK)' 'if (code == TB_THUMBTRACK)' 'the volume not kept'
fault ui/brisa_view.cpp '    m_sounds.Filter(fw::GetWindowTextOf(GetDlgItem(IDC_FILTER)));' '' \
    'the search narrows nothing'
fault ui/brisa_view.cpp '    fw::SetWindowTextOf(GetDlgItem(IDC_FILTER), "");' '' 'Esc keeps the search'
fault ui/brisa_view.cpp 'ShowStatus(2, hotkey ?' 'ShowStatus(1, hotkey ?' \
    'the hotkey shown in the client'"'"'s part of the status line'
fault ui/brisa_view.cpp 'return m_sounds.CountNamed(bareName) < 2 ||' 'return true ||' \
    'Send types a name of two files unasked'
fault ui/hotkeys_dlg.cpp 'if (!::RegisterHotKey(m_hWnd, kProbeId, hotkey.modifiers | MOD_NOREPEAT, hotkey.key)) {' \
    'if (false) {' 'a combination another program holds accepted'
fault ui/hotkeys_dlg.cpp 'if (const auto holder = soundboard::HolderOf(board, hotkey, sound, SameName)) {' \
    'if (const auto holder = std::optional<std::string>()) {' 'two sounds given one hotkey'
fault ui/hotkeys_dlg.cpp '            m_isListed(binding.sound)' '            true' 'a gone file not marked'
fault ui/hotkeys_dlg.cpp '    m_board = std::move(board);' '' 'new hotkeys not taken into use'

# sound
fault sound/sound_folder.cpp 'FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT' \
    'FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT' 'hidden files and folders listed'
fault sound/sound_folder.cpp 'const bool watched = files.Start() && subfolders.Start();' \
    'const bool watched = false;' 'the list does not follow its folder'
fault sound/sound_folder.cpp '(attributes & FILE_ATTRIBUTE_DIRECTORY) && wide != L"." && wide != L".."' \
    'false' 'subfolders not listed'
fault sound/sound_folder.cpp '                TakeRequest();
                if (!ListAndTell())' '                if (false)' 'a Refresh of the same folder never lists it again'
fault sound/sound_folder.cpp 'unlistableTold = unlistableTold && woke != WAIT_OBJECT_0 + 1;' '' \
    'a Refresh of a folder that cannot be listed waits for ever'
fault sound/sound_folder.cpp 'relist = relist || &watch == &subfolders;' 'relist = false;' \
    'a renamed subfolder not followed'
fault sound/file_paths.cpp 'return fw::Narrow(folded);' 'return std::string(text);' \
    'a search minds letter case beyond ASCII'
fault sound/sound_player.cpp 'static_cast<DWORD>(percent) * 0xFFFF / 100' \
    'static_cast<DWORD>(percent) * 0xFFFF / 1000' 'the volume played at a tenth'
fault sound/sound_folder.cpp 'due = ::GetTickCount64() + m_quiet.Changed(::GetTickCount64());' \
    'due = ::GetTickCount64();' 'each change of the folder told at once'
fault sound/sound_folder.cpp 'if (!(IdOf(OpenFolder(m_strFolder).get()) == std::optional<FolderId>(id)))' \
    'if (false)' 'a folder gone or replaced stays listed'
fault sound/sound_folder.cpp '    if (wParam != m_nGeneration)
        return 0;' '' 'the listing of a folder no longer chosen shown'
fault sound/sound_folder.cpp 'if (SoundTypeOf(name) && (!added ||' 'if ((!added ||' \
    'a file that is no sound listed as it comes'
fault sound/file_paths.cpp 'static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL' \
    'static_cast<int>(wideB.size()), FALSE) == CSTR_EQUAL' 'names compared in their letter case'
fault ui/brisa_view.cpp '    m_player.StopIfPlaying(fw::Widen(path));' '' \
    'Delete of the sound that plays leaves it playing'
fault sound/sound_player.cpp 'sndPlaySound(path, SND_ASYNC)' 'sndPlaySound(path, SND_ASYNC | SND_NODEFAULT)' \
    'Play without the default sound'
fault sound/sound_player.cpp 'L"sequencer" : L"mpegvideo"' 'L"mpegvideo" : L"mpegvideo"' \
    'MIDI opened as MP3'
fault sound/sound_player.cpp '        PlayWave(nullptr);
        m_bMciOpen' '        m_bMciOpen' 'a WAVE sound plays on under a MIDI or MP3 one'
fault sound/sound_player.cpp '    PlayWave(nullptr);
    CloseMci();
}' '    PlayWave(nullptr);
}' 'Stop leaves MIDI and MP3 playing'
fault sound/sound_player.cpp 'SoundType type) {
    CloseMci();' 'SoundType type) {' 'a WAVE sound plays on top of a MIDI or MP3 one'

# app
fault app/brisa_app.cpp 'if (location.newFolder && length > 0' 'if (length > 0' \
    'the old settings copied at every start'
fault app/brisa_doc.h 'SetTitle("Brisa Server")' 'SetTitle("Brisa server")' 'wrong document title'
fault app/main_frame.cpp 'const auto saved = settings::LoadPlace(m_profile);' \
    'const auto saved = std::optional<WindowPlace>();' 'the window does not come back where it was'
fault app/single_instance.cpp 'if (!mapping || ::GetLastError() != ERROR_ALREADY_EXISTS) {' \
    'if (true) {' 'a second Brisa on the same settings file'
fault app/brisa_app.cpp '{HID_BASE_COMMAND + IDC_SEND, IDH_ANNOUNCING}' \
    '{HID_BASE_COMMAND + IDC_SEND, IDH_MAIN_WINDOW}' 'Send opens the wrong help topic'

log=build/mutate.log
: >"$log"
restore() { [ -n "${backup:-}" ] && cp "$backup" "$target" && rm -f "$backup"; backup=; }
trap 'restore; exit 130' INT TERM

# The first test that failed in a GoogleTest output, or nothing.
first_failure() {
    grep -E '^\[  FAILED  \] [A-Za-z]+\.[A-Za-z]+' | head -n 1 | sed -E 's/^\[  FAILED  \] ([^ ]+).*/\1/'
}

# The Windows runs most likely to catch a fault in the file, tried before the others: the sound
# player is heard only through the real Brisa.exe.
likely_runs() {
    local suites
    case $1 in
    src/sound/sound_player* | src/app/single_instance*) echo brisa_end_to_end_tests; return ;;
    src/sound/* | src/app/*) suites='WavListView.*:Soundboard.*:Shell.*' ;;
    src/bridge/*) suites='Clients.*:DccSendDialog.*' ;;
    src/ui/dcc*) suites='DccSendDialog.*' ;;
    src/ui/hotkeys*) suites='Soundboard.*' ;;
    src/ui/brisa_view*) suites='WavListView.*:Soundboard.*:Clients.*' ;;
    *) suites='OptionsDialog.*:Shell.*' ;;
    esac
    echo "brisa_win_tests --gtest_filter=$suites"
    echo "brisa_win_tests --gtest_filter=-$suites"
    echo brisa_end_to_end_tests
}

bin=build/win64/bin
# Builds a test program and runs it under Wine up to its first failure, with its output in the
# log; only what the program needs is built.
wine_tests() {
    cmake --build --preset win64 --target "$1" >>"$log" 2>&1 || return
    cmake/wine-run.sh build/win64 "$bin/$1.exe" --gtest_fail_fast "${@:2}" 2>&1 | tee -a "$log"
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
    # A fault in the portable rules is looked for natively first, where it costs a second.
    if [[ $target == src/rules/* || $target == src/framework/profile_text.* ]]; then
        if ! cmake --build --preset native --target brisa_unit_tests >>"$log" 2>&1; then
            echo "NO BUILD $description"
            broken=$((broken + 1)); restore; continue
        fi
        by=$(build/native/bin/brisa_unit_tests --gtest_fail_fast 2>&1 | tee -a "$log" | first_failure)
    fi
    if [ -z "$by" ]; then
        if ! cmake --build --preset win64 --target brisa_win_tests >>"$log" 2>&1; then
            echo "NO BUILD $description"
            broken=$((broken + 1)); restore; continue
        fi
        while read -r run; do
            [ -z "$by" ] && by=$(wine_tests $run </dev/null | first_failure)
        done < <(likely_runs "$target")
    fi
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
