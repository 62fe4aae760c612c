#pragma once
// The help viewer's window: titled "Help", covering the screen, the page above a menu
// bar with Back and Close. The Back key goes back too, and Escape closes it.

#include "CHelpView.h"
#include "framework/CFrameWnd.h"

class CHelpFrame : public CFrameWnd {
public:
    static constexpr const char16_t* kTitle = u"Help";
    static constexpr ce::UINT kBack = 0x8001;
    static constexpr ce::UINT kClose = 0x8002;

    bool Create();
    CHelpPage& page() { return view_->page(); }

protected:
    bool OnCommand(ce::UINT id, ce::UINT code) override;
    void OnInitMenuPopup(int index) override;
    bool PreTranslateMessage(ce::MSG* message) override;

private:
    CHelpView* view_ = nullptr;  // owned by the frame
};
