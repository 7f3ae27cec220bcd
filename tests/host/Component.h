// The host test kit as our suites use it (without its namespace), and the suites' own
// fixtures: a sample structure, the log entries of host messages and the recording QMUtil.dll's
// message boxes.
#pragma once
#include "RVHostKit/TestHost.h"
#include "platform/ComPtr.h"

#include <string>
#include <vector>

using namespace RVHostKit;

// A small product structure built through the interface (everything expanded unless asked):
//   Gearbox (typeID 4, dataID 9) ─┬─ Housing (key 100) ─┬─ Left (101)
//                                 │                     └─ Right (101)
//                                 └─ Shaft (200)
//   Frame (typeID 5, dataID 8) ──── Strut (101)
struct GearboxTree
{
    explicit GearboxTree(CTestHost& host, bool expand = true);
    HTREEITEM gearbox{}, housing{}, left{}, right{}, shaft{}, frame{}, strut{};
};

// The gearbox tree shown in its host window, for tests that point at its rows.
struct ShownGearbox
{
    ShownGearbox();
    HTREEITEM Next(HTREEITEM item, UINT code) const;
    HTREEITEM LastChild(HTREEITEM item) const;
    // The labels below an item (0: the roots), in order.
    std::vector<std::string> Children(HTREEITEM item) const;

    CTestHost host;
    GearboxTree g{host};
    HWND tree{};
};

// Host message entries as the log shows them: form 1 (with dataID) and form 2 (plain Send).
std::string Msg(const char* code, const char* item, unsigned typeID = 4, unsigned dataID = 9);
std::string Form2(const char* code, const char* item, unsigned typeID = 4);

// The tree as the control holds it, every label with its children in brackets:
// "Gearbox(Housing(Left,Right),Shaft),Frame(Strut)".
std::string Outline(const CTestHost& host, HTREEITEM from = TVI_ROOT);

// What the maker's message box would have shown the user ("type|help|text" each), from the
// recording QMUtil.dll beside the tests; reading empties the record.
std::vector<std::string> TakeMessageBoxes();
