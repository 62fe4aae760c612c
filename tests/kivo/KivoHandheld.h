#pragma once
// KIVO started in the test process on a temporary handheld where it is installed: the
// real application object, frame, view and alarm store, driven as the stylus and the
// other programs drive it.

#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "../alarms/InstalledHandheld.h"
#include "kivo/CAlarmListView.h"
#include "kivo/CTessaAlarmApp.h"

namespace kivo_tests {

struct Alarm {
    int hour = 7;
    int minute = 0;
    std::u16string description = u"Wake up";
    int active = 1;
    int days = 0x7F;
    bool refire = false;
};

class KivoHandheld : public alarm_tests::InstalledHandheld {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes "NUMBER.kivo"; its device path.
    std::u16string write(int number, const Alarm& alarm);
    static int active_of(const std::u16string& path);
    static bool has_refire(const std::u16string& path);
    static void set_time_format(const std::u16string& picture);

    // Starts KIVO as its program entry does after the single-instance rule.
    CAlarmListView& Start();
    // Ends it as closing its window does.
    void Stop();
    CAlarmListView& view() const;
    CAlarmListCtrl& list() const { return view().List(); }
    // Descriptions of the rows, top to bottom.
    std::vector<std::u16string> rows() const;
    // The stylus down and up at a point of the list, delivered to the main window as
    // `handheld tap` delivers it.
    void TapList(int x, int y);
    // The stylus put down at (x, from_y) of the list, moved to (x, to_y) and lifted.
    void DragList(int x, int from_y, int to_y);
    // A tap on the check box of the row shown at `visible_row`.
    void TapCheckBox(int visible_row) { TapList(20, visible_row * list().RowHeight() + 12); }

    static void RunQueued();
    static bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));

    std::unique_ptr<CTessaAlarmApp> app_;
};

}  // namespace kivo_tests
