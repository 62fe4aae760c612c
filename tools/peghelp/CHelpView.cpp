#include "CHelpView.h"

int CHelpView::OnCreate() { return page_.Create(this) ? 0 : -1; }

void CHelpView::OnSize(ce::UINT /*type*/, int cx, int cy) { page_.MoveWindow({0, 0, cx, cy}); }
