#pragma once
// A one-line or multi-line edit of a form. Like the window system's edit it tells its
// form when it gets the focus (EN_SETFOCUS), so that a form can follow the field the
// user is in.

#include "framework/CWnd.h"

class CEdit : public CWnd {
public:
    // At most `characters` can be typed (or set); 0 lifts the limit.
    void SetLimitText(int characters);
    // Selects the whole text once the tap that focused the field is over, so the next
    // key typed replaces it (a full two-digit field would take no digit otherwise).
    void SelectAllAfterTap();

protected:
    void OnSetFocus() override;
};
