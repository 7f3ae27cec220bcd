// A host that calls back into random methods from inside every call the component makes to it
// (messages, sink, 3D view), over thousands of random steps. After every step the tree must be
// whole: parents answered right, counts, the key index and the selection in agreement with what
// the control holds. The seed is printed (RV_SEED=<n> replays it); RV_STEPS=<n> sets the length
// (10,000 by default).
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

class RandomReentrancy : public ::testing::Test
{
protected:
    static constexpr uint32_t kKeys = 12;
    static constexpr size_t kMaxItems = 120;

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
    // Live or long gone: the component must take both.
    ULONG_PTR AnyItem() { return seen.empty() ? 0 : seen[static_cast<size_t>(Pick(static_cast<int>(seen.size())))]; }
    uint32_t AnyKey() { return 1 + static_cast<uint32_t>(Pick(kKeys)); }

    void Add(ULONG_PTR parent)
    {
        if (ChildrenCount() >= kMaxItems) return;
        ItemRecord* const record = NewRecord(Pick(4) == 0 ? 0 : AnyKey());
        ULONG_PTR item = 0;
        host.rv->AddTreeItem(const_cast<wchar_t*>(L"item"), 0, parent, reinterpret_cast<ULONG*>(record), &item);
        if (item)
            seen.push_back(item);
        else
            CoTaskMemFree(record); // refused: the record is still ours
    }

    size_t ChildrenCount() { return live.size(); }

    // Three roots and some forty items below them, when the steps have cleared the tree.
    void Replenish()
    {
        for (int r = 0; r < 3; ++r) {
            ULONG_PTR root = 0;
            host.rv->AddAssembly(const_cast<wchar_t*>(L"root"), 0, 1, 1, &root);
            seen.push_back(root);
        }
        for (int i = 0; i < 40; ++i) Add(seen[seen.size() - 1 - static_cast<size_t>(Pick(std::min<int>(static_cast<int>(seen.size()), 8)))]);
        ReadTree();
    }

    // One random call of the interface.
    void RandomCall()
    {
        IRVWnd2* const rv = host.rv.get();
        const ULONG_PTR item = AnyItem();
        const int call = Pick(16);
        if (trace) std::printf("  call %d on %p\n", call, reinterpret_cast<void*>(item));
        switch (call) {
        case 0: case 1: rv->SetHTIState(item, Pick(2), Pick(2)); break;
        case 2: rv->SetKeyState(AnyKey(), Pick(2)); break;
        case 3: rv->SelectItem(item, Pick(2), Pick(2), Pick(2)); break;
        case 4: rv->DeselectItem(item); break;
        case 5: rv->SelectItems(AnyKey(), Pick(2), Pick(2)); break;
        case 6: rv->DeselectAll(); break;
        case 7: if (Pick(3) == 0) rv->RemoveTreeItem(item); break;
        case 8: if (Pick(6) == 0) rv->RemoveAllChildren(item); break;
        case 9: case 10: Add(item); break;
        case 11: rv->ExpandToDepth(item, Pick(4)); break;
        case 12: rv->Collapse(item); break;
        case 13: { ULONG_PTR next = 0; rv->GetNextTravItem(item, &next); break; }
        case 14: rv->InsertNewItem(AnyKey(), const_cast<char*>("new"), item); break;
        default: rv->LockItem(item, Pick(2)); break;
        }
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
    std::vector<HTREEITEM> live;
    std::map<HTREEITEM, HTREEITEM> parentOf;
    std::map<HTREEITEM, const ItemRecord*> recordOf;
};

TEST_F(RandomReentrancy, TheTreeStaysWholeWhateverTheHostDoesFromInsideItsCalls)
{
    const unsigned seed = FromEnv("RV_SEED", 20261209u), steps = FromEnv("RV_STEPS", 10000u);
    std::printf("random seed %u, %u steps\n", seed, steps);
    random.seed(seed);
    Replenish();

    int depth = 0;
    host.log.onCall = [&] {
        if (depth >= 2 || Pick(4) != 0) return;
        ++depth;
        RandomCall();
        --depth;
    };
    for (unsigned step = 0; step < steps; ++step) {
        RandomCall();
        if (seen.size() > 4 * kMaxItems) seen.erase(seen.begin(), seen.begin() + kMaxItems);
        host.log.Clear();
        if (trace) std::printf("step %u: %zu items\n", step, live.size());
        const std::string broken = CheckInvariants();
        if (!broken.empty()) {
            host.log.onCall = nullptr;
            FAIL() << broken << " after step " << step << " (RV_SEED=" << seed << ")";
        }
        if (live.size() < 10) Replenish();
    }
    host.log.onCall = nullptr;
}

} // namespace
