#pragma once
// The up-down spinner of a form, with its buddy edit and wrap-around.

#include "framework/CWnd.h"

class CSpinButtonCtrl : public CWnd {
public:
    void SetRange(int lower, int upper);
    void SetPos(int position);
    int GetPos() const;
    CWnd* GetBuddy() const;
    // The edit the arrows step from now on (its number is read before each step); null
    // for none.
    void SetBuddy(CWnd* edit);
    void GetRange(int* lower, int* upper) const;
    // One tap of an arrow: +1 up, -1 down.
    void Step(int delta);
};
