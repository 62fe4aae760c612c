#pragma once
// Readable text for the handheld's error codes, for messages a person acts on.

#include <string>

#include "ce/Types.h"

namespace handheld {

// "access denied (error 5)"; unknown codes as "error N".
std::string error_text(ce::DWORD error);

}  // namespace handheld
