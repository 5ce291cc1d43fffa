#pragma once
// The FileDragDrop: a drop target for files and folders dragged from the
// system's file manager, attached to a host rectangle. It shows a captioned
// panel or stays invisible over the rectangle, writes the dropped paths into
// up to three host variables (files, folders, every item) and then runs its
// drop subroutine, which may remove or re-create the control.
#include <string>

#include "core/AttachedControl.h"
#include "core/WinHandles.h"
#include "host/PlugInUtils.h"

namespace qor {

class TFMCustomFileContainer : public AttachedControl {
public:
    // params: the eight parameters of qorCreateFileDragDrop.
    explicit TFMCustomFileContainer(const Params& params);

    std::string Caption;
    std::string TextColorText;
    int32_t TextColor = 0;
    bool ShowPanel = false;
    std::string FolderVariable;
    std::string FileVariable;
    std::string ItemVariable;
    std::string OnDropSub;

protected:
    void BuildContent() override;
    void AfterPlaced() override;
    void LayoutContent(int width, int height) override;
    void ClearMirroredVariables() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Lists the dropped paths, releases the drop, writes the variables and
    // runs the drop subroutine.
    void Drop(HDROP drop);
    // The panel, drawn off-screen and copied to dc in one step.
    void PaintPanel(HDC dc);
    // Without the panel: what the rectangle shows beneath the target.
    void PaintRectangleBeneath(HDC dc);
    void DrawPanel(HDC dc, RECT area);

    UniqueFont captionFont_;
};

// The attached FileDragDrop: the registry entry of its rectangle.
class TQORFileDragDrop final : public TFMCustomFileContainer {
public:
    using TFMCustomFileContainer::TFMCustomFileContainer;
};

bool qorCreateFileDragDrop(const Params& params);

} // namespace qor
