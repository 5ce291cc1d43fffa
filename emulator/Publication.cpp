#include "Publication.h"

#include <fstream>
#include <memory>
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

bool Publication::RunLines(const std::vector<std::string>& lines) {
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string line = Trim(lines[n]);
        if (line.empty() || line[0] == '#') continue;
        if (line.compare(0, 4, "sub ") == 0) {
            auto body = std::make_shared<std::vector<std::string>>();
            size_t end = n + 1;
            for (; end < lines.size() && Trim(lines[end]) != "end"; ++end) body->push_back(lines[end]);
            if (end == lines.size()) {
                out_ << "line " << n + 1 << ": sub without end\n";
                return false;
            }
            host_.DefineSubroutine(Trim(line.substr(4)), [this, body] { RunLines(*body); });
            n = end;
            continue;
        }
        if (!RunStatement(line)) {
            out_ << "line " << n + 1 << ": cannot read \"" << line << "\"\n";
            return false;
        }
    }
    return true;
}

namespace {

// The editing dialog of an "edit" statement, photographed and cancelled from a
// timer inside its modal loop.
struct DialogShot {
    std::string path, caption;
    bool saved = false, done = false;
};
DialogShot* g_shot = nullptr;

BOOL CALLBACK ShootDialog(HWND window, LPARAM) {
    char cls[32] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (std::string(cls) != "#32770" || !IsWindowVisible(window)) return TRUE;
    char caption[256] = {};
    GetWindowTextA(window, caption, sizeof caption);
    g_shot->caption = caption;
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    g_shot->saved = HostEmulator::SaveWindowScreenshot(window, g_shot->path);
    g_shot->done = true;
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return FALSE;
}

void CALLBACK DialogShotTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (g_shot && !g_shot->done) EnumThreadWindows(GetCurrentThreadId(), ShootDialog, 0);
}

} // namespace

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
    if (verb == "edit") {
        std::string action, path;
        if (!(words >> action >> path)) return false;
        std::vector<std::string> params;
        const std::string after = Trim(rest.substr(rest.find(path) + path.size()));
        if (!ParseParameters(after, params)) return false;
        const int32_t id = host_.ActionId(action);
        if (id < 0) return false;
        DialogShot shot;
        shot.path = path;
        g_shot = &shot;
        host_.Activate();
        const UINT_PTR timer = SetTimer(nullptr, 0, 300, DialogShotTimer);
        const bool ok = host_.Edit(id, params);
        KillTimer(nullptr, timer);
        g_shot = nullptr;
        out_ << "edit " << action << " -> \"" << shot.caption << "\" " << path << (shot.saved ? " saved" : " FAILED")
             << (ok ? ", confirmed" : ", cancelled") << "\n";
        return shot.saved;
    }
    if (verb.compare(0, 3, "qor") == 0) {
        std::vector<std::string> params;
        if (!ParseParameters(rest, params)) return false;
        const int32_t id = host_.ActionId(verb);
        if (id < 0) {
            out_ << verb << ": not an action of this plug-in\n";
            return false;
        }
        // Like the host, evaluate variable references in text parameters; a
        // parameter that names a variable (kind 6) arrives as the name.
        for (const Announcement& a : host_.announcements())
            if (a.id == id)
                for (size_t i = 0; i < params.size() && i < a.kinds.size(); ++i)
                    if (a.kinds[i] == 1) params[i] = Substitute(params[i]);
        const bool ok = host_.Exec(id, params);
        out_ << verb << " -> " << (ok ? "true" : "false");
        if (!ok) out_ << "  [qorBrindavelLastError] = " << host_.LastError();
        out_ << "\n";
        return true;
    }
    return false;
}

} // namespace qorhost
