#include "host/Component.h"
#include "RVHostKit/TreeReader.h"

#include <cstdio>

GearboxTree::GearboxTree(CTestHost& host, bool expand)
{
    gearbox = host.AddAssembly(L"Gearbox", 4, 9);
    housing = host.AddItem(gearbox, L"Housing", NewRecord(100));
    left = host.AddItem(housing, L"Left", NewRecord(101));
    right = host.AddItem(housing, L"Right", NewRecord(101));
    shaft = host.AddItem(gearbox, L"Shaft", NewRecord(200));
    frame = host.AddAssembly(L"Frame", 5, 8);
    strut = host.AddItem(frame, L"Strut", NewRecord(101));
    if (expand) host.rv->ExpandToDepth(0, -1);
    host.log.Clear();
}

ShownGearbox::ShownGearbox()
{
    host.ShowTree();
    tree = host.Tree();
    host.log.Clear();
}

HTREEITEM ShownGearbox::Next(HTREEITEM item, UINT code) const
{
    return reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM ShownGearbox::LastChild(HTREEITEM item) const
{
    HTREEITEM last = nullptr;
    for (HTREEITEM c = Next(item, item ? TVGN_CHILD : TVGN_ROOT); c; c = Next(c, TVGN_NEXT)) last = c;
    return last;
}

std::vector<std::string> ShownGearbox::Children(HTREEITEM item) const
{
    std::vector<std::string> names;
    for (HTREEITEM c = Next(item, item ? TVGN_CHILD : TVGN_ROOT); c; c = Next(c, TVGN_NEXT)) names.push_back(host.TextOf(c));
    return names;
}

std::string Msg(const char* code, const char* item, unsigned typeID, unsigned dataID)
{
    return Format("IMessage::SendWithDataID(dataID=%u, wID=%u, wMsg=%s, Size=4, data=%s)", dataID, typeID, code, item);
}

std::string Form2(const char* code, const char* item, unsigned typeID)
{
    return Format("IMessage::Send(wID=%u, wMsg=%s, Size=4, data=%s)", typeID, code, item);
}

std::vector<std::string> TakeMessageBoxes()
{
    std::vector<std::string> shown;
    HKEY log = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\QMUtil\\Log", 0, KEY_READ, &log) != ERROR_SUCCESS) return shown;
    for (int i = 1;; ++i) {
        char name[16], value[1024] = {};
        std::snprintf(name, sizeof name, "%04d", i);
        DWORD size = sizeof value;
        if (RegQueryValueExA(log, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS) break;
        shown.push_back(value);
    }
    RegCloseKey(log);
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QMUtil\\Log");
    return shown;
}

std::string Outline(const CTestHost& host, HTREEITEM from)
{
    std::string text;
    for (HTREEITEM child : ChildrenOf(host.Tree(), from)) {
        if (!text.empty()) text += ',';
        text += host.TextOf(child);
        const std::string below = Outline(host, child);
        if (!below.empty()) text += '(' + below + ')';
    }
    return text;
}
