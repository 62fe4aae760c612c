#include "forms/CMacroEditorDlg.h"

#include <mutex>

#include "alarms/AlarmFolder.h"
#include "alarms/ComPortSetting.h"
#include "forms/CCommandDlg.h"
#include "forms/CPauseDlg.h"
#include "forms/CommandListCodebase.h"
#include "forms/FormIds.h"
#include "forms/InfraredStrings.h"
#include "framework/DialogTemplate.h"
#include "framework/MessageBox.h"

namespace {

using framework::ControlKind;
using framework::DialogItem;
using framework::WS_VISIBLE;

constexpr const char16_t* kNothingSelected = u"None command selected";
constexpr const char16_t* kNoPort = u"Set COM port";
constexpr const char16_t* kCaption = u"KIVO";
constexpr const char16_t* kNothingToTest = u"Add a signal to the list, then tap Test.";
// The longest line text the list shows.
constexpr std::size_t kLineCharacters = 200;
constexpr ce::DWORD kList = WS_VISIBLE | framework::WS_BORDER | framework::WS_VSCROLL;

using Dlg = CMacroEditorDlg;

constexpr DialogItem kPortraitItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Infrared Signals", WS_VISIBLE, 8, 6, 120, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 141, 6, 10, 10},
    {Dlg::IDC_LIST, ControlKind::ListBox, u"", kList, 8, 24, 104, 118},
    {Dlg::IDC_IR, ControlKind::PushButton, u"IR", WS_VISIBLE, 116, 24, 36, 13},
    {Dlg::IDC_PAUSE, ControlKind::PushButton, u"Pause", WS_VISIBLE, 116, 39, 36, 13},
    {Dlg::IDC_EDIT, ControlKind::PushButton, u"Edit", WS_VISIBLE, 116, 54, 36, 13},
    {Dlg::IDC_COPY, ControlKind::PushButton, u"Copy", WS_VISIBLE, 116, 69, 36, 13},
    {Dlg::IDC_DELETE, ControlKind::PushButton, u"Delete", WS_VISIBLE, 116, 84, 36, 13},
    {Dlg::IDC_UP, ControlKind::PushButton, u"Up", WS_VISIBLE, 116, 99, 36, 13},
    {Dlg::IDC_DOWN, ControlKind::PushButton, u"Down", WS_VISIBLE, 116, 114, 36, 13},
    {Dlg::IDC_TEST, ControlKind::PushButton, u"Test", WS_VISIBLE, 116, 129, 36, 13},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 24, 150, 50, 14},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 86, 150, 50, 14},
};
constexpr DialogItem kLandscapeItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Infrared Signals", WS_VISIBLE, 8, 6, 170, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 194, 6, 10, 10},
    {Dlg::IDC_LIST, ControlKind::ListBox, u"", kList, 8, 24, 128, 96},
    {Dlg::IDC_IR, ControlKind::PushButton, u"IR", WS_VISIBLE, 140, 24, 32, 13},
    {Dlg::IDC_PAUSE, ControlKind::PushButton, u"Pause", WS_VISIBLE, 174, 24, 32, 13},
    {Dlg::IDC_EDIT, ControlKind::PushButton, u"Edit", WS_VISIBLE, 140, 39, 32, 13},
    {Dlg::IDC_COPY, ControlKind::PushButton, u"Copy", WS_VISIBLE, 174, 39, 32, 13},
    {Dlg::IDC_DELETE, ControlKind::PushButton, u"Delete", WS_VISIBLE, 140, 54, 32, 13},
    {Dlg::IDC_TEST, ControlKind::PushButton, u"Test", WS_VISIBLE, 174, 54, 32, 13},
    {Dlg::IDC_UP, ControlKind::PushButton, u"Up", WS_VISIBLE, 140, 69, 32, 13},
    {Dlg::IDC_DOWN, ControlKind::PushButton, u"Down", WS_VISIBLE, 174, 69, 32, 13},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 140, 90, 66, 13},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 140, 106, 66, 13},
};
constexpr DialogItem kSquareItems[] = {
    {IDC_CAPTION, ControlKind::Static, u"Infrared Signals", WS_VISIBLE, 8, 6, 120, 12},
    {IDC_HELP_BUTTON, ControlKind::Window, u"", WS_VISIBLE, 141, 6, 10, 10},
    {Dlg::IDC_LIST, ControlKind::ListBox, u"", kList, 8, 24, 84, 96},
    {Dlg::IDC_IR, ControlKind::PushButton, u"IR", WS_VISIBLE, 95, 24, 28, 13},
    {Dlg::IDC_PAUSE, ControlKind::PushButton, u"Pause", WS_VISIBLE, 125, 24, 28, 13},
    {Dlg::IDC_EDIT, ControlKind::PushButton, u"Edit", WS_VISIBLE, 95, 39, 28, 13},
    {Dlg::IDC_COPY, ControlKind::PushButton, u"Copy", WS_VISIBLE, 125, 39, 28, 13},
    {Dlg::IDC_DELETE, ControlKind::PushButton, u"Delete", WS_VISIBLE, 95, 54, 28, 13},
    {Dlg::IDC_TEST, ControlKind::PushButton, u"Test", WS_VISIBLE, 125, 54, 28, 13},
    {Dlg::IDC_UP, ControlKind::PushButton, u"Up", WS_VISIBLE, 95, 69, 28, 13},
    {Dlg::IDC_DOWN, ControlKind::PushButton, u"Down", WS_VISIBLE, 125, 69, 28, 13},
    {framework::IDOK, ControlKind::PushButton, u"OK", WS_VISIBLE, 95, 90, 58, 13},
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", WS_VISIBLE, 95, 106, 58, 13},
};

std::u16string LineText(const ItemData& item) { return item.DisplayName().substr(0, kLineCharacters); }

// A signal line's text: what the user typed, or "IR".
std::u16string SignalLineText(const std::u16string& comment) {
    return comment.empty() ? std::u16string(InfraredStrings::Get(InfraredStrings::IDS_SIGNAL_LINE)) : comment;
}

}  // namespace

void CMacroEditorDlg::RegisterTemplates() {
    static std::once_flag once;
    std::call_once(once, [] {
        framework::DialogTemplates::Add({kPortrait, 160, 170, kPortraitItems});
        framework::DialogTemplates::Add({kLandscape, 213, 124, kLandscapeItems});
        framework::DialogTemplates::Add({kSquare, 160, 124, kSquareItems});
    });
}

CMacroEditorDlg::CMacroEditorDlg(CWnd* parent, ItemDataArr& items)
    : CMainBaseDlg(parent, kPortrait, kLandscape, kSquare), items_(items), lines_(items) {
    RegisterTemplates();
}

bool CMacroEditorDlg::OnInitDialog() {
    CMainBaseDlg::OnInitDialog();
    list_.SubclassDlgItem(IDC_LIST, this);
    test_button_.AttachToControl(IDC_TEST, this, CTestButton::Callback(this, &CMacroEditorDlg::RunTest));
    ShowLines(-1);
    return true;
}

bool CMacroEditorDlg::OnCommand(ce::UINT id, ce::UINT code) {
    switch (static_cast<int>(id)) {
        case IDC_IR: AddSignal(); return true;
        case IDC_PAUSE: AddPause(); return true;
        case IDC_EDIT: EditLine(); return true;
        case IDC_COPY: CopyLine(); return true;
        case IDC_DELETE: DeleteLine(); return true;
        case IDC_UP: MoveLine(-1); return true;
        case IDC_DOWN: MoveLine(1); return true;
        case IDC_TEST: return true;  // the button ran its test as it was tapped
        default: return CMainBaseDlg::OnCommand(id, code);
    }
}

void CMacroEditorDlg::ShowLines(int selected) {
    list_.ResetContent();
    for (const ItemData& line : lines_) list_.AddString(LineText(line));
    list_.SetCurSel(selected);
}

int CMacroEditorDlg::SelectedLine() {
    const int selected = list_.GetCurSel();
    if (selected >= 0 && selected < static_cast<int>(lines_.size())) return selected;
    framework::MessageBox(this, kNothingSelected, kCaption, framework::MB_OK | framework::MB_ICONINFORMATION);
    return -1;
}

int CMacroEditorDlg::InsertionPoint() const {
    const int selected = list_.GetCurSel();
    const int count = static_cast<int>(lines_.size());
    return selected < 0 || selected >= count - 1 ? count : selected + 1;
}

void CMacroEditorDlg::InsertLine(int index, ItemData item) {
    lines_.insert(lines_.begin() + index, std::move(item));
    ShowLines(index);
}

void CMacroEditorDlg::ReplaceLine(int index, ItemData item) {
    lines_[static_cast<std::size_t>(index)] = std::move(item);
    ShowLines(index);
}

void CMacroEditorDlg::AddSignal() {
    CCommandDlg form(this, ItemData::kDefaultRepeat, ItemData::kDefaultDurationMs, u"");
    const int result = form.DoModal();
    if (result == -1) {
        EndDialog(-1);
        return;
    }
    if (result != framework::IDOK || form.Signal().durations.empty()) return;
    InsertLine(InsertionPoint(),
               ItemData::Signal(form.Signal(), form.RepeatMode(), form.DurationMs(), SignalLineText(form.Comment())));
}

void CMacroEditorDlg::AddPause() {
    CPauseDlg form(this, CPauseDlg::kNewPause);
    if (form.DoModal() != framework::IDOK) return;
    InsertLine(InsertionPoint(), ItemData::Pause(form.PauseMs()));
}

void CMacroEditorDlg::EditLine() {
    const int index = SelectedLine();
    if (index < 0) return;
    const ItemData& line = lines_[static_cast<std::size_t>(index)];
    if (line.kind == ItemData::kPause) {
        CPauseDlg form(this, line.pauseMs);
        if (form.DoModal() == framework::IDOK) ReplaceLine(index, ItemData::Pause(form.PauseMs()));
        return;
    }
    CCommandDlg form(this, line.repeatMode, line.durationMs, list_.GetText(index), line.SignalData());
    if (form.DoModal() != framework::IDOK || form.Signal().durations.empty()) return;
    ReplaceLine(index, ItemData::Signal(form.Signal(), form.RepeatMode(), form.DurationMs(), SignalLineText(form.Comment())));
}

void CMacroEditorDlg::CopyLine() {
    const int index = SelectedLine();
    if (index < 0) return;
    InsertLine(index + 1, lines_[static_cast<std::size_t>(index)]);
}

void CMacroEditorDlg::DeleteLine() {
    const int index = SelectedLine();
    if (index < 0) return;
    const int answer = framework::MessageBox(this, InfraredStrings::Get(InfraredStrings::IDS_DELETE_COMMAND), kCaption,
                                             framework::MB_YESNO | framework::MB_ICONQUESTION);
    if (answer != framework::IDYES) return;
    lines_.erase(lines_.begin() + index);
    ShowLines(-1);
}

void CMacroEditorDlg::MoveLine(int delta) {
    const int index = SelectedLine();
    if (index < 0) return;
    const int target = index + delta;
    if (target < 0 || target >= static_cast<int>(lines_.size())) return;
    std::swap(lines_[static_cast<std::size_t>(index)], lines_[static_cast<std::size_t>(target)]);
    ShowLines(target);
}

void CMacroEditorDlg::RunTest() {
    if (lines_.empty()) {
        framework::MessageBox(this, kNothingToTest, kCaption, framework::MB_OK | framework::MB_ICONINFORMATION);
        return;
    }
    const std::u16string port = ComPortSetting::Read();
    if (port.empty()) {
        framework::MessageBox(this, kNoPort, kCaption, framework::MB_OK | framework::MB_ICONWARNING);
        return;
    }
    CommandListCodebase::RunTest(lines_, AlarmFolder::Path(), port);
    // A line without a name was given one as it was stored.
    ShowLines(list_.GetCurSel());
}

void CMacroEditorDlg::OnOK() {
    items_ = lines_;
    CMainBaseDlg::OnOK();
}

HelpPage CMacroEditorDlg::GetHelpPage() const {
    return {u"List of Infrared Signals", std::u16string(InfraredStrings::Get(InfraredStrings::IDS_HELP_COMMAND_LIST))};
}
