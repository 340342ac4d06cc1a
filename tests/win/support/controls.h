// Helpers for windows of this process, driven with synchronous messages as the Wine conformance
// tests drive theirs, and for the files of a test.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;
Lines Sorted(Lines lines);

// Runs open(), which opens a modal dialog, and whileOpen(dialog) inside that dialog's loop;
// whileOpen must close it. A dialog left open is cancelled and fails the test.
void DuringModal(const std::function<void()>& open, const std::function<void(HWND)>& whileOpen);
bool ClickItem(HWND dialog, int id);  // false, doing nothing, when the button is disabled
void Notify(HWND control, UINT code); // the notification a control sends its parent
std::string TextOf(HWND window);
Lines ItemsOf(HWND list);

std::string ReadFileText(const std::string& path); // "" when it cannot be read
bool WriteFileText(const std::string& path, const std::string& text);
bool DeleteTree(const std::string& path);
std::string MakeTempFolder(const std::string& prefix); // a new one under the temp folder
// A file's UTF-16 text (after its byte-order mark) in UTF-8; other bytes as they are.
std::string FromUtf16(const std::string& bytes);
