#pragma once
// A window handled by a window procedure (the framework's windows): posted and sent
// messages go straight to the procedure, which brings them to the window's thread.

#include <memory>

#include "ce/WindowProcedure.h"
#include "host/window/WindowTarget.h"

namespace host {

class ProcedureWindow : public WindowTarget {
public:
    ProcedureWindow(ce::DWORD thread_id, std::shared_ptr<ce::WindowProcedure> procedure);
    ce::DWORD thread_id() const override { return thread_id_; }
    ce::DWORD process_id() const override;
    ce::WindowProcedure::Posted deliver(const ce::MSG& message, std::shared_ptr<SentReply> reply) override;
    std::optional<ce::LRESULT> call(const ce::MSG& message) override { return procedure_->call(message); }

private:
    ce::DWORD thread_id_;
    std::shared_ptr<ce::WindowProcedure> procedure_;
};

}  // namespace host
