// Identifiers of the program's resources and of the main dialog's controls.
#pragma once

#define IDD_TARVEL_DIALOG 102
#define IDR_MAINFRAME 128
#define IDB_CAPTION_BUTTONS 130
#define IDB_FRAME 131
#define IDB_ADD_BUTTON 132
#define IDI_MESSAGE_BOX 133

#define IDC_BTN_ADD 1000
#define IDC_EDIT_COMMAND_NAME 1001
#define IDC_BTN_ADD_SELF 1002
