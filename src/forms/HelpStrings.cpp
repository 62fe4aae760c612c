#include "forms/HelpStrings.h"

#include <array>
#include <utility>

namespace {

constexpr const char16_t* kAlarmOptionsHelp =
    u"Description: what the alarm is for; the reminder shows it.\r\n\r\n"
    u"Alarm time: tap the hour or the minute and type it, or step it with the arrows. On a "
    u"12-hour clock, stepping past 11 or 12 changes am to pm and back.\r\n\r\n"
    u"Occurs: the days the alarm goes off. All is every day; Once (no day) goes off at the "
    u"next time and then turns itself off.\r\n\r\n"
    u"Beam infrared signals: sends the alarm's infrared commands when it goes off. Settings "
    u"opens the list of commands, where signals are learned from your remote control and "
    u"pauses put between them.\r\n\r\n"
    u"Play sound: plays a WAV file. Settings chooses the file, its volume, how many times it "
    u"plays and the pause between plays.\r\n\r\n"
    u"More Options: how long an alarm nobody answers waits before it goes off again, and "
    u"whether it beams its commands again then.\r\n\r\n"
    u"Test Actions: beams the commands and plays the sound now; Stop ends the sound.\r\n\r\n"
    u"OK saves the alarm and turns it on; Cancel leaves it as it was.";

constexpr const char16_t* kSoundHelp =
    u"Choose the sound the alarm plays, how loud and how often.\r\n\r\n"
    u"Select a sound: the WAV file the alarm plays. Tap \"...\" to pick one anywhere on the "
    u"handheld: the folder box at the top opens the folders of the handheld, the list shows "
    u"the WAV files of the folder with their date and size. To put your own sounds on the "
    u"handheld, copy WAV files into \\My Documents or any folder.\r\n\r\n"
    u"Volume: 1 is the softest, 10 the loudest.\r\n\r\n"
    u"Play sound ... times: how many times the sound is played when the alarm goes off.\r\n\r\n"
    u"with ... sec pause between: the silence between two plays, in seconds.\r\n\r\n"
    u"Test Sound plays the sound now, exactly as the alarm will: the chosen number of times, "
    u"with the pauses, at the chosen volume. Stop ends the test; while it plays, the other "
    u"settings wait. When the handheld cannot play the file, it says why.\r\n\r\n"
    u"OK keeps the settings for the alarm, Cancel leaves them as they were.";

constexpr const char16_t* kMoreOptionsHelp =
    u"What the alarm does when nobody answers it.\r\n\r\n"
    u"Snooze: when you neither dismiss nor snooze the alarm, it goes off again after the time "
    u"chosen in \"Play again at ... later.\", and again after each such time, for up to an "
    u"hour.\r\n\r\n"
    u"Do not beam infrared signals: when checked, the alarm beams its infrared commands (to "
    u"switch on a radio or a TV, say) only the first time it goes off, not each time it goes "
    u"off again. Uncheck it to have the commands beamed every time.\r\n\r\n"
    u"OK keeps the settings for the alarm, Cancel leaves them as they were.";

constexpr std::array<std::pair<int, const char16_t*>, 3> kTexts{
    {{304, kAlarmOptionsHelp}, {305, kSoundHelp}, {306, kMoreOptionsHelp}}};

}  // namespace

std::u16string HelpStrings::Text(int id) {
    for (const auto& [number, text] : kTexts)
        if (number == id) return text;
    return {};
}
