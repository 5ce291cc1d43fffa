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
//   type TEXT                         real key presses
//   objectmsg RECT SUBCODE [WPARAM]   the host object message to a rectangle's control
//   message CODE                      nbMessage
//   print TEXT                        [Var] references replaced by their values
//   screenshot FILE.png               a PNG of the host window
//   edit qorAction FILE.png "p1", ... the action's editing dialog: a PNG of it, then Cancel
#include <iosfwd>
#include <string>
#include <vector>

#include "HostEmulator.h"

namespace qorhost {

class Publication {
public:
    Publication(HostEmulator& host, std::ostream& out) : host_(host), out_(out) {}

    // Parses and runs the file. Returns false on a syntax error (reported to out).
    bool RunFile(const std::string& path);
    bool RunLines(const std::vector<std::string>& lines);

    // Splits `"a", "b"` into texts with the host's [#N] codes decoded.
    static bool ParseParameters(const std::string& text, std::vector<std::string>& params);
    static std::string DecodeCodes(const std::string& text);

private:
    bool RunStatement(const std::string& line);
    std::string Substitute(const std::string& text) const;

    HostEmulator& host_;
    std::ostream& out_;
};

} // namespace qorhost
