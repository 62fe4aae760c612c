#include "forms/LearnOutcome.h"

#include "ce/Sound.h"
#include "irdriver/IrResult.h"

namespace {

constexpr int kLegacyTimeOut = 4;

}  // namespace

std::u16string_view LearnOutcome::FailureText(int code) {
    return code == kIrLearnTimeout || code == kLegacyTimeOut ? kTimeOut : kFailed;
}

void LearnOutcome::Beep() { ce::PlaySoundW(ce::MAKEINTRESOURCEW(kBeepResource), nullptr, ce::SND_RESOURCE); }
