// The paths by which Brisa reaches a listed file, and by which the client finds it.
#pragma once

#include <optional>
#include <string>

// The path that names exactly the listed file: an absolute \\?\ path, which Windows takes as it
// is. Its name normalisation would drop a trailing space or dot, so that "ding.wav " would reach
// "ding.wav".
std::wstring ExactPath(const std::string& folder, const std::string& name);

// Whether the sound functions, which take no \\?\ path, reach exactly this file: not when its
// name ends in a space or a dot, or the path is too long for them.
bool CanPlayAsListed(const std::string& path);

// The folder to name in a /sound line, or nullopt for the file's bare name: the client finds a
// bare name in its sounds folder and below it, and nowhere else. With no client folder (no way to
// ask the client), the bare name, as always; "" means the client did not say.
std::optional<std::string> FolderForClient(const std::string& wavDir,
                                           const std::optional<std::string>& clientFolder);
