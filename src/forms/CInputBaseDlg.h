#pragma once
// The base of the small forms that ask for one value (a pause, a command's options):
// the common look of CMainBaseDlg.

#include "forms/CMainBaseDlg.h"

class CInputBaseDlg : public CMainBaseDlg {
public:
    using CMainBaseDlg::CMainBaseDlg;
};
