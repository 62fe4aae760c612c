#pragma once
// "About KIVO": the program's name, its version and what it is, on the common form base,
// laid out for the screen's shape (templates 100, 101, 102). OK or Escape closes it.

#include <string>

#include "forms/CMainBaseDlg.h"
#include "framework/CFont.h"

class CAboutDlg : public CMainBaseDlg {
public:
    static constexpr int kPortrait = 100;
    static constexpr int kLandscape = 101;
    static constexpr int kSquare = 102;
    static constexpr int IDC_NAME = 2200;
    static constexpr int IDC_VERSION = 2201;
    static constexpr int IDC_PURPOSE = 2202;

    explicit CAboutDlg(CWnd* parent);

    // Adds the form's three templates to the program's (once).
    static void RegisterTemplates();
    // "Version 0.1": the version the build gives the program.
    static std::u16string VersionText();

protected:
    bool OnInitDialog() override;

private:
    CFont name_font_;
};
