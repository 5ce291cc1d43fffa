// The plug-in as the host sees it: loading, identity, the announced catalogue,
// dispatch of ids, string ownership and the About box.
#include <gtest/gtest.h>

#include <set>

#include "HostEmulator.h"
#include "host/ActionCatalogue.h"

using qorhost::HostEmulator;
using qorhost::LogKind;

namespace {

// While it lives, every dialog box this thread shows (the system dialog
// actions are modal) is cancelled as soon as it is up.
class CancelDialogsScope {
public:
    CancelDialogsScope() : timer_(SetTimer(nullptr, 0, 50, Tick)) {}
    ~CancelDialogsScope() { KillTimer(nullptr, timer_); }
    CancelDialogsScope(const CancelDialogsScope&) = delete;
    CancelDialogsScope& operator=(const CancelDialogsScope&) = delete;

private:
    static BOOL CALLBACK CancelIfDialog(HWND window, LPARAM) {
        char name[16] = {};
        GetClassNameA(window, name, sizeof name);
        if (IsWindowVisible(window) && std::string(name) == "#32770") PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        EnumThreadWindows(GetCurrentThreadId(), CancelIfDialog, 0);
    }
    UINT_PTR timer_;
};

class HostInterface : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.Load()) << HostEmulator::DefaultPluginPath(); }
    HostEmulator host;
};

TEST_F(HostInterface, IdentityTextsAreExact) {
    EXPECT_EQ(host.pluginName, "qorBrindavel");
    EXPECT_EQ(host.pluginDeveloper, "Telvane.Duskmere");
    EXPECT_EQ(host.pluginDescription,
              "This plugin enhances the ability of your application by adding HotKey Gadget, HotKey Manager, "
              "DropDown, ListBox, SmartEdit, CheckListBox, RadioListBox, FileDragDrop, TrackBar/ VolumeSlider "
              "and customized dialogues with much more enhanced features.");
}

TEST_F(HostInterface, InitReleasesStringsAlreadyInItsVarArguments) {
    host.InitAgain("old name", "old developer", "old description");
    EXPECT_EQ(host.pluginName, "qorBrindavel");
    EXPECT_EQ(host.pluginDeveloper, "Telvane.Duskmere");
    EXPECT_EQ(host.Blocks().pluginAllocations, 6u) << "three identity blocks per nbInitPlugIn";
    EXPECT_EQ(host.Blocks().pluginBlocksAlive, 0u);
    EXPECT_EQ(host.Blocks().handedOverNotReleased, 0u) << "a preset string was overwritten without GlobalFree";
    host.InitAgain("a", "", "c");
    EXPECT_EQ(host.Blocks().handedOverNotReleased, 0u);
    EXPECT_EQ(host.Blocks().hostBlocksFreed, 0u);
}

TEST_F(HostInterface, AnnouncesTheWholeCatalogueInOrder) {
    const auto& seen = host.announcements();
    ASSERT_EQ(seen.size(), 84u);
    int headers = 0;
    std::multiset<int32_t> ids;
    const qor::CatalogueEntry* expected = qor::CatalogueBegin();
    for (size_t pos = 0; pos < seen.size(); ++pos, ++expected) {
        SCOPED_TRACE("announcement " + std::to_string(pos + 1));
        const auto& a = seen[pos];
        EXPECT_EQ(a.id, expected->id);
        EXPECT_EQ(a.name, expected->name);
        EXPECT_EQ(a.hint, expected->hint);
        EXPECT_EQ(a.count, expected->count);
        EXPECT_EQ(a.kindsHigh, expected->count - 1);
        EXPECT_EQ(a.kinds, std::vector<uint8_t>(expected->kinds, expected->kinds + expected->count));
        if (a.id == 0) {
            ++headers;
            EXPECT_EQ(a.hint, "");
            EXPECT_EQ(a.count, 0);
            EXPECT_EQ(a.kindsHigh, -1);
        } else {
            ids.insert(a.id);
        }
    }
    EXPECT_EQ(headers, 11);
    for (int32_t id = 1; id <= 73; ++id) EXPECT_EQ(ids.count(id), 1u) << "id " << id;
    EXPECT_EQ(ids.size(), 73u);
}

TEST_F(HostInterface, AnnouncementSpotChecks) {
    const auto& seen = host.announcements();
    ASSERT_EQ(seen.size(), 84u);
    EXPECT_EQ(seen[0].name, "HotKey Gadget");
    EXPECT_EQ(seen[1].name, "qorCreateHotKey");
    EXPECT_EQ(seen[1].hint, "Creates hot key object.");
    EXPECT_EQ(seen[1].kinds, (std::vector<uint8_t>{1, 1, 1, 6}));
    EXPECT_EQ(seen[3].name, "qorFocusHotKey");
    EXPECT_EQ(seen[3].count, 2);
    EXPECT_EQ(seen[58].name, "Dropdown and ListBox and SmartEdit");
    EXPECT_EQ(seen[68].name, "qorListSort");
    EXPECT_EQ(seen[68].kinds, (std::vector<uint8_t>{1, 6}));
    EXPECT_EQ(seen[75].hint, "Captures events of CheckListBox.");
    EXPECT_EQ(seen[20].hint, " Captures events of DropDown.");
    EXPECT_EQ(seen[83].name, "qorColorDialog");
    EXPECT_EQ(seen[83].kinds, (std::vector<uint8_t>{1, 1, 1, 1, 6, 6}));
}

TEST_F(HostInterface, IdsOutsideTheCatalogueAnswerFalseAndTouchNothing) {
    for (int32_t id : {0, 74, -1, 1000, INT32_MIN, INT32_MAX}) {
        EXPECT_FALSE(host.Exec(id, {"Rect1", "x", "y"})) << id;
        EXPECT_FALSE(host.Exec(id, {})) << id;
    }
    EXPECT_TRUE(host.log().empty());
    EXPECT_TRUE(host.requests.empty());
    EXPECT_FALSE(host.HasVar("[qorBrindavelLastError]"));
}

TEST_F(HostInterface, EveryActionAnswersWithABooleanAndReportsFailures) {
    // Whatever an action does with empty parameters, it must come back with a
    // boolean and, when it says false, a message in LastError.
    CancelDialogsScope cancelDialogs;
    for (const auto& a : host.announcements()) {
        if (a.id == 0) continue;
        SCOPED_TRACE(a.name);
        host.ClearLog();
        host.SetVar("[qorBrindavelLastError]", "");
        std::vector<std::string> params(a.count, "");
        params[0] = "NoSuchRectangle";
        const bool ok = host.Exec(a.id, params);
        if (!ok) {
            EXPECT_FALSE(host.LastError().empty());
        }
    }
    EXPECT_EQ(host.Blocks().hostBlocksFreed, 0u) << "the plug-in freed a parameter block it does not own";
    EXPECT_EQ(host.Blocks().handedOverNotReleased, 0u);
}

TEST_F(HostInterface, HostStringsCrossTheBoundaryWithoutLeaks) {
    CancelDialogsScope cancelDialogs;
    for (int i = 0; i < 3; ++i)
        for (const auto& a : host.announcements())
            if (a.id) host.Exec(a.id, std::vector<std::string>(a.count, "Rect" + std::to_string(i)));
    const auto blocks = host.Blocks();
    EXPECT_EQ(blocks.handedOverNotReleased, 0u);
    EXPECT_EQ(blocks.pluginBlocksAlive, 0u);
    EXPECT_EQ(blocks.hostBlocksFreed, 0u);
}

TEST_F(HostInterface, MessagesOtherThanTwoAreIgnoredAndUnloadIsClean) {
    for (int32_t code : {0, 1, 3, -1, 2, 2}) host.Message(code);
    EXPECT_TRUE(host.log().empty());
    host.Unload();
    EXPECT_TRUE(host.Load());
    EXPECT_EQ(host.announcements().size(), 84u);
}

TEST_F(HostInterface, EditingReturnsFalseAndLeavesTheParametersAlone) {
    std::vector<std::string> params = {"Rect1", "a", "b", "[Var]"};
    for (int32_t id : {0, 74, -5}) EXPECT_FALSE(host.Edit(id, params));
    EXPECT_EQ(params, (std::vector<std::string>{"Rect1", "a", "b", "[Var]"}));
    EXPECT_EQ(host.Blocks().handedOverNotReleased, 0u);
}

// ---- the About box, driven from a timer inside its modal loop -------------

struct AboutSeen {
    bool found = false;
    HWND owner = nullptr;
    std::string title;
    std::vector<std::string> texts;
    LONG productHeight = 0, bodyHeight = 0;
    int okButtons = 0;
};
AboutSeen g_about;

BOOL CALLBACK CollectChild(HWND child, LPARAM) {
    char text[1024] = {};
    GetWindowTextA(child, text, sizeof text);
    char cls[64] = {};
    GetClassNameA(child, cls, sizeof cls);
    if (_stricmp(cls, "Button") == 0 && std::string(text) == "OK") ++g_about.okButtons;
    if (text[0]) g_about.texts.push_back(text);
    LOGFONTA font{};
    if (HFONT f = reinterpret_cast<HFONT>(SendMessageA(child, WM_GETFONT, 0, 0)))
        GetObjectA(f, sizeof font, &font);
    if (std::string(text) == "qorBrindavel") g_about.productHeight = std::abs(font.lfHeight);
    if (std::string(text) == "Fix Number: 000") g_about.bodyHeight = std::abs(font.lfHeight);
    return TRUE;
}

BOOL CALLBACK FindAbout(HWND window, LPARAM) {
    char title[64] = {};
    GetWindowTextA(window, title, sizeof title);
    if (std::string(title) != "About" || !IsWindowVisible(window)) return TRUE;
    g_about.found = true;
    g_about.title = title;
    g_about.owner = GetWindow(window, GW_OWNER);
    EnumChildWindows(window, CollectChild, 0);
    SendMessageA(GetDlgItem(window, IDOK), BM_CLICK, 0, 0);
    return FALSE;
}

void CALLBACK AboutTimer(HWND, UINT, UINT_PTR id, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), FindAbout, 0);
    if (g_about.found) KillTimer(nullptr, id);
}

TEST_F(HostInterface, AboutBoxShowsItsTextsAndClosesWithOk) {
    g_about = AboutSeen{};
    host.Activate();
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, AboutTimer);
    const DWORD start = GetTickCount();
    host.About(); // modal: returns once the timer pressed OK
    KillTimer(nullptr, timer);
    ASSERT_TRUE(g_about.found);
    EXPECT_LT(GetTickCount() - start, 10000u);
    EXPECT_EQ(g_about.owner, host.window());
    EXPECT_EQ(g_about.okButtons, 1);
    const std::vector<std::string> expected = {
        "qorBrindavel",
        "This plugin helps you enhance the ability of your application by adding \r\n"
        "HotKey Gadget, HotKey Manager, LocalKey Manager, DropDown, \r\n"
        "ListBox, SmartEdit, CheckListBox, RadioListBox, FileDragDrop, \r\n"
        "TrackBar/VolumeSlider and customized dialogues with much more enhanced \r\n"
        "features.",
        "Version Number: 1.3",
        "Fix Number: 000",
        "Year: 2022",
        "Support: support@qorbrindavel.example",
        "Website: ",
        "https://www.qorbrindavel.example",
        "OK",
    };
    EXPECT_EQ(g_about.texts, expected);
    EXPECT_GT(g_about.productHeight, 2 * g_about.bodyHeight) << "the product name is in large type";
    // Closed and destroyed: nothing titled About is left.
    g_about.found = false;
    EnumThreadWindows(GetCurrentThreadId(), FindAbout, 0);
    EXPECT_FALSE(g_about.found);
}

} // namespace
