// Identifiers of the program's resources and of the main dialog's controls.
#pragma once

#define IDD_TARVEL_DIALOG 102
#define IDD_RUN_MANAGER 103
#define IDR_MAINFRAME 128
#define IDB_CAPTION_BUTTONS 130
#define IDB_FRAME 131
#define IDB_ADD_BUTTON 132
#define IDI_MESSAGE_BOX 133

// The skin at the larger display scales, packed (RCDATA): caption buttons,
// frame and add button of each step, three IDs a step from 125 % on.
#define IDR_SKIN_125_CAPTION_BUTTONS 140
#define IDR_SKIN_125_FRAME 141
#define IDR_SKIN_125_ADD_BUTTON 142
#define IDR_SKIN_150_CAPTION_BUTTONS 143
#define IDR_SKIN_150_FRAME 144
#define IDR_SKIN_150_ADD_BUTTON 145
#define IDR_SKIN_175_CAPTION_BUTTONS 146
#define IDR_SKIN_175_FRAME 147
#define IDR_SKIN_175_ADD_BUTTON 148
#define IDR_SKIN_200_CAPTION_BUTTONS 149
#define IDR_SKIN_200_FRAME 150
#define IDR_SKIN_200_ADD_BUTTON 151
#define IDR_SKIN_250_CAPTION_BUTTONS 152
#define IDR_SKIN_250_FRAME 153
#define IDR_SKIN_250_ADD_BUTTON 154

#define IDC_BTN_ADD 1000
#define IDC_EDIT_COMMAND_NAME 1001
#define IDC_BTN_ADD_SELF 1002

// The run-command manager's controls, created at run time.
#define IDC_RUN_LIST 1100
#define IDC_BTN_RUN 1101
#define IDC_BTN_OPEN_LOCATION 1102
#define IDC_BTN_DELETE 1103
#define IDC_BTN_REFRESH 1104
#define IDC_RUN_STATUS 1105
#define IDC_RUN_FILTER 1106
#define IDC_RUN_FILTER_LABEL 1107

// The manager's context-menu commands beyond its buttons' (which the menu
// uses too).
#define IDM_RUN_RENAME 1120
#define IDM_RUN_CHANGE_TARGET 1121
#define IDM_RUN_EDIT_PATH 1122
#define IDM_RUN_COPY_TO_USER 1123
#define IDM_RUN_COPY_TO_MACHINE 1124
#define IDM_RUN_EXPORT 1125
#define IDM_RUN_IMPORT 1126
#define IDM_RUN_TERMINAL 1127
#define IDM_RUN_PROPERTIES 1128

// The controls of the import preview and the Path editor.
#define IDC_CHOICE_TEXT 1140
#define IDC_CHOICE_LIST 1141
#define IDC_PATH_FOLDER 1142
#define IDC_BTN_PATH_ADD 1143
#define IDC_BTN_PATH_BROWSE 1144
#define IDC_BTN_PATH_REMOVE 1145
#define IDC_BTN_PATH_UP 1146
#define IDC_BTN_PATH_DOWN 1147

// The controls of the options dialog (属性…).
#define IDC_OPT_ARGUMENTS 1150
#define IDC_OPT_FOLDER 1151
#define IDC_OPT_BROWSE 1152
#define IDC_OPT_ENVIRONMENT 1153
#define IDC_OPT_ADMIN 1154
#define IDC_OPT_LABEL_ARGUMENTS 1155
#define IDC_OPT_HINT 1156
#define IDC_OPT_LABEL_FOLDER 1157
#define IDC_OPT_LABEL_ENVIRONMENT 1158

// The main dialog's window-menu item that opens the manager (a window-menu
// command: low four bits clear, below 0xF000).
#define IDM_MANAGE_RUN_COMMANDS 0x0110
// The window-menu item (and the manager's menu item) that turns the
// Explorer entries on and off.
#define IDM_EXPLORER_ENTRIES 0x0120
// The window-menu item "English / 英文": the language of the windows,
// checked while English is in use.
#define IDM_ENGLISH 0x0130
