#pragma once
// `handheld ls`: the entries of a device folder, in the order the handheld's file
// system lists them (the order a program enumerating the folder sees).

#include <string>

#include "Verb.h"
#include "ce/Files.h"

namespace handheld {

class ListVerb : public Verb {
public:
    std::string_view name() const override { return "ls"; }
    std::string_view summary() const override { return "list a folder of the handheld's file system"; }
    std::string_view help() const override;
    ExitCode run(const std::vector<std::string>& arguments, Console& console) override;

private:
    static void print_entry(const ce::WIN32_FIND_DATAW& entry, Console& console);
    static ExitCode list(const std::u16string& pattern, Console& console);
};

}  // namespace handheld
