// What accessibility clients read through the system's accessibility library:
// the TrackBar as a slider (role, name, value, range queries) and the
// CheckListBox's items with their check states; an object a client still
// holds after the control went answers "disconnected".
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include <oleacc.h>

#include <string>
#include <vector>

#include "HostEmulator.h"
#include "ListTestSupport.h"

using qorhost::HostEmulator;
using Strings = std::vector<std::string>;

namespace {

// One client reference to a window's client-area object.
struct Client {
    IAccessible* object = nullptr;
    HRESULT made = E_FAIL;
    explicit Client(HWND window) {
        made = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&object));
    }
    ~Client() {
        if (object) object->Release();
    }
    Client(const Client&) = delete;
    Client& operator=(const Client&) = delete;

    static VARIANT Child(long id) {
        VARIANT v;
        VariantInit(&v);
        V_VT(&v) = VT_I4;
        V_I4(&v) = id;
        return v;
    }
    long Role(long child = CHILDID_SELF) const {
        VARIANT role;
        VariantInit(&role);
        if (FAILED(object->get_accRole(Child(child), &role)) || V_VT(&role) != VT_I4) return -1;
        return V_I4(&role);
    }
    long State(long child = CHILDID_SELF) const {
        VARIANT state;
        VariantInit(&state);
        if (FAILED(object->get_accState(Child(child), &state)) || V_VT(&state) != VT_I4) return -1;
        return V_I4(&state);
    }
    using TextGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
    std::string Text(TextGetter getter, long child = CHILDID_SELF) const {
        BSTR text = nullptr;
        if (FAILED((object->*getter)(Child(child), &text)) || !text) return "<none>";
        char narrow[256] = {};
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow, nullptr, nullptr);
        SysFreeString(text);
        return narrow;
    }
    std::string Name(long child = CHILDID_SELF) const { return Text(&IAccessible::get_accName, child); }
    std::string Value(long child = CHILDID_SELF) const { return Text(&IAccessible::get_accValue, child); }
    long Children() const {
        long count = -1;
        return SUCCEEDED(object->get_accChildCount(&count)) ? count : -1;
    }
};

class Accessibility : public ::testing::Test {
protected:
    void SetUp() override {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        ASSERT_TRUE(host.Load());
        host.AddRectangle("Rect1", 20, 20, 200, 120);
        host.Activate();
    }
    void TearDown() override { CoUninitialize(); }
    HostEmulator host;
};

TEST_F(Accessibility, TheTrackBarIsASliderWithItsValueAndRange) {
    ASSERT_TRUE(host.Exec("qorCreateTrackBar", {"Rect1", "20", "16", "10", "90", "40", "0", "False", "[Pos]"}));
    HWND form = host.ControlWindow("Rect1");
    Client slider(form);
    ASSERT_NE(slider.object, nullptr) << std::hex << slider.made;
    EXPECT_EQ(slider.Role(), ROLE_SYSTEM_SLIDER);
    EXPECT_EQ(slider.Name(), "Rect1");
    EXPECT_EQ(slider.Value(), "40");
    EXPECT_EQ(slider.State() & STATE_SYSTEM_FOCUSABLE, STATE_SYSTEM_FOCUSABLE);
    EXPECT_EQ(SendMessageA(form, TBM_GETPOS, 0, 0), 40);
    EXPECT_EQ(SendMessageA(form, TBM_GETRANGEMIN, 0, 0), 10);
    EXPECT_EQ(SendMessageA(form, TBM_GETRANGEMAX, 0, 0), 90);
    EXPECT_EQ(SendMessageA(form, TBM_GETLINESIZE, 0, 0), 1);
    RECT thumb{}, channel{};
    SendMessageA(form, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    SendMessageA(form, TBM_GETCHANNELRECT, 0, reinterpret_cast<LPARAM>(&channel));
    EXPECT_EQ(thumb.right - thumb.left, 20);
    EXPECT_GT(channel.right - channel.left, 100);

    // The author's key and the script both move it.
    SetFocus(form);
    host.KeyPress(VK_RIGHT);
    EXPECT_EQ(slider.Value(), "41");
    ASSERT_TRUE(host.Exec("qorTrackBarUpdate", {"Rect1", "70", "0"}));
    EXPECT_EQ(slider.Value(), "70");
    EXPECT_EQ(SendMessageA(form, TBM_GETPOS, 0, 0), 70);

    ASSERT_TRUE(host.Exec("qorRemoveTrackBar", {"Rect1"}));
    VARIANT role;
    VariantInit(&role);
    EXPECT_EQ(slider.object->get_accRole(Client::Child(CHILDID_SELF), &role), RPC_E_DISCONNECTED);
}

TEST_F(Accessibility, CheckListItemsCarryTheirCheckStates) {
    ASSERT_TRUE(host.Exec("qorCreateCheckListBox",
                          {"Rect1", "False", "False", "Apple\r\nPear\r\nPlum", "0", "False", "", "", "", ""}));
    ASSERT_TRUE(host.Exec("qorCheckListBoxSetState", {"Rect1", "1", "1", "0"}));
    HWND list = qortest::ListBoxOf(host.ControlWindow("Rect1"));
    Client items(list);
    ASSERT_NE(items.object, nullptr);
    EXPECT_EQ(items.Role(), ROLE_SYSTEM_LIST);
    ASSERT_EQ(items.Children(), 3);
    const long checkBits = STATE_SYSTEM_CHECKED | STATE_SYSTEM_MIXED;
    Strings names;
    std::vector<long> roles, checks;
    for (long child = 1; child <= 3; ++child) {
        names.push_back(items.Name(child));
        roles.push_back(items.Role(child));
        checks.push_back(items.State(child) & checkBits);
    }
    EXPECT_EQ(names, (Strings{"Apple", "Pear", "Plum"}));
    EXPECT_EQ(roles, (std::vector<long>(3, ROLE_SYSTEM_LISTITEM)));
    EXPECT_EQ(checks, (std::vector<long>{STATE_SYSTEM_CHECKED, 0, 0}));

    // The author's space bar on the focused item: the client reads the new state.
    SetFocus(list);
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    host.KeyPress(VK_SPACE);
    EXPECT_EQ(items.State(2) & (checkBits | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED),
              STATE_SYSTEM_CHECKED | STATE_SYSTEM_SELECTED | STATE_SYSTEM_FOCUSED);
    EXPECT_EQ(items.State(4), -1) << "no fourth item";

    ASSERT_TRUE(host.Exec("qorRemoveCheckListBox", {"Rect1"}));
    EXPECT_EQ(items.Children(), -1);
    EXPECT_EQ(items.Name(1), "<none>");
}

} // namespace
