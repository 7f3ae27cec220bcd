// Test programs run in a single-threaded apartment, as the component's hosts do, and are aware
// of the system's DPI, as hosts at any scale are (the system then tells them its real DPI).
#include <gtest/gtest.h>
#include <objbase.h>
#include <commctrl.h>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    SetProcessDPIAware();
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&icc);
    const int result = RUN_ALL_TESTS();
    OleUninitialize();
    return result;
}
