// The host's sink, visibility manager and 3D view, and everything the component tells or asks
// them. Each method is a call out to the host: the host may call any method from inside it,
// remove any item, hand in new interfaces or let go of the object. Each holds its own reference
// to the interface it calls for the call's whole length.
#pragma once
#include "RVWindow.h"
#include "platform/ComPtr.h"

#include <cstdint>

class CHostViewer
{
public:
    void SetViewer(IVisibilityManager* pVisibility, IView3DObjects* pView);
    void SetSink(IRavlinWindowSink* pSink) { m_sink = pSink; }
    void Release();

    // Whether the host can show and hide the parts of a key (a visibility manager and a sink).
    bool ShowsKeys() const { return m_visibility && m_sink; }

    // The selection lock around a change of the selection.
    void LockSelection(bool locked);
    // Shows or hides the key's parts in the 3D view, inside the visibility lock; nothing while
    // the host holds that lock itself. False when the visibility manager failed.
    bool ShowKey(uint32_t key, bool shown);
    // Asks whether the key's parts are shown; false (on untouched) without a visibility manager.
    bool AskKeyShown(uint32_t key, LONG& on);
    // Asks for the key of the first part selected in the 3D view; false without a sink.
    bool AskFirstSelectedKey(ULONG& key);
    // Asks whether a part of the key may be locked; no without a node query.
    bool AskMayLock(uint32_t key);
    // The 3D view draws itself anew.
    void Redraw3D();

    // The context menu: which commands it offers, the type of the item it is for, and the
    // host's own menu at the point.
    void OfferMenu(unsigned long mask);
    void TellSelectedTypeID(uint32_t typeID);
    void ShowMenu(POINT screenPoint, long menuKey);

private:
    CComPtr<IVisibilityManager> m_visibility;
    CComPtr<IView3DObjects> m_view;
    CComPtr<IRavlinWindowSink> m_sink;
};
