#include "frame/RVWnd.h"

#include "platform/Text.h"
#include "state/ImageLists.h"

#include <cwchar>

namespace {

// Writes a handle-sized out value.
template <class T>
HRESULT WriteOut(T* pOut, T value)
{
    if (!pOut) return E_POINTER;
    *pOut = value;
    return S_OK;
}

// While the control is deleting items (the host hears of each from inside the deletion) it
// cannot take new ones: an insertion asked for then makes nothing and says so.
HRESULT RefuseInsertion(ULONG_PTR* pOut)
{
    if (pOut) *pOut = 0;
    return E_UNEXPECTED;
}

ULONG_PTR AsValue(HTREEITEM hItem)
{
    return reinterpret_cast<ULONG_PTR>(hItem);
}

// An 8-bit name (system code page) converted to the tree's wide text; a null name stays null.
class AnsiNameArgument
{
public:
    explicit AnsiNameArgument(const char* name) : m_isNull(name == nullptr), m_text(rv::AnsiToWide(name)) {}
    const wchar_t* get() const { return m_isNull ? nullptr : m_text.c_str(); }

private:
    bool m_isNull;
    std::wstring m_text;
};

// The first `limit` characters of a label, short of the first half of a surrogate pair the
// limit would split (the pair is one character).
size_t KeptLength(const std::wstring& text, size_t limit)
{
    if (text.size() <= limit) return text.size();
    if (limit > 0 && IS_HIGH_SURROGATE(text[limit - 1]) && IS_LOW_SURROGATE(text[limit])) return limit - 1;
    return limit;
}

} // namespace

CRVWnd::CRVWnd()
{
    rv::EnsureImageLists(g_module.GetModuleInstance());
    m_tree.SetLifetimeOwner(static_cast<IRVWnd2*>(this));
}

CRVWnd::~CRVWnd()
{
    // The object is going: what runs from here on (the window's destruction reports every
    // item to the host) must not count references on it any more.
    m_tree.SetLifetimeOwner(nullptr);
}

HRESULT CRVWnd::InternalQueryInterface(REFIID iid, void** ppv)
{
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    if (::IsEqualIID(iid, IID_IRVWnd) || ::IsEqualIID(iid, IID_IRVWnd2) || ::IsEqualIID(iid, IID_IUnknown))
        return ReturnInterface(static_cast<IRVWnd2*>(this), ppv);
    if (::IsEqualIID(iid, IID_IRVWnd3)) return ReturnInterface(static_cast<IRVWnd3*>(this), ppv);
    return E_NOINTERFACE;
}

LONG CRVWnd::RecordWord(ULONG_PTR htreeitem, uint32_t ItemRecord::*word)
{
    const HTREEITEM hItem = Item(htreeitem);
    const ItemRecord* const pRecord = hItem ? m_tree.Items().GetRecord(hItem) : nullptr;
    return pRecord ? static_cast<LONG>(pRecord->*word) : 0;
}

// ---- Set-up ----

STDMETHODIMP CRVWnd::Init(ULONG_PTR pWndParent, IVisibilityManager* pIVisMgr,
                          IView3DObjects* pIView3DObjects, IManage3DObjects*)
{
    const CKeepAlive alive(Self());
    if (m_bInitialized) return E_UNEXPECTED;
    const HWND hParent = reinterpret_cast<HWND>(pWndParent);
    if (!hParent || !::IsWindow(hParent)) return E_INVALIDARG;
    if (!m_tree.Create(hParent)) return E_FAIL;
    m_tree.Host().SetViewer(pIVisMgr, pIView3DObjects);
    m_bInitialized = true;
    return S_OK;
}

STDMETHODIMP CRVWnd::InitTree(IRavlinWindowSink* pIRVWindowSink)
{
    const CKeepAlive alive(Self());
    m_tree.Host().SetSink(pIRVWindowSink);
    return S_OK;
}

STDMETHODIMP CRVWnd::SetMessageHandler(IMessage** ppIMessage)
{
    const CKeepAlive alive(Self());
    if (!ppIMessage) return E_POINTER;
    m_tree.Host().SetMessageHandler(*ppIMessage);
    return S_OK;
}

// ---- Window ----

STDMETHODIMP CRVWnd::PostMessage(unsigned int uMsg, ULONG wParam, ULONG lParam)
{
    const CKeepAlive alive(Self());
    // Without a window a posted message would land in the thread's queue: post nothing.
    if (HWND hWnd = m_tree.GetHwnd()) ::PostMessageA(hWnd, uMsg, wParam, lParam);
    return S_OK;
}

STDMETHODIMP CRVWnd::ShowWindow(int flags)
{
    const CKeepAlive alive(Self());
    if (HWND hWnd = m_tree.GetHwnd()) ::ShowWindow(hWnd, flags);
    return S_OK;
}

STDMETHODIMP CRVWnd::MoveWindow(int x, int y, int dx, int dy)
{
    const CKeepAlive alive(Self());
    if (HWND hWnd = m_tree.GetHwnd()) ::MoveWindow(hWnd, x, y, dx, dy, TRUE);
    return S_OK;
}

STDMETHODIMP CRVWnd::Invalidate()
{
    const CKeepAlive alive(Self());
    if (HWND hWnd = m_tree.GetHwnd()) ::InvalidateRect(hWnd, nullptr, TRUE);
    return S_OK;
}

// ---- Forwarders to the control ----

STDMETHODIMP CRVWnd::ItemHasChildren(ULONG_PTR htreeitem, LONG* bHasChildren)
{
    const CKeepAlive alive(Self());
    const HTREEITEM hItem = Item(htreeitem);
    return WriteOut<LONG>(bHasChildren, hItem && m_tree.ItemHasChildren(hItem) ? 1 : 0);
}

STDMETHODIMP CRVWnd::Expand(ULONG_PTR htreeitem, unsigned int flags)
{
    const CKeepAlive alive(Self());
    m_tree.Navigator().ExpandWaiting();
    if (const HTREEITEM hItem = Item(htreeitem)) m_tree.Expand(hItem, flags);
    return S_OK;
}

STDMETHODIMP CRVWnd::EnsureVisible(ULONG_PTR htreeitem)
{
    const CKeepAlive alive(Self());
    m_tree.Navigator().ExpandWaiting();
    if (const HTREEITEM hItem = Item(htreeitem)) m_tree.EnsureVisible(hItem);
    return S_OK;
}

STDMETHODIMP CRVWnd::GetRootItem(ULONG_PTR* phtreeitem)
{
    const CKeepAlive alive(Self());
    if (!phtreeitem) return E_POINTER;
    *phtreeitem = AsValue(m_tree.GetRootItem());
    return S_OK;
}

STDMETHODIMP CRVWnd::GetNextItem(ULONG_PTR currenthtreeitem, unsigned int flags, ULONG_PTR* pnexthtreeitem)
{
    const CKeepAlive alive(Self());
    if (!pnexthtreeitem) return E_POINTER;
    // 0 has meanings of its own for the control (root, first visible, caret, ...): pass it on.
    // Any other handle must be a live item of this tree.
    const HTREEITEM hItem = Item(currenthtreeitem);
    *pnexthtreeitem = (currenthtreeitem && !hItem) ? 0 : AsValue(m_tree.GetNextItem(hItem, flags));
    return S_OK;
}

STDMETHODIMP CRVWnd::GetChildItem(ULONG_PTR htreeitem, ULONG_PTR* childKey)
{
    const CKeepAlive alive(Self());
    const HTREEITEM hItem = Item(htreeitem);
    return WriteOut<ULONG_PTR>(childKey, hItem ? AsValue(m_tree.GetChildItem(hItem)) : 0);
}

STDMETHODIMP CRVWnd::GetNextSiblingItem(ULONG_PTR htreeitem, ULONG_PTR* siblingKey)
{
    const CKeepAlive alive(Self());
    const HTREEITEM hItem = Item(htreeitem);
    return WriteOut<ULONG_PTR>(siblingKey, hItem ? AsValue(m_tree.GetNextSiblingItem(hItem)) : 0);
}

STDMETHODIMP CRVWnd::GetPrevSiblingItem(ULONG_PTR htreeitem, ULONG_PTR* siblingKey)
{
    const CKeepAlive alive(Self());
    const HTREEITEM hItem = Item(htreeitem);
    return WriteOut<ULONG_PTR>(siblingKey, hItem ? AsValue(m_tree.GetPrevSiblingItem(hItem)) : 0);
}

STDMETHODIMP CRVWnd::SetItemText(ULONG_PTR htreeitem, LPWSTR name, int)
{
    const CKeepAlive alive(Self());
    if (!name) return E_POINTER;
    if (const HTREEITEM hItem = Item(htreeitem)) m_tree.SetItemText(hItem, name);
    return S_OK;
}

STDMETHODIMP CRVWnd::GetItemText(ULONG_PTR htreeitem, LPWSTR pItemData, int Size)
{
    const CKeepAlive alive(Self());
    if (!pItemData) return E_POINTER;
    if (Size < 1) return E_INVALIDARG;
    const HTREEITEM hItem = Item(htreeitem);
    const std::wstring text = hItem ? m_tree.GetItemText(hItem) : std::wstring();
    const size_t length = KeptLength(text, static_cast<size_t>(Size - 1));
    std::wmemcpy(pItemData, text.data(), length);
    pItemData[length] = L'\0';
    return S_OK;
}

// ---- Record words ----

STDMETHODIMP CRVWnd::IsAssembly(ULONG_PTR htreeitem, LONG* bIsAssembly)
{
    const CKeepAlive alive(Self());
    return WriteOut<LONG>(bIsAssembly, RecordWord(htreeitem, &ItemRecord::bIsAssembly));
}

STDMETHODIMP CRVWnd::IsItemLoaded(ULONG_PTR htreeitem, LONG* bIsLoaded)
{
    const CKeepAlive alive(Self());
    return WriteOut<LONG>(bIsLoaded, RecordWord(htreeitem, &ItemRecord::bIsLoaded));
}

STDMETHODIMP CRVWnd::IsItemPartiallyLoaded(ULONG_PTR htreeitem, LONG* bIsPartiallyLoaded)
{
    const CKeepAlive alive(Self());
    return WriteOut<LONG>(bIsPartiallyLoaded, RecordWord(htreeitem, &ItemRecord::bIsPartiallyLoaded));
}

STDMETHODIMP CRVWnd::SetItemData(ULONG_PTR htreeitem, ULONG_PTR pItemData)
{
    const CKeepAlive alive(Self());
    // The tree window sees the TVM_SETITEM and forgets what it remembered of the old record.
    if (const HTREEITEM hItem = Item(htreeitem)) m_tree.SetItemData(hItem, static_cast<LPARAM>(pItemData));
    return S_OK;
}

STDMETHODIMP CRVWnd::GetItemData(ULONG_PTR htreeitem, ULONG_PTR* pItemData)
{
    const CKeepAlive alive(Self());
    const HTREEITEM hItem = Item(htreeitem);
    return WriteOut<ULONG_PTR>(pItemData, hItem ? reinterpret_cast<ULONG_PTR>(m_tree.Items().GetRecord(hItem)) : 0);
}

STDMETHODIMP CRVWnd::EnableLocalPaste(LONG bEnable)
{
    const CKeepAlive alive(Self());
    m_tree.Clipboard().EnableLocalPaste(bEnable);
    return S_OK;
}

STDMETHODIMP CRVWnd::SetNoDropInto(ULONG_PTR htreeitem, LONG bOn)
{
    const CKeepAlive alive(Self());
    m_tree.Items().SetNoDropInto(Item(htreeitem), bOn);
    return S_OK;
}

STDMETHODIMP CRVWnd::GetItemTag(ULONG_PTR htreeitem, ULONG* pTag)
{
    const CKeepAlive alive(Self());
    if (!pTag) return E_INVALIDARG;
    *pTag = m_tree.Items().GetItemTag(Item(htreeitem));
    return S_OK;
}

STDMETHODIMP CRVWnd::SetItemTag(ULONG_PTR htreeitem, ULONG tag)
{
    const CKeepAlive alive(Self());
    m_tree.Items().SetItemTag(Item(htreeitem), tag);
    return S_OK;
}

// ---- Building the tree, pictures and locks ----

STDMETHODIMP CRVWnd::suspendRedraw()
{
    const CKeepAlive alive(Self());
    m_tree.Redraw().Suspend();
    return S_OK;
}

STDMETHODIMP CRVWnd::resumeRedraw()
{
    const CKeepAlive alive(Self());
    m_tree.Redraw().Resume();
    return S_OK;
}

STDMETHODIMP CRVWnd::AddTreeItem(LPWSTR name, int, ULONG_PTR htreeitemparent, ULONG* itemData, ULONG_PTR* itemKey)
{
    const CKeepAlive alive(Self());
    if (!itemKey) return E_POINTER;
    if (m_tree.IsDeleting()) return RefuseInsertion(itemKey);
    *itemKey = AsValue(m_tree.Builder().AddTreeItem(name, Item(htreeitemparent),
                                                    reinterpret_cast<ItemRecord*>(itemData)));
    return S_OK;
}

STDMETHODIMP CRVWnd::AddAssembly(LPWSTR name, int, ULONG typeID, ULONG dataID, ULONG_PTR* assemblyKey)
{
    const CKeepAlive alive(Self());
    if (!assemblyKey) return E_POINTER;
    if (m_tree.IsDeleting()) return RefuseInsertion(assemblyKey);
    *assemblyKey = AsValue(m_tree.Builder().AddAssembly(name, typeID, dataID, false));
    return S_OK;
}

STDMETHODIMP CRVWnd::AddIsolatedAssembly(LPWSTR name, int, ULONG typeID, ULONG dataID, ULONG_PTR* assemblyKey)
{
    const CKeepAlive alive(Self());
    if (!assemblyKey) return E_POINTER;
    if (m_tree.IsDeleting()) return RefuseInsertion(assemblyKey);
    *assemblyKey = AsValue(m_tree.Builder().AddAssembly(name, typeID, dataID, true));
    return S_OK;
}

STDMETHODIMP CRVWnd::InsertTreeItem(LPSTR name, ULONG_PTR htreeitemparent, ULONG_PTR htreeiteminsertafter,
                                    ULONG* itemData, ULONG_PTR* phtreeitem)
{
    const CKeepAlive alive(Self());
    if (!phtreeitem) return E_INVALIDARG;
    if (m_tree.IsDeleting()) return RefuseInsertion(phtreeitem);
    // 0 means "first"; TVI_FIRST and TVI_LAST keep their meanings; anything else must be an
    // item of this tree (and a child of the parent): otherwise nothing is inserted.
    const auto hAfter = reinterpret_cast<HTREEITEM>(htreeiteminsertafter);
    if (hAfter && hAfter != TVI_FIRST && hAfter != TVI_LAST && !Item(htreeiteminsertafter)) {
        *phtreeitem = 0;
        return S_OK;
    }
    const AnsiNameArgument text(name);
    *phtreeitem = AsValue(m_tree.Builder().InsertTreeItem(text.get(), Item(htreeitemparent), hAfter,
                                                          reinterpret_cast<ItemRecord*>(itemData)));
    return S_OK;
}

STDMETHODIMP CRVWnd::InsertNewItem(ULONG itemKey, LPSTR name, ULONG_PTR htreeitemparent)
{
    const CKeepAlive alive(Self());
    if (m_tree.IsDeleting()) return RefuseInsertion(nullptr);
    // A handle that is not an item of this tree is not taken as "no parent".
    if (htreeitemparent && !Item(htreeitemparent)) return S_OK;
    const AnsiNameArgument text(name);
    m_tree.Builder().InsertNewItem(itemKey, text.get(), Item(htreeitemparent));
    return S_OK;
}

STDMETHODIMP CRVWnd::SetUnloaded(ULONG_PTR htreeitem)
{
    const CKeepAlive alive(Self());
    m_tree.Pictures().SetStatePicture(Item(htreeitem), kStateUnloaded);
    return S_OK;
}

STDMETHODIMP CRVWnd::SetNoneLoadedIcon(ULONG_PTR htreeitem)
{
    const CKeepAlive alive(Self());
    m_tree.Pictures().SetStatePicture(Item(htreeitem), kStateNoneLoaded);
    return S_OK;
}

STDMETHODIMP CRVWnd::SetAllOnAllLoadedIcon(ULONG_PTR htreeitem)
{
    const CKeepAlive alive(Self());
    m_tree.Pictures().SetStatePicture(Item(htreeitem), kStateAllOnAllLoaded);
    return S_OK;
}

STDMETHODIMP CRVWnd::SetLoadedNoVisibleIcon(ULONG_PTR htreeitem)
{
    const CKeepAlive alive(Self());
    m_tree.Pictures().SetStatePicture(Item(htreeitem), kStateLoadedNoneVisible);
    return S_OK;
}

STDMETHODIMP CRVWnd::SetPartLoadedVisibleIcon(ULONG_PTR htreeitem)
{
    const CKeepAlive alive(Self());
    m_tree.Pictures().SetStatePicture(Item(htreeitem), kStatePartLoadedVisible);
    return S_OK;
}

STDMETHODIMP CRVWnd::SetPartLoadedNoVisibleIcon(ULONG_PTR htreeitem)
{
    const CKeepAlive alive(Self());
    m_tree.Pictures().SetStatePicture(Item(htreeitem), kStatePartLoadedNoneVisible);
    return S_OK;
}

STDMETHODIMP CRVWnd::SetLoadedPartVisibleIcon(ULONG_PTR htreeitem)
{
    const CKeepAlive alive(Self());
    m_tree.Pictures().SetStatePicture(Item(htreeitem), kStateLoadedPartVisible);
    return S_OK;
}

STDMETHODIMP CRVWnd::SetPartLoadedPartVisibleIcon(ULONG_PTR htreeitem)
{
    const CKeepAlive alive(Self());
    m_tree.Pictures().SetStatePicture(Item(htreeitem), kStatePartLoadedPartVisible);
    return S_OK;
}

STDMETHODIMP CRVWnd::SetNewIcon(ULONG_PTR htreeitem, LONG bOn)
{
    const CKeepAlive alive(Self());
    m_tree.Pictures().SetNewIcon(Item(htreeitem), bOn);
    return S_OK;
}

STDMETHODIMP CRVWnd::SetNormalIconState(ULONG_PTR htreeitem)
{
    const CKeepAlive alive(Self());
    m_tree.Pictures().SetNormalIconState(Item(htreeitem));
    return S_OK;
}

STDMETHODIMP CRVWnd::IsPhantomIcon(ULONG_PTR htreeitem, LONG* pbOn)
{
    const CKeepAlive alive(Self());
    return WriteOut<LONG>(pbOn, m_tree.Pictures().IsPhantomIcon(Item(htreeitem)) ? 1 : 0);
}

STDMETHODIMP CRVWnd::SetPhantomIcon(ULONG_PTR htreeitem, LONG bOn)
{
    const CKeepAlive alive(Self());
    m_tree.Pictures().SetPhantomIcon(Item(htreeitem), bOn);
    return S_OK;
}

STDMETHODIMP CRVWnd::SetAssemblyIcon(ULONG_PTR htreeitem, LONG bOn)
{
    const CKeepAlive alive(Self());
    m_tree.Pictures().SetAssemblyIcon(Item(htreeitem), bOn);
    return S_OK;
}

STDMETHODIMP CRVWnd::GetAssemblyIcon(ULONG_PTR htreeitem, LONG* pbOn)
{
    const CKeepAlive alive(Self());
    return WriteOut<LONG>(pbOn, m_tree.Pictures().GetAssemblyIcon(Item(htreeitem)));
}

STDMETHODIMP CRVWnd::SetItemGUIState(ULONG_PTR htreeitem, LONG bOn)
{
    const CKeepAlive alive(Self());
    m_tree.Pictures().SetItemGUIState(Item(htreeitem), bOn);
    return S_OK;
}

STDMETHODIMP CRVWnd::SetFailState(ULONG_PTR htreeitem, LONG bOn)
{
    const CKeepAlive alive(Self());
    m_tree.Pictures().SetFailState(Item(htreeitem), bOn);
    return S_OK;
}

STDMETHODIMP CRVWnd::GetFailState(ULONG_PTR htreeitem, LONG* pbOn)
{
    const CKeepAlive alive(Self());
    return WriteOut<LONG>(pbOn, m_tree.Pictures().GetFailState(Item(htreeitem)) ? 1 : 0);
}

STDMETHODIMP CRVWnd::SetStateImage(ULONG_PTR htreeitem, ULONG index)
{
    const CKeepAlive alive(Self());
    m_tree.Pictures().SetStatePicture(Item(htreeitem), index);
    return S_OK;
}

STDMETHODIMP CRVWnd::SetProhibitedIcon(ULONG_PTR htreeitem, LONG bOn)
{
    const CKeepAlive alive(Self());
    m_tree.Pictures().SetProhibitedIcon(Item(htreeitem), bOn);
    return S_OK;
}

STDMETHODIMP CRVWnd::IsLocked(ULONG_PTR htreeitem, LONG* pbLocked)
{
    const CKeepAlive alive(Self());
    return WriteOut<LONG>(pbLocked, m_tree.Locks().IsLocked(Item(htreeitem)));
}

STDMETHODIMP CRVWnd::LockItem(ULONG_PTR htreeitem, LONG bLock)
{
    const CKeepAlive alive(Self());
    m_tree.Locks().LockItem(Item(htreeitem), bLock);
    return S_OK;
}

// ---- Navigation, depth, expansion and states ----

STDMETHODIMP CRVWnd::TravNode(int TOrF)
{
    const CKeepAlive alive(Self());
    m_bTravNode = TOrF;
    return S_OK;
}

STDMETHODIMP CRVWnd::ExpandToDepth(ULONG_PTR htreeitem, int depth)
{
    const CKeepAlive alive(Self());
    // 0 stands for the whole tree; a handle that is not an item of it does nothing.
    if (htreeitem && !Item(htreeitem)) return S_OK;
    m_tree.Navigator().ExpandToDepth(Item(htreeitem), depth);
    return S_OK;
}

STDMETHODIMP CRVWnd::GetDepth(ULONG_PTR htreeitem, int* pdepth)
{
    const CKeepAlive alive(Self());
    if (!pdepth) return E_POINTER;
    *pdepth = (htreeitem && !Item(htreeitem)) ? 0 : m_tree.Navigator().GetDepth(Item(htreeitem));
    return S_OK;
}

STDMETHODIMP CRVWnd::GetDeepestOpenLevel(ULONG_PTR htreeitem, int* pdepth)
{
    const CKeepAlive alive(Self());
    if (!pdepth) return E_POINTER;
    *pdepth = (htreeitem && !Item(htreeitem)) ? 0 : m_tree.Navigator().GetDeepestOpenLevel(Item(htreeitem));
    return S_OK;
}

STDMETHODIMP CRVWnd::IsItemExpanded(ULONG_PTR htreeitem, LONG* bExpanded)
{
    const CKeepAlive alive(Self());
    return WriteOut<LONG>(bExpanded, m_tree.Navigator().IsItemExpanded(Item(htreeitem)) ? 1 : 0);
}

STDMETHODIMP CRVWnd::Collapse(ULONG_PTR htreeitem)
{
    const CKeepAlive alive(Self());
    if (htreeitem && !Item(htreeitem)) return S_OK;
    m_tree.Navigator().Collapse(Item(htreeitem));
    return S_OK;
}

STDMETHODIMP CRVWnd::GetChild(ULONG_PTR htreeitemparent, int index, ULONG_PTR* childKey)
{
    const CKeepAlive alive(Self());
    return WriteOut<ULONG_PTR>(childKey, AsValue(m_tree.Navigator().GetChild(Item(htreeitemparent), index)));
}

STDMETHODIMP CRVWnd::GetParentItem(ULONG_PTR htreeitem, ULONG_PTR* parentKey)
{
    const CKeepAlive alive(Self());
    const HTREEITEM hItem = Item(htreeitem);
    return WriteOut<ULONG_PTR>(parentKey, hItem ? AsValue(m_tree.Items().GetParent(hItem)) : 0);
}

STDMETHODIMP CRVWnd::GetNumChildren(ULONG_PTR itemKey, int* nChild)
{
    const CKeepAlive alive(Self());
    return WriteOut<int>(nChild, m_tree.Navigator().GetNumChildren(Item(itemKey)));
}

STDMETHODIMP CRVWnd::GetNextTravItem(ULONG_PTR htreeitem, ULONG_PTR* pnexthtreeitem)
{
    const CKeepAlive alive(Self());
    // The step (and its message to the host) comes first, whatever the out pointer.
    const HTREEITEM hNext = m_tree.Navigator().GetNextTravItem(Item(htreeitem));
    if (!pnexthtreeitem) return E_INVALIDARG;
    *pnexthtreeitem = AsValue(hNext);
    return S_OK;
}

STDMETHODIMP CRVWnd::SetHTIState(ULONG_PTR htreeitem, LONG state, LONG bNotify)
{
    const CKeepAlive alive(Self());
    m_tree.States().SetHTIState(Item(htreeitem), static_cast<uint32_t>(state), bNotify != 0);
    return S_OK;
}

STDMETHODIMP CRVWnd::GetHTIState(ULONG_PTR htreeitem, LONG* bState)
{
    const CKeepAlive alive(Self());
    return WriteOut<LONG>(bState, static_cast<LONG>(m_tree.Items().GetHTIState(Item(htreeitem))));
}

STDMETHODIMP CRVWnd::SetKeyState(ULONG key, LONG state)
{
    const CKeepAlive alive(Self());
    m_tree.States().SetKeyState(key, static_cast<uint32_t>(state));
    return S_OK;
}

STDMETHODIMP CRVWnd::GetKeyState(ULONG key, LONG* bState)
{
    const CKeepAlive alive(Self());
    return WriteOut<LONG>(bState, static_cast<LONG>(m_tree.States().GetKeyState(key)));
}

// ---- Selection and key queries ----

STDMETHODIMP CRVWnd::SelectItem(ULONG_PTR htreeitem, LONG bNotify, LONG bAppend, LONG bIsOrvane)
{
    const CKeepAlive alive(Self());
    m_tree.Selection().SelectItem(Item(htreeitem), bNotify != 0, bAppend != 0, bIsOrvane != 0);
    return S_OK;
}

STDMETHODIMP CRVWnd::SelectItems(ULONG key, LONG bSelect, LONG bSetVisible)
{
    const CKeepAlive alive(Self());
    m_tree.Selection().SelectItems(key, bSelect != 0, bSetVisible != 0);
    return S_FALSE;
}

STDMETHODIMP CRVWnd::DeselectItem(ULONG_PTR htreeitem)
{
    const CKeepAlive alive(Self());
    m_tree.Selection().DeselectItem(Item(htreeitem), false, false);
    return S_OK;
}

STDMETHODIMP CRVWnd::DeselectAll()
{
    const CKeepAlive alive(Self());
    m_tree.Selection().DeselectAll();
    return S_OK;
}

STDMETHODIMP CRVWnd::GetNumSelected(int* numSelected)
{
    const CKeepAlive alive(Self());
    return WriteOut<int>(numSelected, m_tree.Selection().Count());
}

STDMETHODIMP CRVWnd::GetSelectedItem(ULONG_PTR* item)
{
    const CKeepAlive alive(Self());
    return WriteOut<ULONG_PTR>(item, AsValue(m_tree.Selection().First()));
}

STDMETHODIMP CRVWnd::GetCurrentItem(ULONG_PTR* item)
{
    const CKeepAlive alive(Self());
    return WriteOut<ULONG_PTR>(item, AsValue(m_tree.Selection().CurrentItem()));
}

STDMETHODIMP CRVWnd::CalcSelectedItems(ULONG typeID, int* pSize)
{
    const CKeepAlive alive(Self());
    if (!pSize) return E_POINTER;
    *pSize = m_tree.Selection().CalcSelectedItems(typeID);
    return S_OK;
}

STDMETHODIMP CRVWnd::GetSelectedItems(ULONG_PTR* pItems, int Size)
{
    const CKeepAlive alive(Self());
    if (!pItems && Size > 0) return E_POINTER;
    return m_tree.Selection().GetSelectedItems(pItems, Size) ? S_OK : E_FAIL;
}

STDMETHODIMP CRVWnd::CalcOrvaneMappedItems(ULONG orvaneKey, int* pSize)
{
    const CKeepAlive alive(Self());
    if (!pSize) return E_POINTER;
    *pSize = m_tree.Selection().CalcOrvaneMappedItems(orvaneKey);
    return S_OK;
}

STDMETHODIMP CRVWnd::GetOrvaneMappedItems(ULONG_PTR* pItems, int Size)
{
    const CKeepAlive alive(Self());
    if (!pItems && Size > 0) return E_POINTER;
    return m_tree.Selection().GetOrvaneMappedItems(pItems, Size) ? S_OK : E_FAIL;
}

STDMETHODIMP CRVWnd::IsOrvaneKeyPresent(ULONG orvKey, int* numKeys)
{
    const CKeepAlive alive(Self());
    return WriteOut<int>(numKeys, m_tree.Selection().IsOrvaneKeyPresent(orvKey));
}

STDMETHODIMP CRVWnd::CalcSelectedItemsByDataID(ULONG dataID, int* pSize)
{
    const CKeepAlive alive(Self());
    if (!pSize) return E_INVALIDARG;
    *pSize = m_tree.Selection().CountSelectedByDataID(dataID);
    return S_OK;
}

STDMETHODIMP CRVWnd::GetSelectedItemsByDataID(ULONG dataID, int Size, ULONG_PTR* pItems)
{
    const CKeepAlive alive(Self());
    if (!pItems) return E_FAIL;
    m_tree.Selection().GetSelectedByDataID(dataID, pItems, Size);
    return S_OK;
}

STDMETHODIMP CRVWnd::SetState(LONG state)
{
    const CKeepAlive alive(Self());
    m_tree.States().SetHTIState(m_tree.Selection().First(), static_cast<uint32_t>(state), false);
    return S_OK;
}

STDMETHODIMP CRVWnd::GetState(LONG* bState)
{
    const CKeepAlive alive(Self());
    return WriteOut<LONG>(bState, static_cast<LONG>(m_tree.Items().GetHTIState(m_tree.Selection().First())));
}

// ---- Removal ----

STDMETHODIMP CRVWnd::RemoveAllChildren(ULONG_PTR htreeitem)
{
    const CKeepAlive alive(Self());
    m_tree.Removal().RemoveAllChildren(Item(htreeitem));
    return S_OK;
}

STDMETHODIMP CRVWnd::RemoveTreeItem(ULONG_PTR htreeitem)
{
    const CKeepAlive alive(Self());
    m_tree.Removal().RemoveTreeItem(Item(htreeitem));
    return S_OK;
}

// ---- The user's side ----

STDMETHODIMP CRVWnd::EditItemLabel(ULONG_PTR htreeitem)
{
    const CKeepAlive alive(Self());
    // An item that is not live is no item: nothing to edit.
    if (const HTREEITEM hItem = m_tree.Items().ResolveItem(htreeitem)) m_tree.LabelEditing().EditLabel(hItem);
    return S_OK;
}

STDMETHODIMP CRVWnd::MakePasteLikeInsert(LONG bInsert)
{
    const CKeepAlive alive(Self());
    m_tree.Commands().SetPasteLikeInsert(bInsert != 0);
    return S_OK;
}

STDMETHODIMP CRVWnd::DragDropInsertBeforeFlag(int TOrF)
{
    const CKeepAlive alive(Self());
    m_tree.Drag().SetInsertBeforeDrop(TOrF != 0);
    return S_OK;
}

STDMETHODIMP CRVWnd::ShowFindDialog()
{
    const CKeepAlive alive(Self());
    m_tree.FindBookmarks().ShowFindDialog();
    return S_OK;
}

STDMETHODIMP CRVWnd::SetBookmark(ULONG_PTR htreeitem, LONG bOn)
{
    const CKeepAlive alive(Self());
    if (const HTREEITEM hItem = m_tree.Items().ResolveItem(htreeitem))
        m_tree.FindBookmarks().SetBookmark(hItem, bOn != 0);
    return S_OK;
}

STDMETHODIMP CRVWnd::GotoBookmark(LONG bNext)
{
    const CKeepAlive alive(Self());
    m_tree.FindBookmarks().GotoBookmark(bNext != 0);
    return S_OK;
}

STDMETHODIMP CRVWnd::ClearBookmarks()
{
    const CKeepAlive alive(Self());
    m_tree.FindBookmarks().ClearBookmarks();
    return S_OK;
}

