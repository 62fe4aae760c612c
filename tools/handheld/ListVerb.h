#pragma once
// `handheld ls`: the entries of a device folder, in the order the handheld's file
// system lists them (the order a program enumerating the folder sees).

#include <string>

#include "Verb.h"
#include "ce/Files.h"

namespace handheld {

class ListVerb : public Verb {
public:
    ListVerb() : Verb("ls", "list a folder of the handheld's file system") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;
    static void print_entry(const ce::WIN32_FIND_DATAW& entry, Console& console);
    static ExitCode list(const std::u16string& pattern, Console& console);

    std::string path_ = "\\";
};

}  // namespace handheld
