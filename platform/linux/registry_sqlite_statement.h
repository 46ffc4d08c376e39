#pragma once
// Shared by the store's source files: the cached statement wrapper and column readers.

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/linux/registry_sqlite.h"

namespace tv {

inline constexpr HKEY kFirstRoot = HKEY_CLASSES_ROOT;
inline constexpr HKEY kLastRoot = HKEY_DYN_DATA;

inline std::string blobText(sqlite3_stmt* stmt, int column) {
    const auto* text = static_cast<const char*>(sqlite3_column_blob(stmt, column));
    return text == nullptr
               ? std::string()
               : std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
}

inline std::vector<std::uint8_t> blobBytes(sqlite3_stmt* stmt, int column) {
    const auto* bytes = static_cast<const std::uint8_t*>(sqlite3_column_blob(stmt, column));
    int size = sqlite3_column_bytes(stmt, column);
    return bytes == nullptr ? std::vector<std::uint8_t>()
                            : std::vector<std::uint8_t>(bytes, bytes + size);
}

// Binds parameters and resets the cached statement when it goes out of scope.
class SqliteRegistry::Statement {
  public:
    Statement(SqliteRegistry& owner, const char* sql)
        : owner_(owner), stmt_(owner.statement(sql)) {}
    ~Statement() {
        if (stmt_ != nullptr) {
            sqlite3_reset(stmt_);
            sqlite3_clear_bindings(stmt_);
        }
    }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    Statement& bind(int index, std::int64_t value) {
        sqlite3_bind_int64(stmt_, index, value);
        return *this;
    }
    Statement& bind(int index, const std::string& text) {
        sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
        return *this;
    }
    Statement& bindBlob(int index, const std::uint8_t* data, std::uint32_t size) {
        // A zero-length blob must still be a blob, not NULL.
        sqlite3_bind_blob(stmt_, index, size == 0 ? "" : static_cast<const void*>(data),
                          static_cast<int>(size), SQLITE_STATIC);
        return *this;
    }
    int step() { return stmt_ == nullptr ? SQLITE_ERROR : owner_.noteResult(sqlite3_step(stmt_)); }
    sqlite3_stmt* get() const { return stmt_; }

  private:
    SqliteRegistry& owner_;
    sqlite3_stmt* stmt_;
};

}  // namespace tv
