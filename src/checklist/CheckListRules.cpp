#include "checklist/CheckListRules.h"

#include "core/AnsiText.h"
#include "core/ValueEncodings.h"

namespace qor {

CheckKind CheckKindFromCode(const std::string& code) {
    if (code == "1") return CheckKind::Mark;
    if (code == "2") return CheckKind::Radio;
    return CheckKind::Box;
}

bool StateFromCode(const std::string& code, CheckState& state) {
    if (code == "0") state = CheckState::Grayed;
    else if (code == "1") state = CheckState::Checked;
    else if (code == "2") state = CheckState::Unchecked;
    else return false;
    return true;
}

CheckState EffectiveState(CheckState stored, CheckKind kind) {
    return kind == CheckKind::Radio && stored == CheckState::Grayed ? CheckState::Unchecked : stored;
}

CheckState ToggledState(CheckState current, bool grayAllowed) {
    switch (current) {
    case CheckState::Unchecked: return grayAllowed ? CheckState::Grayed : CheckState::Checked;
    case CheckState::Checked: return CheckState::Unchecked;
    case CheckState::Grayed: return CheckState::Checked;
    }
    return CheckState::Unchecked;
}

std::vector<StateChange> PlanStateChange(const std::vector<CheckState>& states, int index, CheckState wanted,
                                         CheckKind kind) {
    std::vector<StateChange> changes;
    if (index < 0 || index >= static_cast<int>(states.size())) return changes;
    if (kind != CheckKind::Radio) {
        if (states[index] != wanted) changes.push_back({index, wanted, true});
        return changes;
    }
    const CheckState current = EffectiveState(states[index], kind);
    if (wanted == CheckState::Grayed) wanted = CheckState::Unchecked;
    if (current == wanted) return changes;
    if (wanted == CheckState::Unchecked) return changes; // a radio list keeps its checked item
    for (int i = 0; i < static_cast<int>(states.size()); ++i)
        if (i != index && EffectiveState(states[i], kind) == CheckState::Checked)
            changes.push_back({i, CheckState::Unchecked, false});
    changes.push_back({index, CheckState::Checked, true});
    return changes;
}

const char* IndividualValue(CheckState state) {
    switch (state) {
    case CheckState::Checked: return "Checked";
    case CheckState::Grayed: return "Grayed";
    case CheckState::Unchecked: break;
    }
    return "";
}

StateCollections CollectStates(const std::vector<std::string>& texts, const std::vector<CheckState>& states) {
    StateCollections result;
    auto append = [](std::string& list, const std::string& text, bool& first) {
        if (!first) list += "\r\n";
        list += text;
        first = false;
    };
    bool firstChecked = true, firstUnchecked = true, firstGrayed = true;
    for (size_t i = 0; i < texts.size() && i < states.size(); ++i) {
        switch (states[i]) {
        case CheckState::Checked: append(result.checked, texts[i], firstChecked); break;
        case CheckState::Unchecked: append(result.unchecked, texts[i], firstUnchecked); break;
        case CheckState::Grayed: append(result.grayed, texts[i], firstGrayed); break;
        }
    }
    return result;
}

std::vector<int> IndexesFromNumberLines(const std::vector<std::string>& lines, int count) {
    std::vector<int> indexes;
    for (const auto& line : lines) {
        int32_t number = 0;
        if (!TryTextToInt(line, number)) continue;
        if (number < 1 || number > count) continue;
        indexes.push_back(number - 1);
    }
    return indexes;
}

std::unordered_set<std::string> LoweredLineSet(const std::vector<std::string>& lines) {
    std::unordered_set<std::string> set;
    set.reserve(lines.size());
    for (const auto& line : lines) set.insert(AnsiLowerCase(line));
    return set;
}

} // namespace qor
