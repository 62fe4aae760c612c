#pragma once
// The help viewer's view: the page, filling the space above the menu bar.

#include "CHelpPage.h"
#include "framework/CView.h"

class CHelpView : public CView {
public:
    CHelpPage& page() { return page_; }

protected:
    int OnCreate() override;
    void OnSize(ce::UINT type, int cx, int cy) override;

private:
    CHelpPage page_;
};
