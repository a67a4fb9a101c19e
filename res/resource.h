#pragma once
// Resource identifiers shared by the resource script and the program.
#define IDI_QUILLETEER 1
#define IDB_TOOLBAR 101
#define IDB_KINDS 102
#define IDB_TOOLBAR_DISABLED 103
// The capture menu's cursor pictures: one strip of twenty 24x24 images.
#define IDB_CURSORS 104

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
