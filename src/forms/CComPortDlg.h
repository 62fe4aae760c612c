#pragma once
// "Select COM Port": the serial port KIVO beams and learns through. The list shows the
// handheld's COM drivers; Autodetect selects the one KIVO proposes; Learn and Test try
// the selected port with a remote (a signal learned here is kept only while the form
// is open); OK keeps the selected port's device name, and does nothing without one.
//
// RunSetup is Preferences > Infrared Setup: it opens the form on the stored port and
// stores the choice only when the user taps OK.

#include <string>

#include "forms/CMainBaseDlg.h"
#include "framework/CListBox.h"
#include "irlib/card/signal_record.h"

class CComPortDlg : public CMainBaseDlg {
public:
    static constexpr int kPortrait = 518;
    static constexpr int kLandscape = 519;
    static constexpr int kSquare = 520;

    static constexpr int IDC_LEARN = 1028;
    static constexpr int IDC_PORTS = 2033;
    static constexpr int IDC_AUTODETECT = 2034;
    static constexpr const char16_t* kNothingLearned =
        u"Tap Learn and hold a button of the remote first: Test sends what was learned.";
    static constexpr int IDC_TEST = 2349;
    static constexpr int IDC_HELP = 2351;
    static constexpr int IDC_HINT = 2352;

    // `port` is the current device name ("COM3:"); empty proposes the detected one.
    CComPortDlg(CWnd* parent, std::u16string port);
    ~CComPortDlg() override;

    static void RegisterTemplates();
    // The menu command: "ComPort" read, the form run, "ComPort" written on OK; the
    // driver is released in every case. The form's result.
    static int RunSetup(CWnd* parent);

    // The chosen device name after OK.
    const std::u16string& Port() const { return port_; }

protected:
    bool OnInitDialog() override;
    bool OnCommand(ce::UINT id, ce::UINT code) override;
    void OnOK() override;
    HelpPage GetHelpPage() const override;

private:
    // Selects the first line that starts with `port` (case as typed); none when no line does.
    void SelectPort(const std::u16string& port);
    std::u16string SelectedPort() const;
    void Learn();
    void Test();

    std::u16string port_;
    CListBox* list_ = nullptr;
};
