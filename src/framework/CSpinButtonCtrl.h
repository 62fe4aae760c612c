#pragma once
// The up-down spinner of a form, with its buddy edit and wrap-around.

#include "framework/CWnd.h"

class CSpinButtonCtrl : public CWnd {
public:
    void SetRange(int lower, int upper);
    void SetPos(int position);
    int GetPos() const;
    CWnd* GetBuddy() const;
    // The edit whose number the spinner sets from now on (a spinner shared by two fields).
    void SetBuddy(CWnd* buddy);
};
