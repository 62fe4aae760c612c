#pragma once
// The help form's text: read-only, several lines, scrolling.

#include "framework/CWnd.h"

class CHelpTextEdit : public CWnd {
public:
    // Takes over the form's edit control `id` and makes it read-only.
    bool AttachToControl(int id, CWnd* form);
};
