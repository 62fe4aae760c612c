#include "framework/MessageBox.h"

#include "framework/MessageBoxForm.h"
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
    MessageBoxForm box(owner, text, caption, type);
    return box.DoModal();
}

}  // namespace framework
