#pragma once
// One up-down spinner shared by the number edits beside it (the whole seconds and the
// tenths of a length): its arrows step whichever of them the user tapped last, the
// first one until then. The form offers it every stylus message it pre-translates.

#include <vector>

#include "ce/Input.h"
#include "ce/Messages.h"
#include "framework/CSpinButtonCtrl.h"

class FieldSpinner {
public:
    // Takes over the spinner `spin_id` of `form` for the edits `edit_ids` (each takes
    // as many digits as `upper` has).
    bool Attach(CWnd* form, int spin_id, std::vector<int> edit_ids, int lower, int upper);
    // A tap on one of the edits makes it the one the arrows step; never consumes it.
    void Watch(const ce::MSG& message);
    // The edit the arrows step now.
    int Target() const { return target_; }
    void SetTarget(int edit_id);

private:
    CWnd* form_ = nullptr;
    CSpinButtonCtrl* spin_ = nullptr;
    std::vector<int> edit_ids_;
    int target_ = 0;
};
