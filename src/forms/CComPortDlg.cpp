#include "forms/CComPortDlg.h"

#include <mutex>
#include <optional>

#include "alarms/ComPortSetting.h"
#include "forms/CHelpDlg.h"
#include "forms/FormIds.h"
#include "forms/InfraredStrings.h"
#include "forms/CLearnCommandDlg.h"
#include "forms/SerialPorts.h"
#include "framework/DialogTemplate.h"
#include "framework/MessageBox.h"
#include "irdriver/IrDriverInstance.h"

namespace {

using framework::ControlKind;
using framework::DialogItem;
using framework::WS_VISIBLE;

constexpr const char16_t* kHint = u"Select the infrared port, or tap Autodetect. Learn and Test try it with a remote.";
constexpr ce::DWORD kList = WS_VISIBLE | framework::WS_BORDER | framework::WS_VSCROLL;
// Test holds this key for a hold-mode send: the stylus (VK_LBUTTON).
constexpr int kHoldKey = 1;
constexpr std::uint16_t kTestPasses = 3;

using Dlg = CComPortDlg;

constexpr DialogItem kPortraitItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Select COM Port", WS_VISIBLE, 8, 6, 130, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 141, 6, 10, 10},
    {Dlg::IDC_HINT, ControlKind::Static, kHint, WS_VISIBLE, 10, 24, 140, 20},
    {Dlg::IDC_PORTS, ControlKind::ListBox, u"", kList, 10, 46, 140, 64},
    {Dlg::IDC_AUTODETECT, ControlKind::PushButton, u"Autodetect...", WS_VISIBLE, 10, 114, 66, 14},
    {Dlg::IDC_HELP, ControlKind::PushButton, u"Help", WS_VISIBLE, 84, 114, 66, 14},
    {Dlg::IDC_LEARN, ControlKind::PushButton, u"Learn", WS_VISIBLE, 10, 132, 66, 14},
    {Dlg::IDC_TEST, ControlKind::PushButton, u"Test", WS_VISIBLE, 84, 132, 66, 14},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 10, 156, 66, 14},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 84, 156, 66, 14},
};
constexpr DialogItem kLandscapeItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Select COM Port", WS_VISIBLE, 8, 6, 180, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 194, 6, 10, 10},
    {Dlg::IDC_HINT, ControlKind::Static, kHint, WS_VISIBLE, 10, 22, 194, 20},
    {Dlg::IDC_PORTS, ControlKind::ListBox, u"", kList, 10, 44, 128, 72},
    {Dlg::IDC_AUTODETECT, ControlKind::PushButton, u"Autodetect...", WS_VISIBLE, 144, 44, 60, 13},
    {Dlg::IDC_LEARN, ControlKind::PushButton, u"Learn", WS_VISIBLE, 144, 59, 60, 13},
    {Dlg::IDC_TEST, ControlKind::PushButton, u"Test", WS_VISIBLE, 144, 74, 60, 13},
    {Dlg::IDC_HELP, ControlKind::PushButton, u"Help", WS_VISIBLE, 144, 89, 60, 13},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 40, 120, 60, 13},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 110, 120, 60, 13},
};
constexpr DialogItem kSquareItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Select COM Port", WS_VISIBLE, 8, 6, 130, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 141, 6, 10, 10},
    {Dlg::IDC_HINT, ControlKind::Static, kHint, WS_VISIBLE, 10, 22, 140, 20},
    {Dlg::IDC_PORTS, ControlKind::ListBox, u"", kList, 10, 44, 80, 72},
    {Dlg::IDC_AUTODETECT, ControlKind::PushButton, u"Autodetect...", WS_VISIBLE, 94, 44, 56, 13},
    {Dlg::IDC_LEARN, ControlKind::PushButton, u"Learn", WS_VISIBLE, 94, 59, 56, 13},
    {Dlg::IDC_TEST, ControlKind::PushButton, u"Test", WS_VISIBLE, 94, 74, 56, 13},
    {Dlg::IDC_HELP, ControlKind::PushButton, u"Help", WS_VISIBLE, 94, 89, 56, 13},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 20, 120, 56, 13},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 84, 120, 56, 13},
};

// The signal learned in the form, for its Test: one per program, dropped before each
// learn and when the form closes with OK.
std::optional<platform::card::signal_data>& TestSignal() {
    static std::optional<platform::card::signal_data> signal;
    return signal;
}

}  // namespace

void CComPortDlg::RegisterTemplates() {
    static std::once_flag once;
    std::call_once(once, [] {
        framework::DialogTemplates::Add({kPortrait, 160, 176, kPortraitItems});
        framework::DialogTemplates::Add({kLandscape, 213, 138, kLandscapeItems});
        framework::DialogTemplates::Add({kSquare, 160, 138, kSquareItems});
    });
}

CComPortDlg::CComPortDlg(CWnd* parent, std::u16string port)
    : CMainBaseDlg(parent, kPortrait, kLandscape, kSquare), port_(std::move(port)) {
    RegisterTemplates();
}

// A signal learned for a form the user cancelled goes with the form.
CComPortDlg::~CComPortDlg() { TestSignal().reset(); }

int CComPortDlg::RunSetup(CWnd* parent) {
    CComPortDlg form(parent, ComPortSetting::Read());
    const int result = form.DoModal();
    if (result == framework::IDOK) ComPortSetting::Write(form.Port());
    ReleaseIrDriver();
    return result;
}

bool CComPortDlg::OnInitDialog() {
    CMainBaseDlg::OnInitDialog();
    list_ = dynamic_cast<CListBox*>(GetDlgItem(IDC_PORTS));
    if (list_ == nullptr) return true;
    std::vector<std::u16string> lines;
    SerialPorts::EnumerateSerialPorts(lines);
    // The first line is "<Auto detect>", which the Autodetect button stands for here.
    for (std::size_t index = 1; index < lines.size(); ++index) list_->AddString(lines[index]);
    if (port_.empty()) port_ = SerialPorts::AutoDetectPort();
    // A line longer than the list scrolls sideways by itself.
    SelectPort(port_);
    return true;
}

void CComPortDlg::SelectPort(const std::u16string& port) {
    if (list_ == nullptr) return;
    for (int index = 0; index < list_->GetCount(); ++index) {
        if (list_->GetText(index).compare(0, port.size(), port) == 0) {
            list_->SetCurSel(index);
            return;
        }
    }
    list_->SetCurSel(-1);
}

std::u16string CComPortDlg::SelectedPort() const {
    const int selected = list_ != nullptr ? list_->GetCurSel() : CListBox::LB_ERR;
    return selected < 0 ? std::u16string() : SerialPorts::DeviceName(list_->GetText(selected));
}

bool CComPortDlg::OnCommand(ce::UINT id, ce::UINT code) {
    switch (static_cast<int>(id)) {
        case IDC_AUTODETECT: SelectPort(SerialPorts::AutoDetectPort()); return true;
        case IDC_LEARN: Learn(); return true;
        case IDC_TEST: Test(); return true;
        case IDC_HELP: {
            const HelpPage page = GetHelpPage();
            CHelpDlg help(this, page.title, page.text);
            help.DoModal();
            return true;
        }
        default: return CMainBaseDlg::OnCommand(id, code);
    }
}

// The learning form prompts for the remote's button, listens with a Cancel, and says
// what came of it.
void CComPortDlg::Learn() {
    CIrDrvr* driver = GetIrDriver();
    if (driver == nullptr) return;
    TestSignal().reset();
    const std::u16string port = SelectedPort();
    if (port.empty()) {
        ReleaseIrDriver();
        return;
    }
    driver->SetPortName(port.c_str());
    CLearnCommandDlg learning(this);
    if (learning.DoModal() == CLearnCommandDlg::kLearned) TestSignal() = learning.Learned();
    ReleaseIrDriver();
}

void CComPortDlg::Test() {
    const auto& signal = TestSignal();
    const std::u16string port = SelectedPort();
    if (port.empty()) return;
    if (!signal) {
        framework::MessageBox(this, kNothingLearned, u"KIVO", framework::MB_OK | framework::MB_ICONINFORMATION);
        return;
    }
    CIrDrvr* driver = GetIrDriver();
    if (driver == nullptr) return;
    driver->SetPortName(port.c_str());
    if (driver->SetSignal(signal->durations.data(), static_cast<std::uint16_t>(signal->durations.size()),
                          signal->repeat_start, signal->carrier_period) == kIrOk)
        driver->Send(kTestPasses, kHoldKey);
    ReleaseIrDriver();
}

void CComPortDlg::OnOK() {
    const std::u16string port = SelectedPort();
    if (port.empty()) return;
    port_ = port;
    TestSignal().reset();
    CMainBaseDlg::OnOK();
}

HelpPage CComPortDlg::GetHelpPage() const {
    return {u"Infrared Setup", std::u16string(InfraredStrings::Get(InfraredStrings::IDS_HELP_PORT))};
}
