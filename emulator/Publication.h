#pragma once
// A small publication file for trying actions by hand, one statement a line:
//   # comment
//   window WIDTH HEIGHT               size of the host window
//   rect NAME X Y WIDTH HEIGHT        a rectangle object
//   set [Var] = text                  a host variable
//   sub NAME ... end                  a subroutine (its lines run on GoSub "NAME")
//   qorAction "p1", "p2", ...         an action; [#13], [#10], [#34]... decode as the host does
//   pause MILLISECONDS                let the message loop run
//   click RECT X Y [right|double]     a real mouse click inside a rectangle
//   type TEXT                         real key presses (the host window active)
//   press SHORTCUT                    a real key combination (Ctrl+Alt+N, Shift+F5,
//                                     Escape) to whatever holds the focus
//   drop RECT X Y "path", ...         files dropped at a point of a rectangle
//   objectmsg RECT SUBCODE [WPARAM]   the host object message to a rectangle's control
//   message CODE                      nbMessage
//   print TEXT                        [Var] references replaced by their values
//   screenshot FILE.png               a PNG of the host window
//   edit qorAction FILE.png "p1", ... the action's editing dialog: a PNG of it, then Escape
//   dialog qorAction FILE.png "p1", ...  the action run (a system dialog, say):
//                                     a PNG of the dialog it shows, then Escape
//   log FILE                          from here on, every statement run and every
//                                     variable write and script line of the
//                                     plug-in, in order, into FILE
#include <fstream>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "HostEmulator.h"

namespace qorhost {

class Publication {
public:
    Publication(HostEmulator& host, std::ostream& out) : host_(host), out_(out) {}
    ~Publication();
    Publication(const Publication&) = delete;
    Publication& operator=(const Publication&) = delete;

    // Parses and runs the file. Returns false on a syntax error (reported to out).
    bool RunFile(const std::string& path);
    // `firstLine` numbers lines[0] in the log.
    bool RunLines(const std::vector<std::string>& lines, size_t firstLine = 1);

    // Splits `"a", "b"` into texts with the host's [#N] codes decoded.
    static bool ParseParameters(const std::string& text, std::vector<std::string>& params);
    static std::string DecodeCodes(const std::string& text);
    // The reverse for the log: control characters as [#N], so an entry is one line.
    static std::string EncodeCodes(const std::string& text);
    // A key combination's text ("Ctrl+Alt+N", "F5", "Escape") as a key and
    // its modifiers; false when it names no key.
    static bool ParseShortcut(const std::string& text, WORD& key, bool& shift, bool& ctrl, bool& alt);

private:
    bool RunStatement(const std::string& line);
    bool RunAction(const std::string& action, const std::string& parameters);
    // Runs `show`, which opens a modal dialog and tells how it ended;
    // photographs the dialog into path and closes it with a real Escape key
    // press. False when no picture was saved.
    bool PhotographDialog(const std::string& label, const std::string& path,
                          const std::function<std::string()>& show);
    std::string Substitute(const std::string& text) const;
    void Log(const std::string& text);

    HostEmulator& host_;
    std::ostream& out_;
    std::ofstream log_;
    int depth_ = 0; // subroutines running
};

} // namespace qorhost
