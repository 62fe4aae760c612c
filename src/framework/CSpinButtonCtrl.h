#pragma once
// The up-down spinner of a form, with its buddy edit and wrap-around.

#include "framework/CWnd.h"

class CSpinButtonCtrl : public CWnd {
public:
    void SetRange(int lower, int upper);
    void SetPos(int position);
    int GetPos() const;
    CWnd* GetBuddy() const;
};
