#pragma once
// New contents for a file, written completely to a staging file beside it and only then
// put in its place in one step, so that a failure at any point leaves the old file whole.

#include <cstddef>
#include <functional>
#include <string>

#include "ce/Types.h"

class ReplacementFile {
public:
    // `staging` must be on the same folder as `target` and must not match any search
    // the system makes for its own files.
    ReplacementFile(std::u16string target, std::u16string staging);
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;
    // A staging file that did not replace the target is removed.
    ~ReplacementFile();

    // Writes and flushes the staging file; false when any step fails.
    bool Write(const void* data, std::size_t size);
    // Puts the written contents in place of the target; every handle on both files must
    // be closed. False when the target could not be replaced (it is then unchanged).
    bool Replace();
    // Replace for the owner of `handle`, an open handle on the target that would keep it
    // busy: the handle is closed for the swap and `reopen` takes the target again, the
    // new contents or, when the swap failed, the old. A failing reopen is tried again a
    // few times; its failure never turns a swap that was made into a failed write, since
    // the new contents are on disk. False only when the target could not be replaced.
    bool ReplaceReopening(ce::HANDLE& handle, const std::function<bool()>& reopen);

private:
    std::u16string target_;
    std::u16string staging_;
    bool staged_ = false;
};
