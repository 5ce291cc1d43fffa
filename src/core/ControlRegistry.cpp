#include "core/ControlRegistry.h"

#include <algorithm>

#include <array>
#include <optional>
#include <vector>

#include "core/AnsiText.h"
#include "core/ValueEncodings.h"
#include "core/WinValues.h"
#include "host/HostServices.h"
#include "host/PlugInUtils.h"

namespace qor {

namespace {

using ControlList = std::vector<std::shared_ptr<AttachedControl>>;

// A list comes into being with the first control of its kind.
std::array<std::optional<ControlList>, kControlKindCount>& Lists() {
    static std::array<std::optional<ControlList>, kControlKindCount> lists;
    return lists;
}

std::optional<ControlList>& ListOf(ControlKind kind) { return Lists()[static_cast<int>(kind)]; }

// Order in which a create action clears the rectangle.
constexpr ControlKind kCreateRemovalOrder[] = {
    ControlKind::CheckListBox, ControlKind::DropDown, ControlKind::FileDragDrop, ControlKind::HotKey,
    ControlKind::ListBox,      ControlKind::SmartEdit, ControlKind::TrackBar,
};

// Order in which nbMessage code 2 empties the lists.
constexpr ControlKind kDestroyAllOrder[] = {
    ControlKind::HotKey,   ControlKind::DropDown,     ControlKind::ListBox,      ControlKind::SmartEdit,
    ControlKind::TrackBar, ControlKind::FileDragDrop, ControlKind::CheckListBox,
};

} // namespace

const char* RemoveKindWords(ControlKind kind) {
    switch (kind) {
    case ControlKind::HotKey: return "hot key";
    case ControlKind::DropDown: return "dropdown";
    case ControlKind::ListBox: return "listbox";
    case ControlKind::SmartEdit: return "SmartEdit";
    case ControlKind::FileDragDrop: return "FileDragDrop";
    case ControlKind::TrackBar: return "TrackBar";
    case ControlKind::CheckListBox: return "CheckListBox";
    }
    return "";
}

std::string NoControlMessage(const char* kindWords, const std::string& name) {
    return std::string("There is no ") + kindWords + " control attached to an object named " + name + ".";
}

int FindControl(ControlKind kind, const std::string& name) {
    const auto& list = ListOf(kind);
    if (!list) return -1;
    for (size_t i = 0; i < list->size(); ++i)
        if (SameNameAscii((*list)[i]->RectangleName(), name)) return static_cast<int>(i);
    return -1;
}

std::shared_ptr<AttachedControl> FindAttached(ControlKind kind, const std::string& name) {
    const int index = FindControl(kind, name);
    return index < 0 ? nullptr : (*ListOf(kind))[index];
}

bool ControlListExists(ControlKind kind) { return ListOf(kind).has_value(); }

bool RemoveControl(ControlKind kind, const std::string& name, bool report) noexcept {
    try {
        const int index = FindControl(kind, name);
        if (index < 0) {
            if (report) ReportError(NoControlMessage(RemoveKindWords(kind), name));
            return false;
        }
        // Destroyed, then out of the list. The entry goes even when the
        // destruction fails: its window is gone by then.
        std::shared_ptr<AttachedControl> control = (*ListOf(kind))[index];
        auto forget = [&] {
            auto& list = *ListOf(kind);
            list.erase(std::remove(list.begin(), list.end(), control), list.end());
        };
        try {
            control->DestroyControl();
        } catch (...) {
            forget();
            throw;
        }
        forget();
        return true;
    } catch (const std::exception& e) {
        ReportError(e.what());
    } catch (...) {
        ReportError("An unexpected error occurred while removing a control.");
    }
    return false;
}

void AppendControl(std::shared_ptr<AttachedControl> control) {
    auto& list = ListOf(control->kind());
    if (!list) list.emplace();
    list->push_back(std::move(control));
}

void DestroyAllControls() noexcept {
    for (ControlKind kind : kDestroyAllOrder) {
        auto& list = ListOf(kind);
        while (list && !list->empty()) {
            std::shared_ptr<AttachedControl> control = list->back();
            try {
                control->DestroyControl();
            } catch (...) {
                // Nothing can be reported from the cleanup; the window is gone.
            }
            list->erase(std::remove(list->begin(), list->end(), control), list->end());
        }
    }
}

void CreateAttachedControl(const std::shared_ptr<AttachedControl>& control) {
    const std::string& name = control->RectangleName();
    for (ControlKind kind : kCreateRemovalOrder) RemoveControl(kind, name, false);

    std::string answer;
    RequestHost(RequestObjectWindow, &name, answer);
    HWND rectangle = WindowFromHandleText(answer);
    if (!rectangle) throw ScriptError("An object named " + name + " does not exist.");

    try {
        control->Attach(rectangle);
    } catch (...) {
        // Never registered, so no action could reach it: it must not linger.
        control->Destroy();
        throw;
    }
    AppendControl(control);
}

bool RemoveAction(ControlKind kind, const std::string& name) { return RemoveControl(kind, name, true); }

std::vector<std::shared_ptr<AttachedControl>> ControlsOfKind(ControlKind kind) {
    const auto& list = ListOf(kind);
    return list ? *list : ControlList();
}

HWND ObjectWindowOf(const std::string& name) {
    std::string answer;
    RequestHost(RequestObjectWindow, &name, answer);
    return WindowFromHandleText(answer);
}

} // namespace qor
