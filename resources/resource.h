// Identifiers of the dialog program's resources and controls, shared by the resource
// script and the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_PLOTGATE_DIALOG 102
#define IDS_ABOUTBOX 101
#define IDS_VERSION 102
#define IDR_MAINFRAME 128
#define IDI_WIDTH 129
#define IDI_HEIGHT 130
#define IDR_ROTATE_MENU 135

// Rotate menu bitmaps, by menu position: "Rotate1" to "Rotate3", then "Rotate4".
#define IDB_ROTATE0_MENU 134
#define IDB_ROTATE90_MENU 136
#define IDB_ROTATE180_MENU 137
#define IDB_ROTATE270_MENU 138
// Button bitmaps: the MirrorState and RotateState values.
#define IDB_MIRROR_NORMAL 139
#define IDB_MIRROR_MIRRORED 140
#define IDB_ROTATE0 141
#define IDB_ROTATE90 142
#define IDB_ROTATE180 143
#define IDB_ROTATE270 144

#define IDC_WEBSITE1 1000
#define IDC_WEBSITE2 1001
#define IDC_PROVIEW 1002
#define IDC_DEVICE 1003
#define IDC_PORT 1004
#define IDC_CHK_BLADE_OFFSET 1005
#define IDC_BLADE_OFFSET 1006
#define IDC_SPIN_BLADE_OFFSET 1007
#define IDC_PROGRESS 1008
#define IDC_MIRROR 1009
#define IDC_ROTATE 1010
#define IDC_HEIGHT 1011
#define IDC_WIDTH 1012
#define IDC_PREVIEW 1013
#define IDC_VERSION 1014
#define IDC_ABOUT 1015
#define IDC_CHK_OVERCUT 1016
#define IDC_OVERCUT 1017
#define IDC_SPIN_OVERCUT 1018
// The cut order controls (the program's own, beyond the original template).
#define IDC_CHK_INSIDE_FIRST 1019
#define IDC_CHK_SHORTEST_TRAVEL 1020
#define IDC_CHK_WEED_BORDER 1021
#define IDC_WEED_BORDER 1022
#define IDC_SPIN_WEED_BORDER 1023
#define IDC_PASSES 1024
#define IDC_SPIN_PASSES 1025
// The status line under the buttons: what a send is waiting for.
#define IDC_STATUS 1026
// The material: its list and buttons, force and speed, and the test cut.
#define IDC_MATERIAL 1027
#define IDC_PRESET_SAVE 1028
#define IDC_PRESET_DELETE 1029
#define IDC_CHK_FORCE 1030
#define IDC_FORCE 1031
#define IDC_CHK_SPEED 1032
#define IDC_SPEED 1033
#define IDC_TEST_CUT 1034
// The window that asks for a preset's name, and its edit.
#define IDD_PRESET_NAME 104
#define IDC_PRESET_NAME 1150
// The media: its width and the panels.
#define IDC_CHK_MEDIA_WIDTH 1040
#define IDC_MEDIA_WIDTH 1041
#define IDC_CHK_PANELS 1042
#define IDC_PANEL_OVERLAP 1043
#define IDC_PANEL_GAP 1044
// The registration marks: the button that opens their window.
#define IDC_MARKS 1050
// The Registration window: the marks, the head's jog and the laser pointer's offset.
#define IDD_REGISTRATION 103
#define IDC_MARK_LIST 1100
#define IDC_GO_TO_MARK 1101
#define IDC_SET_MARK 1102
#define IDC_JOG_UP 1103
#define IDC_JOG_DOWN 1104
#define IDC_JOG_RIGHT 1105
#define IDC_JOG_LEFT 1106
// The steps in the order of JOG_STEPS: 0.1, 1 and 10 mm.
#define IDC_STEP_01 1107
#define IDC_STEP_1 1108
#define IDC_STEP_10 1109
#define IDC_LASER_OFFSET 1110
#define IDC_REG_STATUS 1111
#define IDC_REG_RESULT 1112

// System menu item of the About box.
#define IDM_ABOUTBOX 0x0010

// Rotate menu items.
#define ID_ROTATE1 32781
#define ID_ROTATE4 32784
#define ID_ROTATE2 32785
#define ID_ROTATE3 32786
