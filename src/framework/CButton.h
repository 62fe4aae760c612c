#pragma once
// Push buttons, check boxes, radio buttons and owner-drawn buttons of a form.

#include "framework/CWnd.h"

class CButton : public CWnd {
public:
    static constexpr int BST_UNCHECKED = 0;
    static constexpr int BST_CHECKED = 1;

    int GetCheck() const;
    void SetCheck(int state);
    // True while the stylus holds the button down (an owner-drawn button paints it pushed).
    bool IsPushed() const;
};
