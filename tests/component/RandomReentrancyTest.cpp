// A host that calls back into random methods from inside every call the component makes to it
// (host messages of every form, sink, visibility manager, 3D view), over thousands of random
// steps on a small tree, so that the control hands out the handles of deleted items again
// often; now and then the tree is emptied. After every step the tree must be whole: parents
// answered right, counts, records, the key index and the selection in agreement with what the
// control holds. The seed is printed (RV_SEED=<n> replays it); RV_STEPS=<n> sets the length
// (10,000 by default); RV_TRACE=1 prints every call.
#include "host/Component.h"
#include "host/ShownItems.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>

namespace {

unsigned FromEnv(const char* name, unsigned fallback)
{
    const char* value = std::getenv(name);
    return value ? static_cast<unsigned>(std::strtoul(value, nullptr, 10)) : fallback;
}

constexpr unsigned short kItemDeleted = 0x16;

class RandomReentrancy : public ::testing::Test
{
protected:
    static constexpr uint32_t kKeys = 8;
    static constexpr size_t kMaxItems = 40;

    RandomReentrancy()
    {
        // The host's own account of the records it handed in: an item's record stays its
        // record until the component reports the item deleted.
        host.message->onMessage = [&](unsigned short code, BYTE* data) {
            if (code != kItemDeleted) return;
            given.erase(reinterpret_cast<ULONG_PTR>(data));
            deleted.push_back(reinterpret_cast<ULONG_PTR>(data));
        };
    }
    // The component goes after the fixture's own fields: it must not report to them then.
    ~RandomReentrancy() override { host.message->onMessage = nullptr; }

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
        if (live.size() >= kMaxItems) return;
        ItemRecord* const record = NewRecord(Pick(4) == 0 ? 0 : AnyKey());
        ULONG_PTR item = 0;
        const size_t before = deleted.size();
        host.rv->AddTreeItem(const_cast<wchar_t*>(L"item"), 0, parent, reinterpret_cast<ULONG*>(record), &item);
        Handed(item, record, before);
    }

    void Insert(ULONG_PTR parent, ULONG_PTR after)
    {
        if (live.size() >= kMaxItems) return;
        ItemRecord* const record = NewRecord(Pick(4) == 0 ? 0 : AnyKey());
        ULONG_PTR item = 0;
        const size_t before = deleted.size();
        host.rv->InsertTreeItem(const_cast<char*>("inserted"), parent, after, reinterpret_cast<ULONG*>(record), &item);
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
        if (Pick(4) == 0)
            host.rv3->AddIsolatedAssembly(const_cast<wchar_t*>(L"isolated"), 0, 1, 1, &root);
        else
            host.rv->AddAssembly(const_cast<wchar_t*>(L"root"), 0, 1, 1, &root);
        Saw(root);
        return root;
    }

    // Two roots and some twenty items below them, when the steps have cleared the tree.
    void Replenish()
    {
        for (int r = 0; r < 2; ++r) AddRoot();
        for (int i = 0; i < 20; ++i) Add(seen[seen.size() - 1 - static_cast<size_t>(Pick(std::min<int>(static_cast<int>(seen.size()), 6)))]);
        ReadTree();
    }

    void Empty()
    {
        for (HTREEITEM root : ChildrenOf(host.Tree(), TVI_ROOT)) host.rv->RemoveTreeItem(CTestHost::H(root));
    }

    ULONG_PTR ParentOf(ULONG_PTR item)
    {
        ULONG_PTR parent = 0;
        host.rv->GetParentItem(item, &parent);
        return parent;
    }

    // One random call of the interface, the structure's calls more often from inside a host
    // call, on the item the call is about or its parent.
    void RandomCall(ULONG_PTR item, bool nested)
    {
        IRVWnd2* const rv = host.rv.get();
        const int call = nested ? Pick(12) : 12 + Pick(22);
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
        // The host's own steps.
        case 12: case 13: rv->SetHTIState(item, Pick(2), Pick(2)); break;
        case 14: rv->SetKeyState(AnyKey(), Pick(2)); break;
        case 15: rv->SelectItem(item, Pick(2), Pick(2), Pick(2)); break;
        case 16: rv->DeselectItem(item); break;
        case 17: rv->SelectItems(AnyKey(), Pick(2), Pick(2)); break;
        case 18: rv->DeselectAll(); break;
        case 19: if (Pick(3) == 0) rv->RemoveTreeItem(item); break;
        case 20: if (Pick(6) == 0) rv->RemoveAllChildren(item); break;
        case 21: case 22: Add(item); break;
        case 23: Insert(item, 0); break;
        case 24: rv->ExpandToDepth(item, Pick(4)); break;
        case 25: rv->Collapse(item); break;
        case 26: { ULONG_PTR next = 0; rv->GetNextTravItem(item, &next); break; }
        case 27: rv->InsertNewItem(AnyKey(), const_cast<char*>("new"), item); break;
        case 28: rv->LockItem(item, Pick(2)); break;
        case 29: rv->SetBookmark(item, Pick(2)); break;
        case 30: rv->SetItemText(item, const_cast<wchar_t*>(L"renamed"), 7); break;
        case 31: if (Pick(20) == 0) Empty(); break;
        case 32: rv->SelectItem(item, 1, 1, 1); break;
        default: AddRoot(); break;
        }
    }

    // The item a host call is about: the handle its entry shows, else any item.
    ULONG_PTR ItemOfCall()
    {
        const std::vector<std::string> entries = host.log.Entries();
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
        std::vector<HTREEITEM> pending = ChildrenOf(host.Tree(), TVI_ROOT);
        for (HTREEITEM root : pending) parentOf[root] = nullptr;
        while (!pending.empty()) {
            const HTREEITEM item = pending.back();
            pending.pop_back();
            live.push_back(item);
            recordOf[item] = Inspect(host.Tree(), item).record;
            for (HTREEITEM child : ChildrenOf(host.Tree(), item)) {
                parentOf[child] = item;
                pending.push_back(child);
            }
        }
    }

    std::string CheckInvariants()
    {
        ReadTree();
        std::map<HTREEITEM, uint32_t> children, childrenOn;
        std::map<uint32_t, int> itemsOfKey;
        int marked = 0;
        for (HTREEITEM item : live) {
            const ItemRecord* const record = recordOf[item];
            if (!record) return "an item lost its record";
            ULONG_PTR answered = 0;
            host.rv->GetItemData(CTestHost::H(item), &answered);
            if (answered != reinterpret_cast<ULONG_PTR>(record)) return "GetItemData answers another record than the item's";
            const auto handed = given.find(CTestHost::H(item));
            if (handed != given.end() && handed->second != record) return "an item given a record answers another";
            ULONG_PTR parent = 0xBAD;
            host.rv->GetParentItem(CTestHost::H(item), &parent);
            if (CTestHost::T(parent) != parentOf[item]) return "the parent lookup answers wrongly";
            if (const HTREEITEM p = parentOf[item]) {
                ++children[p];
                if (record->state) ++childrenOn[p];
            }
            if (record->key) ++itemsOfKey[record->key];
            if (SendMessageA(host.Tree(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_SELECTED)) ++marked;
        }
        for (HTREEITEM item : live) {
            const ItemRecord* const record = recordOf[item];
            if (!record->bIsAssembly && record->nChildren != children[item])
                return "nChildren differs from the children the item has";
            if (record->nChildrenOn != childrenOn[item]) return "nChildrenOn differs from the children that are on";
        }
        for (uint32_t key = 1; key <= kKeys + 1; ++key) {
            int present = -1;
            host.rv->IsOrvaneKeyPresent(key, &present);
            if (present != itemsOfKey[key]) return "the key index disagrees with the records' keys";
        }
        int selected = -1;
        host.rv->GetNumSelected(&selected);
        if (selected != marked) return "the selection disagrees with the items marked selected";
        return {};
    }

    CTestHost host;
    std::mt19937 random;
    const bool trace = std::getenv("RV_TRACE") != nullptr;
    std::vector<ULONG_PTR> seen;
    std::map<ULONG_PTR, ItemRecord*> given; // the records the host handed in, by item
    std::vector<ULONG_PTR> deleted;          // every deletion reported, in order
    std::vector<HTREEITEM> live;
    std::map<HTREEITEM, HTREEITEM> parentOf;
    std::map<HTREEITEM, const ItemRecord*> recordOf;
};

TEST_F(RandomReentrancy, TheTreeStaysWholeWhateverTheHostDoesFromInsideAnyCall)
{
    const unsigned seed = FromEnv("RV_SEED", 20261209u), steps = FromEnv("RV_STEPS", 10000u);
    std::printf("random seed %u, %u steps\n", seed, steps);
    random.seed(seed);
    Replenish();

    int depth = 0;
    host.log.onCall = [&] {
        if (depth >= 2 || Pick(3) != 0) return;
        ++depth;
        RandomCall(ItemOfCall(), true);
        --depth;
    };
    for (unsigned step = 0; step < steps; ++step) {
        if (trace) std::printf("step %u: %zu items\n", step, live.size());
        RandomCall(AnyItem(), false);
        if (seen.size() > 8 * kMaxItems) seen.erase(seen.begin(), seen.begin() + 4 * kMaxItems);
        host.log.Clear();
        deleted.clear();
        const std::string broken = CheckInvariants();
        if (!broken.empty()) {
            host.log.onCall = nullptr;
            FAIL() << broken << " after step " << step << " (RV_SEED=" << seed << ")";
        }
        if (live.size() < 6) Replenish();
    }
    host.log.onCall = nullptr;
}

} // namespace
