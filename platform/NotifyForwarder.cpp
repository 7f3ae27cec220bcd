#include "platform/NotifyForwarder.h"

bool CNotifyForwarder::Create()
{
    const RECT empty{0, 0, 0, 0};
    return CreateEx(0, "STATIC", "", WS_CHILD, empty, HWND_MESSAGE, 0);
}

bool CNotifyForwarder::ProcessMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    switch (msg) {
    case WM_NOTIFY: {
        const auto* const hdr = reinterpret_cast<const NMHDR*>(lParam);
        if (!hdr || !m_hTarget || hdr->hwndFrom != m_hTarget) return false;
        result = ::SendMessageA(m_hTarget, kReflectedNotify, wParam, lParam);
        return true;
    }
    case WM_NOTIFYFORMAT:
        // Labels are wide text: ask for the Unicode notifications.
        result = NFR_UNICODE;
        return true;
    default:
        return false;
    }
}
