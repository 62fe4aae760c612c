#include "CopyVerb.h"

#include <filesystem>
#include <fstream>
#include <vector>

#include "ErrorText.h"
#include "ce/Files.h"
#include "ce/Text.h"

namespace handheld {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kChunk = 64 * 1024;

bool on_device(const std::string& argument) { return !argument.empty() && argument.front() == '\\'; }

// A device path as typed: backslashes, from the root; a trailing backslash names a folder.
std::u16string device_path(const std::string& argument) {
    std::u16string path = ce::utf16_from_utf8(argument);
    while (path.size() > 1 && path.back() == u'\\') path.pop_back();
    return path;
}

bool leaves_the_handheld(const std::u16string& path) {
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto end = std::min(path.find(u'\\', start), path.size());
        if (path.compare(start, end - start, u"..") == 0) return true;
        start = end + 1;
    }
    return false;
}

std::u16string parent_of(const std::u16string& path) {
    const auto separator = path.rfind(u'\\');
    return separator == 0 || separator == std::u16string::npos ? u"\\" : path.substr(0, separator);
}

std::u16string name_of(const std::u16string& path) {
    const auto separator = path.rfind(u'\\');
    return separator == std::u16string::npos ? path : path.substr(separator + 1);
}

bool is_device_folder(const std::u16string& path) {
    const ce::DWORD attributes = ce::GetFileAttributesW(path.c_str());
    return attributes != ce::INVALID_FILE_ATTRIBUTES && (attributes & ce::FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::u16string joined(const std::u16string& folder, const std::u16string& name) {
    return folder == u"\\" ? folder + name : folder + u"\\" + name;
}

std::string shown(const std::u16string& path) { return ce::utf8_from_utf16(path); }

}  // namespace

void CopyVerb::declare(CLI::App& command) {
    describe(
        "Copies one file. The argument that begins with \\ is the handheld's side (a device\n"
        "path, quoted for the shell); the other is a file of this computer. A folder as the\n"
        "target takes the file under its own name. The folder it goes into must exist; a file\n"
        "already there is replaced. On the handheld the copy is a new file: it gets the\n"
        "archive attribute and today's date, as a copy onto the device would.");
    command.add_option("SOURCE", source_, "the file to copy")->required();
    command.add_option("TARGET", target_, "where the copy goes: a file or a folder")->required();
    command.footer(
        "examples:\n"
        "  handheld cp ring.wav '\\My Documents'\n"
        "  handheld cp birds.wav '\\My Documents\\Sounds\\Morning birds.wav'\n"
        "  handheld cp '\\Windows\\Alarm1.wav' /tmp/");
}

ExitCode CopyVerb::run(Console& console) {
    if (on_device(source_) == on_device(target_))
        return console.usage("one of SOURCE and TARGET must be a device path (beginning with \\), the other a file here");
    const std::string& device = on_device(source_) ? source_ : target_;
    const std::u16string path = device_path(device);
    if (leaves_the_handheld(path)) return console.fail(device + ": a device path cannot leave the handheld (no \"..\")");
    return on_device(source_) ? off_device(path, target_, console) : onto_device(source_, path, console);
}

ExitCode CopyVerb::onto_device(const std::string& host, const std::u16string& device, Console& console) const {
    std::error_code error;
    if (!fs::is_regular_file(host, error)) return console.fail(host + ": no such file here");
    std::ifstream in(host, std::ios::binary);
    if (!in) return console.fail(host + ": cannot be read");
    const std::u16string name = ce::utf16_from_utf8(fs::path(host).filename().string());
    const std::u16string target = is_device_folder(device) ? joined(device, name) : device;
    if (!is_device_folder(parent_of(target)))
        return console.fail(shown(parent_of(target)) + ": no such folder on the handheld");
    ce::HANDLE file = ce::CreateFileW(target.c_str(), ce::GENERIC_WRITE, 0, ce::CREATE_ALWAYS);
    if (file == ce::INVALID_HANDLE_VALUE) return console.fail(shown(target) + ": " + error_text(ce::GetLastError()));
    std::vector<char> buffer(kChunk);
    bool written = true;
    while (written && in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        const auto got = static_cast<ce::DWORD>(in.gcount());
        ce::DWORD put = 0;
        written = got == 0 || (ce::WriteFile(file, buffer.data(), got, &put) != ce::FALSE && put == got);
    }
    const ce::DWORD write_error = written ? ce::ERROR_SUCCESS : ce::GetLastError();
    ce::CloseHandle(file);
    if (!written || in.bad()) {
        ce::DeleteFileW(target.c_str());
        return console.fail(shown(target) + ": " + (written ? std::string("reading ") + host + " failed" : error_text(write_error)));
    }
    console.out() << shown(target) << '\n';
    return ExitCode::ok;
}

ExitCode CopyVerb::off_device(const std::u16string& device, const std::string& host, Console& console) const {
    if (is_device_folder(device)) return console.fail(shown(device) + ": a folder; cp copies one file");
    ce::HANDLE file = ce::CreateFileW(device.c_str(), ce::GENERIC_READ, ce::FILE_SHARE_READ, ce::OPEN_EXISTING);
    if (file == ce::INVALID_HANDLE_VALUE) {
        const ce::DWORD error = ce::GetLastError();
        if (error == ce::ERROR_FILE_NOT_FOUND || error == ce::ERROR_PATH_NOT_FOUND)
            return console.fail(shown(device) + ": no such file on the handheld");
        return console.fail(shown(device) + ": " + error_text(error));
    }
    std::error_code error;
    fs::path target(host);
    if (fs::is_directory(target, error)) target /= ce::utf8_from_utf16(name_of(device));
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    if (!fs::is_directory(folder, error)) {
        ce::CloseHandle(file);
        return console.fail(folder.string() + ": no such folder here");
    }
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    bool copied = static_cast<bool>(out);
    std::vector<char> buffer(kChunk);
    ce::DWORD got = 0;
    ce::DWORD read_error = ce::ERROR_SUCCESS;
    while (copied) {
        if (ce::ReadFile(file, buffer.data(), static_cast<ce::DWORD>(buffer.size()), &got) == ce::FALSE) {
            read_error = ce::GetLastError();
            break;
        }
        if (got == 0) break;
        copied = static_cast<bool>(out.write(buffer.data(), got));
    }
    ce::CloseHandle(file);
    out.close();
    if (read_error != ce::ERROR_SUCCESS || !copied || !out) {
        // A part of the file passed for the whole would be worse than none.
        fs::remove(target, error);
        if (read_error != ce::ERROR_SUCCESS)
            return console.fail(shown(device) + ": reading failed: " + error_text(read_error));
        return console.fail(target.string() + ": cannot be written");
    }
    console.out() << target.string() << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
