#pragma once
// Builds an in-memory dialog template (DLGTEMPLATE + DLGITEMTEMPLATE records)
// for DialogBoxIndirectParam, so dialogs need no .rc layout.
#include <windows.h>
#include <string>
#include <vector>

namespace qor {

class DialogTemplate {
public:
    // Size in dialog units; the font is "MS Shell Dlg", 8 points, unless given.
    DialogTemplate(const std::string& title, short width, short height, DWORD style,
                   const char* fontFace = "MS Shell Dlg", WORD pointSize = 8);

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
