#pragma once
// Record-by-record access to a file in the Palm database container: open or create it,
// set its type and creator, append, read and delete records. Every change is written at
// once, and atomically: the new image goes to a temporary file beside the old one and
// replaces it in one rename, so a crash leaves either the old or the new file.

#include <cstdint>
#include <string>
#include <vector>

#include "ce/Types.h"
#include "recordfile/PdbLayout.h"

class CPDBMngr {
public:
    // Results of DeleteRecord; Open fails with 1 and Create with 3.
    static constexpr int kOk = 0;
    static constexpr int kNotOpen = 1;
    static constexpr int kBadIndex = 2;
    static constexpr int kReadOnly = 3;
    static constexpr int kCreateFailed = 3;
    static constexpr int kLoadFailed = 5;
    static constexpr int kRewriteFailed = 6;

    // With keepDeleted, records marked deleted stay in the record list on rewrites.
    explicit CPDBMngr(bool keepDeleted = false);
    CPDBMngr(const CPDBMngr&) = delete;
    CPDBMngr& operator=(const CPDBMngr&) = delete;

    virtual ~CPDBMngr();
    // A file with the read-only attribute is opened for reading only, without sharing;
    // any other for reading and writing, sharing reads. 0, or 1 when it cannot be opened.
    virtual int Open(const std::u16string& path);
    // For a reader that will not write: reading only, sharing reads and refusing writers
    // while open. Its close is no write of the file (nobody watching the folder is told).
    // 0, or 1 when it cannot be opened.
    int OpenForReading(const std::u16string& path);
    // Creates (or replaces) the file as an empty database named after the file. 0, or 3.
    virtual int Create(const std::u16string& path);
    virtual int DeleteRecord(int index);
    virtual void Close();

    bool IsOpen() const { return file_ != nullptr; }
    bool IsReadOnly() const { return read_only_; }
    int RecordCount() const { return record_count_; }
    std::uint32_t FileSize() const { return file_size_; }
    const std::u16string& Path() const { return path_; }

    bool SetType(std::uint32_t type) { return WriteHeaderWord(pdb::kTypeOffset, type); }
    bool SetCreator(std::uint32_t creator) { return WriteHeaderWord(pdb::kCreatorOffset, creator); }

    // Re-reads the count at offset 76; -1 when it cannot be read.
    int ReadRecordCount();
    // The record's data, empty when the file is closed, the index is out of range, the
    // record is marked deleted or its extent is not inside the file.
    std::vector<std::uint8_t> ReadRecord(int index);
    // Appends a record (attributes 0x40, unique id 0) as the last one; its index, or -1.
    int AddRecord(const void* data, std::size_t size);
    // Drops record `index` and appends `data` as the last record in one rewrite, so the
    // file never lacks both. The new record's index, or -1.
    int ReplaceRecord(int index, const void* data, std::size_t size);

protected:
    // The live (not deleted) records with their extents, as readers see them.
    struct Extent {
        int index = 0;
        std::uint32_t begin = 0;
        std::uint32_t end = 0;
    };
    // Every entry of the record list; false when the list does not fit in the file.
    bool ReadEntries(std::vector<pdb::RecordEntry>& entries);
    // Extents of the live records from the entries; a record whose extent leaves the
    // file or runs backwards gets an empty extent.
    std::vector<Extent> LiveExtents(const std::vector<pdb::RecordEntry>& entries) const;
    bool ReadAt(std::uint32_t offset, void* buffer, std::uint32_t bytes);
    // The live records' extents as the file holds them now; null when the record count or
    // list cannot be read. Worked out once while the file is read whole (lookups of many
    // tags ask again and again), and valid until the next call or change.
    const std::vector<Extent>* CurrentLiveExtents();

    // For lookups that visit every record: from now on ReadAt serves from one read of the
    // whole file, and fails where that read did not reach, as a read of the file would.
    // The copy lasts until this handle writes or closes the file: every handle refuses
    // others writing, so nobody else changes it meanwhile.
    void ReadWhole();

private:
    // Reads a freshly opened file whole in one call when it is small; false otherwise
    // (nothing is kept, and the position is to be set again).
    bool ReadSmallWhole();
    // Reads up to `bytes` from the start into the copy ReadAt serves from; false, keeping
    // nothing, when the read fails.
    bool ReadFromStart(std::uint32_t bytes);

    struct CachedRecord {
        pdb::RecordEntry entry;
        std::vector<std::uint8_t> data;  // padded to an even size
    };

    int OpenWith(const std::u16string& path, bool read_only, ce::DWORD share);
    bool WriteHeaderWord(std::size_t offset, std::uint32_t value);
    bool LoadCache(std::vector<CachedRecord>& cache);
    bool Rewrite(const std::vector<CachedRecord>& cache);
    bool CommitImage(const std::vector<std::uint8_t>& image);

    ce::HANDLE file_ = nullptr;
    int record_count_ = 0;
    std::uint32_t file_size_ = 0;
    bool read_only_ = false;
    std::u16string path_;
    const bool keep_deleted_;
    // Forgets the copy ReadWhole made: the file is about to change or close.
    void ForgetWhole();

    std::vector<std::uint8_t> whole_;  // the file as ReadWhole read it
    bool reading_whole_ = false;
    std::vector<Extent> extents_;  // what CurrentLiveExtents answered
    bool extents_of_whole_ = false;  // extents_ stands for whole_
};
