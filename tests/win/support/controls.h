// Helpers for windows of this process and for a test's files; texts in UTF-8.
#pragma once
#include "framework/wnd.h"

#include <filesystem>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;
Lines Sorted(Lines lines);

bool ClickItem(HWND dialog, int id);  // false, doing nothing, when the button is disabled
void Notify(HWND control, UINT code); // the notification a control sends its parent
constexpr auto TextOf = fw::GetWindowTextOf;
constexpr auto SetText = fw::SetWindowTextOf;
Lines ItemsOf(HWND list);
// Ctrl+Alt and the key, through the system's input, as a user presses them.
void PressHotkey(UINT key);
// A string of the program's resources, %1… filled in.
std::string ResourceText(UINT id, const std::vector<std::string>& args = {});

std::filesystem::path PathOf(const std::string& utf8);
std::string ReadFileText(const std::string& path); // "" when it cannot be read
void WriteFileText(const std::string& path, const std::string& text);
std::string MakeTempFolder(); // a new one under the temp folder
bool DeleteTree(const std::string& path);
