#include "kivo/CAlarmListView.h"

#include "alarms/ActiveIndex.h"
#include "alarms/AlarmChangeMarker.h"
#include "alarms/AlarmCopy.h"
#include "alarms/AlarmDeletion.h"
#include "alarms/AlarmEnumerator.h"
#include "alarms/AlarmFolder.h"
#include "alarms/AlarmRefresh.h"
#include "alarms/AlarmStoreLock.h"
#include "alarms/CAlarmDB.h"
#include "alarms/CAlarmScheduler.h"
#include "forms/CHelpDlg.h"
#include "framework/CDC.h"
#include "framework/InputDispatcher.h"
#include "framework/MessageBox.h"
#include "framework/Screen.h"
#include "irlib/card/database_registry.h"
#include "kivo/AlarmListSync.h"
#include "kivo/CAlarmOptionsDlg.h"
#include "kivo/CDeleteAlarmDlg.h"
#include "kivo/KivoIds.h"

namespace {

constexpr const char16_t* kCaption = u"KIVO";
constexpr const char16_t* kLoadFailed = u"Fail to load Alarm data";
constexpr const char16_t* kCannotRead = u"The alarm cannot be read now. Try again in a moment.";
// How often the view looks whether the alarms folder has changed.
constexpr ce::UINT kFollowStoreMs = 250;

struct ButtonDefinition {
    int id;
    RowArt::Picture symbol;
    const char16_t* label;
};
// In the order they stand under the list.
constexpr ButtonDefinition kButtons[] = {
    {IDC_ADD, RowArt::kAdd, u"Add"},          {IDC_EDIT, RowArt::kEdit, u"Edit"},
    {IDC_DELETE, RowArt::kDelete, u"Delete"}, {IDC_COPY, RowArt::kCopy, u"Copy"},
    {IDC_LIST_HELP, RowArt::kHelp, u"Help"},
};

platform::card::database_registry& codebases() { return platform::card::database_registry::instance(); }

}  // namespace

const char16_t* CAlarmListView::HelpText() {
    return u"The list shows every alarm: its time, the days it rings on (a day in a dark box is one of "
           u"them; no day at all means it rings once), its description, and a speaker or a remote "
           u"control when it plays a sound or beams infrared commands.\r\n\r\n"
           u"Tap the box at the left of an alarm to turn it on or off. Only one alarm of a given time "
           u"can be on.\r\n\r\n"
           u"Tap an alarm to select it, then:\r\n"
           u"Edit - change it.\r\n"
           u"Copy - make a copy of it, turned off, to change into a similar alarm.\r\n"
           u"Delete - remove it with its learned infrared signals, or just turn it off.\r\n"
           u"Add makes a new alarm.\r\n\r\n"
           u"When an alarm is due, the handheld wakes up, beams the alarm's commands, plays its "
           u"sound and shows a reminder until you dismiss or snooze it.";
}

CAlarmListView::CAlarmListView() {
    for (std::size_t index = 0; index < buttons_.size(); ++index)
        buttons_[index] = std::make_unique<CListButton>(kButtons[index].symbol, kButtons[index].label);
}

CAlarmListView::~CAlarmListView() {
    if (GetSafeHwnd() == nullptr && folder_.empty()) return;  // never created: nothing was shown
    ActiveIndex::Write(static_cast<ce::DWORD>(list_.Selected()));
}

int CAlarmListView::OnCreate() {
    folder_ = AlarmFolder::Path();
    codebases().set_codebase_folder(folder_);
    if (!list_.Create(this, {}, IDC_ALARM_LIST)) return -1;
    for (std::size_t index = 0; index < buttons_.size(); ++index)
        if (!buttons_[index]->Create(this, kButtons[index].id)) return -1;
    if (!clock_.Create(this, {}, IDC_CLOCK)) return -1;
    // Watched before the list is read: a file written meanwhile is then read again.
    store_watch_.Watch(folder_);
    LoadList();
    SetTimer(kFollowStoreTimer, kFollowStoreMs);
    return 0;
}

void CAlarmListView::OnTimer(ce::UINT_PTR id) {
    if (id == kFollowStoreTimer) FollowStore();
}

void CAlarmListView::FollowStore() {
    // Nothing changed: nothing is read, however many alarms there are.
    store_behind_.Add(store_watch_.Changed());
    if (!store_behind_.Any()) return;
    const AlarmListSync::Result result = AlarmListSync::Run(folder_, list_, store_behind_);
    if (result == AlarmListSync::Result::locked) return;  // kept for the next tick
    store_behind_.Clear();
    if (result == AlarmListSync::Result::changed) list_.Invalidate();
}

void CAlarmListView::LoadList() {
    // The store is held for the whole load: each row's own lock then finds the mutex open
    // and owned already, and a store held elsewhere costs one wait, not one per file. Not
    // had, the list is read once the store is free (FollowStore).
    AlarmStoreLock store;
    if (store.Lock()) {
        // The names are collected first, then read: reading sets the files' archive attribute.
        for (const auto& file : AlarmEnumerator::Files(folder_)) {
            AlarmChangeMarker::MarkSeen(folder_ + file.name, file.attributes);
            if (auto row = CAlarmItem::Read(folder_, file.name)) list_.InsertSorted(std::move(row));
        }
    } else {
        store_behind_.everything = true;
    }
    list_.Select(static_cast<int>(ActiveIndex::Read()));
}

void CAlarmListView::OnSize(ce::UINT type, int cx, int cy) {
    CView::OnSize(type, cx, cy);
    LayOut(cx, cy);
}

void CAlarmListView::LayOut(int cx, int cy) {
    if (cx <= 0 || cy <= 0) return;
    const auto screen = framework::Screen::current();
    const int margin = screen.ScaleX(5);
    if (cy >= cx) {
        // Portrait: the clock with its date on top, the buttons in the bottom strip.
        const int strip = screen.ScaleY(40);
        clock_.SetDateBeside(false);
        clock_.MoveWindow({0, 0, cx, screen.ScaleY(52)});
        list_.MoveWindow({margin, screen.ScaleY(56), cx - margin, cy - strip});
        const int top = cy - strip + screen.ScaleY(3);
        const int width = (cx - 2 * margin) / static_cast<int>(buttons_.size());
        for (std::size_t index = 0; index < buttons_.size(); ++index) {
            const int left = margin + static_cast<int>(index) * width;
            buttons_[index]->MoveWindow({left, top, left + width, cy - screen.ScaleY(3)});
        }
        return;
    }
    // Landscape: a lower clock with the date beside it over the list, the buttons in a column beside it.
    const int column = screen.ScaleX(58);
    const int clock_height = screen.ScaleY(40);
    clock_.SetDateBeside(true);
    clock_.MoveWindow({0, 0, cx - column - margin, clock_height});
    list_.MoveWindow({margin, clock_height + screen.ScaleY(3), cx - column - margin, cy - screen.ScaleY(3)});
    const int height = (cy - 2 * screen.ScaleY(3)) / static_cast<int>(buttons_.size());
    for (std::size_t index = 0; index < buttons_.size(); ++index) {
        const int top = screen.ScaleY(3) + static_cast<int>(index) * height;
        buttons_[index]->MoveWindow({cx - column, top, cx - screen.ScaleX(3), top + height});
    }
}

void CAlarmListView::OnPaint(CDC& dc) {
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(client, framework::GetSysColor(framework::COLOR_WINDOW));
}

bool CAlarmListView::OnCommand(ce::UINT id, ce::UINT /*code*/) {
    switch (static_cast<int>(id)) {
        case IDC_ADD: AddAlarm(); return true;
        case IDC_EDIT: EditSelected(); return true;
        case IDC_COPY: CopySelected(); return true;
        case IDC_DELETE: DeleteSelected(); return true;
        case IDC_LIST_HELP: ShowHelp(); return true;
        default: return false;
    }
}

ce::LRESULT CAlarmListView::WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) {
    if (message == WM_TOGGLE_ACTIVE) {
        ToggleActive(static_cast<int>(wParam));
        return 0;
    }
    return CView::WindowProc(message, wParam, lParam);
}

void CAlarmListView::AddAlarm() {
    CAlarmOptionsDlg form(this, folder_, {});
    if (form.DoModal() == framework::IDOK) AlarmAdded(form.FileName());
}

void CAlarmListView::EditSelected() {
    const CAlarmItem* row = list_.Row(list_.Selected());
    if (row == nullptr) return;
    CAlarmOptionsDlg form(this, folder_, row->file_name);
    if (!form.LoadAlarm()) {
        framework::MessageBox(this, kCannotRead, kCaption, framework::MB_OK | framework::MB_ICONWARNING);
        return;
    }
    if (form.DoModal() == framework::IDOK) AlarmEdited();
}

void CAlarmListView::ToggleActive(int index) {
    CAlarmItem* row = list_.Row(index);
    if (row == nullptr) return;
    {
        AlarmStoreLock lock;
        if (!lock.Lock()) return;
        CAlarmDB alarm;
        if (alarm.Open(folder_ + row->file_name) != CAlarmDB::kOk) return;
        // A pending repeat belongs to the alarm as it was armed before; it goes either way.
        if (alarm.SetActive(row->active != 0 ? 0 : 1) != CAlarmDB::kOk) return;
        alarm.RemoveTag(AlarmTag::RefireTime);
    }
    row->active = row->active != 0 ? 0 : 1;
    list_.Invalidate();
    CAlarmScheduler::Reschedule();
}

void CAlarmListView::CopySelected() {
    const CAlarmItem* source = list_.Row(list_.Selected());
    if (source == nullptr) return;
    const AlarmCopy::Result copy = AlarmCopy::Run(folder_, source->file_name, codebases());
    if (copy.status != AlarmCopy::Status::copied) {
        framework::MessageBox(this, AlarmCopy::MessageOf(copy.status), kCaption, framework::MB_OK | framework::MB_ICONERROR);
    } else if (auto row = CAlarmItem::Read(folder_, copy.file_name)) {
        list_.Select(list_.InsertSorted(std::move(row), list_.Selected() + 1));
        CAlarmScheduler::Reschedule();
    } else {
        framework::MessageBox(this, kLoadFailed, kCaption, framework::MB_OK | framework::MB_ICONERROR);
    }
    // Taps made while the files were copied were aimed at a list that has changed since.
    framework::InputDispatcher::DiscardQueuedInput();
}

void CAlarmListView::DeleteSelected() {
    const int index = list_.Selected();
    if (list_.Row(index) == nullptr) return;
    switch (CDeleteAlarmDlg(this).DoModal()) {
        case CDeleteAlarmDlg::kTurnOff:
            if (list_.Row(index) != nullptr && list_.Row(index)->active != 0) ToggleActive(index);
            break;
        case CDeleteAlarmDlg::kDelete:
            if (list_.Row(index) == nullptr || !AlarmDeletion::Run(folder_, list_.Row(index)->file_name, codebases())) break;
            list_.RemoveRow(index);
            CAlarmScheduler::Reschedule();
            break;
        default: break;
    }
}

void CAlarmListView::ShowHelp() {
    CHelpDlg help(this, u"Alarms List", HelpText());
    help.DoModal();
}

void CAlarmListView::RefreshActiveFlags() {
    AlarmRefresh::Run(folder_, list_);
    list_.Invalidate();
}

// The alarm is saved and armed whether or not its row can be read back now (the list
// follows the store and reads it later): it is registered in every case.
void CAlarmListView::AlarmAdded(const std::u16string& file_name) {
    if (auto row = CAlarmItem::Read(folder_, file_name)) list_.Select(list_.InsertSorted(std::move(row)));
    CAlarmScheduler::Reschedule();
}

void CAlarmListView::AlarmEdited() {
    CAlarmItem* selected = list_.Row(list_.Selected());
    const auto changed = selected != nullptr ? CAlarmItem::Read(folder_, selected->file_name) : nullptr;
    if (changed != nullptr) {
        selected->CopyFrom(*changed);
        list_.Select(list_.Resort(list_.Selected()));
    }
    CAlarmScheduler::Reschedule();
}
