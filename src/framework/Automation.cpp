#include "framework/Automation.h"

#include <QBuffer>
#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <sstream>
#include <vector>

#include "ce/Files.h"
#include "framework/AutomationProtocol.h"
#include "framework/CFrameWnd.h"
#include "framework/CListBox.h"
#include "framework/CListCtrl.h"
#include "framework/CSpinButtonCtrl.h"
#include "framework/CTreeCtrl.h"
#include "framework/CWinApp.h"
#include "framework/CWnd.h"
#include "framework/ControlText.h"
#include "framework/InputDispatcher.h"
#include "framework/TypingTarget.h"
#include "framework/WindowMessages.h"

namespace framework {

namespace {

using namespace automation;

std::string utf8(const std::u16string& text) { return ToQString(text).toStdString(); }

QString qtext(const std::u16string& text) { return ToQString(text); }

// A text as the line format quotes it: in double quotes, with quotes and backslashes
// escaped and control characters written as \uXXXX.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            static const char kHex[] = "0123456789abcdef";
            out += "\\u00";
            out += kHex[(c >> 4) & 0xF];
            out += kHex[c & 0xF];
        } else {
            out += c;
        }
    }
    return out + "\"";
}

QJsonArray rect_json(const QRect& area) {
    return {area.left(), area.top(), area.right() + 1, area.bottom() + 1};
}

std::string rect_line(const QRect& area) {
    return std::to_string(area.left()) + ',' + std::to_string(area.top()) + ' ' + std::to_string(area.width()) + 'x' +
           std::to_string(area.height());
}

// A rectangle of a control's client coordinates in the form's.
QRect in_form(QWidget* top, QWidget* control, const CRect& rect) {
    return {control->mapTo(top, QPoint(rect.left, rect.top)), QSize(rect.Width(), rect.Height())};
}

bool write_file(const std::u16string& path, const QByteArray& bytes) {
    ce::CreateDirectoryW(u"\\Temp");
    ce::CreateDirectoryW(kFolder);
    // The tool's mailbox is no folder of the user's: hidden and system, as the handheld
    // marks its own, it stays out of the folder tree and the file lists.
    ce::SetFileAttributesW(kFolder, ce::FILE_ATTRIBUTE_HIDDEN | ce::FILE_ATTRIBUTE_SYSTEM);
    const std::u16string partial = path + u".part";
    ce::HANDLE file = ce::CreateFileW(partial.c_str(), ce::GENERIC_WRITE, 0, ce::CREATE_ALWAYS,
                                      ce::FILE_ATTRIBUTE_NORMAL);
    if (file == ce::INVALID_HANDLE_VALUE) return false;
    ce::DWORD written = 0;
    const bool ok = ce::WriteFile(file, bytes.constData(), static_cast<ce::DWORD>(bytes.size()), &written) != 0 &&
                    written == static_cast<ce::DWORD>(bytes.size());
    ce::CloseHandle(file);
    ce::DeleteFileW(path.c_str());
    return ok && ce::MoveFileW(partial.c_str(), path.c_str()) != 0;
}

std::u16string read_text(const std::u16string& path) {
    ce::HANDLE file = ce::CreateFileW(path.c_str(), ce::GENERIC_READ, ce::FILE_SHARE_READ, ce::OPEN_EXISTING,
                                      ce::FILE_ATTRIBUTE_NORMAL);
    if (file == ce::INVALID_HANDLE_VALUE) return {};
    QByteArray bytes;
    char buffer[4096];
    ce::DWORD read = 0;
    while (ce::ReadFile(file, buffer, sizeof buffer, &read) != 0 && read > 0) bytes.append(buffer, read);
    ce::CloseHandle(file);
    return FromQString(QString::fromUtf8(bytes));
}

void reply(unsigned long request, const std::string& status, const std::string& body = {}) {
    write_file(ReplyPath(request, u".out"), QByteArray::fromStdString(status + "\n" + body));
}

CWnd* control_of(CWnd* window, int id) {
    for (QWidget* child : window->widget()->findChildren<QWidget*>()) {
        CWnd* control = CWnd::FromWidget(child);
        if (control != nullptr && control->GetDlgCtrlID() == id) return control;
    }
    return nullptr;
}

int selection_of(CWnd* control) {
    if (const auto* list = dynamic_cast<CListBox*>(control)) return list->GetCurSel();
    if (const auto* report = dynamic_cast<CListCtrl*>(control)) return report->GetSelectedItem();
    if (const auto* tree = dynamic_cast<CTreeCtrl*>(control)) {
        const auto items = tree->VisibleItems();
        const auto found = std::find(items.begin(), items.end(), tree->GetSelectedItem());
        return found == items.end() ? -1 : static_cast<int>(found - items.begin());
    }
    return -2;  // not a control with a selection
}

// Chooses the item as a tap on it would, telling the form as a tap does. A tree's
// items count as the dump lists them: top to bottom as the tree shows them now.
bool select(CWnd* control, int index) {
    if (auto* tree = dynamic_cast<CTreeCtrl*>(control)) {
        const auto items = tree->VisibleItems();
        return index >= 0 && index < static_cast<int>(items.size()) && tree->ChooseItem(items[static_cast<std::size_t>(index)]);
    }
    bool chosen = false;
    if (auto* list = dynamic_cast<CListBox*>(control)) chosen = index >= 0 && index < list->GetCount() && list->SetCurSel(index) == index;
    else if (auto* report = dynamic_cast<CListCtrl*>(control)) chosen = report->SelectItem(index);
    if (chosen && control->GetParent() != nullptr)
        control->GetParent()->WindowProc(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(control->GetDlgCtrlID()), LBN_SELCHANGE),
                                         reinterpret_cast<ce::LPARAM>(control->GetSafeHwnd()));
    return chosen;
}

// The lines of a list box or drop-down list, in order; nothing for other controls.
std::optional<std::vector<std::u16string>> lines_of(CWnd* control) {
    const auto* list = dynamic_cast<CListBox*>(control);
    if (list == nullptr) return std::nullopt;
    std::vector<std::u16string> lines;
    for (int index = 0; index < list->GetCount(); ++index) lines.push_back(list->GetText(index));
    return lines;
}

// Under a list's line in the dump: "  line 0 "TV on" selected".
void list_lines(std::ostream& out, CWnd* control) {
    const auto lines = lines_of(control);
    if (!lines) return;
    const int selected = selection_of(control);
    for (std::size_t index = 0; index < lines->size(); ++index)
        out << "  line " << index << ' ' << quoted(utf8((*lines)[index]))
            << (static_cast<int>(index) == selected ? " selected" : "") << '\n';
}

QJsonArray lines_json(const std::vector<std::u16string>& lines) {
    QJsonArray array;
    for (const auto& line : lines) array.append(qtext(line));
    return array;
}

// A spinner's position, range and the edit its arrows step.
struct SpinState {
    int position, lower, upper, buddy;
};

std::optional<SpinState> spin_of(CWnd* control) {
    const auto* spin = dynamic_cast<CSpinButtonCtrl*>(control);
    if (spin == nullptr) return std::nullopt;
    SpinState state{spin->GetPos(), 0, 0, 0};
    spin->GetRange(&state.lower, &state.upper);
    if (const CWnd* buddy = spin->GetBuddy()) state.buddy = buddy->GetDlgCtrlID();
    return state;
}

// After a spinner's place in the dump: " position=5 range=0..9 buddy=2104".
std::string spin_text(CWnd* control) {
    const auto state = spin_of(control);
    if (!state) return {};
    return " position=" + std::to_string(state->position) + " range=" + std::to_string(state->lower) + ".." +
           std::to_string(state->upper) + (state->buddy != 0 ? " buddy=" + std::to_string(state->buddy) : "");
}

void insert_spin(QJsonObject& object, const SpinState& state) {
    object.insert("position", state.position);
    object.insert("range", QJsonArray{state.lower, state.upper});
    object.insert("buddy", state.buddy != 0 ? QJsonValue(state.buddy) : QJsonValue());
}

// The menu bar of a frame: its items in the order opening each menu shows them.
std::vector<MenuItemState> menu_of(CWnd* window) {
    auto* frame = dynamic_cast<CFrameWnd*>(window);
    return frame != nullptr ? frame->GetMenuItems() : std::vector<MenuItemState>{};
}

std::vector<MenuTitleState> titles_of(CWnd* window) {
    auto* frame = dynamic_cast<CFrameWnd*>(window);
    return frame != nullptr ? frame->GetMenuTitles() : std::vector<MenuTitleState>{};
}

QRect qrect(const CRect& place) { return {place.left, place.top, place.Width(), place.Height()}; }

QJsonArray menu_json(CWnd* window) {
    QJsonArray menu;
    for (const auto& item : menu_of(window))
        menu.append(QJsonObject{{"id", static_cast<qint64>(item.command)},
                                {"menu", qtext(item.menu)},
                                {"text", qtext(item.text)},
                                {"enabled", item.enabled},
                                {"rect", item.place.Width() > 0 ? QJsonValue(rect_json(qrect(item.place))) : QJsonValue()}});
    return menu;
}

QJsonArray titles_json(CWnd* window) {
    QJsonArray titles;
    for (const auto& title : titles_of(window))
        titles.append(QJsonObject{{"text", qtext(title.title)}, {"rect", rect_json(qrect(title.place))}, {"open", title.open}});
    return titles;
}

// One line per item after the controls: "57665 menu "Options > Exit" enabled", with
// its place while its menu is open; then one per title of the bar, where a tap opens it:
// "menubar "Options" 0,296 52x24 open".
void menu_lines(std::ostream& out, CWnd* window) {
    for (const auto& item : menu_of(window))
        out << item.command << " menu " << quoted(utf8(item.menu) + " > " + utf8(item.text))
            << (item.enabled ? " enabled" : " greyed")
            << (item.place.Width() > 0 ? " " + rect_line(qrect(item.place)) : std::string()) << '\n';
    for (const auto& title : titles_of(window))
        out << "menubar " << quoted(utf8(title.title)) << ' ' << rect_line(qrect(title.place))
            << (title.open ? " open" : "") << '\n';
}

// The rows of a report list: every column's text, whether selected, where.
QJsonArray rows_json(CListCtrl& list, QWidget* top) {
    QJsonArray rows;
    for (int row = 0; row < list.GetItemCount(); ++row) {
        QJsonArray texts;
        for (int column = 0; column < std::max(1, list.GetColumnCount()); ++column)
            texts.append(qtext(list.GetItemText(row, column)));
        const CRect place = list.GetItemRect(row);
        rows.append(QJsonObject{{"index", row},
                                {"texts", texts},
                                {"selected", list.IsItemSelected(row)},
                                {"rect", place.Width() > 0 ? QJsonValue(rect_json(in_form(top, list.widget(), place)))
                                                           : QJsonValue()}});
    }
    return rows;
}

QJsonArray columns_json(CListCtrl& list) {
    QJsonArray columns;
    for (int column = 0; column < list.GetColumnCount(); ++column)
        columns.append(QJsonObject{{"heading", qtext(list.GetColumnHeading(column))}, {"width", list.GetColumnWidth(column)}});
    return columns;
}

// Indented under the list: "  row 0 "alarm.wav" "12/9/26" "1K" selected 3,60 234x18"
// (no place for a row scrolled out of view).
void row_lines(std::ostream& out, CListCtrl& list, QWidget* top) {
    for (int row = 0; row < list.GetItemCount(); ++row) {
        out << "  row " << row;
        for (int column = 0; column < std::max(1, list.GetColumnCount()); ++column)
            out << ' ' << quoted(utf8(list.GetItemText(row, column)));
        if (list.IsItemSelected(row)) out << " selected";
        const CRect place = list.GetItemRect(row);
        if (place.Width() > 0) out << ' ' << rect_line(in_form(top, list.widget(), place));
        out << '\n';
    }
}

// An item that may still have children (never opened) shows as collapsed.
const char* branch_state(const CTreeCtrl& tree, HTREEITEM item) {
    if (tree.IsFilled(item) && tree.GetChildItem(item) == nullptr) return "leaf";
    return tree.IsExpanded(item) ? "expanded" : "collapsed";
}

QJsonArray items_json(CTreeCtrl& tree, QWidget* top) {
    QJsonArray items;
    int index = 0;
    for (HTREEITEM item : tree.VisibleItems()) {
        const CRect place = tree.GetItemRect(item);
        items.append(QJsonObject{{"index", index++},
                                 {"text", qtext(tree.GetItemText(item))},
                                 {"depth", tree.GetItemDepth(item)},
                                 {"state", branch_state(tree, item)},
                                 {"selected", item == tree.GetSelectedItem()},
                                 {"rect", place.Width() > 0 ? QJsonValue(rect_json(in_form(top, tree.widget(), place)))
                                                            : QJsonValue()}});
    }
    return items;
}

// Indented two spaces a level under the tree: "    item 1 "My Documents" collapsed 20,70 90x18".
void item_lines(std::ostream& out, CTreeCtrl& tree, QWidget* top) {
    int index = 0;
    for (HTREEITEM item : tree.VisibleItems()) {
        out << std::string(2 + 2 * static_cast<std::size_t>(tree.GetItemDepth(item)), ' ') << "item " << index++ << ' '
            << quoted(utf8(tree.GetItemText(item))) << ' ' << branch_state(tree, item);
        if (item == tree.GetSelectedItem()) out << " selected";
        const CRect place = tree.GetItemRect(item);
        if (place.Width() > 0) out << ' ' << rect_line(in_form(top, tree.widget(), place));
        out << '\n';
    }
}

// One control: id, kind, text, check, visible, enabled, selection and place, then the
// rows of a report list or the items of a tree.
QJsonObject control_json(CWnd* control, QWidget* top) {
    QWidget* child = control->widget();
    const auto check = GetControlCheck(child);
    const int selection = selection_of(control);
    QJsonObject object{{"id", control->GetDlgCtrlID()},
                       {"kind", control->Kind()},
                       {"text", qtext(control->GetWindowText())},
                       {"checked", check ? QJsonValue(*check) : QJsonValue()},
                       {"enabled", child->isEnabled()},
                       {"visible", child->isVisibleTo(top)}};
    if (selection != -2) object.insert("selected", selection);
    if (const auto lines = lines_of(control)) object.insert("lines", lines_json(*lines));
    if (const auto spin = spin_of(control)) insert_spin(object, *spin);
    object.insert("rect", rect_json(QRect(child->mapTo(top, QPoint(0, 0)), child->size())));
    if (auto* list = dynamic_cast<CListCtrl*>(control)) {
        object.insert("columns", columns_json(*list));
        object.insert("rows", rows_json(*list, top));
    } else if (auto* tree = dynamic_cast<CTreeCtrl*>(control)) {
        object.insert("items", items_json(*tree, top));
    }
    return object;
}

void control_lines(std::ostream& out, CWnd* control, QWidget* top) {
    QWidget* child = control->widget();
    const auto check = GetControlCheck(child);
    const int selection = selection_of(control);
    out << control->GetDlgCtrlID() << ' ' << control->Kind() << ' ' << quoted(utf8(control->GetWindowText()))
        << (check ? (*check ? " checked" : " unchecked") : "") << (child->isVisibleTo(top) ? " visible" : " hidden")
        << (child->isEnabled() ? " enabled" : " disabled");
    if (selection != -2) out << " selected=" << selection;
    out << ' ' << rect_line(QRect(child->mapTo(top, QPoint(0, 0)), child->size())) << spin_text(control) << '\n';
    list_lines(out, control);
    if (auto* list = dynamic_cast<CListCtrl*>(control)) row_lines(out, *list, top);
    else if (auto* tree = dynamic_cast<CTreeCtrl*>(control)) item_lines(out, *tree, top);
}

// The window's controls, in the order they were made.
std::vector<CWnd*> controls_of(CWnd* window) {
    std::vector<CWnd*> controls;
    for (QWidget* child : window->widget()->findChildren<QWidget*>())
        if (CWnd* control = CWnd::FromWidget(child)) controls.push_back(control);
    return controls;
}

// What `ui click` of an id no control has does: chooses the frame's menu item of that
// command. The reply goes before the command runs, as a chosen item may open a modal form.
void choose_menu_item(CWnd* window, unsigned long request, int id) {
    auto* frame = dynamic_cast<CFrameWnd*>(window);
    if (frame == nullptr) {
        reply(request, "error: no control " + std::to_string(id));
        return;
    }
    const auto items = frame->GetMenuItems();
    const auto item = std::find_if(items.begin(), items.end(), [id](const auto& each) { return static_cast<int>(each.command) == id; });
    if (item == items.end()) {
        reply(request, "error: no control or menu item " + std::to_string(id));
        return;
    }
    if (!item->enabled) {
        reply(request, "error: menu item " + std::to_string(id) + " " + quoted(utf8(item->menu) + " > " + utf8(item->text)) +
                           " is greyed");
        return;
    }
    reply(request, "ok");
    frame->ChooseMenuItem(item->command);
}

}  // namespace

std::string Automation::Dump(CWnd* window, bool json) {
    QWidget* top = window->widget();
    if (json) {
        QJsonArray controls;
        for (CWnd* control : controls_of(window)) controls.append(control_json(control, top));
        const QJsonObject dump{{"title", qtext(window->GetWindowText())},
                               {"width", top->width()},
                               {"height", top->height()},
                               {"controls", controls},
                               {"menu", menu_json(window)},
                               {"menubar", titles_json(window)}};
        return QJsonDocument(dump).toJson(QJsonDocument::Compact).toStdString() + "\n";
    }
    std::ostringstream out;
    for (CWnd* control : controls_of(window)) control_lines(out, control, top);
    menu_lines(out, window);
    return out.str();
}

QImage Automation::Screenshot(CWnd* window) { return window->widget()->grab().toImage(); }

bool Automation::Click(CWnd* window, int id) {
    CWnd* control = control_of(window, id);
    if (control == nullptr || !control->widget()->isVisibleTo(window->widget()) || !control->IsWindowEnabled())
        return false;
    const QPoint centre = control->widget()->mapTo(window->widget(), control->widget()->rect().center());
    const ce::LPARAM point = MAKELPARAM(centre.x(), centre.y());
    InputDispatcher::Deliver(window, {window->GetSafeHwnd(), ce::WM_LBUTTONDOWN, MK_LBUTTON, point, 0});
    InputDispatcher::Deliver(window, {window->GetSafeHwnd(), ce::WM_LBUTTONUP, 0, point, 0});
    return true;
}

bool Automation::Select(CWnd* window, int id, int index) {
    CWnd* control = control_of(window, id);
    return control != nullptr && control->IsWindowEnabled() && select(control, index);
}

bool Automation::Spin(CWnd* window, int id, int steps) {
    auto* spin = dynamic_cast<CSpinButtonCtrl*>(control_of(window, id));
    if (spin == nullptr || !spin->widget()->isVisibleTo(window->widget()) || !spin->IsWindowEnabled()) return false;
    for (int step = 0; step < std::abs(steps); ++step) spin->Step(steps > 0 ? 1 : -1);
    return true;
}

ce::LRESULT Automation::Handle(CWnd* window, ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) {
    if (message < WM_UI_DUMP || message > WM_UI_SPIN) return 0;
    // The request goes to what the screen shows: a form this window opened covers it.
    CWnd* shown = CWinApp::Foreground() != nullptr ? CWinApp::Foreground() : window;
    if (shown->widget() == nullptr) return 0;
    const unsigned long request = wParam;
    switch (message) {
        case WM_UI_DUMP: reply(request, "ok", Dump(shown, lParam == 1)); break;
        case WM_UI_SCREENSHOT: {
            QByteArray png;
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            const bool saved = Screenshot(shown).save(&buffer, "PNG") && write_file(ReplyPath(request, u".png"), png);
            reply(request, saved ? "ok" : "error: the screenshot could not be written");
            break;
        }
        case WM_UI_CLICK: {
            const int id = static_cast<int>(lParam);
            if (control_of(shown, id) == nullptr) {
                choose_menu_item(shown, request, id);
                break;
            }
            // The reply goes first: the tap may open a modal form that runs until closed.
            reply(request, "ok");
            Click(shown, id);
            break;
        }
        case WM_UI_SET: {
            CWnd* control = control_of(shown, static_cast<int>(lParam));
            if (control == nullptr) {
                reply(request, "error: no control " + std::to_string(lParam));
                break;
            }
            const std::u16string text = read_text(ReplyPath(request, u".in"));
            if (const std::string refusal = TypingTarget::Refusal(control->widget(), shown->widget(), ToQString(text));
                !refusal.empty()) {
                reply(request, "error: control " + std::to_string(lParam) + " (" + control->Kind() +
                                   ") cannot be typed into: " + refusal);
                break;
            }
            control->SetWindowText(text);
            reply(request, "ok");
            break;
        }
        case WM_UI_SELECT: {
            const int id = static_cast<int>(LOWORD(static_cast<std::uintptr_t>(lParam)));
            const int index = static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lParam)));
            CWnd* control = control_of(shown, id);
            if (control == nullptr) reply(request, "error: no control " + std::to_string(id));
            else if (!select(control, index)) reply(request, "error: control " + std::to_string(id) + " has no item " + std::to_string(index));
            else reply(request, "ok");
            break;
        }
        case WM_UI_SPIN: {
            const int id = static_cast<int>(LOWORD(static_cast<std::uintptr_t>(lParam)));
            const int steps = static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lParam)));
            if (control_of(shown, id) == nullptr) reply(request, "error: no control " + std::to_string(id));
            else if (!Spin(shown, id, steps)) reply(request, "error: control " + std::to_string(id) + " is not a spinner that can be tapped");
            else reply(request, "ok");
            break;
        }
        default: break;
    }
    return 1;
}

}  // namespace framework
