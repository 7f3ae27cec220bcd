/// \file HostTestKit.h
/// \brief The RVWindow host test kit in one include.
///
/// What a host project needs to test its integration of the
/// component in its own test programs, with any test framework or none. It is the kit the
/// component's own suites use. Everything is in namespace RVHostKit and depends on nothing but
/// the platform (user32, gdi32, comctl32, ole32, oleaut32, advapi32) and the component's
/// public headers. Use it on the thread that created the object, inside OleInitialize, with
/// the tree-view classes registered (InitCommonControlsEx with ICC_TREEVIEW_CLASSES).
///
/// - `CallLog.h`: CCallLog: one ordered log of every call the component makes into the host,
///   as readable entries ("IMessage::SendWithDataID(dataID=9, wID=4,
///   wMsg=HM_SELECTED, Size=4, data=Shaft)", "Sink::SetSelectionLock(1)",
///   "Vis::SetInvisible(200)"), so a test compares an exact expected sequence.
///   Item handles read as the names given to them (Name). ShowMessageNames
///   switches message codes from numbers to their HM_ names.
/// - `HostObjects.h`: One host object for each host interface (IMessage with IMessage2,
///   IRavlinWindowSink, IVisibilityManager, IView3DObjects with IViewNodeQuery,
///   IManage3DObjects), each logging to the CCallLog, with programmable answers
///   (vetoes per message code, lock states, visibility, lock permission) and a
///   hook (onMessage, CCallLog::onCall) to call back into the component from
///   inside a host call, as re-entrant hosts do.
/// - `HostWindow.h`: CHostWindow: the host's own window the tree lives in, Unicode or 8-bit.
/// - `TestHost.h`: CTestHost: all of the above around one RVWnd object, created by CLSID
///   through COM (registered) or from RVWindow.dll beside the program, initialised
///   as a host does, with builders that name every new item in the log and
///   readers of an item's label (TextOf in the system code page, WideTextOf whole);
///   NewRecord (records from the COM task allocator, as the tree requires);
///   CFreeCounter (counts task-allocator frees, to prove records are freed once).
/// - `Input.h`: The user's hands: clicks, double-clicks and right clicks at an item's label,
///   icon, state picture or button (ItemPoint), drags, keys, holding a key down as
///   GetAsyncKeyState sees it, a command picked from the host's context menu, typing
///   into the label edit box, and the message pump.
/// - `TreeReader.h`: What the tree shows, read straight from the control: an item's images, state
///   picture, children mark, expansion, text and record; the children of an item;
///   CMessageSpy, a recorder of chosen messages reaching a window.
#pragma once
#include "RVHostKit/CallLog.h"
#include "RVHostKit/HostObjects.h"
#include "RVHostKit/HostWindow.h"
#include "RVHostKit/Input.h"
#include "RVHostKit/TestHost.h"
#include "RVHostKit/TreeReader.h"
#include "RVWindow/Commands.h"
#include "RVWindow/HostMessages.h"
