#pragma once
// The view of a single-document frame: a plain child window filling the frame's client
// area above the menu bar. Commands reach it before the frame.

#include "framework/CWnd.h"

class CView : public CWnd {};
