#include "lists/ListItemOperations.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <optional>

#include "core/AnsiText.h"
#include "core/ControlRegistry.h"
#include "core/ValueEncodings.h"
#include "host/HostServices.h"
#include "lists/ListItemTarget.h"

namespace qor {

namespace {

constexpr char kListKindWords[] = "dropdown/listbox/smartedit/checklistbox";
constexpr char kSortableKindWords[] = "dropdown/listbox/checklistbox";
constexpr ControlKind kListKinds[] = {ControlKind::DropDown, ControlKind::ListBox, ControlKind::SmartEdit,
                                      ControlKind::CheckListBox};

struct FoundList {
    std::shared_ptr<AttachedControl> control; // keeps the control alive while the action works on it
    ListItemTarget* target = nullptr;
};

FoundList FindList(const std::string& name, bool sorting) {
    for (ControlKind kind : kListKinds) {
        if (sorting && kind == ControlKind::SmartEdit) continue;
        std::shared_ptr<AttachedControl> control = FindAttached(kind, name);
        if (!control) continue;
        auto* target = dynamic_cast<ListItemTarget*>(control.get());
        if (!target || (sorting && !target->CanSort())) continue;
        return {std::move(control), target};
    }
    return {};
}

// Runs an action on the list attached to params[0].
template <typename Body>
bool OnList(const Params& params, bool sorting, Body&& body) {
    FoundList found = FindList(params.at(0), sorting);
    if (!found.target) {
        ReportError(NoControlMessage(sorting ? kSortableKindWords : kListKindWords, params[0]));
        return true;
    }
    try {
        return body(*found.target);
    } catch (const ListNotice& notice) {
        ReportError(notice.what());
        return true;
    }
}

void WriteResult(const std::string& variable, const std::optional<std::string>& value) {
    if (value && !variable.empty()) SetHostVariable(variable, *value);
}

// Item number (from 1) to position (from 0).
int PositionOf(int32_t number) { return number == INT_MIN ? INT_MIN : number - 1; }

} // namespace

bool qorListAddItem(Params&& params) {
    return OnList(params, false, [&](ListItemTarget& list) {
        const int32_t n = TextToInt(params.at(1));
        list.AddItem(n <= 0 ? -1 : n - 1, std::move(params.at(2)));
        list.AfterChange();
        return true;
    });
}

bool qorListChangeItem(const Params& params) {
    return OnList(params, false, [&](ListItemTarget& list) {
        list.ChangeItem(PositionOf(TextToInt(params.at(1))), params.at(2));
        list.AfterChange();
        return true;
    });
}

bool qorListDeleteItem(const Params& params) {
    return OnList(params, false, [&](ListItemTarget& list) {
        const std::string& item = params.at(1);
        if (item == "0") return false;
        list.DeleteItem(AnsiLowerCase(item) == "all" ? -1 : PositionOf(TextToInt(item)));
        list.AfterChange();
        return true;
    });
}

bool qorListFindItem(const Params& params) {
    return OnList(params, false, [&](ListItemTarget& list) {
        WriteResult(params.at(2), list.FindItem(params.at(1)));
        return true;
    });
}

bool qorListGetItem(const Params& params) {
    return OnList(params, false, [&](ListItemTarget& list) {
        std::string item = params.at(1);
        bool wholeRow = false;
        if (!item.empty() && item[0] == '@') {
            item.erase(std::remove(item.begin(), item.end(), '@'), item.end());
            wholeRow = true;
        }
        if (item == "0") {
            WriteResult(params.at(2), std::string());
            return false;
        }
        const int position = AnsiLowerCase(item) == "all" ? -1 : PositionOf(TextToInt(item));
        WriteResult(params.at(2), list.GetItem(position, wholeRow));
        return true;
    });
}

bool qorListMoveItem(const Params& params) {
    return OnList(params, false, [&](ListItemTarget& list) {
        const int32_t to = TextToInt(params.at(2));
        const int32_t from = TextToInt(params.at(1));
        list.MoveItem(PositionOf(from), PositionOf(to));
        list.AfterChange();
        return true;
    });
}

bool qorListSize(const Params& params) {
    return OnList(params, false, [&](ListItemTarget& list) {
        WriteResult(params.at(1), list.Size());
        return true;
    });
}

bool qorListSort(const Params& params) {
    return OnList(params, true, [&](ListItemTarget& list) {
        list.SetSorted(params.at(1) == "0");
        list.AfterChange();
        return true;
    });
}

bool qorListFindItemEx(const Params& params) {
    return OnList(params, false, [&](ListItemTarget& list) {
        WriteResult(params.at(5), list.FindItemEx(params.at(1), params.at(2), params.at(3), params.at(4)));
        return true;
    });
}

bool qorListFindNextItemEx(const Params& params) {
    return OnList(params, false, [&](ListItemTarget& list) {
        WriteResult(params.at(1), list.FindNextItem());
        return true;
    });
}

} // namespace qor
