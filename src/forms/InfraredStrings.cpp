#include "forms/InfraredStrings.h"

#include <algorithm>
#include <iterator>

namespace {

struct Entry {
    int id;
    std::u16string_view text;
};

constexpr Entry kTable[] = {
    {InfraredStrings::IDS_HELP_COMMAND_LIST,
     u"These are the infrared commands the alarm beams when it goes off, from the top of the list "
     u"to the bottom: signals learned from your equipment's remote controls, and pauses that give "
     u"the equipment time to wake up between them.\r\n\r\n"
     u"IR - learn a new signal. It is added after the selected line (or at the end).\r\n"
     u"Pause - add a pause of up to 9.9 seconds after the selected line.\r\n"
     u"Edit - change the selected signal or pause.\r\n"
     u"Copy - put a copy of the selected line just below it.\r\n"
     u"Delete - remove the selected line (you are asked first).\r\n"
     u"Up, Down - move the selected line one place.\r\n"
     u"Test - beam the whole list now, pauses included, exactly as the alarm will.\r\n\r\n"
     u"For example, to switch on a TV and turn its volume up: the TV's Power signal, a pause of "
     u"3 seconds while it starts, then its Volume Up signal repeated for 2 seconds.\r\n\r\n"
     u"Test needs the infrared port chosen in Preferences > Infrared Setup. Tap OK to keep the "
     u"list, Cancel to leave the alarm's commands as they were."},
    {InfraredStrings::IDS_HELP_SIGNAL,
     u"Type a short name for the signal (\"TV on\", \"Volume up\"); it is the line shown in the list. "
     u"Without a name the line is called IR.\r\n\r\n"
     u"Learn: point the remote control at the handheld's infrared window, about 10 cm away, tap "
     u"Learn, then press and hold the remote's button until the handheld beeps. Release the "
     u"button after the beep. If nothing is received for 20 seconds, learning stops with "
     u"\"Time out!\"; try again closer, or from another angle.\r\n\r\n"
     u"Test: beams the learned signal at your equipment as the alarm will, so you can check that "
     u"it works before you keep it.\r\n\r\n"
     u"Advanced: how many times the signal is sent, or for how long (for example to keep a "
     u"volume button pressed).\r\n\r\n"
     u"OK keeps the signal; it can only be tapped once a signal has been learned."},
    {InfraredStrings::IDS_HELP_OPTIONS,
     u"How long the signal is sent when the alarm beams it.\r\n\r\n"
     u"Default (recommended): as the remote sends it for a short press. Most equipment wants "
     u"nothing else.\r\n\r\n"
     u"Repeat ... times: the signal is sent that many times in a row (1 to 99), for buttons that "
     u"must be pressed several times, like a channel or volume step.\r\n\r\n"
     u"Repeat for ... seconds: the signal is repeated for that time (0.1 to 9.9 seconds), as if "
     u"the remote's button were held down, for example to turn the volume up by a lot.\r\n\r\n"
     u"Tap the number you want to change, then use the up/down arrows; for seconds, tap the "
     u"whole seconds left of the point or the tenths right of it."},
    {InfraredStrings::IDS_HELP_PAUSE,
     u"A pause waits before the next command of the list is beamed, for example while a TV or "
     u"receiver starts up after being switched on.\r\n\r\n"
     u"The pause lasts from 0.1 to 9.9 seconds. Tap the whole seconds (left of the point) or the "
     u"tenths (right of the point), then use the up/down arrows to change that number. For a "
     u"longer wait, put two pauses one after the other.\r\n\r\n"
     u"A pause of 0.0 seconds cannot be kept."},
    {InfraredStrings::IDS_HELP_PORT,
     u"Choose the serial port of the handheld's infrared window, the one KIVO beams its signals "
     u"through and learns them from. It is usually called Infrared Port, IrDA or Raw IR.\r\n\r\n"
     u"Autodetect selects the port the handheld's own drivers name as the infrared one. When the "
     u"handheld's beam receiving is on, it holds that port, and another port is proposed.\r\n\r\n"
     u"To check a port: select it, tap Learn and press and hold a button of a remote control "
     u"pointed at the handheld until \"Learned with success!\" is shown, then point the handheld at "
     u"the equipment and tap Test: the equipment should do what the button does. If learning "
     u"times out, try another port.\r\n\r\n"
     u"If no port works, turn off beam receiving (Settings, Connections, Beam) and try again.\r\n\r\n"
     u"OK keeps the selected port for learning, testing and the alarms."},
    {InfraredStrings::IDS_DELETE_COMMAND, u"Delete the selected command?"},
    {InfraredStrings::IDS_ADD_SIGNAL, u"Add IR Signal"},
    {InfraredStrings::IDS_EDIT_SIGNAL, u"Edit IR Signal"},
    {InfraredStrings::IDS_LEARN_INSTRUCTIONS,
     u"Press and hold the button on the remote until the handheld produces a beep. After hearing the "
     u"beep, release the button on the remote.\r\n\r\n"
     u"If KIVO won't receive any IR signals in 20 sec, learning will be canceled."},
    {InfraredStrings::IDS_ADD_PAUSE, u"Add Pause"},
    {InfraredStrings::IDS_EDIT_PAUSE, u"Edit Pause"},
    {InfraredStrings::IDS_PAUSE_LINE, u"Pause %.1fs"},
    {InfraredStrings::IDS_SIGNAL_LINE, u"IR"},
};

}  // namespace

std::u16string_view InfraredStrings::Get(int id) {
    const auto* found = std::find_if(std::begin(kTable), std::end(kTable), [id](const Entry& entry) { return entry.id == id; });
    return found != std::end(kTable) ? found->text : std::u16string_view{};
}
