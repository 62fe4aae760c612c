#pragma once
// A one-line or multi-line edit of a form. Like the window system's edit it tells its
// form when it gets the focus (EN_SETFOCUS), so that a form can follow the field the
// user is in.

#include "framework/CWnd.h"

class CEdit : public CWnd {
public:
    // At most `characters` can be typed (or set); 0 lifts the limit.
    void SetLimitText(int characters);

protected:
    void OnSetFocus() override;
};
