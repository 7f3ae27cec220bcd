// Resource identifiers of RVWindow.dll.
#pragma once
#define IDR_RVWND 102
#define IDS_PROJNAME 100
