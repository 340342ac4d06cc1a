#include "rules/commands.h"

#include "resource.h"
#include "rules/command_lines.h"
#include "rules/sound_files.h"

Notice NoticeFor(ClientOutcome outcome, const std::string& clientName) {
    switch (outcome) {
    case ClientOutcome::NotAnswering:
        return {IDS_CLIENT_NOT_ANSWERING};
    case ClientOutcome::EnterUnanswered:
        return {IDS_CLIENT_ENTER_UNANSWERED};
    case ClientOutcome::NoEditLine:
        return {IDS_CLIENT_NO_EDIT_LINE, {clientName}};
    case ClientOutcome::Refused:
        return {IDS_CLIENT_REFUSED, {clientName}};
    case ClientOutcome::CannotCarry:
        return {IDS_CLIENT_CANNOT_CARRY, {clientName}};
    case ClientOutcome::Done:
        break;
    }
    return {};
}

SendResult SendSound(IClient& client, const std::string& fileName,
                     const settings::Settings& settings, const FolderNamer& folderFor,
                     const NamesakeQuestion& sendNamesake) {
    const std::string clientName = settings::ClientWindowClass(settings);
    const auto active =
        client.Active(ClientSoundKind(SoundTypeOf(fileName).value_or(SoundType::Wave)));
    if (active.outcome != ClientOutcome::Done)
        return {NoticeFor(active.outcome, clientName)};
    if (fileName.empty())
        return {{IDS_NO_SOUND_NAME}};
    // A title cut before its first space may hold only part of the channel's name.
    const ClientText& name = active.value.name;
    const bool nameCut = name.cut && name.text.find(' ') == std::string::npos;
    const auto channel = nameCut ? std::nullopt : ChannelFromTitle(name.text);
    if (!channel)
        return {{IDS_CHANNEL_NOT_ACTIVE}};
    const auto folder = folderFor(active.value.soundsFolder);
    if (!folder && !sendNamesake(NameOf(fileName)))
        return {};
    const bool prompt = settings::PromptsForTag(settings);
    const std::string line =
        ComposeSoundLine(*channel, fileName, settings.m_strTagText, prompt, folder);
    const bool raise = prompt || settings::FallsBack(settings);
    const ClientOutcome typed =
        client.Type(line, prompt, raise ? RaiseAfter::MainWindow : RaiseAfter::Nothing);
    if (typed != ClientOutcome::Done)
        return {NoticeFor(typed, clientName)};
    return {{}, settings::ClosesOnSend(settings)};
}

OfferResult OfferFile(IClient& client, const std::string& nick, const std::string& fileName,
                      const settings::Settings& settings) {
    if (nick.empty() || fileName.empty())
        return {{nick.empty() ? IDS_NO_NICKNAME : IDS_NO_SOUND_NAME}};
    const std::string line = ComposeDccSendLine(nick, settings.m_strWavDir, fileName);
    const ClientOutcome typed =
        client.Type(line, false,
                    settings::FallsBack(settings) ? RaiseAfter::ActiveWindow : RaiseAfter::Nothing);
    return {NoticeFor(typed, settings::ClientWindowClass(settings)), typed == ClientOutcome::Done};
}

NickCopy CopyNicknames(IClient& client, const std::string& clientName) {
    const auto list = client.Nicknames();
    // An active window without a list of nicknames leaves the dialog's list as it is.
    NickCopy copy;
    if (list.outcome == ClientOutcome::NoEditLine)
        return copy;
    if (list.outcome != ClientOutcome::Done) {
        copy.notice = NoticeFor(list.outcome, clientName);
        return copy;
    }
    static constexpr int kEndMessages[] = {0, IDS_NICKNAMES_CUT, IDS_NICKNAMES_REFUSED,
                                           IDS_NICKNAMES_UNANSWERED};
    copy.notice = {kEndMessages[static_cast<int>(list.value.end)], {}, true};
    // A channel that looks empty for a moment must not wipe the names the user is choosing from.
    if (list.value.items.empty())
        return copy;
    copy.nicks.emplace();
    for (const std::string& entry : list.value.items) {
        if (!entry.empty())
            copy.nicks->push_back(NicknameFromListEntry(entry));
    }
    return copy;
}
