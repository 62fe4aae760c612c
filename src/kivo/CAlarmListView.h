#pragma once
// The main window's one view: the clock at the top, the alarm list, and the buttons
// Add, Edit, Delete, Copy and Help, laid out for a portrait or a landscape screen. It
// reads the alarm store directly and reschedules the wake-up after every change.

#include <array>
#include <memory>
#include <string>

#include "alarms/AlarmFolderWatch.h"
#include "framework/CView.h"
#include "kivo/CAlarmListCtrl.h"
#include "kivo/CClock.h"
#include "kivo/CListButton.h"

class CAlarmListView : public CView {
public:
    CAlarmListView();
    // Keeps the selected row for the next run.
    ~CAlarmListView() override;

    // Re-reads the Active flag of every alarm file Alert has changed since it was read.
    void RefreshActiveFlags();
    // What the alarm form reports once it has saved: a new alarm file, or the selected
    // alarm's file changed.
    void AlarmAdded(const std::u16string& file_name);
    void AlarmEdited();

    // The timer by which the list follows the alarm store's folder.
    static constexpr ce::UINT_PTR kFollowStoreTimer = 1;

    CAlarmListCtrl& List() { return list_; }
    CClock& Clock() { return clock_; }
    const std::u16string& Folder() const { return folder_; }
    static const char16_t* HelpText();

protected:
    int OnCreate() override;
    void OnSize(ce::UINT type, int cx, int cy) override;
    void OnPaint(CDC& dc) override;
    bool OnEraseBkgnd(CDC& /*dc*/) override { return true; }
    bool OnCommand(ce::UINT id, ce::UINT code) override;
    ce::LRESULT WindowProc(ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) override;
    void OnTimer(ce::UINT_PTR id) override;

private:
    // The list follows the store: what changed in the alarms folder shows within a second.
    void FollowStore();

    void LoadList();
    void LayOut(int cx, int cy);
    void ToggleActive(int index);
    void CopySelected();
    void DeleteSelected();
    void ShowHelp();
    void AddAlarm();
    void EditSelected();

    std::u16string folder_;
    CAlarmListCtrl list_;
    CClock clock_;
    std::array<std::unique_ptr<CListButton>, 5> buttons_;
    AlarmFolderWatch store_watch_;
    AlarmFolderWatch::Changes store_behind_;  // changes still to be read (the store was locked)
};
