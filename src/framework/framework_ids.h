// Command and string identifiers that the framework itself handles or reserves.
// Included by resource scripts, so it holds #defines only.
#pragma once

#define ID_FILE_NEW 57600
#define ID_FILE_OPEN 57601
#define ID_FILE_SAVE 57603
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637
#define ID_EDIT_UNDO 57643
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_HELP_FINDER 57667
#define ID_CONTEXT_HELP 57669
#define ID_HELP 57670
#define ID_DEFAULT_HELP 57671
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681

#define AFX_IDS_APP_TITLE 57344

// Help contexts: commands and controls count from 0x10000, windows and dialogs from 0x20000.
#define HID_BASE_COMMAND 0x10000
#define HID_BASE_RESOURCE 0x20000

// The framework's own message: a text longer than its box takes (%1, the limit).
#define AFX_IDP_PARSE_STRING_SIZE 0xF110
