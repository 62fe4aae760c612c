#pragma once
// Message boxes: every form shows its messages through MessageBox, so a test can script
// them: while a MessageBoxScript exists, nothing is shown; each box is recorded (text,
// caption, type) and answered from the script's queue of answers, or with the box's
// first button when the queue is empty.

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "ce/Types.h"

class CWnd;

namespace framework {

inline constexpr ce::UINT MB_OK = 0x00;
inline constexpr ce::UINT MB_OKCANCEL = 0x01;
inline constexpr ce::UINT MB_YESNOCANCEL = 0x03;
inline constexpr ce::UINT MB_YESNO = 0x04;
inline constexpr ce::UINT MB_ICONERROR = 0x10;
inline constexpr ce::UINT MB_ICONQUESTION = 0x20;
inline constexpr ce::UINT MB_ICONWARNING = 0x30;
inline constexpr ce::UINT MB_ICONINFORMATION = 0x40;

struct ShownMessageBox {
    std::u16string text;
    std::u16string caption;
    ce::UINT type = 0;
    int answer = 0;
};

class MessageBoxScript {
public:
    MessageBoxScript();
    ~MessageBoxScript();
    MessageBoxScript(const MessageBoxScript&) = delete;
    MessageBoxScript& operator=(const MessageBoxScript&) = delete;

    // The answer (IDOK, IDYES, ...) the next unanswered box gets.
    void Answer(int result) { answers_.push_back(result); }
    const std::vector<ShownMessageBox>& Shown() const { return shown_; }

private:
    friend int MessageBox(CWnd* owner, std::u16string_view text, std::u16string_view caption, ce::UINT type);
    std::deque<int> answers_;
    std::vector<ShownMessageBox> shown_;
    MessageBoxScript* outer_;
};

// Shows the box modally over `owner` (may be null) as a form of its own (MessageBoxForm),
// the foreground window until a button, Enter or Escape answers it; returns the answer.
int MessageBox(CWnd* owner, std::u16string_view text, std::u16string_view caption, ce::UINT type);

}  // namespace framework
