#include "framework/CEdit.h"

#include <QLineEdit>
#include <QPlainTextEdit>

#include "framework/WindowMessages.h"

void CEdit::SetLimitText(int characters) {
    if (auto* line = qobject_cast<QLineEdit*>(widget())) line->setMaxLength(characters > 0 ? characters : 32767);
}

void CEdit::SelectAllAfterTap() {
    if (auto* line = qobject_cast<QLineEdit*>(widget())) QMetaObject::invokeMethod(line, &QLineEdit::selectAll, Qt::QueuedConnection);
}

void CEdit::OnSetFocus() {
    if (GetParent() == nullptr) return;
    const auto code = framework::MAKEWPARAM(static_cast<unsigned>(GetDlgCtrlID()), framework::EN_SETFOCUS);
    GetParent()->WindowProc(framework::WM_COMMAND, code, reinterpret_cast<ce::LPARAM>(GetSafeHwnd()));
}
