#pragma once
// Builds an in-memory dialog template (DLGTEMPLATE + DLGITEMTEMPLATE records)
// for DialogBoxIndirectParam, so dialogs need no .rc layout.
#include <windows.h>
#include <string>
#include <vector>

namespace qor {

class DialogTemplate {
public:
    // Size in dialog units, which follow the font and so the system's DPI;
    // the font is the system's message font unless given.
    DialogTemplate(const std::string& title, short width, short height, DWORD style,
                   const char* fontFace = nullptr, WORD pointSize = 0);

    void AddControl(const char* windowClass, const std::string& text, WORD id, short x, short y,
                    short width, short height, DWORD style, DWORD exStyle = 0);
    void AddStatic(const std::string& text, WORD id, short x, short y, short width, short height,
                   DWORD style = SS_LEFT);
    void AddButton(const std::string& text, WORD id, short x, short y, short width, short height,
                   DWORD style = BS_PUSHBUTTON);

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    void Align();
    void AddText(const std::string& text);

    std::vector<WORD> words_;
    WORD itemCount_ = 0;
};

} // namespace qor
