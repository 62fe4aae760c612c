#include "host/registry/RegistryStore.h"

#include <mutex>

#include "ce/Text.h"
#include "host/registry/RegistryHandles.h"
#include "host/registry/RegistryName.h"

namespace host {

namespace {

bool is_root(std::int64_t key) {
    return key == RegistryHandles::kCurrentUserId || key == RegistryHandles::kLocalMachineId;
}

}  // namespace

ce::LONG RegistryStore::check_key(std::int64_t key) {
    Statement query(db_.handle(), "SELECT 1 FROM reg_keys WHERE id = ?1");
    query.bind(1, key);
    const int rc = query.step();
    if (rc == SQLITE_ROW) return ce::ERROR_SUCCESS;
    return rc == SQLITE_DONE ? ce::ERROR_BADKEY : ce::ERROR_CANTREAD;
}

ce::LONG RegistryStore::find_child(std::int64_t parent, std::u16string_view name, std::int64_t* id) {
    Statement query(db_.handle(), "SELECT id FROM reg_keys WHERE parent = ?1 AND folded = ?2");
    query.bind(1, parent).bind(2, registry_name::folded(name));
    const int rc = query.step();
    if (rc == SQLITE_DONE) return ce::ERROR_FILE_NOT_FOUND;
    if (rc != SQLITE_ROW) return ce::ERROR_CANTREAD;
    *id = query.column_int(0);
    return ce::ERROR_SUCCESS;
}

ce::LONG RegistryStore::insert_child(std::int64_t parent, std::u16string_view name, std::int64_t* id) {
    Statement insert(db_.handle(), "INSERT INTO reg_keys (parent, name, folded) VALUES (?1, ?2, ?3)");
    insert.bind(1, parent).bind(2, ce::utf8_from_utf16(name)).bind(3, registry_name::folded(name));
    if (!insert.run()) return ce::ERROR_CANTWRITE;
    *id = db_.last_insert_rowid();
    return ce::ERROR_SUCCESS;
}

ce::LONG RegistryStore::walk(std::int64_t from, const std::vector<std::u16string>& path, bool create,
                             std::int64_t* id, bool* created) {
    if (const ce::LONG rc = check_key(from); rc != ce::ERROR_SUCCESS) return rc;
    std::int64_t current = from;
    bool made = false;
    for (const auto& component : path) {
        std::int64_t next = 0;
        ce::LONG rc = find_child(current, component, &next);
        if (rc == ce::ERROR_FILE_NOT_FOUND && create) {
            rc = insert_child(current, component, &next);
            made = true;
        }
        if (rc != ce::ERROR_SUCCESS) return rc;
        current = next;
    }
    *id = current;
    if (created != nullptr) *created = made;
    return ce::ERROR_SUCCESS;
}

ce::LONG RegistryStore::open(std::int64_t from, const std::vector<std::u16string>& path, std::int64_t* id) {
    if (!db_.is_open()) return ce::ERROR_CANTREAD;
    std::lock_guard guard(db_.lock());
    return walk(from, path, false, id, nullptr);
}

ce::LONG RegistryStore::create(std::int64_t from, const std::vector<std::u16string>& path, std::int64_t* id,
                               bool* created) {
    if (!db_.is_open()) return ce::ERROR_CANTWRITE;
    Transaction transaction(db_);
    if (!transaction.ok()) return ce::ERROR_CANTWRITE;
    const ce::LONG rc = walk(from, path, true, id, created);
    if (rc != ce::ERROR_SUCCESS) return rc;
    return transaction.commit() ? ce::ERROR_SUCCESS : ce::ERROR_CANTWRITE;
}

ce::LONG RegistryStore::subkey(std::int64_t key, ce::DWORD index, std::u16string* name) {
    if (!db_.is_open()) return ce::ERROR_CANTREAD;
    std::lock_guard guard(db_.lock());
    Statement query(db_.handle(), "SELECT name FROM reg_keys WHERE parent = ?1 ORDER BY id LIMIT 1 OFFSET ?2");
    query.bind(1, key).bind(2, std::int64_t{index});
    const int rc = query.step();
    if (rc == SQLITE_ROW) {
        *name = ce::utf16_from_utf8(query.column_text(0));
        return ce::ERROR_SUCCESS;
    }
    if (rc != SQLITE_DONE) return ce::ERROR_CANTREAD;
    const ce::LONG exists = check_key(key);
    return exists == ce::ERROR_SUCCESS ? ce::ERROR_NO_MORE_ITEMS : exists;
}

ce::LONG RegistryStore::delete_key(std::int64_t key) {
    if (is_root(key)) return ce::ERROR_ACCESS_DENIED;
    if (!db_.is_open()) return ce::ERROR_CANTWRITE;
    Transaction transaction(db_);
    if (!transaction.ok()) return ce::ERROR_CANTWRITE;
    if (const ce::LONG rc = check_key(key); rc != ce::ERROR_SUCCESS)
        return rc == ce::ERROR_BADKEY ? ce::ERROR_FILE_NOT_FOUND : rc;
    Statement children(db_.handle(), "SELECT 1 FROM reg_keys WHERE parent = ?1 LIMIT 1");
    children.bind(1, key);
    const int rc = children.step();
    if (rc == SQLITE_ROW) return ce::ERROR_ACCESS_DENIED;
    if (rc != SQLITE_DONE) return ce::ERROR_CANTREAD;
    Statement values(db_.handle(), "DELETE FROM reg_values WHERE key = ?1");
    Statement self(db_.handle(), "DELETE FROM reg_keys WHERE id = ?1");
    if (!values.bind(1, key).run() || !self.bind(1, key).run()) return ce::ERROR_CANTWRITE;
    return transaction.commit() ? ce::ERROR_SUCCESS : ce::ERROR_CANTWRITE;
}

ce::LONG RegistryStore::read_value(std::int64_t key, std::u16string_view name, Value* value) {
    if (!db_.is_open()) return ce::ERROR_CANTREAD;
    std::lock_guard guard(db_.lock());
    Statement query(db_.handle(), "SELECT name, type, data FROM reg_values WHERE key = ?1 AND folded = ?2");
    query.bind(1, key).bind(2, registry_name::folded(name));
    const int rc = query.step();
    if (rc == SQLITE_ROW) {
        value->name = ce::utf16_from_utf8(query.column_text(0));
        value->type = static_cast<ce::DWORD>(query.column_int(1));
        value->data = query.column_blob(2);
        return ce::ERROR_SUCCESS;
    }
    if (rc != SQLITE_DONE) return ce::ERROR_CANTREAD;
    const ce::LONG exists = check_key(key);
    return exists == ce::ERROR_SUCCESS ? ce::ERROR_FILE_NOT_FOUND : exists;
}

ce::LONG RegistryStore::write_value(std::int64_t key, std::u16string_view name, ce::DWORD type,
                                    const std::uint8_t* data, std::size_t bytes) {
    if (!db_.is_open()) return ce::ERROR_CANTWRITE;
    Transaction transaction(db_);
    if (!transaction.ok()) return ce::ERROR_CANTWRITE;
    if (const ce::LONG rc = check_key(key); rc != ce::ERROR_SUCCESS) return rc;
    Statement upsert(db_.handle(), "INSERT INTO reg_values (key, folded, name, type, data) VALUES (?1, ?2, ?3, ?4, ?5) "
                                   "ON CONFLICT(key, folded) DO UPDATE SET type = excluded.type, data = excluded.data");
    upsert.bind(1, key).bind(2, registry_name::folded(name)).bind(3, ce::utf8_from_utf16(name));
    upsert.bind(4, std::int64_t{type}).bind_blob(5, data, bytes);
    if (!upsert.run()) return ce::ERROR_CANTWRITE;
    return transaction.commit() ? ce::ERROR_SUCCESS : ce::ERROR_CANTWRITE;
}

ce::LONG RegistryStore::delete_value(std::int64_t key, std::u16string_view name) {
    if (!db_.is_open()) return ce::ERROR_CANTWRITE;
    Transaction transaction(db_);
    if (!transaction.ok()) return ce::ERROR_CANTWRITE;
    if (const ce::LONG rc = check_key(key); rc != ce::ERROR_SUCCESS) return rc;
    Statement remove(db_.handle(), "DELETE FROM reg_values WHERE key = ?1 AND folded = ?2");
    if (!remove.bind(1, key).bind(2, registry_name::folded(name)).run()) return ce::ERROR_CANTWRITE;
    if (db_.changes() == 0) return ce::ERROR_FILE_NOT_FOUND;
    return transaction.commit() ? ce::ERROR_SUCCESS : ce::ERROR_CANTWRITE;
}

ce::LONG RegistryStore::values(std::int64_t key, std::vector<Value>* values) {
    if (!db_.is_open()) return ce::ERROR_CANTREAD;
    std::lock_guard guard(db_.lock());
    if (const ce::LONG rc = check_key(key); rc != ce::ERROR_SUCCESS) return rc;
    Statement query(db_.handle(), "SELECT name, type, data FROM reg_values WHERE key = ?1 ORDER BY rowid");
    query.bind(1, key);
    values->clear();
    int rc;
    while ((rc = query.step()) == SQLITE_ROW)
        values->push_back({ce::utf16_from_utf8(query.column_text(0)), static_cast<ce::DWORD>(query.column_int(1)),
                           query.column_blob(2)});
    return rc == SQLITE_DONE ? ce::ERROR_SUCCESS : ce::ERROR_CANTREAD;
}

}  // namespace host
