// Resource identifiers of RVWindow.dll.
#pragma once
#define IDR_RVWND 102
#define IDS_PROJNAME 100
#define IDB_ITEMIMAGES 201
#define IDB_STATEIMAGES 202
#define IDC_INSERTABOVE 203
#define IDC_INSERTBELOW 204
#define IDC_DROPONTO 205
