#include "checklist/CheckListAccessible.h"

#include <oleacc.h>

#include "checklist/UTCustomCheckListBox.h"

namespace qor {

bool CheckListAccessible::Handle(HWND list, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept {
    return message == WM_GETOBJECT && link_.Answer(list, *this, wParam, lParam, result);
}

bool CheckListAccessible::Role(long child, long& role) const noexcept {
    if (child == kSelf) role = ROLE_SYSTEM_LIST;
    else if (IsItem(child)) role = ROLE_SYSTEM_LISTITEM;
    else return false;
    return true;
}

bool CheckListAccessible::Name(long child, std::wstring& name) const noexcept {
    if (!IsItem(child)) return false;
    try {
        name = AccessibleText(list_.ItemText(static_cast<int>(child - 1)));
        return true;
    } catch (...) {
        return false;
    }
}

void CheckListAccessible::State(long child, long& state) const noexcept {
    if (!IsItem(child)) return;
    const int index = static_cast<int>(child - 1);
    HWND list = list_.JvxCheckListBox1.get();
    state |= STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
    if (list_.List(LB_GETSEL, static_cast<WPARAM>(index), 0) > 0) state |= STATE_SYSTEM_SELECTED;
    if (GetFocus() == list && list_.List(LB_GETCARETINDEX, 0, 0) == index) state |= STATE_SYSTEM_FOCUSED;
    state &= ~(STATE_SYSTEM_CHECKED | STATE_SYSTEM_MIXED);
    switch (list_.ItemState(index)) {
    case CheckState::Checked: state |= STATE_SYSTEM_CHECKED; break;
    case CheckState::Grayed: state |= STATE_SYSTEM_MIXED; break;
    case CheckState::Unchecked: break;
    }
}

long CheckListAccessible::ChildCount() const noexcept { return list_.JvxCheckListBox1 ? list_.Count() : 0; }

} // namespace qor
