// Every editing dialog and the About box work by keyboard alone: the first
// field has the focus, Tab visits every field, picker and button in reading
// order, each label's Alt+letter focuses its field, Enter confirms what was
// typed, Escape leaves every parameter alone, and the pickers, the items
// editor and radio groups answer keys.
#include <gtest/gtest.h>

#include <optional>
#include <set>

#include "EditDialogDriver.h"
#include "HostEmulator.h"
#include "host/EditRoutes.h"

using qorhost::HostEmulator;
using namespace qortest;

namespace {

using Texts = std::vector<std::string>;
using Replaced = std::vector<bool>;

class DialogKeyboard : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Load()); }
    HostEmulator host;
};

// A control by its id (its text may change on the way).
std::string Describe(HWND w) { return std::to_string(GetDlgCtrlID(w)); }

Texts Describe(const std::vector<HWND>& windows) {
    Texts names;
    for (HWND w : windows) names.push_back(Describe(w));
    return names;
}

// Alt + each label's letter must focus the first control the author can reach
// after that label; the labels where it did not.
Texts MnemonicFaults(HWND dialog) {
    const std::vector<HWND> reachable = ReachableControls(dialog);
    const std::set<HWND> reachableSet(reachable.begin(), reachable.end());
    Texts faults;
    for (HWND label = GetWindow(dialog, GW_CHILD); label; label = GetWindow(label, GW_HWNDNEXT)) {
        const char letter = Mnemonic(TextOf(label));
        if (!letter || !IsLabel(label) || !IsWindowVisible(label) || !IsWindowEnabled(label)) continue;
        HWND target = GetWindow(label, GW_HWNDNEXT);
        while (target && !reachableSet.count(target)) target = GetWindow(target, GW_HWNDNEXT);
        DialogKey(dialog, static_cast<WORD>(letter), false, true);
        HWND focused = FocusedChild(dialog);
        if (!target || focused != target)
            faults.push_back(TextOf(label) + " focused " + (focused ? Describe(focused) : "nothing") + ", not " +
                             (target ? Describe(target) : "nothing"));
    }
    return faults;
}

// The field typed into: the first one, when it is a plain text field.
bool TypesIntoFirstField(const qor::DialogSpec& spec) {
    return !spec.fields.empty() && spec.fields[0].visible && spec.fields[0].kind == qor::FieldKind::Text &&
           !spec.fields[0].keyDown;
}

// The fields the author entered, in order, as the engine hears of it (edits
// and drop-downs tell when they get the focus, hot key fields are watched).
std::vector<int> EnteredFields(const qor::DialogSpec& spec, const std::vector<HWND>& trail) {
    std::vector<int> fields;
    HWND previous = nullptr;
    for (HWND w : trail) {
        if (w == previous) continue;
        previous = w;
        const int id = GetDlgCtrlID(w);
        if (id < 100 || (id - 100) % 20 != 1) continue;
        const int field = (id - 100) / 20;
        using qor::FieldKind;
        const FieldKind kind = spec.fields[field].kind;
        if (kind != FieldKind::Check && kind != FieldKind::TriState && kind != FieldKind::Radio &&
            kind != FieldKind::Options)
            fields.push_back(field);
    }
    return fields;
}

TEST_F(DialogKeyboard, EveryDialogWorksByKeyboardAlone) {
    for (const qor::EditRoute& route : qor::EditRoutes()) {
        const qor::DialogSpec spec = route.dialog(route.id);
        const std::string caption = EditCaption(route.id);
        const size_t count = qor::FindAction(route.id)->count;
        const Texts stored(count, "[v]");
        const bool typing = TypesIntoFirstField(spec);
        qor::DialogModel model(spec, stored);
        model.Show();
        const int focusField = model.focus >= 0 ? model.focus : 0;

        Texts visited, readingOrder, mnemonicFaults;
        std::string firstField, typed;
        std::vector<HWND> trail;
        std::vector<int> entered;
        Texts params = stored;
        bool completed = false;
        const bool ok = EditWithSteps(
            host, route.id, params,
            {{caption,
              [&](HWND d) {
                  if (HWND f = GetDlgItem(d, 101 + 20 * focusField)) firstField = Describe(f);
                  trail.push_back(FocusedChild(d));
                  g_focusTrail = &trail;
                  const std::vector<HWND> order = InReadingOrder(ReachableControls(d));
                  readingOrder = Describe(order);
                  const std::vector<HWND> cycle = TabCycle(d, order.size() + 2);
                  visited = Describe(cycle);
                  mnemonicFaults = MnemonicFaults(d);
                  HWND first = GetDlgItem(d, 101);
                  for (size_t n = 0; n <= order.size() && FocusedChild(d) != first; ++n)
                      DialogKey(d, VK_TAB); // to the first field
                  g_focusTrail = nullptr;
                  entered = EnteredFields(spec, trail);
                  if (typing) QueueText("Typed");
              }},
             {caption,
              [&](HWND d) {
                  typed = TextOf(GetDlgItem(d, 101));
                  QueueKey(VK_RETURN);
              }}},
            &completed);
        g_focusTrail = nullptr;
        EXPECT_TRUE(completed) << caption;
        EXPECT_TRUE(ok) << caption;
        ASSERT_FALSE(visited.empty()) << caption;
        const qor::FieldSpec& focused = spec.fields[focusField];
        if (focused.visible && focused.kind != qor::FieldKind::Note) {
            EXPECT_EQ(visited.front(), firstField) << caption << ": the first field has the focus";
        }
        // A dialog that focuses another field first goes round from there.
        const auto start = std::find(readingOrder.begin(), readingOrder.end(), visited.front());
        if (start != readingOrder.end()) std::rotate(readingOrder.begin(), start, readingOrder.end());
        EXPECT_EQ(visited, readingOrder) << caption << ": Tab goes top to bottom, then left to right";
        EXPECT_EQ(mnemonicFaults, Texts{}) << caption;
        if (typing) {
            EXPECT_EQ(typed, "Typed") << caption;
        }

        // What OK must write: the engine's model after the same walk and typing.
        for (int field : entered) model.Enter(field);
        if (typing) {
            model[0].text = "Typed";
            model.Change(0);
        }
        Texts expected = stored;
        Replaced replaced(count, false);
        const auto written = model.Write(count);
        for (size_t p = 0; p < count; ++p)
            if (written[p]) {
                expected[p] = *written[p];
                replaced[p] = true;
            }
        EXPECT_EQ(params, expected) << caption;
        EXPECT_EQ(host.lastEditReplaced, replaced) << caption;

        params = stored;
        const bool escaped = EditWithSteps(host, route.id, params, {{caption, [&](HWND) {
                                                                          if (typing) QueueText("Typed");
                                                                          QueueKey(VK_ESCAPE);
                                                                      }}},
                                           &completed);
        EXPECT_TRUE(completed) << caption;
        EXPECT_FALSE(escaped) << caption;
        EXPECT_EQ(params, stored) << caption;
        EXPECT_EQ(host.lastEditReplaced, Replaced(count, false)) << caption;
    }
}

// ListBoxSelect by keys: the variable picker, the items editor (a new line,
// Tab to its OK) and the radio group's arrows.
TEST_F(DialogKeyboard, PickersTheItemsEditorAndRadioGroupsAnswerKeys) {
    host.pickVariable = [](std::string& name) {
        name = "[picked]";
        return true;
    };
    Texts params = {"List1", "one", "1"};
    std::string itemsShown, hintAfterTwoTabs, itemAfterEditor;
    const std::string caption = "ListBoxSelect Properties";
    bool completed = false;
    const bool ok = EditWithSteps(
        host, 21, params,
        {{caption,
          [&](HWND d) {
              DialogKey(d, 'I', false, true); // "&Item:"
              DialogKey(d, VK_TAB);
              DialogKey(d, VK_TAB);
              hintAfterTwoTabs = HintOf(d, GetFocus());
              QueueKey(VK_SPACE); // opens the items editor
          }},
         {"Items Properties",
          [&](HWND e) {
              itemsShown = TextOf(FocusedChild(e));
              QueueKey(VK_END, false, false, true); // Ctrl+End
              QueueKey(VK_RETURN);                  // a new line, not OK
              QueueText("two");
              QueueKey(VK_TAB);
              QueueKey(VK_RETURN); // OK has the focus
          }},
         {caption,
          [&](HWND d) {
              itemAfterEditor = TextOf(Field(d, "&Item:"));
              DialogKey(d, 'R', false, true);
              DialogKey(d, VK_TAB);
              DialogKey(d, VK_TAB);
              DialogKey(d, VK_SPACE); // "Select a Variable"
              DialogKey(d, 'I', false, true);
              for (int k = 0; k < 3; ++k) DialogKey(d, VK_TAB); // past both pickers to "Text"
              DialogKey(d, VK_RIGHT);                            // "Array"
              DialogKey(d, 'R', false, true);
              QueueKey(VK_RETURN);
          }}},
        &completed);
    EXPECT_TRUE(completed);
    EXPECT_TRUE(ok);
    EXPECT_EQ(hintAfterTwoTabs, "Add Items");
    EXPECT_EQ(itemsShown, "one");
    EXPECT_EQ(itemAfterEditor, "one[#13][#10]two");
    EXPECT_EQ(params, (Texts{"[picked]", "one[#13][#10]two", "2"}));
}

// Escape in the items editor's multi-line box cancels the editor only.
TEST_F(DialogKeyboard, EscapeInTheItemsEditorCancelsOnlyTheEditor) {
    Texts params = {"List1", "one", "0"};
    const std::string caption = "ListBoxSelect Properties";
    bool completed = false;
    const bool ok = EditWithSteps(host, 21, params,
                                  {{caption,
                                    [&](HWND d) {
                                        DialogKey(d, 'I', false, true);
                                        DialogKey(d, VK_TAB);
                                        DialogKey(d, VK_TAB);
                                        QueueKey(VK_SPACE);
                                    }},
                                   {"Items Properties",
                                    [&](HWND) {
                                        QueueText("lost");
                                        QueueKey(VK_ESCAPE);
                                    }},
                                   {caption,
                                    [&](HWND) {
                                        QueueKey('R', true); // away from "Add Items": Enter would press it
                                        QueueKey(VK_RETURN);
                                    }}},
                                  &completed);
    EXPECT_TRUE(completed);
    EXPECT_TRUE(ok);
    EXPECT_EQ(params, (Texts{"List1", "one", "0"}));
}

TEST_F(DialogKeyboard, EnterAndEscapeCloseTheAboutBox) {
    for (WORD key : {VK_RETURN, VK_ESCAPE}) {
        const DWORD start = GetTickCount();
        bool completed = false;
        RunWithSteps(host, [&] { host.About(); return true; }, {{"About", [&](HWND) { QueueKey(key); }}}, &completed);
        EXPECT_TRUE(completed) << key;
        EXPECT_LT(GetTickCount() - start, 5000u) << key;
    }
}

} // namespace
