#pragma once
// The CheckListBox's platform-free rules: check kinds, state codes, how a
// toggle cycles the state, which state changes a request makes under the radio
// rules, the values of the individual variables and the state collections.
#include <string>
#include <unordered_set>
#include <vector>

namespace qor {

enum class CheckState { Unchecked = 0, Checked = 1, Grayed = 2 };
enum class CheckKind { Box, Mark, Radio };

// "0" check boxes, "1" check marks, "2" radio buttons; any other code boxes.
CheckKind CheckKindFromCode(const std::string& code);

// qorCheckListBoxSetState: "0" grayed, "1" checked, "2" unchecked; false for
// any other code (nothing changes then).
bool StateFromCode(const std::string& code, CheckState& state);

// Gray is possible only with check boxes and check marks.
inline bool GrayAllowed(CheckKind kind, bool allowGray) { return allowGray && kind != CheckKind::Radio; }

// A radio list reads a grayed item as unchecked.
CheckState EffectiveState(CheckState stored, CheckKind kind);

// A click on the glyph or Space: unchecked -> grayed (gray allowed) or
// checked; checked -> unchecked; grayed -> checked.
CheckState ToggledState(CheckState current, bool grayAllowed);

// One state change the list makes; `notify` is false for the items a radio
// list unchecks on its own.
struct StateChange {
    int index;
    CheckState state;
    bool notify;
};

// The changes that setting item `index` to `wanted` makes: nothing when it
// already has that state; in a radio list unchecking the checked item is
// refused, asking for gray reads as unchecked, and checking an item first
// unchecks every other checked item silently.
std::vector<StateChange> PlanStateChange(const std::vector<CheckState>& states, int index, CheckState wanted,
                                         CheckKind kind);

// The value of an individual variable: "Checked", "" or "Grayed".
const char* IndividualValue(CheckState state);

// The items in each state, as item list texts (joined by CR LF).
struct StateCollections {
    std::string checked;
    std::string unchecked;
    std::string grayed;
};
StateCollections CollectStates(const std::vector<std::string>& texts, const std::vector<CheckState>& states);

// Select and set-state by number: the zero-based indexes the lines name, in
// line order; lines that are not whole numbers or name no item are skipped.
std::vector<int> IndexesFromNumberLines(const std::vector<std::string>& lines, int count);

// Select and set-state by text: the lines lowered (locale mapping), as a set.
std::unordered_set<std::string> LoweredLineSet(const std::vector<std::string>& lines);

} // namespace qor
