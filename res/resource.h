// Resource identifiers of Brisa.
#pragma once

#define IDR_MAINFRAME 128

#define IDD_ABOUTBOX 100
#define IDD_BRISA_FORM 101
#define IDD_DCC_SEND 130
#define IDD_OPTIONS 131

// Main form
#define IDC_FILE_LIST 1001
#define IDC_PLAY 1003
#define IDC_SEND 1004
#define IDC_DELETE 1006
#define IDC_HELP_BUTTON 1007
#define IDC_STOP 1010
#define IDC_OPTIONS 1011
#define IDC_DCC 1012
#define IDC_FILE_NAME 1013
#define IDC_REFRESH 32773

// Options dialog; the radio buttons of the clients follow each other
#define IDC_WAV_DIR 1007
#define IDC_TAG_TEXT 1008
#define IDC_PROMPT_FOR_TAG 1010
#define IDC_FALL_BACK 1013
#define IDC_CLOSE_ON_SEND 1014
#define IDC_RADIO_MIRC32 1015
#define IDC_RADIO_MIRC 1016
#define IDC_RADIO_PIRCH 1017

// DCC Send dialog
#define IDC_NICK_LIST 1002
#define IDC_DCC_SEND 1012
#define IDC_NICK 1014
#define IDC_NICK_REFRESH 1017

// Commands
#define ID_HELP_INDEX 32771

// What the user reads in message boxes; %1 stands for a name filled in when it is shown
#define IDS_CHANNEL_NOT_ACTIVE 300
#define IDS_DELETE_QUESTION 301
#define IDS_REMOVE_FAILED 302
#define IDS_REMOVE_FAILED_CAPTION 303
#define IDS_SETTINGS_NOT_SAVED 304
#define IDS_CLIENT_NOT_ANSWERING 305
#define IDS_CLIENT_ENTER_UNANSWERED 306
#define IDS_CLIENT_NO_EDIT_LINE 307
#define IDS_NICKNAMES_CUT 308
#define IDS_CLIENT_REFUSED 309
#define IDS_CLIENT_CANNOT_CARRY 310
#define IDS_NICKNAMES_REFUSED 311
#define IDS_NICKNAMES_UNANSWERED 312
#define IDS_NO_SOUND_NAME 313
#define IDS_NO_NICKNAME 314
#define IDS_CANNOT_PLAY 315

// Help topics (HELPTEXT resources)
#define IDH_INDEX 200
#define IDH_MAIN_WINDOW 201
#define IDH_ANNOUNCING 202
#define IDH_OPTIONS 203
#define IDH_DCC_SEND 204
#define IDH_SETTINGS_FILE 205
#define IDH_FINDING_CLIENT 206
#define IDH_MENUS_KEYS 207
