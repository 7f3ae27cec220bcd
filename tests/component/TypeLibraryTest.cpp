#include "host/Component.h"

#include <gtest/gtest.h>
#include <oleauto.h>

#include <string>
#include <vector>

namespace {

// IRVWnd's methods in table order: slots 3 to 80.
const std::vector<std::string> kRVWndMethods = {
    "Init", "InitTree", "SetMessageHandler", "PostMessage", "ShowWindow", "MoveWindow",
    "Invalidate", "suspendRedraw", "resumeRedraw", "ShowFindDialog", "AddTreeItem", "AddAssembly",
    "IsAssembly", "ItemHasChildren", "RemoveTreeItem", "RemoveAllChildren", "DragDropInsertBeforeFlag", "MakePasteLikeInsert",
    "TravNode", "Expand", "ExpandToDepth", "GetDepth", "GetDeepestOpenLevel", "IsItemExpanded",
    "Collapse", "EnsureVisible", "GetRootItem", "GetCurrentItem", "GetNextItem", "GetChildItem",
    "GetChild", "GetParentItem", "GetNextSiblingItem", "GetPrevSiblingItem", "GetNumChildren", "SetUnloaded",
    "IsItemLoaded", "IsItemPartiallyLoaded", "SetNoneLoadedIcon", "SetAllOnAllLoadedIcon", "SetLoadedNoVisibleIcon", "SetPartLoadedVisibleIcon",
    "SetPartLoadedNoVisibleIcon", "SetLoadedPartVisibleIcon", "SetPartLoadedPartVisibleIcon", "SetNewIcon", "SetNormalIconState", "IsPhantomIcon",
    "SetPhantomIcon", "SetAssemblyIcon", "GetAssemblyIcon", "SetItemData", "SetItemText", "EditItemLabel",
    "SetHTIState", "SetKeyState", "SetState", "SetItemGUIState", "SetFailState", "GetItemData",
    "CalcSelectedItems", "GetSelectedItems", "GetItemText", "GetHTIState", "GetKeyState", "GetState",
    "GetFailState", "CalcOrvaneMappedItems", "GetOrvaneMappedItems", "IsOrvaneKeyPresent", "SelectItem", "SelectItems",
    "DeselectItem", "DeselectAll", "GetNumSelected", "GetSelectedItem", "IsLocked", "LockItem",
};

struct FunctionEntry
{
    std::string name;
    long offset;
};

std::vector<FunctionEntry> FunctionsOf(ITypeLib* pLib, REFIID iid)
{
    std::vector<FunctionEntry> out;
    CComPtr<ITypeInfo> info;
    if (FAILED(pLib->GetTypeInfoOfGuid(iid, &info))) return out;
    TYPEATTR* attr = nullptr;
    info->GetTypeAttr(&attr);
    const int count = attr->cFuncs;
    info->ReleaseTypeAttr(attr);
    for (int i = 0; i < count; ++i) {
        FUNCDESC* desc = nullptr;
        info->GetFuncDesc(i, &desc);
        BSTR name = nullptr;
        UINT got = 0;
        info->GetNames(desc->memid, &name, 1, &got);
        char text[128] = {};
        WideCharToMultiByte(CP_ACP, 0, name, -1, text, sizeof text, nullptr, nullptr);
        out.push_back({text, desc->oVft});
        SysFreeString(name);
        info->ReleaseFuncDesc(desc);
    }
    return out;
}

class TypeLibrary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(CComponentDll::Get().Module(), nullptr);
        ASSERT_HRESULT_SUCCEEDED(LoadTypeLibEx(CComponentDll::Get().Path().c_str(), REGKIND_NONE, &lib));
    }
    CComPtr<ITypeLib> lib;
};

} // namespace

TEST_F(TypeLibrary, IsResourceOneWithItsIdentityVersionAndHelpString)
{
    TLIBATTR* attr = nullptr;
    ASSERT_HRESULT_SUCCEEDED(lib->GetLibAttr(&attr));
    EXPECT_TRUE(IsEqualGUID(attr->guid, LIBID_RVWINDOWLib));
    EXPECT_EQ(attr->wMajorVerNum, 1);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    lib->ReleaseTLibAttr(attr);

    BSTR name = nullptr, doc = nullptr;
    ASSERT_HRESULT_SUCCEEDED(lib->GetDocumentation(-1, &name, &doc, nullptr, nullptr));
    EXPECT_STREQ(name, L"RVWINDOWLib");
    EXPECT_STREQ(doc, L"RVWindow 1.0 Type Library");
    SysFreeString(name);
    SysFreeString(doc);
}

TEST_F(TypeLibrary, EveryMethodOfIRVWndHasItsNameAndSlot)
{
    const auto functions = FunctionsOf(lib.get(), IID_IRVWnd);
    ASSERT_EQ(functions.size(), kRVWndMethods.size());
    ASSERT_EQ(kRVWndMethods.size(), 78u);
    for (size_t i = 0; i < functions.size(); ++i) {
        EXPECT_EQ(functions[i].name, kRVWndMethods[i]) << "slot " << i + 3;
        EXPECT_EQ(functions[i].offset, static_cast<long>((i + 3) * sizeof(void*))) << functions[i].name;
    }
}

TEST_F(TypeLibrary, IRVWnd3HasAddIsolatedAssemblyInSlotThree)
{
    const auto functions = FunctionsOf(lib.get(), IID_IRVWnd3);
    ASSERT_EQ(functions.size(), 1u);
    EXPECT_EQ(functions[0].name, "AddIsolatedAssembly");
    EXPECT_EQ(functions[0].offset, static_cast<long>(3 * sizeof(void*)));
}

TEST_F(TypeLibrary, CarriesTheCoclassAndHostInterfacesButNotIRVWnd2)
{
    CComPtr<ITypeInfo> coclass;
    ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(CLSID_RVWnd, &coclass));
    TYPEATTR* attr = nullptr;
    coclass->GetTypeAttr(&attr);
    EXPECT_EQ(attr->typekind, TKIND_COCLASS);
    ASSERT_EQ(attr->cImplTypes, 2);
    coclass->ReleaseTypeAttr(attr);
    int flags = 0;
    coclass->GetImplTypeFlags(0, &flags);
    EXPECT_TRUE(flags & IMPLTYPEFLAG_FDEFAULT) << "IRVWnd is the default interface";
    HREFTYPE ref = 0;
    coclass->GetRefTypeOfImplType(0, &ref);
    CComPtr<ITypeInfo> first;
    coclass->GetRefTypeInfo(ref, &first);
    TYPEATTR* firstAttr = nullptr;
    first->GetTypeAttr(&firstAttr);
    EXPECT_TRUE(IsEqualGUID(firstAttr->guid, IID_IRVWnd));
    first->ReleaseTypeAttr(firstAttr);

    for (const IID* iid : {&IID_IRavlinWindowSink, &IID_IMessage, &IID_IVisibilityManager, &IID_IView3DObjects}) {
        CComPtr<ITypeInfo> info;
        EXPECT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(*iid, &info));
    }
    CComPtr<ITypeInfo> second;
    EXPECT_EQ(lib->GetTypeInfoOfGuid(IID_IRVWnd2, &second), TYPE_E_ELEMENTNOTFOUND);
}
