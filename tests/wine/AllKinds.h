#pragma once
// One control of every kind, as the tables over kinds create them.
#include <string>
#include <vector>

namespace qortest {

struct KindCase {
    const char* rect;
    const char* action;
    std::vector<std::string> params;
};

inline const std::vector<KindCase>& AllKinds() {
    static const std::vector<KindCase> kinds = {
        {"DD", "qorCreateDropDown", {"DD", "0", "0", "a\r\nb", "0", "0", "", "0", "1", "[DD]"}},
        {"DL", "qorCreateDropDown", {"DL", "0", "0", "a\r\nb", "0", "0", "", "1", "1", "[DL]"}},
        {"LB", "qorCreateListBox", {"LB", "0", "0", "a\r\nb", "0", "0", "", "1", "1", "[LB]"}},
        {"SE", "qorCreateSmartEdit", {"SE", "[SE]"}},
        {"CL", "qorCreateCheckListBox", {"CL", "1", "1", "a\r\nb", "0", "True", "[C]", "[U]", "[G]", "[S]"}},
        {"TB", "qorCreateTrackBar", {"TB", "20", "16", "0", "100", "50", "0", "False", "[T]"}},
        {"FD", "qorCreateFileDragDrop", {"FD", "Drop", "clRed", "True", "[F1]", "[F2]", "[F3]", ""}},
        {"HK", "qorCreateHotKey", {"HK", "", "", "[H]"}},
    };
    return kinds;
}

// Actions on the controls above that make windows after creation: the list
// box's search strip and the SmartEdit's re-created editor.
inline const std::vector<KindCase>& LateWindowActions() {
    static const std::vector<KindCase> actions = {
        {"LB", "qorListBoxSetProperties", {"LB", "True", "True", "", "clYellow"}},
        {"SE", "qorSmartEditSetProperties", {"SE", "", "False", "True", "", "", "clAqua", "3", "1"}},
    };
    return actions;
}

} // namespace qortest
