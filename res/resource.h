#pragma once
// Resource identifiers shared by the resource script and the program.
#define IDI_QUILLETEER 1
#define IDB_TOOLBAR 101
#define IDB_KINDS 102
#define IDB_TOOLBAR_DISABLED 103
