// Resource identifiers of RVWindow.dll.
#pragma once
#define IDR_RVWND 102
#define IDS_PROJNAME 100
#define IDB_ITEMIMAGES 201
#define IDB_STATEIMAGES 202
// The two strips drawn at 20, 24, 32 and 48 pixels a picture, in that order.
#define IDB_ITEMIMAGES_20 211
#define IDB_ITEMIMAGES_24 212
#define IDB_ITEMIMAGES_32 213
#define IDB_ITEMIMAGES_48 214
#define IDB_STATEIMAGES_20 221
#define IDB_STATEIMAGES_24 222
#define IDB_STATEIMAGES_32 223
#define IDB_STATEIMAGES_48 224
#define IDC_INSERTABOVE 203
#define IDC_INSERTBELOW 204
#define IDC_DROPONTO 205
