// Seeded random sessions on heavily instanced trees (a few model keys shared by many items,
// assemblies nested in subassemblies, subassemblies that share a key with parts elsewhere),
// replayed against a transcript recorded from an earlier build: every call the host received,
// step by step, and what every item shows after each step (its record's state and count of
// children on, its state picture, selection and focus marks, expansion). Switching, selecting
// and expanding may get faster; what the host sees may not change.
//
// On a difference the test names the first differing line and writes the whole transcript to
// fixtures/instanced_sessions.actual.txt beside the test program; RV_PRINT_TRANSCRIPT=1 prints
// it as well. RV_RECORD_TRANSCRIPT=1 writes that file and passes, to record a new transcript
// (copy it over tests/component/fixtures/instanced_sessions.txt).
#include "host/Component.h"
#include "RVHostKit/TreeReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

const char kFixture[] = "fixtures/instanced_sessions.txt";
const char kActual[] = "fixtures/instanced_sessions.actual.txt";

struct SessionPlan
{
    unsigned seed;
    bool reentrantHost; // the host calls back into the tree from inside some of its calls
};

class CInstancedSession
{
public:
    CInstancedSession(const SessionPlan& plan, std::vector<std::string>& out) : m_out(out), m_plan(plan)
    {
        m_random.seed(plan.seed);
    }

    void Run(int steps)
    {
        m_out.push_back(Format("session seed %u%s", m_plan.seed, m_plan.reentrantHost ? ", re-entrant host" : ""));
        Build();
        if (m_plan.reentrantHost) m_host.message->onMessage = [this](unsigned short, BYTE*) { MaybeReenter(); };
        for (int step = 1; step <= steps; ++step) {
            m_out.push_back(Format("step %d: %s", step, RandomCall().c_str()));
            for (const std::string& entry : m_host.log.Take()) m_out.push_back("  " + entry);
            m_out.push_back("  = " + Shown());
        }
        m_host.message->onMessage = nullptr;
        m_out.push_back("selection: " + SelectionOrder());
    }

private:
    static constexpr uint32_t kKeys = 3;

    int Pick(int n) { return static_cast<int>(m_random() % static_cast<uint32_t>(n)); }
    uint32_t AnyKey() { return 1 + static_cast<uint32_t>(Pick(kKeys)); }
    size_t AnyIndex() { return static_cast<size_t>(Pick(static_cast<int>(m_items.size()))); }
    const std::string& NameOf(size_t i) const { return m_names[i]; }

    // Two root assemblies and some forty items: subassemblies (half of them with a key),
    // assemblies nested below them, and parts, nine in ten with one of three keys.
    void Build()
    {
        std::vector<size_t> containers;
        for (int r = 0; r < 2; ++r) {
            Remember(m_host.AddAssembly(r ? L"A1" : L"A0", 3, 7), r ? "A1" : "A0");
            containers.push_back(m_items.size() - 1);
        }
        for (int n = 0; n < 38; ++n) {
            const size_t parent = containers[static_cast<size_t>(Pick(static_cast<int>(containers.size())))];
            const int kind = Pick(20);
            ItemRecord* const record = NewRecord();
            std::string name;
            if (kind < 5) {
                name = "S" + std::to_string(n);
                if (Pick(2)) record->key = AnyKey();
            } else if (kind < 7) {
                name = "N" + std::to_string(n);
                record->bIsAssembly = 1;
                if (Pick(3) == 0) record->key = AnyKey();
            } else {
                name = "P" + std::to_string(n);
                if (Pick(10)) record->key = AnyKey();
            }
            const std::wstring wide(name.begin(), name.end());
            Remember(m_host.AddItem(m_items[parent], wide.c_str(), record), name);
            if (name[0] != 'P') containers.push_back(m_items.size() - 1);
        }
        if (Pick(2)) m_host.rv->ExpandToDepth(0, -1);
        m_host.log.Clear();
        m_out.push_back("  built = " + Shown());
    }

    void Remember(HTREEITEM hItem, const std::string& name)
    {
        m_items.push_back(hItem);
        m_names.push_back(name);
    }

    ULONG_PTR Item(size_t i) const { return CTestHost::H(m_items[i]); }

    // One call of the interface, as a host makes them; returns what it was.
    std::string RandomCall()
    {
        IRVWnd2* const rv = m_host.rv.get();
        const size_t i = AnyIndex();
        const uint32_t key = AnyKey();
        switch (Pick(17)) {
        case 0: case 1: case 2: case 3: {
            const int state = Pick(3), notify = Pick(2);
            rv->SetHTIState(Item(i), state, notify);
            return Format("SetHTIState(%s, %d, %d)", NameOf(i).c_str(), state, notify);
        }
        case 4: {
            const int state = Pick(2);
            rv->SetKeyState(key, state);
            return Format("SetKeyState(%u, %d)", key, state);
        }
        case 5: case 6: {
            const int select = Pick(3) != 0, visible = Pick(2);
            rv->SelectItems(key, select, visible);
            return Format("SelectItems(%u, %d, %d)", key, select, visible);
        }
        case 7: {
            const uint32_t second = AnyKey();
            rv->suspendRedraw();
            rv->SelectItems(key, 1, 0);
            rv->SelectItems(second, 1, 0);
            rv->resumeRedraw();
            return Format("suspendRedraw, SelectItems(%u, 1, 0), SelectItems(%u, 1, 0), resumeRedraw", key, second);
        }
        case 8: {
            const int notify = Pick(2), append = Pick(2), orvane = Pick(2);
            rv->SelectItem(Item(i), notify, append, orvane);
            return Format("SelectItem(%s, %d, %d, %d)", NameOf(i).c_str(), notify, append, orvane);
        }
        case 9:
            rv->DeselectItem(Item(i));
            return Format("DeselectItem(%s)", NameOf(i).c_str());
        case 10: case 11: {
            static const int kDepths[] = {-1, 1, 2, 3};
            const bool whole = Pick(3) == 0;
            const int depth = kDepths[Pick(4)];
            rv->ExpandToDepth(whole ? 0 : Item(i), depth);
            return Format("ExpandToDepth(%s, %d)", whole ? "0" : NameOf(i).c_str(), depth);
        }
        case 12: {
            const bool whole = Pick(3) == 0;
            rv->Collapse(whole ? 0 : Item(i));
            return Format("Collapse(%s)", whole ? "0" : NameOf(i).c_str());
        }
        case 13: {
            const int on = Pick(3) == 0;
            rv->LockItem(Item(i), on);
            return Format("LockItem(%s, %d)", NameOf(i).c_str(), on);
        }
        case 14: {
            const int on = Pick(3) == 0;
            rv->SetFailState(Item(i), on);
            return Format("SetFailState(%s, %d)", NameOf(i).c_str(), on);
        }
        case 15: {
            const int state = Pick(2);
            rv->SetState(state);
            return Format("SetState(%d)", state);
        }
        default:
            // The 3D view refuses one key from now on, or takes it again.
            if (m_host.vis->failures.erase(key)) return Format("the 3D view shows key %u again", key);
            m_host.vis->failures[key] = E_FAIL;
            return Format("the 3D view refuses key %u", key);
        }
    }

    // From inside one host call in twelve: a state or selection change, a collapse or a removal.
    void MaybeReenter()
    {
        if (m_reentered || Pick(12) != 0) return;
        m_reentered = true;
        IRVWnd2* const rv = m_host.rv.get();
        const size_t i = AnyIndex();
        std::string call;
        switch (Pick(6)) {
        case 0: case 1: {
            const int state = Pick(2);
            call = Format("SetHTIState(%s, %d, 0)", NameOf(i).c_str(), state);
            m_host.log.Add("host calls in: " + call);
            rv->SetHTIState(Item(i), state, 0);
            break;
        }
        case 2:
            call = Format("SelectItem(%s, 1, 0, 1)", NameOf(i).c_str());
            m_host.log.Add("host calls in: " + call);
            rv->SelectItem(Item(i), 1, 0, 1);
            break;
        case 3:
            call = Format("Collapse(%s)", NameOf(i).c_str());
            m_host.log.Add("host calls in: " + call);
            rv->Collapse(Item(i));
            break;
        case 4: {
            const uint32_t key = AnyKey();
            call = Format("SetKeyState(%u, 0)", key);
            m_host.log.Add("host calls in: " + call);
            rv->SetKeyState(key, 0);
            break;
        }
        default:
            // Parts only, so that the transcript keeps naming the same items.
            if (NameOf(i)[0] == 'P') {
                call = Format("RemoveTreeItem(%s)", NameOf(i).c_str());
                m_host.log.Add("host calls in: " + call);
                rv->RemoveTreeItem(Item(i));
            }
            break;
        }
        m_host.log.Add("host call done");
        m_reentered = false;
    }

    // Every item in pre-order: name=state.childrenOn.picture, then s (selected), f (focused),
    // + (expanded), x (locked).
    std::string Shown() const
    {
        const HWND tree = m_host.Tree();
        std::string line;
        std::vector<HTREEITEM> pending = ChildrenOf(tree, TVI_ROOT);
        std::reverse(pending.begin(), pending.end());
        while (!pending.empty()) {
            const HTREEITEM hItem = pending.back();
            pending.pop_back();
            const ShownItem shown = Inspect(tree, hItem);
            const UINT marks = static_cast<UINT>(SendMessageA(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(hItem),
                                                              TVIS_SELECTED | 0x0001));
            const ItemRecord* const record = shown.record;
            line += Format("%s%s=%u.%u.%u%s%s%s%s", line.empty() ? "" : " ", shown.text.c_str(), record ? record->state : 0,
                           record ? record->nChildrenOn : 0, shown.stateImage, (marks & TVIS_SELECTED) ? "s" : "",
                           (marks & 0x0001) ? "f" : "", shown.expanded ? "+" : "", record && record->bLocked ? "x" : "");
            std::vector<HTREEITEM> children = ChildrenOf(tree, hItem);
            pending.insert(pending.end(), children.rbegin(), children.rend());
        }
        return line;
    }

    // The selection as the host reads it: every selected item in selection order, the current item.
    std::string SelectionOrder()
    {
        int count = 0;
        m_host.rv->CalcSelectedItemsByDataID(0, &count);
        std::vector<ULONG_PTR> selected(static_cast<size_t>(count) + 1);
        m_host.rv->GetSelectedItemsByDataID(0, count, selected.data());
        ULONG_PTR current = 0;
        m_host.rv->GetCurrentItem(&current);
        std::string line;
        for (int i = 0; i < count; ++i) line += NameFor(selected[static_cast<size_t>(i)]) + " ";
        return line + "(current " + NameFor(current) + ")";
    }

    std::string NameFor(ULONG_PTR value) const
    {
        for (size_t i = 0; i < m_items.size(); ++i)
            if (Item(i) == value) return NameOf(i);
        return value ? "?" : "0";
    }

    std::vector<std::string>& m_out;
    const SessionPlan m_plan;
    std::mt19937 m_random;
    CTestHost m_host;
    std::vector<HTREEITEM> m_items;
    std::vector<std::string> m_names;
    bool m_reentered = false;
};

std::vector<std::string> ReadLines(const char* path)
{
    std::vector<std::string> lines;
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

void WriteLines(const char* path, const std::vector<std::string>& lines)
{
    std::ofstream out(path, std::ios::trunc);
    for (const std::string& line : lines) out << line << '\n';
}

TEST(InstancedSessions, TheHostSeesWhatTheRecordedTranscriptShows)
{
    static const SessionPlan kPlans[] = {{1, false}, {2, false}, {3, false}, {4, true}, {5, true}};
    std::vector<std::string> actual;
    for (const SessionPlan& plan : kPlans) CInstancedSession(plan, actual).Run(30);

    if (std::getenv("RV_RECORD_TRANSCRIPT")) {
        WriteLines(kActual, actual);
        std::printf("transcript recorded in %s (%zu lines)\n", kActual, actual.size());
        return;
    }
    const std::vector<std::string> expected = ReadLines(kFixture);
    ASSERT_FALSE(expected.empty()) << "no transcript at " << kFixture;
    size_t first = 0;
    while (first < expected.size() && first < actual.size() && expected[first] == actual[first]) ++first;
    if (first == expected.size() && first == actual.size()) return;

    WriteLines(kActual, actual);
    if (std::getenv("RV_PRINT_TRANSCRIPT"))
        for (const std::string& line : actual) std::printf("%s\n", line.c_str());
    // The step the difference belongs to, then the lines just before it.
    size_t step = first;
    while (step > 0 && expected[step - 1].compare(0, 2, "  ") == 0) --step;
    std::string context = step > 0 ? "    " + expected[step - 1] + "\n" : "";
    for (size_t i = std::max(step, first >= 3 ? first - 3 : 0); i < first; ++i) context += "    " + expected[i] + "\n";
    FAIL() << "the transcript differs at line " << first + 1 << " (the whole one is in " << kActual << ")\n"
           << context << "  expected: " << (first < expected.size() ? expected[first] : "<end>") << "\n"
           << "  actual:   " << (first < actual.size() ? actual[first] : "<end>");
}

} // namespace
