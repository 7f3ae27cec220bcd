#include "demo/DemoHost.h"

#include "host/HostMessages.h"
#include "model/ItemRecord.h"

#include <cstdarg>

#include <string>

void CDemoHost::PrintMessage(const char* method, ULONG dataID, ULONG wID, USHORT wMsg, BYTE* data)
{
    std::string name;
    if (m_pTree && data) {
        wchar_t text[128] = {};
        m_pTree->GetItemText(reinterpret_cast<ULONG_PTR>(data), text, 128);
        char narrow[256] = {};
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
        name = narrow;
    }
    const char* message = HostMessageName(wMsg);
    Log("host: %s %s dataID=%lu wID=%lu item \"%s\"\n", method, message ? message : "?", dataID, wID, name.c_str());
    TrackSelection(wMsg, data);
}

void CDemoHost::Log(const char* format, ...)
{
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    std::fputs(line, stdout);
    if (!m_hLog) return;
    std::string entry(line);
    while (!entry.empty() && entry.back() == '\n') entry.pop_back();
    const LRESULT index = SendMessageA(m_hLog, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    SendMessageA(m_hLog, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

ULONG CDemoHost::KeyOf(BYTE* data) const
{
    ULONG_PTR record = 0;
    if (m_pTree && data) m_pTree->GetItemData(reinterpret_cast<ULONG_PTR>(data), &record);
    return record ? reinterpret_cast<const ItemRecord*>(record)->key : 0;
}

// What the 3D view shows selected follows the tree's selection messages.
void CDemoHost::TrackSelection(USHORT wMsg, BYTE* data)
{
    if (wMsg != HM_SELECTED && wMsg != HM_SELECTEDAPPEND && wMsg != HM_DESELECTED) return;
    const ULONG key = KeyOf(data);
    if (!key) return;
    if (wMsg == HM_DESELECTED)
        m_selected.erase(key);
    else
        m_selected.insert(key);
    Changed();
}

void CDemoHost::PickInView(ULONG key)
{
    m_selected.insert(key);
    Changed();
    if (m_pTree) m_pTree->SelectItems(key, 1, 0);
}

void CDemoHost::Changed()
{
    if (m_hView) InvalidateRect(m_hView, nullptr, TRUE);
}

STDMETHODIMP CDemoHost::QueryInterface(REFIID iid, void** ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IMessage))
        *ppv = static_cast<IMessage*>(this);
    else if (IsEqualIID(iid, IID_IRavlinWindowSink))
        *ppv = static_cast<IRavlinWindowSink*>(this);
    else if (IsEqualIID(iid, IID_IVisibilityManager))
        *ppv = static_cast<IVisibilityManager*>(this);
    else if (IsEqualIID(iid, IID_IView3DObjects))
        *ppv = static_cast<IView3DObjects*>(this);
    else
        return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

STDMETHODIMP CDemoHost::Send(ULONG wID, USHORT wMsg, ULONG Size, BYTE* data, LONG* pResult)
{
    (void)Size;
    PrintMessage("IMessage::Send", 0, wID, wMsg, data);
    if (pResult) *pResult = 0;
    return S_OK;
}

STDMETHODIMP CDemoHost::SendWithDataID(ULONG dataID, ULONG wID, USHORT wMsg, ULONG Size, BYTE* data,
                                       LONG* pResult)
{
    (void)Size;
    PrintMessage("IMessage::SendWithDataID", dataID, wID, wMsg, data);
    if (pResult) *pResult = 0;
    return S_OK;
}

STDMETHODIMP CDemoHost::SetSelectionLock(LONG bLock)
{
    Log("host: sink SetSelectionLock(%ld)\n", static_cast<long>(bLock));
    m_selectionLock = bLock;
    return S_OK;
}

STDMETHODIMP CDemoHost::SetVisibilityLock(LONG bLock)
{
    Log("host: sink SetVisibilityLock(%ld)\n", static_cast<long>(bLock));
    m_visibilityLock = bLock;
    return S_OK;
}

STDMETHODIMP CDemoHost::IsSelectionLock(LONG* pbLock)
{
    if (pbLock) *pbLock = m_selectionLock;
    return S_OK;
}

STDMETHODIMP CDemoHost::IsVisibilityLock(LONG* pbLock)
{
    if (pbLock) *pbLock = m_visibilityLock;
    return S_OK;
}

STDMETHODIMP CDemoHost::SetMenuMask(ULONG mask)
{
    Log("host: sink SetMenuMask(0x%lX)\n", mask);
    return S_OK;
}

STDMETHODIMP CDemoHost::GetFirstSelectedOrvaneItem(ULONG* pKey)
{
    Log("host: sink GetFirstSelectedOrvaneItem\n");
    if (pKey) *pKey = 0;
    return S_OK;
}

STDMETHODIMP CDemoHost::NotifySelectedTypeID(int typeID)
{
    Log("host: sink NotifySelectedTypeID(%d)\n", typeID);
    return S_OK;
}

namespace {
// The host's context menu: every command the tree carries out, by its id.
const struct { UINT id; const char* text; } kMenu[] = {
    {101, "New item"},        {105, "New assembly"},     {0, nullptr},
    {102, "Cut"},             {109, "Copy"},             {103, "Paste"},
    {106, "Paste after"},     {32781, "Paste before"},   {107, "Delete"},
    {108, "Rename"},          {0, nullptr},              {32783, "Expand branch"},
    {32779, "Toggle lock"},   {32778, "Bind to the 3D selection"}, {0, nullptr},
    {32798, "Toggle bookmark"}, {32800, "Next bookmark"}, {32799, "Previous bookmark"},
    {32801, "Clear bookmarks"}, {104, "Find..."},        {0, nullptr},
    {32797, "Undo"},
};

const char* CommandName(UINT id)
{
    for (const auto& entry : kMenu)
        if (entry.id == id) return entry.text;
    return "?";
}
} // namespace

STDMETHODIMP CDemoHost::NotifyRButtonUp(UINT nFlags, POINT point, int menuKey)
{
    Log("host: sink NotifyRButtonUp(0x%X, %ld, %ld, menu %d)\n", nFlags, point.x, point.y, menuKey);
    UINT chosen = 0;
    if (m_nextChoice) {
        chosen = m_nextChoice;
        m_nextChoice = 0;
    } else if (m_hMenuOwner) {
        HMENU menu = CreatePopupMenu();
        for (const auto& entry : kMenu)
            AppendMenuA(menu, entry.id ? MF_STRING : MF_SEPARATOR, entry.id, entry.text);
        chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, point.x,
                                                  point.y, 0, m_hMenuOwner, nullptr));
        DestroyMenu(menu);
    }
    if (chosen && m_pTree) {
        Log("host: the user chooses \"%s\" (%u) from the menu\n", CommandName(chosen), chosen);
        m_pTree->PostMessage(WM_COMMAND, chosen, 0);
    }
    return S_OK;
}

STDMETHODIMP CDemoHost::SetVisible(ULONG keyIn)
{
    Log("host: 3D SetVisible(%lu)\n", keyIn);
    m_visible.insert(keyIn);
    Changed();
    return S_OK;
}

STDMETHODIMP CDemoHost::SetInvisible(ULONG keyIn)
{
    Log("host: 3D SetInvisible(%lu)\n", keyIn);
    m_visible.erase(keyIn);
    Changed();
    return S_OK;
}

STDMETHODIMP CDemoHost::GetVisibility(ULONG keyIn, LONG* pOnOrOff)
{
    Log("host: 3D GetVisibility(%lu)\n", keyIn);
    if (pOnOrOff) *pOnOrOff = 1;
    return S_OK;
}

STDMETHODIMP CDemoHost::Draw()
{
    Log("host: 3D Draw\n");
    Changed();
    return S_OK;
}
