#pragma once
// The window class that stands for each kind of template control, so that GetDlgItem
// can be cast to the control's own class (CButton, CListBox, ...).

#include <memory>

#include "framework/DialogTemplate.h"

class CWnd;

namespace framework {

std::unique_ptr<CWnd> MakeControlWindow(ControlKind kind);

}  // namespace framework
