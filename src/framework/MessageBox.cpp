#include "framework/MessageBox.h"

#include <QMessageBox>

#include "framework/CWnd.h"
#include "framework/ControlText.h"
#include "framework/WindowMessages.h"

namespace framework {

namespace {

MessageBoxScript* g_script = nullptr;

int first_button(ce::UINT type) {
    switch (type & 0x0F) {
        case MB_YESNO:
        case MB_YESNOCANCEL: return IDYES;
        default: return IDOK;
    }
}

QMessageBox::Icon icon_of(ce::UINT type) {
    switch (type & 0xF0) {
        case MB_ICONERROR: return QMessageBox::Critical;
        case MB_ICONQUESTION: return QMessageBox::Question;
        case MB_ICONWARNING: return QMessageBox::Warning;
        case MB_ICONINFORMATION: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons buttons_of(ce::UINT type) {
    switch (type & 0x0F) {
        case MB_OKCANCEL: return QMessageBox::Ok | QMessageBox::Cancel;
        case MB_YESNOCANCEL: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MB_YESNO: return QMessageBox::Yes | QMessageBox::No;
        default: return QMessageBox::Ok;
    }
}

int result_of(int button) {
    switch (button) {
        case QMessageBox::Cancel: return IDCANCEL;
        case QMessageBox::Yes: return IDYES;
        case QMessageBox::No: return IDNO;
        default: return IDOK;
    }
}

}  // namespace

MessageBoxScript::MessageBoxScript() : outer_(g_script) { g_script = this; }

MessageBoxScript::~MessageBoxScript() { g_script = outer_; }

int MessageBox(CWnd* owner, std::u16string_view text, std::u16string_view caption, ce::UINT type) {
    if (g_script != nullptr) {
        int answer = first_button(type);
        if (!g_script->answers_.empty()) {
            answer = g_script->answers_.front();
            g_script->answers_.pop_front();
        }
        g_script->shown_.push_back({std::u16string(text), std::u16string(caption), type, answer});
        return answer;
    }
    QMessageBox box(icon_of(type), ToQString(caption), ToQString(text), buttons_of(type),
                    owner != nullptr ? owner->widget() : nullptr);
    return result_of(box.exec());
}

}  // namespace framework
