#include "UiCommand.h"

#include "CompletionWords.h"
#include "Arguments.h"
#include "UiRequest.h"
#include "framework/AutomationProtocol.h"

namespace handheld {

namespace {

using namespace framework::automation;

const char* name_of(UiCommand::Action action) {
    switch (action) {
        case UiCommand::Action::dump: return "dump";
        case UiCommand::Action::click: return "click";
        case UiCommand::Action::set: return "set";
        case UiCommand::Action::select: return "select";
        case UiCommand::Action::spin: return "spin";
    }
    return "dump";
}

const char* summary_of(UiCommand::Action action) {
    switch (action) {
        case UiCommand::Action::dump: return "list the controls and menu items: id, kind, text, state, place";
        case UiCommand::Action::click: return "tap a control's centre with the stylus, or choose a menu item";
        case UiCommand::Action::set: return "put text into a control, as typing it would";
        case UiCommand::Action::select: return "choose an item of a list, as tapping it would";
        case UiCommand::Action::spin: return "tap a spinner's up or down arrow";
    }
    return "";
}

}  // namespace

UiCommand::UiCommand(Action action) : Verb(name_of(action), summary_of(action)), action_(action) {}

void UiCommand::declare(CLI::App& command) {
    switch (action_) {
        case Action::dump:
            describe(
                "One line per control: id, kind, text, checked state, visible, enabled, the\n"
                "selection of a list, then position and size in pixels of the window. A window\n"
                "with a menu bar adds one line per menu item: command id, \"menu\", menu and\n"
                "item text, enabled or greyed, and its place while its menu is open; then one\n"
                "per title of the bar (\"menubar\", title, place, open). Under a report list, one indented line per row\n"
                "(\"row N\", each column's text, selected, place); under a tree, one per item it\n"
                "shows (\"item N\", indented by depth, text, expanded, collapsed or leaf,\n"
                "selected, place). A message box is a window like any other: its\n"
                "text (id 65535) and buttons (OK 1, Cancel 2, Yes 6, No 7).");
            command.add_flag("--json", json_, "the same as one JSON object, for programs");
            command.footer("example:\n  handheld ui dump --json");
            return;
        case Action::click:
            describe(
                "A hidden or disabled control takes no tap, as on the screen. An ID no control\n"
                "has chooses the menu item of that command id (from `ui dump`), as opening its\n"
                "menu and tapping the item would; a greyed item is refused.");
            break;
        case Action::set:
            describe(
                "The control's text becomes TEXT; the program hears of the change. Only what a\n"
                "person can type into takes it: a shown, enabled, writable edit or the edit of a\n"
                "combo box; a button, label, list or the clock is refused, as typing would be.");
            break;
        case Action::select:
            describe(
                "Item INDEX (from 0) becomes the chosen one; the program hears of it. A tree's\n"
                "items count as `ui dump` lists them, top to bottom as the tree shows them now\n"
                "(tap an item's box to open it).");
            break;
        case Action::spin:
            describe(
                "Taps the arrow TIMES times (1 by default): the spinner steps the edit it serves\n"
                "(`ui dump` shows it as buddy=ID, with position and range), as on the screen.");
            break;
    }
    add_number(command, "ID", id_, 0, 0xFFFF,
               action_ == Action::click ? "the control's or menu item's id (from `ui dump`)" : "the control's id (from `ui dump`)",
               "a control id")->required();
    if (action_ == Action::set) command.add_option("TEXT", text_, "what to type")->required();
    if (action_ == Action::select)
        add_number(command, "INDEX", index_, 0, 0x7FFF, "the item, from 0", "an item index")->required();
    if (action_ == Action::spin) {
        CompletionWords::one_of(command.add_option("DIRECTION", direction_, "up or down")->required(), {"up", "down"});
        add_number(command, "TIMES", times_, 1, 99, "how many taps (1 by default)", "a count");
    }
    command.footer(std::string("example:\n  handheld ui ") + name_of(action_) +
                   (action_ == Action::click ? " 2107\n  handheld ui click 57665    (a menu item: Options > Exit)" : action_ == Action::set    ? " 301 5"
                                   : action_ == Action::spin ? " 2106 up 3"
                                                             : " 812 1"));
}

ExitCode UiCommand::run(Console& console) {
    ce::UINT message = WM_UI_DUMP;
    ce::LPARAM lParam = json_ ? 1 : 0;
    if (action_ != Action::dump) {
        message = action_ == Action::click ? WM_UI_CLICK : action_ == Action::set ? WM_UI_SET : WM_UI_SELECT;
        lParam = static_cast<ce::LPARAM>(action_ == Action::select ? (index_ << 16 | id_) : id_);
        if (action_ == Action::spin) {
            message = WM_UI_SPIN;
            const auto steps = static_cast<std::uint16_t>(direction_ == "up" ? times_ : 0x10000 - times_);
            lParam = static_cast<ce::LPARAM>(std::uint32_t{steps} << 16 | id_);
        }
    }
    const auto window = UiRequest::foreground();
    if (!window) return console.fail("no program window is in the foreground");
    UiRequest request(*window);
    const UiReply reply = request.ask(message, lParam, action_ == Action::set ? text_ : std::string());
    if (!reply.ok) return console.fail(reply.status);
    console.out() << reply.body;
    return ExitCode::ok;
}

}  // namespace handheld
