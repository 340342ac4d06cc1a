#include "app/help_topics.h"

#include "framework/framework_ids.h"
#include "resource.h"

namespace {

// Topics appear in the help index in the order of their first entry here.
constexpr fw::HelpContext kContexts[] = {
    {HID_BASE_COMMAND + ID_HELP_INDEX, IDH_INDEX},

    {HID_BASE_COMMAND + IDC_HELP_BUTTON, IDH_MAIN_WINDOW},
    {HID_BASE_RESOURCE + IDR_MAINFRAME, IDH_MAIN_WINDOW},
    {HID_BASE_COMMAND + IDC_FILE_NAME, IDH_MAIN_WINDOW},
    {HID_BASE_COMMAND + IDC_FILE_LIST, IDH_MAIN_WINDOW},
    {HID_BASE_COMMAND + IDC_PLAY, IDH_MAIN_WINDOW},
    {HID_BASE_COMMAND + IDC_STOP, IDH_MAIN_WINDOW},
    {HID_BASE_COMMAND + IDC_DELETE, IDH_MAIN_WINDOW},
    {HID_BASE_COMMAND + IDC_REFRESH, IDH_MAIN_WINDOW},

    {HID_BASE_COMMAND + IDC_SEND, IDH_ANNOUNCING},

    {HID_BASE_RESOURCE + IDD_OPTIONS, IDH_OPTIONS},
    {HID_BASE_COMMAND + IDC_OPTIONS, IDH_OPTIONS},

    {HID_BASE_RESOURCE + IDD_DCC_SEND, IDH_DCC_SEND},
    {HID_BASE_COMMAND + IDC_DCC, IDH_DCC_SEND},

    // No window asks for these two; they are here so that the index lists them.
    {HID_BASE_RESOURCE + IDH_SETTINGS_FILE, IDH_SETTINGS_FILE},
    {HID_BASE_RESOURCE + IDH_FINDING_CLIENT, IDH_FINDING_CLIENT},

    {HID_BASE_RESOURCE + IDD_ABOUTBOX, IDH_MENUS_KEYS},
};

} // namespace

const fw::HelpBook kBrisaHelpBook = {IDH_INDEX, kContexts, sizeof kContexts / sizeof kContexts[0]};
