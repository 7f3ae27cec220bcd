// A host that calls back into random methods from inside every call the component makes to it
// (host messages of every form, the drop questions among them, sink, visibility manager, 3D
// view, node query), over thousands of random steps on a small tree, so that the control
// hands out the handles of deleted items again often; now and then the tree is emptied. The
// steps are the host's calls and the user's paths: label edits ended every way, drags with
// the drop questions answered both ways, and the menu commands on branches that hold locked
// parts with keys. Now and then the host lets go of its last reference from inside a call: every
// reference the object took must come back, and the run goes on with a new object.
// After every step the tree must be whole: parents answered right, counts, records, the key
// index and the selection in agreement with what the control holds. The seed is printed
// (RV_SEED=<n> replays it); RV_STEPS=<n> sets the length (20,000 by default); RV_TRACE=1
// prints every call.
#include "host/Component.h"
#include "RVHostKit/Input.h"
#include "RVHostKit/TreeReader.h"
#include "RVWindow/Commands.h"
#include "RVWindow/HostMessages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <map>
#include <memory>
#include <random>

namespace {

unsigned FromEnv(const char* name, unsigned fallback)
{
    const char* value = std::getenv(name);
    return value ? static_cast<unsigned>(std::strtoul(value, nullptr, 10)) : fallback;
}

// The menu commands the user's steps choose from.
constexpr UINT kCommands[] = {RVCMD_COPY, RVCMD_CUT, RVCMD_PASTE, RVCMD_PASTEAFTER, RVCMD_PASTEBEFORE,
                              RVCMD_DELETE, RVCMD_UNDO, RVCMD_TOGGLELOCK, RVCMD_LOCK, RVCMD_UNLOCK,
                              RVCMD_RENAME, RVCMD_NEWITEM, RVCMD_NEWASSEMBLY, RVCMD_EXPANDBRANCH,
                              RVCMD_TOGGLEBOOKMARK, RVCMD_NEXTBOOKMARK, RVCMD_PREVIOUSBOOKMARK,
                              RVCMD_CLEARBOOKMARKS, RVCMD_BINDTO3DSELECTION, RVCMD_FIND, RVCMD_UNDO};
// The questions a host may answer either way.
constexpr unsigned short kQuestions[] = {HM_DROPQUERY,    HM_DROPCHILDQUERY,  HM_DROPBEFOREQUERY,
                                         HM_DROPAFTERQUERY, HM_PASTEINTOQUERY, HM_ITEMCUT,
                                         HM_BEGINDRAG,    HM_BEGINLABELEDIT,  HM_ITEMDELETE};

class RandomReentrancy : public ::testing::Test
{
protected:
    static constexpr uint32_t kKeys = 8;
    static constexpr size_t kMaxItems = 40;

    RandomReentrancy() { NewHost(); }
    // The component goes after the fixture's own fields: it must not report to them then.
    ~RandomReentrancy() override { Quiet(); }

    void Quiet()
    {
        host->message->onMessage = nullptr;
        host->log.onCall = nullptr;
    }

    // A host with a new object, its tree shown.
    void NewHost()
    {
        if (host) Quiet();
        host = std::make_unique<CTestHost>();
        host->ShowTree();
        seen.clear();
        given.clear();
        // The host's own account of the records it handed in: an item's record stays its
        // record until the component reports the item deleted.
        host->message->onMessage = [&](unsigned short code, BYTE* data) {
            if (code != HM_ITEMDELETED) return;
            given.erase(reinterpret_cast<ULONG_PTR>(data));
            deleted.push_back(reinterpret_cast<ULONG_PTR>(data));
        };
        host->log.onCall = [&] { Reenter(); };
    }

    // The object, or null once the host has let go of it.
    IRVWnd2* Rv() const { return host->rv.get(); }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
    // Live or long gone: the component must take both.
    ULONG_PTR AnyItem() { return seen.empty() ? 0 : seen[static_cast<size_t>(Pick(static_cast<int>(seen.size())))]; }
    uint32_t AnyKey() { return 1 + static_cast<uint32_t>(Pick(kKeys)); }
    void Saw(ULONG_PTR item)
    {
        if (item) seen.push_back(item);
    }

    void Add(ULONG_PTR parent)
    {
        if (live.size() >= kMaxItems || !Rv()) return;
        ItemRecord* const record = NewRecord(Pick(4) == 0 ? 0 : AnyKey());
        ULONG_PTR item = 0;
        const size_t before = deleted.size();
        Rv()->AddTreeItem(const_cast<wchar_t*>(L"item"), 0, parent, reinterpret_cast<ULONG*>(record), &item);
        Handed(item, record, before);
    }

    void Insert(ULONG_PTR parent, ULONG_PTR after)
    {
        if (live.size() >= kMaxItems || !Rv()) return;
        ItemRecord* const record = NewRecord(Pick(4) == 0 ? 0 : AnyKey());
        ULONG_PTR item = 0;
        const size_t before = deleted.size();
        Rv()->InsertTreeItem(const_cast<char*>("inserted"), parent, after, reinterpret_cast<ULONG*>(record), &item);
        Handed(item, record, before);
    }

    // The host may have removed the new item while it heard of it: then the record is gone
    // with it.
    void Handed(ULONG_PTR item, ItemRecord* record, size_t deletedBefore)
    {
        if (!item) {
            CoTaskMemFree(record); // refused: the record is still ours
            return;
        }
        Saw(item);
        if (std::find(deleted.begin() + static_cast<std::ptrdiff_t>(deletedBefore), deleted.end(), item) == deleted.end())
            given[item] = record;
    }

    ULONG_PTR AddRoot()
    {
        ULONG_PTR root = 0;
        if (!Rv()) return 0;
        if (Pick(4) == 0)
            host->rv3->AddIsolatedAssembly(const_cast<wchar_t*>(L"isolated"), 0, 1, 1, &root);
        else
            Rv()->AddAssembly(const_cast<wchar_t*>(L"root"), 0, 1, 1, &root);
        Saw(root);
        return root;
    }

    // Two roots and some twenty items below them, when the steps have cleared the tree; some
    // parts with keys locked, and everything expanded, so that the user's steps find rows.
    void Replenish()
    {
        for (int r = 0; r < 2; ++r) AddRoot();
        for (int i = 0; i < 20 && !seen.empty(); ++i)
            Add(seen[seen.size() - 1 - static_cast<size_t>(Pick(std::min<int>(static_cast<int>(seen.size()), 6)))]);
        for (int i = 0; i < 3 && Rv(); ++i) Rv()->LockItem(AnyItem(), 1);
        if (Rv()) Rv()->ExpandToDepth(0, -1);
        ReadTree();
    }

    void Empty()
    {
        for (HTREEITEM root : ChildrenOf(host->Tree(), TVI_ROOT))
            if (Rv()) Rv()->RemoveTreeItem(CTestHost::H(root));
    }

    ULONG_PTR ParentOf(ULONG_PTR item)
    {
        ULONG_PTR parent = 0;
        if (Rv()) Rv()->GetParentItem(item, &parent);
        return parent;
    }

    // A live item's row, most of the time; else any handle.
    HTREEITEM AnyRow()
    {
        if (live.empty() || Pick(8) == 0) return CTestHost::T(AnyItem());
        return live[static_cast<size_t>(Pick(static_cast<int>(live.size())))];
    }
    POINT RowPoint(HTREEITEM item) { return ItemPoint(host->Tree(), item, ItemPart::Label); }

    void ChooseCommand(HTREEITEM item)
    {
        if (!Rv()) return;
        const UINT id = kCommands[Pick(static_cast<int>(std::size(kCommands)))];
        if (trace) std::printf("      command %u on %p\n", id, static_cast<void*>(item));
        // The kit's ChooseMenuCommand, where the host may let go of the object at the right click.
        const POINT at = RowPoint(item);
        SetCursorTo(host->Tree(), at);
        RightClick(host->Tree(), at);
        if (Rv()) Rv()->PostMessage(WM_COMMAND, id, 0);
        PumpMessages();
    }

    // A drag from one row to another, dropped on the upper or lower edge of the target or on
    // it, with Ctrl held or not.
    void DragRow()
    {
        const HWND tree = host->Tree();
        const POINT from = RowPoint(AnyRow());
        const HTREEITEM target = AnyRow();
        RECT row{};
        std::memcpy(&row, &target, sizeof target); // the control reads the item from the rectangle
        SendMessageA(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&row));
        const LONG heights[] = {row.top + 2, (row.top + row.bottom) / 2, row.bottom - 2};
        const POINT to{row.left + 4, heights[Pick(3)]};
        if (trace) std::printf("      drag to %p\n", static_cast<void*>(target));
        if (Pick(4) == 0) {
            StartDrag(tree, from, to);
            const CHoldKey ctrl(VK_CONTROL);
            SendMessageA(tree, WM_LBUTTONUP, MK_CONTROL, MAKELPARAM(to.x, to.y));
            PumpMessages();
        } else {
            Drag(tree, from, to);
        }
    }

    // A label edit, ended by Enter or Escape in the edit box, by its loss of the focus, by the
    // control's own message, by another edit or by the removal of its item.
    void EditLabel(HTREEITEM item)
    {
        if (!Rv()) return;
        const HWND tree = host->Tree();
        if (Pick(2) == 0)
            Rv()->EditItemLabel(CTestHost::H(item));
        else
            DoubleClick(tree, RowPoint(item));
        const HWND edit = reinterpret_cast<HWND>(SendMessageA(tree, TVM_GETEDITCONTROL, 0, 0));
        if (!edit) return;
        SetWindowTextW(edit, L"edited");
        if (trace) std::printf("      edit of %p\n", static_cast<void*>(item));
        switch (Pick(6)) {
        case 0: PressKey(edit, VK_RETURN); break;
        case 1: PressKey(edit, VK_ESCAPE); break;
        case 2: SetFocus(host->parent.get()); break;
        case 3: SendMessageA(tree, TVM_ENDEDITLABELNOW, static_cast<WPARAM>(Pick(2)), 0); break;
        case 4: if (Rv()) Rv()->EditItemLabel(CTestHost::H(AnyRow())); break;
        default: if (Rv()) Rv()->RemoveTreeItem(CTestHost::H(item)); break;
        }
        PumpMessages();
    }

    // The host's answers to its questions change now and then.
    void ChangeAnswers()
    {
        const unsigned short question = kQuestions[Pick(static_cast<int>(std::size(kQuestions)))];
        host->message->answers[question] = Pick(3) == 0 ? 1 : 0;
        if (Rv()) Rv()->DragDropInsertBeforeFlag(Pick(3) == 0);
        if (Rv()) Rv()->EnableLocalPaste(Pick(4) != 0);
        host->view->canLock[AnyKey()] = Pick(3) == 0 ? 0 : 1;
    }

    // One random call of the interface, the structure's calls more often from inside a host
    // call, on the item the call is about or its parent; the user's steps from outside.
    void RandomCall(ULONG_PTR item, bool nested)
    {
        IRVWnd2* const rv = Rv();
        if (!rv) return; // the host has let go of the object
        const int call = nested ? Pick(14) : 14 + Pick(28);
        if (trace) std::printf("%*scall %d on %p\n", nested ? 4 : 2, "", call, reinterpret_cast<void*>(item));
        switch (call) {
        // From inside host calls.
        case 0: rv->SelectItem(item, Pick(2), Pick(2), Pick(2)); break;
        case 1: rv->DeselectItem(item); break;
        case 2: rv->RemoveTreeItem(item); break;
        case 3: rv->RemoveTreeItem(ParentOf(item)); break;
        case 4: rv->SetHTIState(item, Pick(2), Pick(2)); break;
        case 5: Add(item); break;
        case 6: AddRoot(); break;
        case 7: rv->DeselectAll(); break;
        case 8: rv->SetKeyState(AnyKey(), Pick(2)); break;
        case 9: Insert(ParentOf(item), Pick(2) ? item : 0); break;
        case 10: Add(AnyItem()); break;
        case 11: rv->SetHTIState(AnyItem(), Pick(2), 1); break;
        case 12: rv->LockItem(item, Pick(2)); break;
        case 13: if (Pick(4) == 0) ChooseCommand(AnyRow()); break; // the host's menu, posted and pumped
        // The host's own steps.
        case 14: case 15: rv->SetHTIState(item, Pick(2), Pick(2)); break;
        case 16: rv->SetKeyState(AnyKey(), Pick(2)); break;
        case 17: rv->SelectItem(item, Pick(2), Pick(2), Pick(2)); break;
        case 18: rv->DeselectItem(item); break;
        case 19: rv->SelectItems(AnyKey(), Pick(2), Pick(2)); break;
        case 20: rv->DeselectAll(); break;
        case 21: if (Pick(3) == 0) rv->RemoveTreeItem(item); break;
        case 22: if (Pick(6) == 0) rv->RemoveAllChildren(item); break;
        case 23: case 24: Add(item); break;
        case 25: Insert(item, 0); break;
        case 26: rv->ExpandToDepth(item, Pick(4)); break;
        case 27: rv->Collapse(item); break;
        case 28: { ULONG_PTR next = 0; rv->GetNextTravItem(item, &next); break; }
        case 29: rv->InsertNewItem(AnyKey(), const_cast<char*>("new"), item); break;
        case 30: rv->LockItem(item, Pick(2)); break;
        case 31: rv->SetBookmark(item, Pick(2)); break;
        case 32: rv->SetItemText(item, const_cast<wchar_t*>(L"renamed"), 7); break;
        case 33: if (Pick(20) == 0) Empty(); break;
        case 34: rv->SelectItem(item, 1, 1, 1); break;
        // The user's steps.
        case 35: case 36: case 37: ChooseCommand(AnyRow()); break;
        case 38: case 39: DragRow(); break;
        case 40: EditLabel(AnyRow()); break;
        default: ChangeAnswers(); break;
        }
    }

    // From inside every host call, now and then: a call back, or letting go of the object.
    void Reenter()
    {
        if (depth >= 2 || !Rv()) return;
        if (Pick(4000) == 0) {
            if (trace) std::printf("    released inside a host call\n");
            ++releases;
            host->ReleaseComponent();
            return;
        }
        if (Pick(3) != 0) return;
        ++depth;
        RandomCall(ItemOfCall(), true);
        --depth;
    }

    // The item a host call is about: the handle its entry shows, else any item.
    ULONG_PTR ItemOfCall()
    {
        const std::vector<std::string> entries = host->log.Entries();
        const std::string& last = entries.empty() ? std::string() : entries.back();
        const size_t at = last.find("data=0x");
        if (at == std::string::npos || Pick(4) == 0) return AnyItem();
        return static_cast<ULONG_PTR>(std::strtoull(last.c_str() + at + 5, nullptr, 16));
    }

    // The control's items, read straight from it: each with its parent and record.
    void ReadTree()
    {
        live.clear();
        parentOf.clear();
        recordOf.clear();
        std::vector<HTREEITEM> pending = ChildrenOf(host->Tree(), TVI_ROOT);
        for (HTREEITEM root : pending) parentOf[root] = nullptr;
        while (!pending.empty()) {
            const HTREEITEM item = pending.back();
            pending.pop_back();
            live.push_back(item);
            recordOf[item] = Inspect(host->Tree(), item).record;
            for (HTREEITEM child : ChildrenOf(host->Tree(), item)) {
                parentOf[child] = item;
                pending.push_back(child);
            }
        }
    }

    std::string CheckInvariants()
    {
        ReadTree();
        IRVWnd2* const rv = Rv();
        std::map<HTREEITEM, uint32_t> children, childrenOn;
        std::map<uint32_t, int> itemsOfKey;
        int marked = 0;
        for (HTREEITEM item : live) {
            const ItemRecord* const record = recordOf[item];
            if (!record) return "an item lost its record";
            ULONG_PTR answered = 0;
            rv->GetItemData(CTestHost::H(item), &answered);
            if (answered != reinterpret_cast<ULONG_PTR>(record)) return "GetItemData answers another record than the item's";
            const auto handed = given.find(CTestHost::H(item));
            if (handed != given.end() && handed->second != record) return "an item given a record answers another";
            ULONG_PTR parent = 0xBAD;
            rv->GetParentItem(CTestHost::H(item), &parent);
            if (CTestHost::T(parent) != parentOf[item]) return "the parent lookup answers wrongly";
            if (const HTREEITEM p = parentOf[item]) {
                ++children[p];
                if (record->state) ++childrenOn[p];
            }
            if (record->key) ++itemsOfKey[record->key];
            if (SendMessageA(host->Tree(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_SELECTED)) ++marked;
        }
        for (HTREEITEM item : live) {
            const ItemRecord* const record = recordOf[item];
            if (!record->bIsAssembly && record->nChildren != children[item])
                return "nChildren differs from the children the item has";
            if (record->nChildrenOn != childrenOn[item]) return "nChildrenOn differs from the children that are on";
        }
        for (uint32_t key = 1; key <= kKeys + 1; ++key) {
            int present = -1;
            rv->IsOrvaneKeyPresent(key, &present);
            if (present != itemsOfKey[key]) return "the key index disagrees with the records' keys";
        }
        int selected = -1;
        rv->GetNumSelected(&selected);
        if (selected != marked) return "the selection disagrees with the items marked selected";
        return {};
    }

    // Once the object is gone, every reference it took of the host's objects came back.
    std::string CheckReferencesBack() const
    {
        if (IsWindow(host->Tree())) return "the object outlived the host's last reference";
        if (host->message->RefCount() != 1 || host->sink->RefCount() != 1 || host->vis->RefCount() != 1 ||
            host->view->RefCount() != 1 || host->manage->RefCount() != 1)
            return "the object kept a reference to a host object";
        return {};
    }

    std::unique_ptr<CTestHost> host;
    std::mt19937 random;
    const bool trace = std::getenv("RV_TRACE") != nullptr;
    int depth = 0;
    unsigned releases = 0;
    std::vector<ULONG_PTR> seen;
    std::map<ULONG_PTR, ItemRecord*> given; // the records the host handed in, by item
    std::vector<ULONG_PTR> deleted;          // every deletion reported, in order
    std::vector<HTREEITEM> live;
    std::map<HTREEITEM, HTREEITEM> parentOf;
    std::map<HTREEITEM, const ItemRecord*> recordOf;
};

TEST_F(RandomReentrancy, TheTreeStaysWholeWhateverTheHostAndTheUserDo)
{
    const unsigned seed = FromEnv("RV_SEED", 20261209u), steps = FromEnv("RV_STEPS", 20000u);
    std::printf("random seed %u, %u steps\n", seed, steps);
    random.seed(seed);
    Replenish();

    for (unsigned step = 0; step < steps; ++step) {
        if (trace) std::printf("step %u: %zu items\n", step, live.size());
        RandomCall(Pick(3) == 0 ? AnyItem() : CTestHost::H(AnyRow()), false);
        if (seen.size() > 8 * kMaxItems) seen.erase(seen.begin(), seen.begin() + 4 * kMaxItems);
        deleted.clear();
        const std::string broken = Rv() ? CheckInvariants() : CheckReferencesBack();
        if (trace && !broken.empty())
            for (const std::string& entry : host->log.Entries()) std::printf("    %s\n", entry.c_str());
        host->log.Clear();
        if (!broken.empty()) {
            Quiet();
            FAIL() << broken << " after step " << step << " (RV_SEED=" << seed << ")";
        }
        if (!Rv()) NewHost();
        if (live.size() < 6) Replenish();
        // What the user would have been told (find, bookmarks) is not kept for later tests.
        if (step % 100 == 0) TakeMessageBoxes();
    }
    std::printf("the host let go of the object %u times inside its calls\n", releases);
    Quiet();
    TakeMessageBoxes();
}

} // namespace
