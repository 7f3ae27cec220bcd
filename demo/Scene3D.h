// The demo host's 3D view, as simple as a 3D view can be: one box per part of the model, solid
// while the part is switched on, a ghost while it is off, orange while the tree has it selected.
#pragma once
#include "demo/DemoHost.h"

#include <windows.h>
#include <vector>

struct ScenePart
{
    ULONG key;
    const wchar_t* name;
};

void DrawScene(HDC hDC, const RECT& area, const CDemoHost& host, const std::vector<ScenePart>& parts);
