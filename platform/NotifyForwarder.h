// Where a child control's notifications arrive: a message-only window of the component's own,
// under which the control is created before it moves to its host's window. The tree-view
// control keeps notifying the window it was created under (it takes its notification window
// at creation and does not follow SetParent), so its WM_NOTIFY messages reach the component
// without a hook on the host's window: the host's window procedure is left as it was, any
// number of controls can live in one host window, and nothing has to be unhooked in order.
// Each notification goes back to the control's own window as a reflected notification.
#pragma once
#include "platform/Window.h"

// The usual reflection base: a reflected message is the original plus 0x2000.
constexpr UINT kReflectBase = 0x2000;
constexpr UINT kReflectedNotify = WM_NOTIFY + kReflectBase;

class CNotifyForwarder final : public CWindowBase
{
public:
    ~CNotifyForwarder() override { DestroyWindow(); }

    // Creates the message-only window.
    bool Create();
    // The control whose notifications are sent back to it.
    void SetTarget(HWND hTarget) { m_hTarget = hTarget; }

protected:
    bool ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    HWND m_hTarget = nullptr;
};
