// What Send, DCC Send and the copy of the nicknames decide: from what the user chose, the settings
// and what the client answers, to what is typed into the client and what the user reads.
#pragma once
#include "rules/client.h"
#include "rules/settings.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A message of the string table for the user, with what fills its %1, %2…; none when message
// is 0.
struct Notice {
    Notice() = default;
    Notice(int message, std::vector<std::string> args = {}, bool information = false)
        : message(message), args(std::move(args)), information(information) {}

    int message = 0;
    std::vector<std::string> args;
    bool information = false; // a word on what happened, not a warning
};

// How an operation on the client ended, for the user, naming the client; none when it was done.
Notice NoticeFor(ClientOutcome outcome, const std::string& clientName);

// The folder to name in a /sound line, given the client's sounds folder for the file's kind
// (IClient::SoundsFolder); nullopt for the file's bare name, which the client finds only in its
// sounds folder and below it.
using FolderNamer =
    std::function<std::optional<std::string>(const std::optional<std::string>& clientFolder)>;

// Asked before a bare name is typed that more than one file of the folder has (the client plays
// the first it finds): true to type it all the same.
using NamesakeQuestion = std::function<bool(const std::string& bareName)>;

struct SendResult {
    Notice notice;
    bool closeBrisa = false;
};

// Send: announces fileName, a path below the folder, to the channel of the client's active window.
SendResult SendSound(IClient& client, const std::string& fileName,
                     const settings::Settings& settings, const FolderNamer& folderFor,
                     const NamesakeQuestion& sendNamesake);

struct OfferResult {
    Notice notice;
    bool typed = false;
};

// DCC Send: offers the file of the settings' WAV directory to the nickname, in the client's
// active window, whatever that window is.
OfferResult OfferFile(IClient& client, const std::string& nick, const std::string& fileName,
                      const settings::Settings& settings);

struct NickCopy {
    Notice notice;
    // The list's new entries, status marks dropped; nullopt leaves the list as it is.
    std::optional<std::vector<std::string>> nicks;
};

// The nicknames of the client's active channel, for DCC Send to offer a file to.
NickCopy CopyNicknames(IClient& client, const std::string& clientName);
