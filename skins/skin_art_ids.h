// Resource ids of the skin art linked into the programs. Plain defines: the
// resource compiler reads this file too.
#pragma once

#define IDI_APP_ICON 128
#define IDI_SUBMENU_ARROW 137
#define IDB_EVENT_KEY_DOWN 138
#define IDB_EVENT_KEY_UP 139
#define IDB_EVENT_DELAY 140
#define IDB_EVENT_MOUSE 143
