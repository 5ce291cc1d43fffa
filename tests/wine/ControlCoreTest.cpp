// The registry of attached controls, the create protocol, the host object
// message and the event bridge, exercised through the test-build probe control
// and the seven remove actions.
#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

#include "HostEmulator.h"
#include "core/WinValues.h"

using qorhost::HostEmulator;
using qorhost::LogEntry;
using qorhost::LogKind;

namespace {

// Test-build ids that create a probe registered under a kind.
enum ProbeKind { HotKey = 1001, DropDown, ListBox, SmartEdit, FileDragDrop, TrackBar, CheckListBox };

struct RemoveAction {
    int32_t id;
    ProbeKind kind;
    const char* words;
};
const RemoveAction kRemoveActions[] = {
    {2, HotKey, "hot key"},           {17, DropDown, "dropdown"},         {22, ListBox, "listbox"},
    {28, SmartEdit, "SmartEdit"},     {45, FileDragDrop, "FileDragDrop"}, {50, TrackBar, "TrackBar"},
    {56, CheckListBox, "CheckListBox"},
};

const COLORREF kProbeColor = RGB(0xC8, 0x1E, 0x1E);

struct BrushDeleter {
    void operator()(HBRUSH brush) const { DeleteObject(brush); }
};
using UniqueMarker = std::unique_ptr<std::remove_pointer_t<HBRUSH>, BrushDeleter>;

class ControlCore : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.Load());
        host.AddRectangle("Rect1", 20, 20, 200, 60);
        host.AddRectangle("Rect2", 20, 100, 150, 40);
    }

    bool Probe(ProbeKind kind, const std::string& rect, const std::string& var = "[Result]",
               const std::string& sub = "", const std::string& fail = "") {
        return host.Exec(kind, {rect, var, sub, fail});
    }

    std::string Handle(const std::string& rect) {
        return std::to_string(reinterpret_cast<uintptr_t>(host.Rectangle(rect)));
    }

    HostEmulator host;
};

TEST_F(ControlCore, RemoveActionsReportMissingControlsWithTheirKindWords) {
    for (const auto& action : kRemoveActions) {
        SCOPED_TRACE(action.words);
        EXPECT_FALSE(host.Exec(action.id, {"Rect1"}));
        EXPECT_EQ(host.LastError(),
                  std::string("There is no ") + action.words + " control attached to an object named Rect1.");
    }
}

TEST_F(ControlCore, EachKindIsRemovedOnlyByItsOwnRemoveAction) {
    for (const auto& action : kRemoveActions) {
        SCOPED_TRACE(action.words);
        ASSERT_TRUE(Probe(action.kind, "Rect1"));
        for (const auto& other : kRemoveActions) {
            if (other.id == action.id) continue;
            EXPECT_FALSE(host.Exec(other.id, {"Rect1"})) << other.words;
        }
        host.SetVar("[qorBrindavelLastError]", "previous");
        EXPECT_TRUE(host.Exec(action.id, {"Rect1"}));
        EXPECT_EQ(host.LastError(), "previous") << "success leaves LastError alone";
        EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
        EXPECT_FALSE(host.Exec(action.id, {"Rect1"})) << "a second removal finds nothing";
        EXPECT_EQ(host.LastError(),
                  std::string("There is no ") + action.words + " control attached to an object named Rect1.");
    }
}

TEST_F(ControlCore, CreateFillsTheRectangleOnTopAndVisible) {
    ASSERT_TRUE(Probe(DropDown, "Rect1"));
    HWND control = host.ControlWindow("Rect1");
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(GetParent(control), host.Rectangle("Rect1"));
    EXPECT_TRUE(GetWindowLongA(control, GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(IsWindowVisible(control));
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, host.Rectangle("Rect1"), reinterpret_cast<POINT*>(&r), 2);
    RECT client{};
    GetClientRect(host.Rectangle("Rect1"), &client);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, client.right);
    EXPECT_EQ(r.bottom, client.bottom);
    ASSERT_FALSE(host.requests.empty());
    EXPECT_EQ(host.requests.back(), std::make_pair(7, std::string("Rect1")));
}

TEST_F(ControlCore, CreateReplacesAControlOfAnyKindWhoseNameDiffersInAsciiCase) {
    host.SetObjectWindowAnswer("RECT1", Handle("Rect1"));
    ASSERT_TRUE(Probe(HotKey, "Rect1", "[HotKeyValue]"));
    HWND first = host.ControlWindow("Rect1");
    ASSERT_TRUE(Probe(DropDown, "RECT1", "[DropValue]"));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_EQ(host.Var("[HotKeyValue]"), "") << "the replaced control emptied its variable";
    EXPECT_EQ(host.WritesTo("[HotKeyValue]"), std::vector<std::string>{""});
    EXPECT_FALSE(host.Exec(2, {"Rect1"}));
    EXPECT_TRUE(host.Exec(17, {"rect1"}));
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
}

TEST_F(ControlCore, NamesDifferingInNonAsciiCaseAreDifferentRectangles) {
    host.AddRectangle("\xC4rger", 300, 20, 80, 30);
    host.AddRectangle("\xE4rger", 300, 60, 80, 30);
    ASSERT_TRUE(Probe(HotKey, "\xC4rger"));
    ASSERT_TRUE(Probe(DropDown, "\xE4rger"));
    EXPECT_NE(host.ControlWindow("\xC4rger"), nullptr);
    EXPECT_NE(host.ControlWindow("\xE4rger"), nullptr);
    EXPECT_FALSE(host.Exec(2, {"\xE4rger"}));
    EXPECT_EQ(host.LastError(), "There is no hot key control attached to an object named \xE4rger.");
    EXPECT_TRUE(host.Exec(2, {"\xC4RGER"})) << "ASCII letters still fold";
    EXPECT_TRUE(host.Exec(17, {"\xE4rger"}));
}

TEST_F(ControlCore, ARectangleWithoutAWindowStillLosesItsOldControl) {
    ASSERT_TRUE(Probe(TrackBar, "Rect1", "[Old]"));
    HWND old = host.ControlWindow("Rect1");
    host.SetVar("[Old]", "value");
    host.SetObjectWindowAnswer("Rect1", "0");
    EXPECT_FALSE(Probe(ListBox, "Rect1", "[New]"));
    EXPECT_EQ(host.LastError(), "An object named Rect1 does not exist.");
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(host.Var("[Old]"), "");
    EXPECT_FALSE(host.Exec(50, {"Rect1"}));
    EXPECT_FALSE(host.Exec(22, {"Rect1"}));
    EXPECT_FALSE(Probe(ListBox, "Nowhere"));
    EXPECT_EQ(host.LastError(), "An object named Nowhere does not exist.");
}

TEST_F(ControlCore, AControlWhoseRectangleTheHostDestroyedStillEmptiesItsVariableWhenRemoved) {
    ASSERT_TRUE(Probe(ListBox, "Rect1", "[One]"));
    ASSERT_TRUE(Probe(HotKey, "Rect2", "[Two]"));
    HWND control = host.ControlWindow("Rect1");
    host.SetVar("[One]", "kept");
    host.SetVar("[Two]", "kept");
    host.RemoveRectangle("Rect1");
    host.RemoveRectangle("Rect2");
    EXPECT_FALSE(IsWindow(control));
    EXPECT_EQ(host.Var("[One]"), "kept") << "nothing watches the host's windows";

    host.SetVar("[qorBrindavelLastError]", "previous");
    EXPECT_TRUE(host.Exec(22, {"Rect1"})) << "the entry stayed until now";
    EXPECT_EQ(host.Var("[One]"), "");
    EXPECT_EQ(host.LastError(), "previous");
    EXPECT_FALSE(host.Exec(22, {"Rect1"}));

    host.Message(2);
    EXPECT_EQ(host.Var("[Two]"), "");
    EXPECT_EQ(host.WritesTo("[Two]"), std::vector<std::string>{""}) << "emptied once";
}

TEST_F(ControlCore, ANonNumericWindowAnswerFailsWithTheIntegerMessage) {
    host.SetObjectWindowAnswer("Rect1", "abc");
    EXPECT_FALSE(Probe(HotKey, "Rect1"));
    EXPECT_EQ(host.LastError(), "'abc' is not a valid integer value");
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
}

TEST_F(ControlCore, WindowAnswersAboveTheSignedRangeAreHandlesToo) {
    // The same window with its reuse counter at 0xFFFF: an unsigned decimal
    // above 2147483647, as a long session's handles can be written.
    const auto low = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(host.Rectangle("Rect1")) & 0xFFFF);
    const uint32_t high = 0xFFFF0000u | low;
    ASSERT_TRUE(IsWindow(reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(high)))));
    for (const std::string& answer : {std::to_string(high), "+" + std::to_string(high),
                                      std::to_string(static_cast<int32_t>(high))}) {
        SCOPED_TRACE(answer);
        host.SetObjectWindowAnswer("Rect1", answer);
        for (const auto& action : kRemoveActions) {
            host.SetVar("[qorBrindavelLastError]", "");
            ASSERT_TRUE(Probe(action.kind, "Rect1")) << host.LastError();
            EXPECT_EQ(GetParent(host.ControlWindow("Rect1")), host.Rectangle("Rect1"));
        }
        ASSERT_TRUE(host.Exec("qorCreateListBox", {"Rect1", "0", "0", "a", "0", "0", "", "0", "1", "[L]"}));
        EXPECT_NE(host.ControlWindow("Rect1"), nullptr);
    }
    for (const std::string answer : {"4294967296", "-2147483649", "42949672950", "4294967295x"}) {
        host.SetObjectWindowAnswer("Rect1", answer);
        EXPECT_FALSE(Probe(HotKey, "Rect1"));
        EXPECT_EQ(host.LastError(), "'" + answer + "' is not a valid integer value");
        EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
    }
}

TEST(HandleTexts, AreWrittenAsUnsigned32BitDecimalsAndReadBack) {
    const struct {
        intptr_t handle;
        const char* text;
    } cases[] = {
        {0x1005A, "65626"},
        {static_cast<intptr_t>(static_cast<int32_t>(0xFFFF1234u)), "4294906420"}, // sign-extended on 64 bits
        {static_cast<intptr_t>(static_cast<int32_t>(0x80000000u)), "2147483648"},
    };
    for (const auto& c : cases) {
        const HWND handle = reinterpret_cast<HWND>(c.handle);
        EXPECT_EQ(qor::HandleText(handle), c.text);
        EXPECT_EQ(qor::WindowFromHandleText(c.text), handle);
    }
}

TEST_F(ControlCore, ACreationThatFailsAfterItsWindowExistsLeavesNothingBehind) {
    EXPECT_FALSE(Probe(SmartEdit, "Rect1", "[R]", "", "fail"));
    EXPECT_EQ(host.LastError(), "The probe was told to fail.");
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr) << "the half-made control was destroyed";
    EXPECT_FALSE(host.Exec(28, {"Rect1"}));
    EXPECT_TRUE(host.WritesTo("[R]").empty());
}

TEST_F(ControlCore, MessageTwoDestroysEverythingLastEntryFirstInKindOrder) {
    host.AddRectangle("Rect3", 250, 20, 50, 50);
    host.AddRectangle("Rect4", 250, 80, 50, 50);
    ASSERT_TRUE(Probe(CheckListBox, "Rect1", "[check]"));
    ASSERT_TRUE(Probe(HotKey, "Rect2", "[hot1]"));
    ASSERT_TRUE(Probe(HotKey, "Rect3", "[hot2]"));
    ASSERT_TRUE(Probe(TrackBar, "Rect4", "[track]"));
    for (int32_t code : {0, 1, 3}) host.Message(code);
    for (const char* rect : {"Rect1", "Rect2", "Rect3", "Rect4"}) EXPECT_NE(host.ControlWindow(rect), nullptr);
    host.ClearLog();
    host.Message(2);
    const std::vector<LogEntry> expected = {
        {LogKind::SetVariable, "[hot2]", ""},
        {LogKind::SetVariable, "[hot1]", ""},
        {LogKind::SetVariable, "[track]", ""},
        {LogKind::SetVariable, "[check]", ""},
    };
    EXPECT_EQ(host.log(), expected);
    for (const char* rect : {"Rect1", "Rect2", "Rect3", "Rect4"}) EXPECT_EQ(host.ControlWindow(rect), nullptr);
    host.ClearLog();
    host.Message(2);
    EXPECT_TRUE(host.log().empty());
    EXPECT_FALSE(host.Exec(2, {"Rect2"}));
    EXPECT_TRUE(Probe(HotKey, "Rect2")) << "the lists live on, empty";
}

TEST_F(ControlCore, MessageTwoEmptiesTheVariablesOfEveryRealKind) {
    host.AddRectangle("Rect3", 250, 20, 150, 100);
    host.AddRectangle("Rect4", 250, 140, 150, 100);
    ASSERT_TRUE(host.Exec("qorCreateDropDown", {"Rect1", "0", "0", "a\r\nb", "0", "0", "", "0", "1", "[DD]"}));
    ASSERT_TRUE(host.Exec("qorCreateListBox", {"Rect2", "0", "0", "a\r\nb", "0", "0", "", "0", "1", "[LB]"}));
    ASSERT_TRUE(host.Exec("qorCreateSmartEdit", {"Rect3", "[SE]"}));
    ASSERT_TRUE(host.Exec("qorCreateCheckListBox",
                          {"Rect4", "0", "0", "a\r\nb", "0", "True", "[C]", "[U]", "[G]", "[S]"}));
    for (const char* var : {"[DD]", "[LB]", "[SE]", "[C]", "[U]", "[G]", "[S]", "a", "b"}) host.SetVar(var, "x");
    host.Message(2);
    for (const char* var : {"[DD]", "[LB]", "[SE]", "[C]", "[U]", "[G]", "[S]", "a", "b"})
        EXPECT_EQ(host.Var(var), "") << var;
    for (const char* rect : {"Rect1", "Rect2", "Rect3", "Rect4"}) EXPECT_EQ(host.ControlWindow(rect), nullptr);
    EXPECT_FALSE(host.Exec("qorRemoveSmartEdit", {"Rect3"}));
}

TEST_F(ControlCore, HostObjectMessageEnablesDisablesAndResizes) {
    ASSERT_TRUE(Probe(DropDown, "Rect1"));
    HWND control = host.ControlWindow("Rect1");
    EXPECT_EQ(host.SendObjectMessage(control, 7), 0);
    EXPECT_FALSE(IsWindowEnabled(control));
    host.SendObjectMessage(control, 8);
    EXPECT_TRUE(IsWindowEnabled(control));
    host.SendObjectMessage(control, 9);
    host.SendObjectMessage(control, 0);
    EXPECT_TRUE(IsWindowEnabled(control));
    EXPECT_EQ(host.SendObjectMessage(control, 6), 0);

    host.MoveRectangle("Rect1", 20, 20, 320, 90);
    RECT before{};
    GetClientRect(control, &before);
    EXPECT_EQ(before.right, 200) << "nothing follows the rectangle by itself";
    host.SendObjectMessage(control, 4);
    RECT after{};
    GetClientRect(control, &after);
    EXPECT_EQ(after.right, 320);
    EXPECT_EQ(after.bottom, 90);
}

TEST_F(ControlCore, HostObjectMessagePaintsTheControlIntoAGivenDc) {
    ASSERT_TRUE(Probe(ListBox, "Rect1"));
    HWND control = host.ControlWindow("Rect1");
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 200, 60);
    HGDIOBJ old = SelectObject(memory, bitmap);
    RECT all{0, 0, 200, 60};
    FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));

    host.SendObjectMessage(control, 5, 0); // no DC: nothing happens
    EXPECT_EQ(GetPixel(memory, 10, 10), RGB(255, 255, 255));
    host.SendObjectMessage(control, 5, reinterpret_cast<WPARAM>(memory));
    EXPECT_EQ(GetPixel(memory, 10, 10), kProbeColor);
    EXPECT_EQ(GetPixel(memory, 199, 59), kProbeColor);

    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

TEST_F(ControlCore, PaintingKeepsChildrenInPlaceUnderTheDcsOwnOrigin) {
    // A real list box: a form with a child control.
    ASSERT_TRUE(host.Exec("qorCreateListBox", {"Rect1", "0", "0", "", "0", "0", "", "0", "1", ""}));
    HWND control = host.ControlWindow("Rect1");
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 300, 120);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const COLORREF marker = RGB(10, 200, 30);
    RECT all{0, 0, 300, 120};
    UniqueMarker brush(CreateSolidBrush(marker));
    FillRect(memory, &all, brush.get());

    SetViewportOrgEx(memory, 60, 30, nullptr);
    host.SendObjectMessage(control, 5, reinterpret_cast<WPARAM>(memory));
    SetViewportOrgEx(memory, 0, 0, nullptr);
    EXPECT_EQ(GetPixel(memory, 20, 10), marker) << "nothing lands left of or above the origin";
    EXPECT_EQ(GetPixel(memory, 59, 29), marker);
    EXPECT_EQ(GetPixel(memory, 60 + 100, 30 + 30), GetSysColor(COLOR_WINDOW)) << "the list's empty client area";
    EXPECT_EQ(GetPixel(memory, 60 + 200, 30 + 30), marker) << "nothing beyond the control's width";

    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// ---- events ----------------------------------------------------------------

class ControlEvents : public ControlCore {
protected:
    void Click(const std::string& rect) {
        host.Activate();
        host.ClickAt(host.ControlWindow(rect), 15, 15);
    }
};

TEST_F(ControlEvents, ValuesAreWrittenBeforeTheExactGoSubLine) {
    ASSERT_TRUE(Probe(HotKey, "Rect1", "[Result]", "On Click"));
    bool sawValue = false;
    host.DefineSubroutine("On Click", [&] { sawValue = host.Var("[Result]") == "clicked 1"; });
    host.ClearLog();
    Click("Rect1");
    const std::vector<LogEntry> expected = {
        {LogKind::SetVariable, "[Result]", "clicked 1"},
        {LogKind::ScriptLine, "", "GoSub \"On Click\""},
        {LogKind::SetVariable, "[Result].after", "1"},
    };
    EXPECT_EQ(host.log(), expected);
    EXPECT_TRUE(sawValue);
}

TEST_F(ControlEvents, AnEmptySubroutineNameRunsNothing) {
    ASSERT_TRUE(Probe(HotKey, "Rect1", "[Result]", ""));
    host.ClearLog();
    Click("Rect1");
    EXPECT_TRUE(host.ScriptLines().empty());
    EXPECT_EQ(host.Var("[Result]"), "clicked 1");
}

TEST_F(ControlEvents, ASubroutineMayRemoveTheControlThatRanIt) {
    ASSERT_TRUE(Probe(DropDown, "Rect1", "[Result]", "Remove"));
    host.DefineSubroutine("Remove", [&] { EXPECT_TRUE(host.Exec(17, {"Rect1"})); });
    host.ClearLog();
    Click("Rect1");
    const std::vector<LogEntry> expected = {
        {LogKind::SetVariable, "[Result]", "clicked 1"},
        {LogKind::ScriptLine, "", "GoSub \"Remove\""},
        {LogKind::SetVariable, "[Result]", ""},
    };
    EXPECT_EQ(host.log(), expected) << "nothing is written by the dead control after its subroutine";
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
    EXPECT_FALSE(host.Exec(17, {"Rect1"}));
}

TEST_F(ControlEvents, ASubroutineMayReplaceTheControlOnTheSameRectangle) {
    ASSERT_TRUE(Probe(DropDown, "Rect1", "[Old]", "Replace"));
    HWND old = host.ControlWindow("Rect1");
    host.DefineSubroutine("Replace", [&] { EXPECT_TRUE(Probe(CheckListBox, "Rect1", "[New]", "Replace")); });
    host.ClearLog();
    Click("Rect1");
    EXPECT_FALSE(IsWindow(old));
    EXPECT_TRUE(host.WritesTo("[Old].after").empty());
    EXPECT_EQ(host.Var("[Old]"), "");
    HWND fresh = host.ControlWindow("Rect1");
    ASSERT_NE(fresh, nullptr);
    EXPECT_NE(fresh, old);
    host.DefineSubroutine("Replace", [] {});
    Click("Rect1");
    EXPECT_EQ(host.Var("[New]"), "clicked 1") << "the new control counts its own clicks";
    EXPECT_EQ(host.Var("[New].after"), "1");
}

TEST_F(ControlEvents, ASubroutineMayDestroyEverything) {
    ASSERT_TRUE(Probe(HotKey, "Rect1", "[A]", "Wipe"));
    ASSERT_TRUE(Probe(TrackBar, "Rect2", "[B]"));
    host.DefineSubroutine("Wipe", [&] { host.Message(2); });
    Click("Rect1");
    EXPECT_EQ(host.ControlWindow("Rect1"), nullptr);
    EXPECT_EQ(host.ControlWindow("Rect2"), nullptr);
    EXPECT_EQ(host.Var("[A]"), "");
    EXPECT_TRUE(host.WritesTo("[A].after").empty());
    EXPECT_EQ(host.Blocks().hostBlocksFreed, 0u);
}

} // namespace
