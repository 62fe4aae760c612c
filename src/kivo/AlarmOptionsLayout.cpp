#include "kivo/AlarmOptionsLayout.h"

#include <mutex>

#include "forms/FormIds.h"
#include "framework/DialogTemplate.h"
#include "framework/WindowMessages.h"
#include "kivo/CAlarmOptionsDlg.h"

namespace {

using D = CAlarmOptionsDlg;
using framework::BS_PUSHLIKE;
using framework::ControlKind;
using framework::DialogItem;
using framework::ES_NUMBER;
using framework::SS_CENTER;
using framework::SS_RIGHT;
using framework::UDS_SETBUDDYINT;
using framework::UDS_WRAP;
using framework::WS_DISABLED;
using framework::WS_VISIBLE;

constexpr ce::DWORD kVisible = WS_VISIBLE;
constexpr ce::DWORD kDay = WS_VISIBLE | BS_PUSHLIKE;
constexpr ce::DWORD kSettings = WS_VISIBLE | WS_DISABLED;
constexpr ce::DWORD kNumber = WS_VISIBLE | ES_NUMBER;
constexpr ce::DWORD kSpinner = WS_VISIBLE | UDS_WRAP | UDS_SETBUDDYINT;

// The controls of every layout, in tab order; each table gives their rectangles.
#define ALARM_OPTIONS_ITEMS(P)                                                                        \
    {IDC_CAPTION, ControlKind::Static, u"Alarm Options", kVisible, P##_CAPTION},                     \
    {IDC_HELP_BUTTON, ControlKind::Window, u"", kVisible, P##_HELP},                                   \
    {D::IDC_DESCRIPTION_LABEL, ControlKind::Static, u"Description:", kVisible, P##_DESCRIPTION_LABEL}, \
    {D::IDC_DESCRIPTION, ControlKind::Edit, u"", kVisible, P##_DESCRIPTION},                         \
    {D::IDC_TIME_LABEL, ControlKind::Static, u"Alarm time:", kVisible, P##_TIME_LABEL},              \
    {D::IDC_HOUR, ControlKind::Edit, u"", kNumber, P##_HOUR},                                        \
    {D::IDC_COLON, ControlKind::Static, u":", kVisible | SS_CENTER, P##_COLON},                      \
    {D::IDC_MINUTE, ControlKind::Edit, u"", kNumber, P##_MINUTE},                                    \
    {D::IDC_SPIN, ControlKind::UpDown, u"", kSpinner, P##_SPIN},                                     \
    {D::IDC_AMPM, ControlKind::Static, u"am", kVisible, P##_AMPM},                                   \
    {D::IDC_OCCURS, ControlKind::GroupBox, u"Occurs:", kVisible, P##_OCCURS},                        \
    {D::IDC_SUNDAY, ControlKind::CheckBox, u"Su", kDay, P##_DAY(0)},                                 \
    {D::IDC_MONDAY, ControlKind::CheckBox, u"Mo", kDay, P##_DAY(1)},                                 \
    {D::IDC_MONDAY + 1, ControlKind::CheckBox, u"Tu", kDay, P##_DAY(2)},                             \
    {D::IDC_MONDAY + 2, ControlKind::CheckBox, u"We", kDay, P##_DAY(3)},                             \
    {D::IDC_MONDAY + 3, ControlKind::CheckBox, u"Th", kDay, P##_DAY(4)},                             \
    {D::IDC_MONDAY + 4, ControlKind::CheckBox, u"Fr", kDay, P##_DAY(5)},                             \
    {D::IDC_SATURDAY, ControlKind::CheckBox, u"Sa", kDay, P##_DAY(6)},                               \
    {D::IDC_ALL, ControlKind::CheckBox, u"All", kDay, P##_ALL},                                      \
    {D::IDC_ONCE, ControlKind::CheckBox, u"Once", kDay, P##_ONCE},                                   \
    {D::IDC_ACTIONS, ControlKind::GroupBox, u"Reminder actions:", kVisible, P##_ACTIONS},            \
    {D::IDC_BEAM, ControlKind::CheckBox, u"Beam infrared signals", kVisible, P##_BEAM},              \
    {D::IDC_BEAM_SETTINGS, ControlKind::PushButton, u"Settings", kSettings, P##_BEAM_SETTINGS},      \
    {D::IDC_PLAY_SOUND, ControlKind::CheckBox, u"Play sound", kVisible, P##_PLAY_SOUND},             \
    {D::IDC_SOUND_SETTINGS, ControlKind::PushButton, u"Settings", kSettings, P##_SOUND_SETTINGS},    \
    {D::IDC_MORE_OPTIONS, ControlKind::PushButton, u"More Options", kVisible, P##_MORE},             \
    {D::IDC_TEST_ACTIONS, ControlKind::PushButton, u"Test Actions", kVisible, P##_TEST},             \
    {D::IDC_STOP, ControlKind::PushButton, u"Stop", 0, P##_TEST},                                    \
    {framework::IDOK, ControlKind::PushButton, u"OK", kVisible, P##_OK},                             \
    {framework::IDCANCEL, ControlKind::PushButton, u"Cancel", kVisible, P##_CANCEL}

// Portrait, 160 units across: one column.
#define PORTRAIT_CAPTION 8, 5, 120, 12
#define PORTRAIT_HELP 140, 5, 12, 12
#define PORTRAIT_DESCRIPTION_LABEL 8, 22, 46, 10
#define PORTRAIT_DESCRIPTION 54, 20, 98, 12
#define PORTRAIT_TIME_LABEL 8, 37, 46, 10
#define PORTRAIT_HOUR 54, 35, 16, 12
#define PORTRAIT_COLON 70, 36, 5, 10
#define PORTRAIT_MINUTE 75, 35, 16, 12
#define PORTRAIT_SPIN 92, 35, 10, 12
#define PORTRAIT_AMPM 105, 37, 16, 10
#define PORTRAIT_OCCURS 6, 50, 148, 46
#define PORTRAIT_DAY(n) 10 + 20 * (n), 60, 19, 13
#define PORTRAIT_ALL 10, 77, 38, 13
#define PORTRAIT_ONCE 50, 77, 38, 13
#define PORTRAIT_ACTIONS 6, 99, 148, 48
#define PORTRAIT_BEAM 10, 111, 98, 11
#define PORTRAIT_BEAM_SETTINGS 110, 110, 40, 13
#define PORTRAIT_PLAY_SOUND 10, 129, 98, 11
#define PORTRAIT_SOUND_SETTINGS 110, 128, 40, 13
#define PORTRAIT_MORE 10, 152, 68, 14
#define PORTRAIT_TEST 82, 152, 68, 14
#define PORTRAIT_OK 22, 172, 54, 15
#define PORTRAIT_CANCEL 84, 172, 54, 15

// Landscape, 213 units across: the alarm on the left, what it does on the right.
#define LANDSCAPE_CAPTION 8, 5, 170, 12
#define LANDSCAPE_HELP 193, 5, 12, 12
#define LANDSCAPE_DESCRIPTION_LABEL 8, 21, 60, 10
#define LANDSCAPE_DESCRIPTION 8, 31, 96, 12
#define LANDSCAPE_TIME_LABEL 8, 48, 39, 10
#define LANDSCAPE_HOUR 47, 46, 14, 12
#define LANDSCAPE_COLON 61, 47, 4, 10
#define LANDSCAPE_MINUTE 65, 46, 14, 12
#define LANDSCAPE_SPIN 80, 46, 9, 12
#define LANDSCAPE_AMPM 92, 48, 14, 10
#define LANDSCAPE_OCCURS 5, 60, 102, 50
#define LANDSCAPE_DAY(n) 8 + 14 * (n), 70, 13, 13
#define LANDSCAPE_ALL 8, 88, 44, 13
#define LANDSCAPE_ONCE 56, 88, 44, 13
#define LANDSCAPE_ACTIONS 110, 19, 98, 71
#define LANDSCAPE_BEAM 114, 32, 92, 11
#define LANDSCAPE_BEAM_SETTINGS 158, 44, 46, 13
#define LANDSCAPE_PLAY_SOUND 114, 60, 92, 11
#define LANDSCAPE_SOUND_SETTINGS 158, 72, 46, 13
#define LANDSCAPE_MORE 110, 93, 48, 14
#define LANDSCAPE_TEST 161, 93, 47, 14
#define LANDSCAPE_OK 8, 116, 46, 15
#define LANDSCAPE_CANCEL 58, 116, 46, 15

// Square, 160 by about 150 units: the portrait column, closer together.
#define SQUARE_CAPTION 8, 4, 120, 12
#define SQUARE_HELP 140, 4, 12, 12
#define SQUARE_DESCRIPTION_LABEL 8, 20, 46, 10
#define SQUARE_DESCRIPTION 54, 18, 98, 12
#define SQUARE_TIME_LABEL 8, 33, 46, 10
#define SQUARE_HOUR 54, 31, 16, 12
#define SQUARE_COLON 70, 32, 5, 10
#define SQUARE_MINUTE 75, 31, 16, 12
#define SQUARE_SPIN 92, 31, 10, 12
#define SQUARE_AMPM 105, 33, 16, 10
#define SQUARE_OCCURS 6, 44, 148, 40
#define SQUARE_DAY(n) 10 + 20 * (n), 53, 19, 12
#define SQUARE_ALL 10, 68, 38, 12
#define SQUARE_ONCE 50, 68, 38, 12
#define SQUARE_ACTIONS 6, 85, 148, 38
#define SQUARE_BEAM 10, 95, 98, 11
#define SQUARE_BEAM_SETTINGS 110, 94, 40, 12
#define SQUARE_PLAY_SOUND 10, 109, 98, 11
#define SQUARE_SOUND_SETTINGS 110, 108, 40, 12
#define SQUARE_MORE 5, 127, 47, 14
#define SQUARE_TEST 53, 127, 45, 14
#define SQUARE_OK 100, 127, 23, 14
#define SQUARE_CANCEL 124, 127, 31, 14

constexpr DialogItem kPortraitItems[] = {ALARM_OPTIONS_ITEMS(PORTRAIT)};
constexpr DialogItem kLandscapeItems[] = {ALARM_OPTIONS_ITEMS(LANDSCAPE)};
constexpr DialogItem kSquareItems[] = {ALARM_OPTIONS_ITEMS(SQUARE)};

}  // namespace

void AlarmOptionsLayout::Register() {
    static std::once_flag once;
    std::call_once(once, [] {
        framework::DialogTemplates::Add({CAlarmOptionsDlg::kPortrait, 160, 192, kPortraitItems});
        framework::DialogTemplates::Add({CAlarmOptionsDlg::kLandscape, 213, 136, kLandscapeItems});
        framework::DialogTemplates::Add({CAlarmOptionsDlg::kSquare, 160, 146, kSquareItems});
    });
}
