#pragma once
// The live attached controls: one ordered list per kind, keyed by the name of
// the rectangle they live in (compared with ASCII-only case folding).
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/AttachedControl.h"
#include "core/ControlKind.h"
#include "core/ScriptError.h"

namespace qor {

// Index of the first control of the kind attached to name; -1 when none or
// when the kind's list was never created.
int FindControl(ControlKind kind, const std::string& name);
// The control itself, or nullptr.
std::shared_ptr<AttachedControl> FindAttached(ControlKind kind, const std::string& name);

template <typename T>
std::shared_ptr<T> FindAs(ControlKind kind, const std::string& name) {
    return std::dynamic_pointer_cast<T>(FindAttached(kind, name));
}

// Finds a control of the kind or throws "There is no <words> control attached
// to an object named <name>." with the caller's kind words.
template <typename T>
std::shared_ptr<T> RequireControl(ControlKind kind, const std::string& name, const char* kindWords);
std::string NoControlMessage(const char* kindWords, const std::string& name);

// Destroys the control attached to name and deletes its entry. With report on
// and nothing found, writes the remove message to LastError. True when removed.
bool RemoveControl(ControlKind kind, const std::string& name, bool report) noexcept;

void AppendControl(std::shared_ptr<AttachedControl> control);

// nbMessage code 2: every list, last entry first; the lists stay, empty.
void DestroyAllControls() noexcept;

// True once the kind's list was created (by the first control of the kind).
bool ControlListExists(ControlKind kind);

// The create protocol shared by every create action: removes whatever control
// is attached to the rectangle, asks the host for the rectangle's window,
// attaches the new control and registers it. Throws the failure's message; a
// control whose window was made is destroyed again before the throw.
void CreateAttachedControl(const std::shared_ptr<AttachedControl>& control);

// The remove action of a kind: RemoveControl with report on.
bool RemoveAction(ControlKind kind, const std::string& name);

// The kind's controls in registry order (a copy: callers may run host code).
std::vector<std::shared_ptr<AttachedControl>> ControlsOfKind(ControlKind kind);

// RequestObjectWindow for a host object name, its answer read as a window
// handle (null for 0 or no answer). Throws when the answer is not a number.
HWND ObjectWindowOf(const std::string& name);

template <typename T>
std::shared_ptr<T> RequireControl(ControlKind kind, const std::string& name, const char* kindWords) {
    auto control = FindAs<T>(kind, name);
    if (!control) throw ScriptError(NoControlMessage(kindWords, name));
    return control;
}

} // namespace qor
