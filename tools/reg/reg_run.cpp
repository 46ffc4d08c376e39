#include "tools/reg/reg_run.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>

#include "runtime/numbers.h"
#include "runtime/strings.h"
#include "tools/reg/reg_command.h"
#include "tools/reg/reg_file.h"
#include "tools/reg/reg_text.h"

namespace tv::reg {
namespace {

constexpr const char* kDone = "The operation completed successfully.";
constexpr const char* kNotFound =
    "ERROR: The system was unable to find the specified registry key or value.";

std::string errorText(long rc) {
    switch (rc) {
        case ERROR_FILE_NOT_FOUND:
            return kNotFound;
        case ERROR_ACCESS_DENIED:
            return "ERROR: Access is denied.";
        case ERROR_INVALID_PARAMETER:
            return "ERROR: The parameter is incorrect.";
        case ERROR_BAD_PATHNAME:
            return "ERROR: Invalid key name.";
        case ERROR_KEY_DELETED:
            return "ERROR: The key was deleted by another program.";
        case ERROR_REGISTRY_IO_FAILED:
            return "ERROR: The registry store could not be written.";
        case ERROR_REGISTRY_CORRUPT:
            return "ERROR: The registry store is damaged.";
        case ERROR_BUSY:
            return "ERROR: The registry store is busy: another program is writing to it. Try "
                   "again.";
        default:
            return "ERROR: The registry call failed with code " + std::to_string(rc) + ".";
    }
}

std::string displayName(const std::string& name) {
    return name.empty() ? "(Default)" : name;
}

struct Value {
    std::string name;
    std::uint32_t type = REG_NONE;
    std::vector<std::uint8_t> data;
};

class Runner {
  public:
    Runner(SqliteRegistry& store, std::istream& in, std::ostream& out, std::ostream& err)
        : store_(store), in_(in), out_(out), err_(err) {}

    int run(const Command& command) {
        switch (command.operation) {
            case Operation::Query:
                return query(command);
            case Operation::Add:
                return add(command);
            case Operation::Delete:
                return remove(command);
            case Operation::Export:
                return exportKey(command);
            case Operation::Import:
                return import(command);
            case Operation::Help:
                break;
        }
        return 0;
    }

  private:
    int fail(const std::string& line) {
        err_ << line << "\n";
        return 1;
    }
    int failCode(long rc) { return fail(errorText(rc)); }
    int done() {
        out_ << kDone << "\n";
        return 0;
    }
    int cancelled() { return fail("ERROR: The operation was cancelled."); }

    bool confirm(const std::string& question) {
        while (true) {
            out_ << question << " " << std::flush;
            std::string answer;
            if (!std::getline(in_, answer)) {
                out_ << "\n";
                return false;
            }
            answer = toUpperAscii(trimBlanks(answer));
            if (answer == "Y" || answer == "YES") {
                return true;
            }
            if (answer == "N" || answer == "NO") {
                return false;
            }
        }
    }

    std::vector<Value> values(HKEY key) {
        std::vector<Value> list;
        Value value;
        for (std::uint32_t i = 0;
             store_.RegEnumValueA(key, i, &value.name, &value.type, &value.data) == ERROR_SUCCESS;
             ++i) {
            list.push_back(value);
        }
        return list;
    }

    std::vector<std::string> subkeys(HKEY key) {
        std::vector<std::string> names;
        std::string name;
        for (std::uint32_t i = 0; store_.RegEnumKeyA(key, i, &name) == ERROR_SUCCESS; ++i) {
            names.push_back(name);
        }
        return names;
    }

    std::optional<Value> findValue(HKEY key, const std::string& name) {
        for (Value& value : values(key)) {
            if (equalsIgnoreCase(value.name, name)) {
                return value;
            }
        }
        return std::nullopt;
    }

    void printValue(const Value& value) {
        out_ << "    " << displayName(value.name) << "    " << typeName(value.type) << "    "
             << displayData(value.type, value.data) << "\n";
    }

    // Prints the key and, with recursive, everything below it; returns values matched.
    // The queried key itself gets a header only when it shows values; the keys below it
    // in a recursive listing always do, as the Windows tool prints them.
    int printTree(HKEY key, const Command& command, bool below = false) {
        std::string path = store_.keyPath(key).value_or("");
        int matches = 0;
        std::vector<Value> shown;
        for (Value& value : values(key)) {
            if (!command.valueName || equalsIgnoreCase(value.name, *command.valueName)) {
                shown.push_back(std::move(value));
            }
        }
        // An unset default value still shows, as "(value not set)".
        if (command.valueName && command.valueName->empty() && shown.empty() && !below) {
            out_ << path << "\n    (Default)    REG_SZ    (value not set)\n\n";
        } else if (command.valueName ? !shown.empty() : below || !shown.empty()) {
            out_ << path << "\n";
            for (const Value& value : shown) {
                printValue(value);
            }
            out_ << "\n";
            matches += static_cast<int>(shown.size());
        }
        for (const std::string& name : subkeys(key)) {
            if (!command.recursive) {
                if (!command.valueName) {
                    out_ << path << "\\" << name << "\n";
                }
                continue;
            }
            HKEY child = 0;
            if (store_.RegOpenKeyExA(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
                matches += printTree(child, command, true);
                store_.RegCloseKey(child);
            }
        }
        return matches;
    }

    int query(const Command& command) {
        HKEY key = 0;
        long rc = store_.RegOpenKeyExA(command.key.root, command.key.subKey, 0, KEY_READ, &key);
        if (rc != ERROR_SUCCESS) {
            return failCode(rc);
        }
        if (command.valueName && !command.valueName->empty() && !command.recursive &&
            !findValue(key, *command.valueName)) {
            store_.RegCloseKey(key);
            return failCode(ERROR_FILE_NOT_FOUND);
        }
        out_ << "\n";
        int matches = printTree(key, command);
        store_.RegCloseKey(key);
        if (command.valueName && command.recursive) {
            out_ << "End of search: " << matches << " match(es) found.\n";
        }
        bool unsetDefault = command.valueName && command.valueName->empty() && !command.recursive;
        return command.valueName && matches == 0 && !unsetDefault ? failCode(ERROR_FILE_NOT_FOUND)
                                                                  : 0;
    }

    int add(const Command& command) {
        HKEY key = 0;
        if (command.valueName && !command.force &&
            store_.RegOpenKeyExA(command.key.root, command.key.subKey, 0, KEY_READ, &key) ==
                ERROR_SUCCESS) {
            bool exists = findValue(key, *command.valueName).has_value();
            store_.RegCloseKey(key);
            if (exists && !confirm("Value " + displayName(*command.valueName) +
                                   " exists, overwrite(Yes/No)?")) {
                return cancelled();
            }
        }
        long rc = store_.transact([&]() -> long {
            long created = store_.RegCreateKeyExA(command.key.root, command.key.subKey, &key);
            if (created != ERROR_SUCCESS || !command.valueName) {
                return created;
            }
            long set =
                store_.RegSetValueExA(key, *command.valueName, 0, command.type, command.data.data(),
                                      static_cast<std::uint32_t>(command.data.size()));
            store_.RegCloseKey(key);
            return set;
        });
        return rc == ERROR_SUCCESS ? done() : failCode(rc);
    }

    int remove(const Command& command) {
        HKEY key = 0;
        long rc = store_.RegOpenKeyExA(command.key.root, command.key.subKey, 0,
                                       KEY_READ | KEY_WRITE, &key);
        if (rc != ERROR_SUCCESS) {
            return failCode(rc);
        }
        std::string path = store_.keyPath(key).value_or(command.key.text());
        rc = deleteIn(key, path, command);
        store_.RegCloseKey(key);
        return rc == ERROR_SUCCESS ? done() : rc == -1 ? cancelled() : failCode(rc);
    }

    // -1 when the user said No.
    long deleteIn(HKEY key, const std::string& path, const Command& command) {
        if (command.valueName) {
            auto value = findValue(key, *command.valueName);
            if (!value) {
                return ERROR_FILE_NOT_FOUND;
            }
            if (!command.force &&
                !confirm("Delete the registry value " + displayName(value->name) + " (Yes/No)?")) {
                return -1;
            }
            return store_.RegDeleteValueA(key, value->name);
        }
        if (command.allValues) {
            if (!command.force &&
                !confirm("Delete all values under the registry key " + path + " (Yes/No)?")) {
                return -1;
            }
            return store_.transact([&]() -> long {
                for (const Value& value : values(key)) {
                    if (long rc = store_.RegDeleteValueA(key, value.name); rc != ERROR_SUCCESS) {
                        return rc;
                    }
                }
                return ERROR_SUCCESS;
            });
        }
        if (!command.force &&
            !confirm("Permanently delete the registry key " + path + " (Yes/No)?")) {
            return -1;
        }
        return store_.RegDeleteTree(command.key.root, command.key.subKey);
    }

    void collect(HKEY key, std::vector<ExportKey>* keys) {
        ExportKey entry{store_.keyPath(key).value_or(""), {}};
        for (Value& value : values(key)) {
            entry.values.push_back({value.name, value.type, std::move(value.data)});
        }
        keys->push_back(std::move(entry));
        for (const std::string& name : subkeys(key)) {
            HKEY child = 0;
            if (store_.RegOpenKeyExA(key, name, 0, KEY_READ, &child) == ERROR_SUCCESS) {
                collect(child, keys);
                store_.RegCloseKey(child);
            }
        }
    }

    int exportKey(const Command& command) {
        HKEY key = 0;
        long rc = store_.RegOpenKeyExA(command.key.root, command.key.subKey, 0, KEY_READ, &key);
        if (rc != ERROR_SUCCESS) {
            return failCode(rc);
        }
        std::vector<ExportKey> keys;
        collect(key, &keys);
        store_.RegCloseKey(key);
        std::string text;
        std::string error;
        if (!formatRegFile(keys, &text, &error)) {
            return fail("ERROR: Cannot export: " + error + ".");
        }
        struct stat info {};
        if (!command.force && stat(command.file.c_str(), &info) == 0 &&
            !confirm("File " + command.file + " already exists. Overwrite (Yes/No)?")) {
            return cancelled();
        }
        return writeFileAtomically(command.file, encodeUtf16File(text)) ? done() : 1;
    }

    bool writeFileAtomically(const std::string& path, const std::string& bytes) {
        std::string temp = path + ".XXXXXX";
        int fd = mkstemp(temp.data());
        if (fd < 0) {
            fail("ERROR: Cannot write " + path + ": " + std::strerror(errno) + ".");
            return false;
        }
        bool ok = fchmod(fd, 0644) == 0 &&
                  write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()) &&
                  fsync(fd) == 0;
        ok = close(fd) == 0 && ok && rename(temp.c_str(), path.c_str()) == 0;
        if (!ok) {
            fail("ERROR: Cannot write " + path + ": " + std::strerror(errno) + ".");
            unlink(temp.c_str());
        }
        return ok;
    }

    long apply(const RegOperation& op) {
        if (op.kind == RegOperation::Kind::DeleteKey) {
            long rc = store_.RegDeleteTree(op.key.root, op.key.subKey);
            return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
        }
        HKEY key = 0;
        long rc = store_.RegCreateKeyExA(op.key.root, op.key.subKey, &key);
        if (rc != ERROR_SUCCESS) {
            return rc;
        }
        if (op.kind == RegOperation::Kind::SetValue) {
            rc = store_.RegSetValueExA(key, op.name, 0, op.type, op.data.data(),
                                       static_cast<std::uint32_t>(op.data.size()));
        } else if (op.kind == RegOperation::Kind::DeleteValue) {
            rc = store_.RegDeleteValueA(key, op.name);
            rc = rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
        }
        store_.RegCloseKey(key);
        return rc;
    }

    int import(const Command& command) {
        struct stat info {};
        std::ifstream file;
        if (stat(command.file.c_str(), &info) == 0 && !S_ISDIR(info.st_mode)) {
            file.open(command.file, std::ios::binary);
        }
        std::string bytes;
        try {
            bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
        } catch (const std::ios_base::failure&) {
            file.setstate(std::ios::badbit);
        }
        if (!file.is_open() || file.bad()) {
            return fail("ERROR: Cannot read " + command.file + ".");
        }
        if (bytes.empty()) {
            return fail("ERROR: " + command.file + " is empty; nothing was imported.");
        }
        std::string text;
        std::string error;
        if (!decodeRegFileBytes(bytes, &text, &error)) {
            return fail("ERROR: " + command.file + ": " + error + "; nothing was imported.");
        }
        RegFileParse parsed = parseRegFile(text);
        if (!parsed.error.empty()) {
            return fail("ERROR: " + command.file + " line " + std::to_string(parsed.errorLine) +
                        ": " + parsed.error + "; nothing was imported.");
        }
        int failedLine = 0;
        long rc = store_.transact([&]() -> long {
            for (const RegOperation& op : parsed.operations) {
                if (long result = apply(op); result != ERROR_SUCCESS) {
                    failedLine = op.line;
                    return result;
                }
            }
            return ERROR_SUCCESS;
        });
        if (rc == ERROR_SUCCESS) {
            return done();
        }
        // Start-up entries are written when the values are in place: a failure then
        // belongs to the first line that changes one.
        for (const RegOperation& op : parsed.operations) {
            bool entry = op.kind == RegOperation::Kind::SetValue ||
                         op.kind == RegOperation::Kind::DeleteValue;
            if (failedLine == 0 && rc == ERROR_ACCESS_DENIED && entry &&
                equalsIgnoreCase(op.key.text(), kRunKeyPath)) {
                failedLine = op.line;
            }
        }
        if (failedLine == 0) {
            return fail(errorText(rc) + " Nothing was imported from " + command.file + ".");
        }
        // "ERROR: " of the code's text moves to the front of the line.
        return fail("ERROR: " + command.file + " line " + std::to_string(failedLine) + ": " +
                    errorText(rc).substr(7) + " Nothing was imported.");
    }

    SqliteRegistry& store_;
    std::istream& in_;
    std::ostream& out_;
    std::ostream& err_;
};

}  // namespace

int runReg(const std::vector<std::string>& args, const StoreFactory& openStore, std::istream& in,
           std::ostream& out, std::ostream& err) {
    ParsedCommand parsed = parseCommand(args);
    if (!parsed.command) {
        err << parsed.error << "\n";
        return 1;
    }
    if (parsed.command->operation == Operation::Help) {
        out << usageText(parsed.command->helpTopic);
        return 0;
    }
    std::unique_ptr<SqliteRegistry> store;
    try {
        store = openStore();
    } catch (const std::exception& e) {
        err << "ERROR: Cannot open the registry store: " << e.what() << "\n";
        return 1;
    }
    int code = Runner(*store, in, out, err).run(*parsed.command);
    // Damaged pages read as missing keys and values; what was shown cannot be trusted.
    if (!store->damage().empty()) {
        err << "ERROR: " << store->damage() << "\n";
        return 1;
    }
    return code;
}

}  // namespace tv::reg
