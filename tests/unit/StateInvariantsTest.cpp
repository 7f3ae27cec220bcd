// Random sequences of building and state changes on random trees; after every step the
// counts, the key index and the states of key twins must agree. The seed is printed so a
// failure can be replayed (RV_SEED=<n>).
#include "RVHostKit/HostObjects.h"
#include "RVHostKit/HostWindow.h"
#include "tree/RVTreeCtrl.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <random>
#include <vector>

using namespace RVHostKit;

namespace {

class StateInvariants : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(tree.Create(window.get()));
        tree.Host().SetViewer(vis, nullptr);
        tree.Host().SetSink(sink);
        tree.Host().SetMessageHandler(message);
        const char* fromEnv = std::getenv("RV_SEED");
        seed = fromEnv ? static_cast<unsigned>(std::strtoul(fromEnv, nullptr, 10)) : 20261208u;
        std::printf("random seed %u\n", seed);
        random.seed(seed);
    }
    void TearDown() override
    {
        tree.DestroyWindow();
        vis->Release();
        sink->Release();
        message->Release();
    }

    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

    HTREEITEM AddRandomItem(uint32_t key)
    {
        auto* record = new ItemRecord();
        record->key = key;
        const HTREEITEM parent = items[static_cast<size_t>(Pick(static_cast<int>(items.size())))];
        const HTREEITEM item = tree.Builder().AddTreeItem(L"item", parent, record);
        if (item) items.push_back(item);
        return item;
    }

    void BuildRandomTree(int count)
    {
        for (int r = 0; r < 3; ++r) items.push_back(tree.Builder().AddAssembly(L"root", 1, 1, false));
        for (int i = 0; i < count; ++i) AddRandomItem(Pick(3) == 0 ? 0 : 1 + static_cast<uint32_t>(Pick(12)));
    }

    // Every invariant the state walk keeps; returns a description of the first broken one.
    std::string CheckInvariants()
    {
        std::map<uint32_t, std::vector<uint32_t>> statesByKey;
        for (HTREEITEM item : items) {
            const ItemRecord* r = tree.Items().GetRecord(item);
            if (!r) return "an item lost its record";
            if (r->nChildrenOn > r->nChildren) return "nChildrenOn above nChildren";
            uint32_t on = 0;
            for (HTREEITEM c = tree.GetChildItem(item); c; c = tree.GetNextSiblingItem(c))
                if (tree.Items().GetRecord(c)->state) ++on;
            if (on != r->nChildrenOn) return "nChildrenOn differs from the children that are on";
            if (r->key) statesByKey[r->key].push_back(r->state);
        }
        for (const uint32_t key : tree.Items().KeyIndex().Keys()) {
            for (const HTREEITEM item : tree.Items().KeyIndex().ItemsOf(key)) {
                if (!tree.Items().IsLiveItem(item)) return "the key index lists an item that is gone";
                if (tree.Items().GetRecord(item)->key != key)
                    return "the key index lists an item under a key it does not carry";
            }
        }
        // Selection: listed exactly when marked, and only live items.
        for (HTREEITEM item : items) {
            const bool marked = (tree.GetItemState(item, TVIS_SELECTED) & TVIS_SELECTED) != 0;
            if (marked != tree.Selection().IsListed(item)) return "selection list and marks disagree";
        }
        for (int i = 0; i < tree.Selection().Count(); ++i)
            if (!tree.Items().IsLiveItem(tree.Selection().Items().GetData()[i]))
                return "a removed item is still selected";
        if (tree.Selection().CurrentItem() && !tree.Items().IsLiveItem(tree.Selection().CurrentItem()))
            return "the current item is gone";
        for (const auto& entry : statesByKey)
            for (uint32_t s : entry.second)
                if (s != entry.second.front()) return "items of key " + std::to_string(entry.first) + " disagree";
        return {};
    }

    unsigned seed = 0;
    std::mt19937 random;
    CCallLog log;
    CTestVisibility* vis = new CTestVisibility(log);
    CTestSink* sink = new CTestSink(log);
    CTestMessage* message = new CTestMessage(log);
    CHostWindow window;
    CRVTreeCtrl tree;
    std::vector<HTREEITEM> items;
};

} // namespace

TEST_F(StateInvariants, HoldAfterEveryStepOfRandomSequencesWithSelectionAndRemoval)
{
    BuildRandomTree(150);
    uint32_t nextKey = 2000;
    for (int step = 0; step < 400; ++step) {
        const int what = Pick(12);
        const HTREEITEM item = items[static_cast<size_t>(Pick(static_cast<int>(items.size())))];
        if (what < 3) {
            tree.States().SetHTIState(item, static_cast<uint32_t>(Pick(2)), Pick(2) == 0);
        } else if (what < 6) {
            tree.Selection().SelectItem(item, Pick(2) == 0, Pick(2) == 0, Pick(2) == 0);
        } else if (what < 7) {
            tree.Selection().DeselectItem(item, Pick(2) == 0, Pick(2) == 0);
        } else if (what < 8) {
            tree.Selection().ClearSelection();
        } else if (what < 10) {
            if (items.size() > 3 && item != items[0] && item != items[1] && item != items[2])
                tree.Removal().RemoveTreeItem(item);
        } else if (what < 11) {
            AddRandomItem(nextKey++);
        } else {
            tree.States().SetKeyState(1 + static_cast<uint32_t>(Pick(12)), static_cast<uint32_t>(Pick(2)));
        }
        items.erase(
            std::remove_if(items.begin(), items.end(), [&](HTREEITEM h) { return !tree.Items().IsLiveItem(h); }),
            items.end());
        ASSERT_EQ(CheckInvariants(), "") << "step " << step << ", seed " << seed;
        log.Clear();
    }
}

TEST_F(StateInvariants, HoldAfterEveryStepOfRandomSequences)
{
    BuildRandomTree(120);
    ASSERT_EQ(CheckInvariants(), "") << "after building, seed " << seed;
    uint32_t nextKey = 1000;
    for (int step = 0; step < 400; ++step) {
        const int what = Pick(10);
        const HTREEITEM item = items[static_cast<size_t>(Pick(static_cast<int>(items.size())))];
        if (what < 5) {
            tree.States().SetHTIState(item, static_cast<uint32_t>(Pick(2)), Pick(2) == 0);
        } else if (what < 8) {
            tree.States().SetKeyState(1 + static_cast<uint32_t>(Pick(12)), static_cast<uint32_t>(Pick(2)));
        } else if (what < 9) {
            tree.States().SetHTIState(items[static_cast<size_t>(Pick(3))], static_cast<uint32_t>(Pick(2)), true);
        } else {
            AddRandomItem(nextKey++); // a key of its own: no twin to disagree with
        }
        ASSERT_EQ(CheckInvariants(), "") << "step " << step << ", seed " << seed;
        log.Clear();
    }
}
