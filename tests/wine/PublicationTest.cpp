// The publication runner behind scripts/demo: its log interleaves the
// statements with the plug-in's variable writes and script lines (a
// subroutine's statements inside the line that ran it), real key presses
// reach the plug-in's hooks, and an editing dialog is photographed and closed
// with Escape.
#include <gtest/gtest.h>

#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "HostEmulator.h"
#include "KeyTestSupport.h"
#include "Publication.h"

using qorhost::HostEmulator;
using qorhost::Publication;

namespace {

TEST(Publication, LogKeepsStatementsWritesAndScriptLinesInOrder) {
    HostEmulator host;
    ASSERT_TRUE(host.Load());
    ASSERT_TRUE(host.Activate());
    const std::string log = qortest::TempFile("qor_publication_log.txt");
    const std::string shot = qortest::TempFile("qor_publication_dialog.png");
    std::ostringstream out;
    {
        Publication publication(host, out);
        ASSERT_TRUE(publication.RunLines({
            "log " + log,
            "rect Volume 10 10 200 30",
            "sub Louder",
            "  qorTrackBarUpdate \"Volume\", \"80\", \"0\"",
            "end",
            "qorCreateTrackBar \"Volume\", \"20\", \"16\", \"0\", \"100\", \"40\", \"0\", \"False\", \"[Level]\"",
            "# F5 pressed in the host window runs Louder through the local key manager",
            "qorAddLocalKeyInManager \"F5\", \":Louder\"",
            "press F5",
            "edit qorRemoveTrackBar " + shot + " \"Volume\"",
        })) << out.str();
    }
    EXPECT_EQ(qortest::FileBytes(log),
              "line 2: rect Volume 10 10 200 30\n"
              "line 6: qorCreateTrackBar \"Volume\", \"20\", \"16\", \"0\", \"100\", \"40\", \"0\", \"False\", \"[Level]\"\n"
              "    [Level] = 40\n"
              "line 8: qorAddLocalKeyInManager \"F5\", \":Louder\"\n"
              "    [qorLocalKeyManagerList] = F5=:Louder[#13][#10]\n"
              "line 9: press F5\n"
              "    script: GoSub \"Louder\"\n"
              "    line 4: qorTrackBarUpdate \"Volume\", \"80\", \"0\"\n"
              "        [Level] = 80\n"
              "line 10: edit qorRemoveTrackBar " + shot + " \"Volume\"\n");
    EXPECT_NE(out.str().find("edit qorRemoveTrackBar -> \"RemoveTrackBar Properties\" " + shot +
                             " saved, cancelled, closed by Escape\n"),
              std::string::npos)
        << out.str();
    EXPECT_EQ(qortest::FileBytes(shot).compare(0, 4, "\x89PNG"), 0);
    EXPECT_FALSE(host.onLogEntry); // the log's writer went with the publication
}

TEST(Publication, ShortcutsNameAKeyAndItsModifiers) {
    struct Case {
        const char* text;
        bool ok;
        WORD key = 0;
        bool shift = false, ctrl = false, alt = false;
    } cases[] = {
        {"Ctrl+Alt+N", true, 'N', false, true, true},  {"shift+f5", true, VK_F5, true, false, false},
        {"Escape", true, VK_ESCAPE, false, false, false}, {"Alt+PgDn", true, VK_NEXT, false, false, true},
        {"ctrl+k", true, 'K', false, true, false},     {"Ctrl+7", true, '7', false, true, false},
        {"F24", true, VK_F24, false, false, false},     {"F25", false},
        {"Ctrl+", false},                               {"Hyper+A", false},
        {"", false},                                    {"Ctrl+Alt+Delete", true, VK_DELETE, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        WORD key = 0;
        bool shift = true, ctrl = true, alt = true;
        ASSERT_EQ(Publication::ParseShortcut(c.text, key, shift, ctrl, alt), c.ok);
        if (!c.ok) continue;
        EXPECT_EQ(key, c.key);
        EXPECT_EQ(shift, c.shift);
        EXPECT_EQ(ctrl, c.ctrl);
        EXPECT_EQ(alt, c.alt);
    }
}

} // namespace
