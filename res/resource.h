#pragma once
// Resource identifiers shared by the resource script and the program.
#define IDI_QUILLETEER 1
// Each picture strip comes in four sizes, for screens at 100, 125, 150 and
// 200 %: the resource of size step k (0 to 3) is the strip's first plus k.
#define IDB_TOOLBAR 110
#define IDB_TOOLBAR_DISABLED 120
#define IDB_KINDS 130
// The capture menu's cursor pictures: twenty images, 24 pixels at 100 %.
#define IDB_CURSORS 140

// The framework's own cursors: the resource of framework cursor index -n
// (a negative cursor choice) is IDC_FRAMEWORK_BASE + n.
#define IDC_FRAMEWORK_BASE 200
#define IDC_FRAMEWORK_DRAG 212
#define IDC_FRAMEWORK_NODROP 213
#define IDC_FRAMEWORK_HSPLIT 214
#define IDC_FRAMEWORK_VSPLIT 215
#define IDC_FRAMEWORK_MULTIDRAG 216
#define IDC_FRAMEWORK_SQLWAIT 217
#define IDC_FRAMEWORK_HANDPOINT 221
