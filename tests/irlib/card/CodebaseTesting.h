#pragma once
// Codebase files built byte by byte, and a handheld whose codebase folder is "\Alarms".

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TempDevice.h"
#include "irlib/card/database_registry.h"
#include "irlib/card/header_values.h"
#include "recordfile/PdbLayout.h"

namespace codebase_testing {

using Bytes = std::vector<std::uint8_t>;

inline Bytes text_bytes(const std::string& text, bool terminated = true) {
    Bytes bytes(text.begin(), text.end());
    if (terminated) bytes.push_back(0);
    return bytes;
}

inline Bytes macro_record(const std::string& name, const Bytes& body = {0xAB}) {
    Bytes bytes{0x00, 0x01};
    const Bytes text = text_bytes(name);
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.insert(bytes.end(), body.begin(), body.end());
    return bytes;
}

inline Bytes signal_record_bytes(const std::string& name, const Bytes& body = {0xCD, 0xEF}) {
    Bytes bytes = macro_record(name, body);
    bytes[1] = 0x02;
    return bytes;
}

struct Header {
    std::string name = "TV";
    std::uint16_t version = 100;
    std::uint32_t type = platform::card::kCodebaseType;
    std::uint32_t creator = platform::card::kCreator;
};

// A file as the layer writes it: records packed after the list and its gap.
inline Bytes codebase_image(const Header& header, const std::vector<Bytes>& records) {
    Bytes bytes(pdb::kHeaderSize + pdb::kEntrySize * records.size() + (records.empty() ? 0 : pdb::kGapSize), 0);
    std::copy(header.name.begin(), header.name.end(), bytes.begin());
    pdb::write_be16(&bytes[pdb::kVersionOffset], header.version);
    pdb::write_be32(&bytes[pdb::kTypeOffset], header.type);
    pdb::write_be32(&bytes[pdb::kCreatorOffset], header.creator);
    pdb::write_be16(&bytes[pdb::kRecordCountOffset], static_cast<std::uint16_t>(records.size()));
    for (std::size_t i = 0; i < records.size(); ++i) {
        pdb::write_be32(&bytes[pdb::kHeaderSize + pdb::kEntrySize * i], static_cast<std::uint32_t>(bytes.size()));
        bytes[pdb::kHeaderSize + pdb::kEntrySize * i + 4] = pdb::kRecordAdded;
        bytes.insert(bytes.end(), records[i].begin(), records[i].end());
    }
    return bytes;
}

class CodebaseFolder : public testing_support::TempDevice {
protected:
    void SetUp() override {
        TempDevice::SetUp();
        std::filesystem::create_directories(host_path("Alarms"));
        registry().set_codebase_folder(u"\\Alarms");
    }
    static platform::card::database_registry& registry() { return platform::card::database_registry::instance(); }

    Bytes file_bytes(const std::string& name) const {
        std::ifstream in(host_path("Alarms/" + name), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    void put_file(const std::string& name, const Bytes& bytes) const {
        std::ofstream out(host_path("Alarms/" + name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    bool file_there(const std::string& name) const { return std::filesystem::exists(host_path("Alarms/" + name)); }
    // Writes the file and makes the registry see it.
    void install(const std::string& file, const Bytes& bytes) const {
        put_file(file, bytes);
        registry().rescan();
    }
};

}  // namespace codebase_testing
