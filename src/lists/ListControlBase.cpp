#include "lists/ListControlBase.h"

#include <numeric>

#include "core/ValueEncodings.h"
#include "core/WinValues.h"

namespace qor {

namespace {

// Posted by a list control to itself; WPARAM names the event.
constexpr UINT kListEventMessage = WM_APP + 0x3A1;

// The items at `indexes` into a native list, the room for them asked for
// first (the control then grows its storage once).
void InsertBatch(const DirectList& list, const NativeListMessages& messages,
                 const std::vector<ListItem>& items, const std::vector<int>& indexes) {
    size_t bytes = 0;
    for (int index : indexes) bytes += items[static_cast<size_t>(index)].text.size() + 1;
    list(messages.initStorage, indexes.size(), bytes);
    auto count = static_cast<int>(list(messages.count));
    for (int index : indexes) {
        const char* text = items[static_cast<size_t>(index)].text.c_str();
        list(messages.insert, index >= count ? static_cast<WPARAM>(-1) : index, reinterpret_cast<LPARAM>(text));
        ++count;
    }
}

} // namespace

ListControlBase::ListControlBase(ControlKind kind, const Params& params, const char* kindName)
    : AttachedControl(kind, params.at(0)), store_(*this, kindName) {
    sortedText_ = params.at(1);
    noDuplicatesText_ = params.at(2);
    settings_.itemsText = params.at(3);
    settings_.itemsMode = params.at(4);
    settings_.displayColumn = params.at(5);
    settings_.delimiter = params.at(6);
    Style = params.at(7);
    ResultMode = params.at(8);
    ResultVariable = params.at(9);
}

void ListControlBase::ReadFlags() {
    settings_.sorted = TextToFlag(sortedText_);
    settings_.noDuplicates = TextToFlag(noDuplicatesText_);
}

void ListControlBase::PostEvent(WPARAM event) {
    if (!IsDestroyed() && hwnd()) PostMessageA(hwnd(), kListEventMessage, event, 0);
}

void ListControlBase::InsertIntoNativeList(const DirectList& list, const NativeListMessages& messages,
                                           const std::vector<ListItem>& items, const std::vector<int>& indexes) {
    RedrawSuspended quiet(list.window(), list.proc());
    InsertBatch(list, messages, items, indexes);
}

void ListControlBase::FillNativeList(const DirectList& list, const NativeListMessages& messages,
                                     const std::vector<ListItem>& items) {
    RedrawSuspended quiet(list.window(), list.proc());
    list(messages.reset);
    std::vector<int> all(items.size());
    std::iota(all.begin(), all.end(), 0);
    InsertBatch(list, messages, items, all);
}

LRESULT ListControlBase::ColorChild(HDC dc) {
    if (!background_ && !fontGiven_) return 0;
    SetTextColor(dc, ToColorRef(fontColor_, GetSysColor(COLOR_WINDOWTEXT)));
    if (background_) {
        SetBkColor(dc, backgroundColor_);
        return reinterpret_cast<LRESULT>(background_.get());
    }
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
}

void ListControlBase::ApplyBackground(int32_t color) {
    backgroundColor_ = ToColorRef(color, GetSysColor(COLOR_WINDOW));
    background_.reset(CreateSolidBrush(backgroundColor_));
}

void ListControlBase::ApplyFontSpec(const FontSpec& spec, HWND target) {
    UniqueFont font = CreateFontFromSpec(spec);
    if (!font) return;
    fontColor_ = spec.color;
    fontGiven_ = true;
    SendMessageA(target, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    font_ = std::move(font); // the old font is released only after the control let go of it
}

LRESULT ListControlBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kListEventMessage:
        if (!IsDestroyed()) HandleEvent(wParam);
        return 0;
    case WM_DESTROY:
        ForgetChildren();
        break;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSTATIC:
        if (LRESULT brush = ColorChild(reinterpret_cast<HDC>(wParam))) return brush;
        break;
    }
    return AttachedControl::WindowProc(message, wParam, lParam);
}

} // namespace qor
