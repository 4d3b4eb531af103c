#pragma once
// Ids of the wizard's resources and of the controls in its page templates.
// Plain macros, because the resource compiler reads this file as well as
// the pages do.

// Resources of the frame
#define IDI_HEADER_ICON 128
#define IDI_PROGRAM_ICON 129
#define IDR_WIZARD_ACCELERATORS 130

// Page templates
#define IDD_START_PAGE 200
#define IDD_AGREEMENT_PAGE 201
#define IDD_OPTIONS_PAGE 202
#define IDD_FINISH_PAGE 203
#define IDD_KEY_PAGE 204

// Every template is this size, in dialog units, so one frame fits them all.
#define PAGE_WIDTH 318
#define PAGE_HEIGHT 172

// The etched lines have no id.
#define IDC_ETCHED_LINE -1

// Buttons of the bottom row, shared by the pages that have them. Next and
// the start page's wide button take the ids the dialog manager gives to
// Enter and Escape.
#define IDC_NEXT 1
#define IDC_RUN_ASSOCIATED 2
#define IDC_CANCEL 300
#define IDC_BACK 301
#define IDC_KEY_PAGE 303

// Start page
#define IDC_START_TITLE 308
#define IDC_START_BODY 309
#define IDC_INTERFACE_LANGUAGE_LABEL 307
#define IDC_INTERFACE_LANGUAGE_LIST 2002
#define IDC_UNINSTALL 315
#define IDC_MODIFY 2003

// Agreement page
#define IDC_AGREEMENT_HEADING 311
#define IDC_AGREEMENT_TEXT 306
#define IDC_ACCEPT_AGREEMENT 305

// Options page
#define IDC_INPUT_LANGUAGE_LABEL 313
#define IDC_INPUT_LANGUAGE_LIST 1202
#define IDC_SCRIPT_FRAGMENT 1200
#define IDC_USER_KEYBOARD_VALUES 1205
#define IDC_DESKTOP_SHORTCUTS 1212
#define IDC_ALTERNATE_DRIVERS 1213
#define IDC_LAYOUT_LABEL 314
#define IDC_LAYOUT_LIST 1214
#define IDC_NUMPAD_LABEL 316
#define IDC_NUMPAD_LIST 1215
#define IDC_OPTIONS_NOTE 317
#define IDC_INSTALL 206

// Key assignment page: row r (0 to KEY_ROW_COUNT - 1) has the check box
// IDC_KEY_CHECK_FIRST + r and the list IDC_KEY_LIST_FIRST + r. The page's
// name sits where the options page has its button to it, and its return
// button takes the options page's Back position and id.
#define KEY_ROW_COUNT 14
#define IDC_KEY_CHECK_FIRST 1301
#define IDC_KEY_LIST_FIRST 1401
#define IDC_KEY_PAGE_NAME IDC_KEY_PAGE
#define IDC_RETURN_TO_OPTIONS IDC_BACK

// Finish page
#define IDC_FINISH_HEADING 1209
#define IDC_FINISH_BODY 1204
#define IDC_RESTART 1213
