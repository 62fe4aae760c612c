#include "host/window/ProcedureWindow.h"

#include <unistd.h>

namespace host {

ProcedureWindow::ProcedureWindow(ce::DWORD thread_id, std::shared_ptr<ce::WindowProcedure> procedure)
    : thread_id_(thread_id), procedure_(std::move(procedure)) {}

ce::DWORD ProcedureWindow::process_id() const { return static_cast<ce::DWORD>(getpid()); }

bool ProcedureWindow::deliver(const ce::MSG& message, std::shared_ptr<SentReply> reply) {
    ce::WindowProcedure::Answer answer;
    if (reply != nullptr) answer = [reply](ce::LRESULT result) { reply->answer(result); };
    if (procedure_->post(message, std::move(answer))) return true;
    // Nobody will take it: the sender is not left waiting.
    if (reply != nullptr) reply->answer(0);
    return false;
}

}  // namespace host
