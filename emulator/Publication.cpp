#include "Publication.h"

#include <cctype>
#include <fstream>
#include <memory>
#include <string>
#include <ostream>
#include <sstream>

namespace qorhost {

namespace {

std::string Trim(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    return s.substr(b, s.find_last_not_of(" \t\r") - b + 1);
}

} // namespace

std::string Publication::DecodeCodes(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "[#") == 0) {
            const size_t close = text.find(']', i + 2);
            const std::string digits = close == std::string::npos ? "" : text.substr(i + 2, close - i - 2);
            if (!digits.empty() && digits.size() <= 3 && digits.find_first_not_of("0123456789") == std::string::npos) {
                const int code = std::stoi(digits);
                if (code < 256) {
                    out += static_cast<char>(code);
                    i = close;
                    continue;
                }
            }
        }
        out += text[i];
    }
    return out;
}

std::string Publication::EncodeCodes(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (static_cast<unsigned char>(c) < 32) out += "[#" + std::to_string(static_cast<unsigned char>(c)) + "]";
        else out += c;
    }
    return out;
}

namespace {

bool SameText(const std::string& a, const char* b) {
    return _stricmp(a.c_str(), b) == 0;
}

struct NamedKey {
    const char* name;
    WORD key;
};
const NamedKey kNamedKeys[] = {
    {"Escape", VK_ESCAPE}, {"Esc", VK_ESCAPE},   {"Enter", VK_RETURN},    {"Return", VK_RETURN},
    {"Tab", VK_TAB},       {"Space", VK_SPACE},  {"Backspace", VK_BACK},  {"Delete", VK_DELETE},
    {"Del", VK_DELETE},    {"Insert", VK_INSERT}, {"Ins", VK_INSERT},     {"Home", VK_HOME},
    {"End", VK_END},       {"PageUp", VK_PRIOR}, {"PgUp", VK_PRIOR},      {"PageDown", VK_NEXT},
    {"PgDn", VK_NEXT},     {"Left", VK_LEFT},    {"Right", VK_RIGHT},     {"Up", VK_UP},
    {"Down", VK_DOWN},
};

} // namespace

bool Publication::ParseShortcut(const std::string& text, WORD& key, bool& shift, bool& ctrl, bool& alt) {
    shift = ctrl = alt = false;
    key = 0;
    size_t start = 0;
    for (;;) {
        const size_t plus = text.find('+', start + 1); // a final "+" is the key itself
        const std::string part = Trim(text.substr(start, plus == std::string::npos ? std::string::npos : plus - start));
        if (part.empty()) return false;
        if (plus == std::string::npos) {
            if (part.size() == 1 && std::isalpha(static_cast<unsigned char>(part[0]))) {
                key = static_cast<WORD>(std::toupper(static_cast<unsigned char>(part[0])));
                return true;
            }
            if (part.size() == 1) { // a digit or a sign, with Shift when the layout needs it
                const SHORT scan = VkKeyScanA(part[0]);
                if (scan == -1) return false;
                key = LOBYTE(scan);
                shift = shift || (HIBYTE(scan) & 1);
                return true;
            }
            if ((part[0] == 'F' || part[0] == 'f') && part.size() <= 3 &&
                part.find_first_not_of("0123456789", 1) == std::string::npos) {
                const int n = std::stoi(part.substr(1));
                if (n < 1 || n > 24) return false;
                key = static_cast<WORD>(VK_F1 + n - 1);
                return true;
            }
            for (const NamedKey& named : kNamedKeys)
                if (SameText(part, named.name)) {
                    key = named.key;
                    return true;
                }
            return false;
        }
        if (SameText(part, "Ctrl")) ctrl = true;
        else if (SameText(part, "Alt")) alt = true;
        else if (SameText(part, "Shift")) shift = true;
        else return false;
        start = plus + 1;
    }
}

bool Publication::ParseParameters(const std::string& text, std::vector<std::string>& params) {
    params.clear();
    size_t i = 0;
    auto skipBlanks = [&] { while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i; };
    skipBlanks();
    while (i < text.size()) {
        if (text[i] != '"') return false;
        const size_t close = text.find('"', i + 1);
        if (close == std::string::npos) return false;
        params.push_back(DecodeCodes(text.substr(i + 1, close - i - 1)));
        i = close + 1;
        skipBlanks();
        if (i < text.size()) {
            if (text[i] != ',') return false;
            ++i;
            skipBlanks();
        }
    }
    return true;
}

std::string Publication::Substitute(const std::string& text) const {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t close = text[i] == '[' ? text.find(']', i) : std::string::npos;
        if (close != std::string::npos && host_.HasVar(text.substr(i, close - i + 1))) {
            out += host_.Var(text.substr(i, close - i + 1));
            i = close;
        } else {
            out += text[i];
        }
    }
    return out;
}

bool Publication::RunFile(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        out_ << "cannot open " << path << "\n";
        return false;
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return RunLines(lines);
}

bool Publication::RunLines(const std::vector<std::string>& lines, size_t firstLine) {
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string line = Trim(lines[n]);
        if (line.empty() || line[0] == '#') continue;
        if (line.compare(0, 4, "sub ") == 0) {
            auto body = std::make_shared<std::vector<std::string>>();
            size_t end = n + 1;
            for (; end < lines.size() && Trim(lines[end]) != "end"; ++end) body->push_back(lines[end]);
            if (end == lines.size()) {
                out_ << "line " << firstLine + n << ": sub without end\n";
                return false;
            }
            const size_t bodyLine = firstLine + n + 1;
            host_.DefineSubroutine(Trim(line.substr(4)), [this, body, bodyLine] {
                ++depth_;
                RunLines(*body, bodyLine);
                --depth_;
            });
            n = end;
            continue;
        }
        Log("line " + std::to_string(firstLine + n) + ": " + line);
        if (!RunStatement(line)) {
            out_ << "line " << firstLine + n << ": cannot read \"" << line << "\"\n";
            return false;
        }
    }
    return true;
}

Publication::~Publication() {
    if (log_.is_open()) host_.onLogEntry = nullptr;
}

void Publication::Log(const std::string& text) {
    if (log_.is_open()) log_ << std::string(size_t(depth_) * 4, ' ') << text << "\n" << std::flush;
}

namespace {

// A modal dialog of an "edit" or "dialog" statement, photographed and closed
// from a timer inside its modal loop.
struct DialogShot {
    std::string path, caption;
    HWND dialog = nullptr;
    bool saved = false;
    int ticksSinceEscape = 0;
    bool forced = false; // Escape did not close it: cancelled by a command
};
DialogShot* g_shot = nullptr;

BOOL CALLBACK FindDialog(HWND window, LPARAM) {
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::string(cls) != "#32770" || !IsWindowVisible(window)) return TRUE;
    g_shot->dialog = window;
    return FALSE;
}

constexpr UINT kShotTick = 300;       // ms between looks at the dialog
constexpr int kEscapeWaitTicks = 10;  // ticks to wait for Escape to close it

void CALLBACK DialogShotTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (!g_shot) return;
    DialogShot& shot = *g_shot;
    if (!shot.dialog) {
        EnumThreadWindows(GetCurrentThreadId(), FindDialog, 0);
        if (!shot.dialog) return;
        char caption[256] = {};
        GetWindowTextA(shot.dialog, caption, sizeof caption);
        shot.caption = caption;
        RedrawWindow(shot.dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        shot.saved = HostEmulator::SaveWindowScreenshot(shot.dialog, shot.path);
        // The user's way out: Escape, read by the dialog's own modal loop.
        SetForegroundWindow(shot.dialog);
        HostEmulator::SendKeyPress(VK_ESCAPE);
        return;
    }
    if (++shot.ticksSinceEscape == kEscapeWaitTicks && IsWindow(shot.dialog)) {
        shot.forced = true;
        PostMessageA(shot.dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

} // namespace

bool Publication::PhotographDialog(const std::string& label, const std::string& path,
                                   const std::function<std::string()>& show) {
    DialogShot shot;
    shot.path = path;
    g_shot = &shot;
    host_.Activate();
    const UINT_PTR timer = SetTimer(nullptr, 0, kShotTick, DialogShotTimer);
    const std::string outcome = show();
    KillTimer(nullptr, timer);
    g_shot = nullptr;
    out_ << label << " -> \"" << shot.caption << "\" " << path << (shot.saved ? " saved" : " FAILED") << outcome
         << (shot.forced ? ", Escape did not close it: cancelled by command" : shot.dialog ? ", closed by Escape" : "")
         << "\n";
    return shot.saved;
}

bool Publication::RunAction(const std::string& action, const std::string& parameters) {
    std::vector<std::string> params;
    if (!ParseParameters(parameters, params)) return false;
    const int32_t id = host_.ActionId(action);
    if (id < 0) {
        out_ << action << ": not an action of this plug-in\n";
        return false;
    }
    // Like the host, evaluate variable references in text parameters; a
    // parameter that names a variable (kind 6) arrives as the name.
    for (const Announcement& a : host_.announcements())
        if (a.id == id)
            for (size_t i = 0; i < params.size() && i < a.kinds.size(); ++i)
                if (a.kinds[i] == 1) params[i] = Substitute(params[i]);
    const bool ok = host_.Exec(id, params);
    out_ << action << " -> " << (ok ? "true" : "false");
    if (!ok) out_ << "  [qorBrindavelLastError] = " << host_.LastError();
    out_ << "\n";
    return true;
}

bool Publication::RunStatement(const std::string& line) {
    std::istringstream words(line);
    std::string verb;
    words >> verb;
    const std::string rest = Trim(line.substr(verb.size()));
    if (verb == "window") {
        int w = 0, h = 0;
        if (!(words >> w >> h)) return false;
        SetWindowPos(host_.window(), nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
        return true;
    }
    if (verb == "rect") {
        std::string name;
        int x, y, w, h;
        if (!(words >> name >> x >> y >> w >> h)) return false;
        host_.AddRectangle(name, x, y, w, h);
        return true;
    }
    if (verb == "set") {
        const size_t eq = rest.find('=');
        if (eq == std::string::npos) return false;
        host_.SetVar(Trim(rest.substr(0, eq)), DecodeCodes(Trim(rest.substr(eq + 1))));
        return true;
    }
    if (verb == "pause") {
        int ms = 0;
        if (!(words >> ms)) return false;
        HostEmulator::Pump(ms);
        return true;
    }
    if (verb == "click") {
        std::string rect, how;
        int x, y;
        if (!(words >> rect >> x >> y)) return false;
        words >> how;
        HWND target = host_.Rectangle(rect);
        if (!target) return false;
        host_.Activate();
        host_.ClickAt(target, x, y, how == "right", how == "double");
        return true;
    }
    if (verb == "type") {
        host_.Activate();
        host_.TypeText(DecodeCodes(rest));
        return true;
    }
    if (verb == "objectmsg") {
        std::string rect;
        long long code = 0, wparam = 0;
        if (!(words >> rect >> code)) return false;
        words >> wparam;
        HWND control = host_.ControlWindow(rect);
        out_ << "objectmsg " << rect << " " << code << " -> "
             << (control ? std::to_string(host_.SendObjectMessage(control, code, wparam)) : "no control") << "\n";
        return true;
    }
    if (verb == "message") {
        int code = 0;
        if (!(words >> code)) return false;
        host_.Message(code);
        return true;
    }
    if (verb == "print") {
        out_ << Substitute(rest) << "\n";
        return true;
    }
    if (verb == "screenshot") {
        const bool ok = host_.SaveScreenshot(rest);
        out_ << "screenshot " << rest << (ok ? " saved" : " FAILED") << "\n";
        return ok;
    }
    if (verb == "edit" || verb == "dialog") {
        std::string action, path;
        if (!(words >> action >> path)) return false;
        const std::string after = Trim(rest.substr(rest.find(path) + path.size()));
        if (verb == "dialog") {
            bool read = true;
            const bool saved = PhotographDialog("dialog " + action, path, [&] {
                read = RunAction(action, after);
                return std::string();
            });
            return read && saved;
        }
        std::vector<std::string> params;
        if (!ParseParameters(after, params)) return false;
        const int32_t id = host_.ActionId(action);
        if (id < 0) return false;
        return PhotographDialog("edit " + action, path,
                                [&] { return std::string(host_.Edit(id, params) ? ", confirmed" : ", cancelled"); });
    }
    if (verb == "press") {
        WORD key = 0;
        bool shift = false, ctrl = false, alt = false;
        if (!ParseShortcut(rest, key, shift, ctrl, alt)) return false;
        host_.KeyPress(key, shift, ctrl, alt);
        HostEmulator::Pump(100);
        return true;
    }
    if (verb == "drop") {
        std::string rect;
        int x = 0, y = 0;
        if (!(words >> rect >> x >> y)) return false;
        std::string after;
        std::getline(words, after);
        std::vector<std::string> paths;
        HWND target = host_.Rectangle(rect);
        if (!target || !ParseParameters(Trim(after), paths)) return false;
        const bool ok = HostEmulator::DropFiles(target, x, y, paths);
        HostEmulator::Pump(100);
        out_ << "drop on " << rect << (ok ? "" : ": nothing there accepts files") << "\n";
        return true;
    }
    if (verb == "log") {
        log_.open(rest, std::ios::binary | std::ios::trunc); // lines end in LF
        if (!log_) return false;
        host_.onLogEntry = [this](const LogEntry& e) {
            Log(e.kind == LogKind::SetVariable ? "    " + e.name + " = " + EncodeCodes(e.value)
                                               : "    script: " + EncodeCodes(e.value));
        };
        return true;
    }
    if (verb.compare(0, 3, "qor") == 0) return RunAction(verb, rest);
    return false;
}

} // namespace qorhost
