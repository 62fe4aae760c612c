#include "forms/CHelpTextEdit.h"

#include <QPlainTextEdit>

bool CHelpTextEdit::AttachToControl(int id, CWnd* form) {
    if (!SubclassDlgItem(id, form)) return false;
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget())) {
        edit->setReadOnly(true);
        edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    }
    return true;
}
