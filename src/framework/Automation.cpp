#include "framework/Automation.h"

#include <QBuffer>
#include <QByteArray>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <sstream>

#include "ce/Files.h"
#include "framework/AutomationProtocol.h"
#include "framework/CFrameWnd.h"
#include "framework/CListBox.h"
#include "framework/CListCtrl.h"
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

std::string json_string(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned>(c));
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

bool write_file(const std::u16string& path, const QByteArray& bytes) {
    ce::CreateDirectoryW(u"\\Temp");
    ce::CreateDirectoryW(kFolder);
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
    return -2;  // not a control with a selection
}

// Chooses the item as a tap on it would, telling the form as a tap does.
bool select(CWnd* control, int index) {
    bool chosen = false;
    if (auto* list = dynamic_cast<CListBox*>(control)) chosen = index >= 0 && index < list->GetCount() && list->SetCurSel(index) == index;
    else if (auto* report = dynamic_cast<CListCtrl*>(control)) chosen = report->SelectItem(index);
    if (chosen && control->GetParent() != nullptr)
        control->GetParent()->WindowProc(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(control->GetDlgCtrlID()), LBN_SELCHANGE),
                                         reinterpret_cast<ce::LPARAM>(control->GetSafeHwnd()));
    return chosen;
}

// The menu bar of a frame, one item per line after the controls ("57665 menu "Options >
// Exit" enabled"), or as the JSON array "menu".
void dump_menu(std::ostream& out, CWnd* window, bool json) {
    auto* frame = dynamic_cast<CFrameWnd*>(window);
    const auto items = frame != nullptr ? frame->GetMenuItems() : std::vector<MenuItemState>{};
    if (json) out << ",\"menu\":[";
    bool first = true;
    for (const auto& item : items) {
        if (json)
            out << (first ? "" : ",") << "{\"id\":" << item.command << ",\"menu\":" << json_string(utf8(item.menu))
                << ",\"text\":" << json_string(utf8(item.text)) << ",\"enabled\":" << (item.enabled ? "true" : "false")
                << '}';
        else
            out << item.command << " menu " << json_string(utf8(item.menu) + " > " + utf8(item.text))
                << (item.enabled ? " enabled" : " greyed") << '\n';
        first = false;
    }
    if (json) out << ']';
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
        reply(request, "error: menu item " + std::to_string(id) + " \"" + utf8(item->menu) + " > " + utf8(item->text) +
                           "\" is greyed");
        return;
    }
    reply(request, "ok");
    frame->ChooseMenuItem(item->command);
}

}  // namespace

std::string Automation::Dump(CWnd* window, bool json) {
    std::ostringstream out;
    QWidget* top = window->widget();
    if (json)
        out << "{\"title\":" << json_string(utf8(window->GetWindowText())) << ",\"width\":" << top->width()
            << ",\"height\":" << top->height() << ",\"controls\":[";
    bool first = true;
    for (QWidget* child : top->findChildren<QWidget*>()) {
        CWnd* control = CWnd::FromWidget(child);
        if (control == nullptr) continue;
        const QRect area(child->mapTo(top, QPoint(0, 0)), child->size());
        const auto check = GetControlCheck(child);
        const int selection = selection_of(control);
        const std::string text = utf8(control->GetWindowText());
        const bool visible = child->isVisibleTo(top);
        if (json) {
            out << (first ? "" : ",") << "{\"id\":" << control->GetDlgCtrlID() << ",\"kind\":\"" << control->Kind()
                << "\",\"text\":" << json_string(text) << ",\"checked\":" << (check ? (*check ? "true" : "false") : "null")
                << ",\"enabled\":" << (child->isEnabled() ? "true" : "false")
                << ",\"visible\":" << (visible ? "true" : "false");
            if (selection != -2) out << ",\"selected\":" << selection;
            out << ",\"rect\":[" << area.left() << ',' << area.top() << ',' << area.right() + 1 << ','
                << area.bottom() + 1 << "]}";
        } else {
            out << control->GetDlgCtrlID() << ' ' << control->Kind() << ' ' << json_string(text)
                << (check ? (*check ? " checked" : " unchecked") : "") << (visible ? " visible" : " hidden")
                << (child->isEnabled() ? " enabled" : " disabled");
            if (selection != -2) out << " selected=" << selection;
            out << ' ' << area.left() << ',' << area.top() << ' ' << area.width() << 'x' << area.height() << '\n';
        }
        first = false;
    }
    if (json) out << ']';
    dump_menu(out, window, json);
    if (json) out << "}\n";
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

ce::LRESULT Automation::Handle(CWnd* window, ce::UINT message, ce::WPARAM wParam, ce::LPARAM lParam) {
    if (message < WM_UI_DUMP || message > WM_UI_SELECT) return 0;
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
            if (const std::string refusal = TypingTarget::Refusal(control->widget(), shown->widget()); !refusal.empty()) {
                reply(request, "error: control " + std::to_string(lParam) + " (" + control->Kind() +
                                   ") cannot be typed into: " + refusal);
                break;
            }
            control->SetWindowText(read_text(ReplyPath(request, u".in")));
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
        default: break;
    }
    return 1;
}

}  // namespace framework
