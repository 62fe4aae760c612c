#include "signals/SignalFile.h"

#include <fstream>
#include <sstream>

#include "signals/IrSignalsText.h"
#include "signals/LircConfText.h"
#include "signals/Mode2Text.h"
#include "signals/ProntoText.h"

namespace handheld {

namespace {

// Signal files are small; anything much larger is not one.
constexpr std::uintmax_t kLargestFile = 1 << 20;

}  // namespace

std::string SignalFile::Load(const std::filesystem::path& path, std::string& text) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    std::ifstream file(path, std::ios::binary);
    if (error || !file) return "cannot read the file";
    if (size > kLargestFile) return "the file is " + std::to_string(size) + " bytes; signal files are at most 1 MiB";
    std::ostringstream read;
    read << file.rdbuf();
    text = read.str();
    return {};
}

SignalFileResult SignalFile::Read(const std::filesystem::path& path, const std::string& button) {
    std::string text;
    if (std::string error = Load(path, text); !error.empty()) {
        SignalFileResult result;
        result.error = std::move(error);
        return result;
    }
    return Parse(text, button);
}

SignalFileResult SignalFile::Parse(std::string_view text, const std::string& button) {
    SignalFileResult result;
    if (IrSignalsText::Looks(text)) {
        IrSignalsText::Parse(text, button, result);
        return result;
    }
    if (LircConfText::Looks(text)) {
        LircConfText::Parse(text, button, result);
        return result;
    }
    if (!button.empty()) {
        result.error = "--button picks a signal of an IR signals file or a button of a LIRC remote file; this file is not one of those";
        return result;
    }
    if (ProntoText::Looks(text)) ProntoText::Parse(text, result);
    else Mode2Text::Parse(text, result);
    return result;
}

std::string SignalFile::Write(const InfraredSignal& signal, Format format, const std::string& name,
                              std::vector<std::string>& notes) {
    switch (format) {
        case Format::pronto: return ProntoText::Write(signal, notes);
        case Format::ir:
            if (!signal.intro.empty()) notes.push_back("an IR signals file has no repeat frame: the lead-in and the frame are written as one");
            return IrSignalsText::Write(signal, name);
        case Format::mode2: break;
    }
    if (!signal.intro.empty()) notes.push_back("mode2 has no repeat frame: the lead-in and the frame are written as one");
    return Mode2Text::Write(signal);
}

std::optional<SignalFile::Format> SignalFile::FormatNamed(std::string_view name) {
    if (name == "mode2") return Format::mode2;
    if (name == "pronto") return Format::pronto;
    if (name == "ir") return Format::ir;
    return std::nullopt;
}

}  // namespace handheld
