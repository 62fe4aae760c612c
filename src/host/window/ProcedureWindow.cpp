#include "host/window/ProcedureWindow.h"

#include <unistd.h>

namespace host {

ProcedureWindow::ProcedureWindow(ce::DWORD thread_id, std::shared_ptr<ce::WindowProcedure> procedure)
    : thread_id_(thread_id), procedure_(std::move(procedure)) {}

ce::DWORD ProcedureWindow::process_id() const { return static_cast<ce::DWORD>(getpid()); }

ce::WindowProcedure::Posted ProcedureWindow::deliver(const ce::MSG& message, std::shared_ptr<SentReply> reply) {
    ce::WindowProcedure::Answer answer;
    if (reply != nullptr) answer = [reply](ce::LRESULT result) { reply->answer(result); };
    const auto posted = procedure_->post(message, std::move(answer));
    // Nobody will take it: the sender is not left waiting.
    if (reply != nullptr && (posted == ce::WindowProcedure::Posted::full || posted == ce::WindowProcedure::Posted::gone))
        reply->answer(0);
    return posted;
}

}  // namespace host
