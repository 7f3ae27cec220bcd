// The picture resources, the shared image lists and every picture method.
#include "host/Component.h"
#include "RVHostKit/TreeReader.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A bitmap resource of the component decoded to palette colours.
class CStrip
{
public:
    explicit CStrip(int id)
    {
        HMODULE dll = CComponentDll::Get().Module();
        HRSRC res = FindResourceA(dll, MAKEINTRESOURCEA(id), reinterpret_cast<LPCSTR>(RT_BITMAP));
        if (!res) return;
        const auto* info = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(dll, res)));
        header = *info;
        const auto* palette = reinterpret_cast<const RGBQUAD*>(info + 1);
        const auto* bits = reinterpret_cast<const BYTE*>(palette + (info->biClrUsed ? info->biClrUsed : 16));
        const int stride = ((info->biWidth * 4 + 31) / 32) * 4;
        for (int y = 0; y < info->biHeight; ++y) {
            const BYTE* row = bits + (info->biHeight - 1 - y) * stride; // bottom-up
            std::vector<COLORREF> line;
            for (int x = 0; x < info->biWidth; ++x) {
                const int index = x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 15;
                line.push_back(RGB(palette[index].rgbRed, palette[index].rgbGreen, palette[index].rgbBlue));
            }
            pixels.push_back(line);
        }
    }
    // The side of its pictures: the strip's height.
    int Size() const { return header.biHeight; }
    // Pixel (x, y) of image n.
    COLORREF At(int n, int x, int y) const { return pixels[y][n * Size() + x]; }
    bool ImageHas(int n, COLORREF colour) const
    {
        for (int y = 0; y < Size(); ++y)
            for (int x = 0; x < Size(); ++x)
                if (At(n, x, y) == colour) return true;
        return false;
    }

    BITMAPINFOHEADER header{};
    std::vector<std::vector<COLORREF>> pixels;
};

constexpr COLORREF kBlack = RGB(0, 0, 0), kWhite = RGB(255, 255, 255), kRed = RGB(255, 0, 0),
                   kGreen = RGB(0, 128, 0), kSilver = RGB(192, 192, 192), kYellow = RGB(255, 255, 0);

class Pictures : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.rv);
        assembly = host.AddAssembly(L"Gearbox", 4, 9);
        part = host.AddItem(assembly, L"Shaft");
        host.log.Clear();
    }
    ShownItem Shown(HTREEITEM item) { return Inspect(host.Tree(), item); }
    ItemRecord& Record(HTREEITEM item) { return *Shown(item).record; }

    CTestHost host;
    HTREEITEM assembly{}, part{};
};

using H = CTestHost;

} // namespace

TEST(PictureResources, StripsHaveTheirSizeDepthAndMeanings)
{
    const CStrip items(201), states(202);
    EXPECT_EQ(items.header.biWidth, 151);
    EXPECT_EQ(items.header.biHeight, 16);
    EXPECT_EQ(items.header.biBitCount, 4);
    EXPECT_EQ(states.header.biWidth, 215);
    EXPECT_EQ(states.header.biHeight, 16);
    EXPECT_EQ(states.header.biBitCount, 4);
    ASSERT_EQ(states.pixels.size(), 16u);

    // Item images: 0 is all mask (white); the padlock is yellow; the prohibition signs red.
    EXPECT_FALSE(items.ImageHas(0, kBlack));
    EXPECT_TRUE(items.ImageHas(2, kYellow));
    EXPECT_TRUE(items.ImageHas(3, kYellow) && items.ImageHas(3, kRed)) << "assembly with padlock";
    EXPECT_FALSE(items.ImageHas(1, kYellow)) << "the unlocked assembly has no padlock";
    EXPECT_TRUE(items.ImageHas(7, kRed) && !items.ImageHas(7, kYellow));
    EXPECT_TRUE(items.ImageHas(8, kRed) && items.ImageHas(8, kYellow));

    // State pictures, by the colour of the centre (fill) and of the ring.
    const int mid = 7, ringY = 2;
    EXPECT_EQ(states.At(0, mid, mid), kSilver) << "0 has no picture";
    EXPECT_EQ(states.At(1, mid, mid), kBlack);
    EXPECT_EQ(states.At(2, mid, mid), kWhite);
    EXPECT_EQ(states.At(2, mid, ringY), kBlack);
    EXPECT_TRUE(states.ImageHas(3, kRed) && states.At(3, 3, mid) == kWhite) << "failed: a red cross on white";
    for (int n : {4, 5, 9}) {
        EXPECT_EQ(states.At(n, mid, ringY), kRed) << n;
        EXPECT_EQ(states.At(n, mid, mid), kWhite) << n;
    }
    EXPECT_EQ(states.At(6, mid, mid), kBlack);
    EXPECT_EQ(states.At(7, mid, mid), kWhite);
    for (int n : {8, 11}) {
        EXPECT_EQ(states.At(n, 4, mid), kBlack) << n;
        EXPECT_EQ(states.At(n, 11, mid), kWhite) << n;
        EXPECT_EQ(states.At(n, mid, ringY), kRed) << n;
    }
    EXPECT_EQ(states.At(10, 4, mid), kBlack);
    EXPECT_EQ(states.At(10, 11, mid), kWhite);
    EXPECT_EQ(states.At(10, mid, ringY), kBlack);
    EXPECT_EQ(states.At(12, mid, mid), kGreen);
}

TEST(PictureResources, EveryLargerStripHoldsTheSamePicturesInTheSameOrderDrawnForItsSize)
{
    const struct { int items, states, size; } strips[] = {{211, 221, 20}, {212, 222, 24}, {213, 223, 32}, {214, 224, 48}};
    const CStrip items16(201), states16(202);
    for (const auto& s : strips) {
        const CStrip items(s.items), states(s.states);
        ASSERT_EQ(items.Size(), s.size);
        ASSERT_EQ(states.Size(), s.size);
        EXPECT_EQ(items.header.biWidth, 9 * s.size);
        EXPECT_EQ(states.header.biWidth, 13 * s.size);
        EXPECT_EQ(items.header.biBitCount, 4);
        EXPECT_EQ(states.header.biBitCount, 4);
        // Each picture's pixels are the 16-pixel picture's at the same place, scaled.
        for (int n = 0; n < 9; ++n)
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x)
                    ASSERT_EQ(items.At(n, (2 * x + 1) * s.size / 32, (2 * y + 1) * s.size / 32), items16.At(n, x, y))
                        << s.size << " image " << n << " at " << x << "," << y;
        // The state pictures are drawn anew: the same fill, ring, cross and mask where they
        // are in the 16-pixel pictures.
        const int mid = s.size / 2;
        for (int n = 0; n < 13; ++n) {
            EXPECT_EQ(states.At(n, 0, 0), kSilver) << n;
            EXPECT_EQ(states.At(n, mid - 1, mid - 1), states16.At(n, 7, 7)) << s.size << " state " << n;
            EXPECT_EQ(states.At(n, mid - 1, s.size * 2 / 16), states16.At(n, 7, 2)) << s.size << " ring " << n;
        }
    }
}

TEST(PictureResources, DragCursorsAreMonochromeAt32_48And64PixelsWithTheirHotSpots)
{
    const struct { int id; DWORD x, y; } cursors[] = {{203, 6, 15}, {204, 6, 15}, {205, 0, 0}};
    for (int size : {32, 48, 64})
        for (const auto& c : cursors) {
            HCURSOR cursor = static_cast<HCURSOR>(
                LoadImageA(CComponentDll::Get().Module(), MAKEINTRESOURCEA(c.id), IMAGE_CURSOR, size, size, 0));
            ASSERT_NE(cursor, nullptr) << c.id;
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(cursor, &info));
            EXPECT_EQ(info.xHotspot, c.x * size / 32) << c.id << " at " << size;
            EXPECT_EQ(info.yHotspot, c.y * size / 32) << c.id << " at " << size;
            EXPECT_EQ(info.hbmColor, nullptr) << "monochrome";
            BITMAP mask{};
            GetObjectA(info.hbmMask, sizeof mask, &mask);
            EXPECT_EQ(mask.bmWidth, size);
            EXPECT_EQ(mask.bmHeight, 2 * size) << "AND and XOR masks of as many rows each";
            DeleteObject(info.hbmMask);
            DestroyCursor(cursor);
        }
}

TEST_F(Pictures, TheTreeShowsTheSharedImageLists)
{
    HIMAGELIST normal = reinterpret_cast<HIMAGELIST>(SendMessageA(host.Tree(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
    HIMAGELIST state = reinterpret_cast<HIMAGELIST>(SendMessageA(host.Tree(), TVM_GETIMAGELIST, TVSIL_STATE, 0));
    ASSERT_NE(normal, nullptr);
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(normal), 9);
    EXPECT_EQ(ImageList_GetImageCount(state), 13);
    // The screen's DPI, which the prefix the tests run in sets (RV_WINE_DPI, 96 unless given).
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    const char* prefixDpi = getenv("RV_WINE_DPI");
    EXPECT_EQ(dpi, prefixDpi ? atoi(prefixDpi) : 96);
    const int size = dpi >= 192 ? 32 : dpi >= 144 ? 24 : dpi >= 120 ? 20 : 16;
    int cx = 0, cy = 0;
    ImageList_GetIconSize(normal, &cx, &cy);
    EXPECT_EQ(cx, size);
    EXPECT_EQ(cy, size);
    ImageList_GetIconSize(state, &cx, &cy);
    EXPECT_EQ(cx, size);

    CTestHost other;
    EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(other.Tree(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0)), normal)
        << "one list for every tree of the process";
    other.ReleaseComponent();
    EXPECT_EQ(ImageList_GetImageCount(normal), 9) << "the lists outlive the objects";
}

TEST_F(Pictures, StatePictureSettersShowTheirIndex)
{
    const struct { HRESULT (STDMETHODCALLTYPE IRVWnd2::*set)(ULONG_PTR); UINT index; } setters[] = {
        {&IRVWnd2::SetUnloaded, 4}, {&IRVWnd2::SetNoneLoadedIcon, 5}, {&IRVWnd2::SetAllOnAllLoadedIcon, 6},
        {&IRVWnd2::SetLoadedNoVisibleIcon, 7}, {&IRVWnd2::SetPartLoadedVisibleIcon, 8},
        {&IRVWnd2::SetPartLoadedNoVisibleIcon, 9}, {&IRVWnd2::SetLoadedPartVisibleIcon, 10},
        {&IRVWnd2::SetPartLoadedPartVisibleIcon, 11}};
    const ItemRecord before = Record(part);
    for (const auto& s : setters) {
        EXPECT_EQ((host.rv.get()->*s.set)(H::H(part)), S_OK);
        EXPECT_EQ(Shown(part).stateImage, s.index);
        EXPECT_EQ((host.rv.get()->*s.set)(0), S_OK);
    }
    EXPECT_EQ(memcmp(&before, &Record(part), sizeof before), 0) << "no record word changes";
    EXPECT_TRUE(host.log.Entries().empty());
}

TEST_F(Pictures, FailStateIsReadFromTheIndex)
{
    LONG failed = 9;
    host.rv->SetFailState(H::H(part), 1);
    host.rv->GetFailState(H::H(part), &failed);
    EXPECT_EQ(failed, 1);
    host.rv->SetFailState(H::H(part), 0);
    EXPECT_EQ(Shown(part).stateImage, 2u) << "off: the normal picture of an off item";
    host.rv->GetFailState(H::H(part), &failed);
    EXPECT_EQ(failed, 0);

    Record(part).state = 1;
    host.rv->SetFailState(H::H(part), 1);
    host.rv->SetNormalIconState(H::H(part));
    EXPECT_EQ(Shown(part).stateImage, 1u) << "on";
    host.rv->SetFailState(H::H(part), 1);
    host.rv->SetUnloaded(H::H(part));
    host.rv->GetFailState(H::H(part), &failed);
    EXPECT_EQ(failed, 0) << "any other setter ends the failed picture";
    host.rv->GetFailState(0, &failed);
    EXPECT_EQ(failed, 0);
    EXPECT_EQ(host.rv->GetFailState(H::H(part), nullptr), E_POINTER);
}

TEST_F(Pictures, SetStateImageUsesTheLowFourBits)
{
    host.rv->SetStateImage(H::H(part), 12);
    EXPECT_EQ(Shown(part).stateImage, 12u);
    host.rv->SetStateImage(H::H(part), 0);
    EXPECT_EQ(Shown(part).stateImage, 0u);
    host.rv->SetStateImage(H::H(part), 17);
    EXPECT_EQ(Shown(part).stateImage, 1u);
    host.rv->SetStateImage(H::H(part), 0xFFFFFFFF);
    EXPECT_EQ(Shown(part).stateImage, 15u);
    EXPECT_EQ(Shown(part).text, "Shaft") << "nothing else of the item changes";
}

TEST_F(Pictures, MarkImagesReturnToTheBaseImage)
{
    host.rv->SetNewIcon(H::H(part), 1);
    EXPECT_EQ(Shown(part).image, 4);
    EXPECT_EQ(Shown(part).selectedImage, 4);
    host.rv->SetNewIcon(H::H(part), 0);
    EXPECT_EQ(Shown(part).image, 0);

    Record(assembly).bLocked = 1;
    host.rv->SetPhantomIcon(H::H(assembly), 1);
    LONG phantom = 0;
    host.rv->IsPhantomIcon(H::H(assembly), &phantom);
    EXPECT_EQ(phantom, 1);
    host.rv->SetPhantomIcon(H::H(assembly), 0);
    EXPECT_EQ(Shown(assembly).image, 3) << "a locked assembly";
    host.rv->IsPhantomIcon(H::H(assembly), &phantom);
    EXPECT_EQ(phantom, 0);

    Record(part).tag = 5;
    host.rv->SetPhantomIcon(H::H(part), 1);
    host.rv->SetPhantomIcon(H::H(part), 0);
    EXPECT_EQ(Shown(part).image, 0) << "the tag plays no part in the base image";
}

TEST_F(Pictures, ProhibitedIconFollowsKindAndLock)
{
    const struct { bool assembly; uint32_t locked; long on; int before; int expected; } cases[] = {
        {true, 0, 1, 1, 1}, {true, 0, 0, 4, 1}, {true, 1, 1, 1, 3}, {true, 1, 0, 1, 3},
        {false, 0, 1, 0, 7}, {false, 0, 0, 4, 0}, {false, 1, 1, 0, 8}, {false, 1, 0, 0, 2},
    };
    for (const auto& c : cases) {
        const HTREEITEM item = c.assembly ? assembly : part;
        Record(item).bLocked = c.locked;
        TVITEMA set{};
        set.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        set.hItem = item;
        set.iImage = set.iSelectedImage = c.before;
        SendMessageA(host.Tree(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&set));
        host.rv->SetProhibitedIcon(H::H(item), c.on);
        EXPECT_EQ(Shown(item).image, c.expected) << (c.assembly ? "assembly" : "part") << " locked " << c.locked
                                                 << " on " << c.on;
    }
}

TEST_F(Pictures, AssemblyIconSetsTheExpandButtonAndKeepsTheValue)
{
    EXPECT_EQ(Shown(part).children, 0);
    host.rv->SetAssemblyIcon(H::H(part), 7);
    EXPECT_EQ(Shown(part).children, 1);
    EXPECT_TRUE(ChildrenOf(host.Tree(), part).empty()) << "no children are added";
    LONG value = 0;
    host.rv->GetAssemblyIcon(H::H(part), &value);
    EXPECT_EQ(value, 7);
    host.rv->SetAssemblyIcon(H::H(part), 0);
    EXPECT_EQ(Shown(part).children, 0);
    host.rv->GetAssemblyIcon(0, &value);
    EXPECT_EQ(value, 0);
}

TEST_F(Pictures, ItemGUIStateShowsOnOrOffAndAdjustsTheParentsCount)
{
    HTREEITEM bolt = host.AddItem(part, L"Bolt");
    host.rv->SetItemGUIState(H::H(bolt), 1);
    EXPECT_EQ(Shown(bolt).stateImage, 1u);
    EXPECT_EQ(Record(bolt).state, 0u) << "the stored state stays";
    EXPECT_EQ(Record(part).nChildrenOn, 1u) << "the parent is off, the child shows on";
    host.rv->SetItemGUIState(H::H(bolt), 0);
    EXPECT_EQ(Shown(bolt).stateImage, 2u);
    EXPECT_EQ(Record(part).nChildrenOn, 1u) << "0 equals the parent's state: no change";

    const uint32_t assemblyCount = Record(assembly).nChildrenOn;
    const UINT assemblyPicture = Shown(assembly).stateImage;
    host.rv->SetItemGUIState(H::H(assembly), 1);
    EXPECT_EQ(Shown(assembly).stateImage, assemblyPicture) << "assemblies are left alone";
    EXPECT_EQ(Record(assembly).nChildrenOn, assemblyCount);
}

TEST_F(Pictures, BadHandlesChangeNothingAndQueriesAnswerZero)
{
    HTREEITEM bare = host.InsertRaw(assembly, "bare"); // an item without a record
    const ShownItem before = Shown(bare);
    SendMessageA(host.Tree(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(part));
    for (ULONG_PTR item : {ULONG_PTR(0), ULONG_PTR(0xFEED), H::H(part), H::H(bare)}) {
        host.rv->SetNormalIconState(item);
        host.rv->SetPhantomIcon(item, 0);
        host.rv->SetNewIcon(item, 0);
        host.rv->SetProhibitedIcon(item, 1);
        host.rv->SetItemGUIState(item, 1);
        LONG value = 9;
        host.rv->GetAssemblyIcon(item, &value);
        EXPECT_EQ(value, 0);
        value = 9;
        host.rv->IsPhantomIcon(item, &value);
        EXPECT_EQ(value, 0);
        value = 9;
        host.rv->GetFailState(item, &value);
        EXPECT_EQ(value, 0);
    }
    const ShownItem after = Shown(bare);
    EXPECT_EQ(after.image, before.image) << "base images need the record";
    EXPECT_EQ(Shown(assembly).record->nChildrenOn, 0u);

}
