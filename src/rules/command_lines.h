// The command lines Brisa types into the IRC client. Pure string logic: no window, no setting.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

inline constexpr char kSoundLineHead[] = "/sound ";
inline constexpr char kDccLineHead[] = "/dcc send ";
inline constexpr char kPromptTagTemplate[] = "- ";
inline constexpr char kTagPlaceholder = '@';

// The tag has always been cut at 255 characters, the size of the buffer it was once built in.
inline constexpr std::size_t kMaxTagLength = 255;

// The channel named by the title of the client's active window, or nullopt when that window
// is not a channel ('#', '&', '+' or '!' first). The name ends before the first space, less one
// ':'.
std::optional<std::string> ChannelFromTitle(const std::string& title);

// A nickname from an entry of the client's nickname list: the channel status marks before it
// (@ operator, + voice, % half-operator, ~ owner, & admin, several on multi-prefix servers)
// dropped. No nickname begins with one of them.
std::string NicknameFromListEntry(const std::string& entry);

// The template with every placeholder replaced, read up to its first NUL, cut at kMaxTagLength
// characters of UTF-8, never inside one.
std::string ExpandTag(const std::string& tagTemplate, char placeholder,
                      const std::string& replacement);

// "/sound <channel> <file> <tag>"; in prompt mode the tag is "- " for the user to complete. The
// file, a path below the folder, is named by its bare name, or, given the folder, by its whole
// path: the client finds a bare name only in its own sounds folder and below it. A file with a
// space is enclosed in double quotes, as clients take it; the tag is message text, its
// placeholder the bare name.
std::string ComposeSoundLine(const std::string& channel, const std::string& fileName,
                             const std::string& tagTemplate, bool tagPrompt,
                             const std::optional<std::string>& folder = std::nullopt);

// "/dcc send <nick> <dir>\<file>", with exactly one backslash added whatever the directory ends
// in; a path with a space is enclosed in double quotes.
std::string ComposeDccSendLine(const std::string& nick, const std::string& wavDir,
                               const std::string& fileName);
