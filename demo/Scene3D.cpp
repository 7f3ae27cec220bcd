#include "demo/Scene3D.h"

#include <algorithm>

namespace {
COLORREF Shade(COLORREF c, int percent)
{
    return RGB(GetRValue(c) * percent / 100, GetGValue(c) * percent / 100, GetBValue(c) * percent / 100);
}

// A box seen from above right: front face, top face and side face.
void DrawBox(HDC hDC, const RECT& front, int depth, COLORREF colour, bool solid, COLORREF ghost)
{
    const POINT top[] = {{front.left, front.top}, {front.left + depth, front.top - depth},
                         {front.right + depth, front.top - depth}, {front.right, front.top}};
    const POINT side[] = {{front.right, front.top}, {front.right + depth, front.top - depth},
                          {front.right + depth, front.bottom - depth}, {front.right, front.bottom}};
    HPEN pen = CreatePen(solid ? PS_SOLID : PS_DOT, 1, solid ? Shade(colour, 40) : ghost);
    HGDIOBJ oldPen = SelectObject(hDC, pen);
    const struct { const POINT* points; int percent; } faces[] = {{top, 115}, {side, 70}};
    for (const auto& face : faces) {
        HBRUSH brush = solid ? CreateSolidBrush(Shade(colour, std::min(face.percent, 100))) : nullptr;
        HGDIOBJ oldBrush = SelectObject(hDC, brush ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
        Polygon(hDC, face.points, 4);
        SelectObject(hDC, oldBrush);
        if (brush) DeleteObject(brush);
    }
    HBRUSH brush = solid ? CreateSolidBrush(colour) : nullptr;
    HGDIOBJ oldBrush = SelectObject(hDC, brush ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
    Rectangle(hDC, front.left, front.top, front.right, front.bottom);
    SelectObject(hDC, oldBrush);
    if (brush) DeleteObject(brush);
    SelectObject(hDC, oldPen);
    DeleteObject(pen);
}
} // namespace

void DrawScene(HDC hDC, const RECT& area, const CDemoHost& host, const std::vector<ScenePart>& parts)
{
    HBRUSH background = CreateSolidBrush(RGB(32, 36, 44));
    FillRect(hDC, &area, background);
    DeleteObject(background);
    SetBkMode(hDC, TRANSPARENT);
    SetTextColor(hDC, RGB(220, 220, 220));
    HGDIOBJ oldFont = SelectObject(hDC, GetStockObject(DEFAULT_GUI_FONT));
    const int columns = 3;
    const int rows = (static_cast<int>(parts.size()) + columns - 1) / columns;
    const int cellW = (area.right - area.left) / columns;
    const int cellH = rows ? (area.bottom - area.top - 8) / rows : 0;
    const int depth = std::max(4, std::min(cellW, cellH) / 8);
    for (size_t i = 0; i < parts.size(); ++i) {
        const int col = static_cast<int>(i) % columns, row = static_cast<int>(i) / columns;
        const int x = area.left + col * cellW, y = area.top + 8 + row * cellH;
        const RECT front{x + 10, y + depth + 4, x + cellW - depth - 10, y + cellH - 18};
        const bool visible = host.VisibleKeys().count(parts[i].key) != 0;
        const bool selected = host.SelectedKeys().count(parts[i].key) != 0;
        const COLORREF selectedColour = RGB(240, 140, 30);
        DrawBox(hDC, front, depth, selected ? selectedColour : RGB(120, 150, 190), visible,
                selected ? selectedColour : RGB(150, 150, 150));
        RECT label{x, front.bottom + 1, x + cellW, y + cellH};
        DrawTextW(hDC, parts[i].name, -1, &label, DT_CENTER | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS);
    }
    SelectObject(hDC, oldFont);
}
