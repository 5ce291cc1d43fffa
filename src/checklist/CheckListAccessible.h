#pragma once
// The CheckListBox as accessibility clients see it: the system's list box
// object with each item's check state added (checked, or mixed for grayed),
// and the items themselves where the standard object does not list them.
#include <windows.h>

#include "core/AccessibleObject.h"

namespace qor {

class TFMCustomCheckListBox;

class CheckListAccessible final : public AccessibleFacts {
public:
    explicit CheckListAccessible(const TFMCustomCheckListBox& list) : list_(list) {}

    // WM_GETOBJECT of the list box; true with `result` when answered.
    bool Handle(HWND list, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) noexcept;
    // The list is going: clients keep nothing that reaches it.
    void Disconnect() noexcept { link_.Disconnect(); }

    bool Role(long child, long& role) const noexcept override;
    bool Name(long child, std::wstring& name) const noexcept override;
    bool Value(long, std::wstring&) const noexcept override { return false; }
    void State(long child, long& state) const noexcept override;
    long ChildCount() const noexcept override;

private:
    bool IsItem(long child) const noexcept { return child >= 1 && child <= ChildCount(); }

    const TFMCustomCheckListBox& list_;
    AccessibleLink link_;
};

} // namespace qor
