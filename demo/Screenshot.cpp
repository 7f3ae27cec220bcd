#include "demo/Screenshot.h"

#include <wincodec.h>

#include <cstring>
#include <vector>

namespace {
template <class T>
class CRelease
{
public:
    ~CRelease() { if (p) p->Release(); }
    T* p = nullptr;
};

bool WritePng(const wchar_t* path, int width, int height, const void* pixels)
{
    CRelease<IWICImagingFactory> factory;
    CRelease<IWICStream> stream;
    CRelease<IWICBitmapEncoder> encoder;
    CRelease<IWICBitmapFrameEncode> frame;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory.p))))
        return false;
    if (FAILED(factory.p->CreateStream(&stream.p)) || FAILED(stream.p->InitializeFromFilename(path, GENERIC_WRITE)))
        return false;
    if (FAILED(factory.p->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder.p)) ||
        FAILED(encoder.p->Initialize(stream.p, WICBitmapEncoderNoCache)) ||
        FAILED(encoder.p->CreateNewFrame(&frame.p, nullptr)) || FAILED(frame.p->Initialize(nullptr)) ||
        FAILED(frame.p->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))))
        return false;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (FAILED(frame.p->SetPixelFormat(&format))) return false;
    const UINT stride = static_cast<UINT>(width) * 4;
    return SUCCEEDED(frame.p->WritePixels(static_cast<UINT>(height), stride, stride * static_cast<UINT>(height),
                                          static_cast<BYTE*>(const_cast<void*>(pixels)))) &&
           SUCCEEDED(frame.p->Commit()) && SUCCEEDED(encoder.p->Commit());
}

// The child's client area's place in the main window's client area.
RECT ClientPlace(HWND hMain, HWND hChild)
{
    RECT rect{};
    GetClientRect(hChild, &rect);
    MapWindowPoints(hChild, hMain, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
} // namespace

bool SaveWindowPng(HWND hMain, HWND hTree, HWND hView, HWND hLog,
                   const std::function<void(HDC, const RECT&)>& drawView, const wchar_t* path)
{
    RECT client{};
    GetClientRect(hMain, &client);
    const int width = client.right, height = client.bottom;
    if (width <= 0 || height <= 0) return false;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down, as the encoder reads rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap) {
        DeleteDC(dc);
        return false;
    }
    HGDIOBJ old = SelectObject(dc, bitmap);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    const auto at = [&](HWND hChild) {
        const RECT place = ClientPlace(hMain, hChild);
        SetViewportOrgEx(dc, place.left, place.top, nullptr);
        return RECT{0, 0, place.right - place.left, place.bottom - place.top};
    };
    at(hTree);
    SendMessageW(hTree, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    drawView(dc, at(hView));
    const RECT logArea = at(hLog);
    FillRect(dc, &logArea, GetSysColorBrush(COLOR_WINDOW));
    SendMessageW(hLog, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    GdiFlush();
    // Opaque pixels: GDI leaves the alpha byte at 0.
    auto* pixel = static_cast<DWORD*>(bits);
    for (int i = 0; i < width * height; ++i) pixel[i] |= 0xFF000000;
    const bool written = WritePng(path, width, height, bits);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return written;
}
