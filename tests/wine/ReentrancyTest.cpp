// A subroutine run by an event may pull the ground from under the code that
// ran it: it removes the control (or the manager's entry), recreates one on
// the same rectangle (the same key), or discards every control with nbMessage
// code 2. For every event of the track bar, the file drop target, the hot key
// field and both key managers, under each of those subroutines: the event runs
// its subroutine once, and the old control writes nothing after the
// subroutine is done.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "DropTestSupport.h"
#include "HostEmulator.h"
#include "KeyTestSupport.h"

using qorhost::HostEmulator;
using qorhost::LogKind;
using Strings = std::vector<std::string>;

namespace {

constexpr char kLevel[] = "QOR_TEST_MASTER_LEVEL";

struct Call {
    const char* action;
    Strings params;
};

struct World {
    HostEmulator& host;
    qortest::OtherWindow& other;
    const std::string& file;
    const std::string& folder;
};

struct Event {
    const char* name;
    std::vector<Call> make;   // creates the control (or entry) and points the event at "Act"
    Call remove;
    bool control;             // a control on Rect1 (not a manager's entry)
    std::function<void(World&)> fire;
};

// Press at x = 20, move right pixel by pixel to 30, release.
void Drag(HostEmulator& host) {
    ASSERT_TRUE(host.Activate());
    HWND form = host.ControlWindow("Rect1");
    host.MouseTo(form, 20, 15);
    host.LeftButton(true);
    for (int x = 21; x <= 30 && IsWindow(form); ++x) host.MouseTo(form, x, 15);
    host.LeftButton(false);
}

const Strings kTrackBar{"Rect1", "20", "16", "0", "100", "10", "0", "False", "[Pos]"};
const Strings kVolumeBar{"Rect1", "20", "16", "0", "100", "10", "0", "True", "[Pos]"};

const std::vector<Event>& Events() {
    static const std::vector<Event> events = {
        {"track bar changing",
         {{"qorCreateTrackBar", kTrackBar}, {"qorTrackBarCaptureEvents", {"Rect1", "Act", "", ""}}},
         {"qorRemoveTrackBar", {"Rect1"}},
         true,
         [](World& w) { Drag(w.host); }},
        {"track bar changed",
         {{"qorCreateTrackBar", kTrackBar}, {"qorTrackBarCaptureEvents", {"Rect1", "", "Act", ""}}},
         {"qorRemoveTrackBar", {"Rect1"}},
         true,
         [](World& w) { Drag(w.host); }},
        {"volume slider poll",
         {{"qorCreateTrackBar", kVolumeBar}, {"qorTrackBarCaptureEvents", {"Rect1", "None", "None", "Act"}}},
         {"qorRemoveTrackBar", {"Rect1"}},
         true,
         [](World& w) {
             SetEnvironmentVariableA(kLevel, "0.6");
             w.host.Pump(400);
         }},
        {"file drop",
         {{"qorCreateFileDragDrop", {"Rect1", "Drop", "clRed", "True", "[F1]", "[F2]", "[F3]", "Act"}}},
         {"qorRemoveFileDragDrop", {"Rect1"}},
         true,
         [](World& w) {
             ASSERT_TRUE(HostEmulator::DropFiles(w.host.Rectangle("Rect1"), 100, 40, Strings{w.file, w.folder}));
             w.host.Pump(50);
         }},
        {"hot key field",
         {{"qorCreateHotKey", {"Rect1", "", "Act", "[HK]"}}, {"qorSetHotKey", {"Rect1", "Ctrl+Shift+K"}}},
         {"qorRemoveHotKey", {"Rect1"}},
         true,
         [](World& w) {
             EXPECT_TRUE(w.other.Focus());
             w.host.KeyPress('K', true, true);
             w.host.Pump(50);
         }},
        {"global key manager",
         {{"qorAddHotKeyInManager", {"Ctrl+Alt+F7", ":Act"}}},
         {"qorDeleteHotKeyFromManager", {"Ctrl+Alt+F7"}},
         false,
         [](World& w) {
             EXPECT_TRUE(w.other.Focus());
             w.host.KeyPress(VK_F7, false, true, true);
             w.host.Pump(50);
         }},
        {"local key manager",
         {{"qorAddLocalKeyInManager", {"F8", ":Act"}}},
         {"qorDeleteLocalKeyFromManager", {"F8"}},
         false,
         [](World& w) {
             ASSERT_TRUE(w.host.Activate());
             w.host.KeyPress(VK_F8);
             w.host.Pump(50);
         }},
    };
    return events;
}

enum class Undo { Remove, Recreate, DiscardAll };
const std::pair<Undo, const char*> kUndos[] = {
    {Undo::Remove, "removes"}, {Undo::Recreate, "recreates"}, {Undo::DiscardAll, "sends nbMessage 2"}};

// `fresh`: the control writes variables of other names ("[New...]"), so that
// its writes tell apart from the old control's.
bool Make(HostEmulator& host, const Event& event, bool fresh = false) {
    for (const Call& call : event.make) {
        Strings params = call.params;
        for (std::string& p : params)
            if (fresh && p.size() > 1 && p[0] == '[') p = "[New" + p.substr(1);
        if (!host.Exec(call.action, params)) return false;
    }
    return true;
}

TEST(Reentrancy, AnEventSubroutineMayRemoveRecreateOrDiscardItsControl) {
    qortest::ScratchFolder scratch("qorreentry");
    const std::string file = scratch.File("dropped.txt"), folder = scratch.Folder("dropped");
    qortest::OtherWindow other;
    for (const Event& event : Events()) {
        for (const auto& [undo, what] : kUndos) {
            SCOPED_TRACE(std::string(event.name) + ": the subroutine " + what);
            SetEnvironmentVariableA(kLevel, "0.5");
            HostEmulator host;
            ASSERT_TRUE(host.Load());
            host.AddRectangle("Rect1", 20, 20, 120, 80);
            World world{host, other, file, folder};
            int runs = 0;
            size_t logAtReturn = 0;
            HWND old = nullptr;
            host.DefineSubroutine("Act", [&] {
                ++runs;
                old = host.ControlWindow("Rect1");
                switch (undo) {
                case Undo::Remove: EXPECT_TRUE(host.Exec(event.remove.action, event.remove.params)); break;
                case Undo::Recreate:
                    EXPECT_TRUE(host.Exec(event.remove.action, event.remove.params));
                    EXPECT_TRUE(Make(host, event, true)) << host.LastError();
                    break;
                case Undo::DiscardAll: host.Message(2); break;
                }
                logAtReturn = host.log().size();
            });
            ASSERT_TRUE(Make(host, event)) << host.LastError();
            host.ClearLog();
            event.fire(world);
            EXPECT_EQ(runs, 1);
            ASSERT_LE(logAtReturn, host.log().size());
            for (size_t i = logAtReturn; i < host.log().size(); ++i) {
                const qorhost::LogEntry& entry = host.log()[i];
                EXPECT_FALSE(entry.kind == LogKind::SetVariable && entry.name.rfind("[New", 0) != 0)
                    << "written after the subroutine: " << entry.name << "=" << entry.value;
            }
            if (event.control) {
                const bool recreated = undo == Undo::Recreate;
                EXPECT_EQ(host.ControlWindow("Rect1") != nullptr, recreated);
                if (recreated) {
                    EXPECT_NE(host.ControlWindow("Rect1"), old);
                }
            }
            // The plug-in goes on answering, and lets everything go.
            host.ClearLog();
            EXPECT_TRUE(host.Exec("qorListSize", {"Rect1", "[N]"}));
            host.Message(2);
            host.Unload();
            SetEnvironmentVariableA(kLevel, nullptr);
        }
    }
}

} // namespace
