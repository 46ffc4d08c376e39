#include "platform/linux/autostart.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "platform/registry_api.h"
#include "runtime/numbers.h"
#include "runtime/strings.h"

namespace tv {
namespace {

constexpr std::string_view kSuffix = ".desktop";
constexpr std::string_view kDataKey = "X-Tolvane-RegistryData";
constexpr std::string_view kTypeKey = "X-Tolvane-RegistryType";
// Desktop files are small; anything bigger is not one we should slurp.
constexpr std::streamsize kMaxEntrySize = 1 << 20;
constexpr std::size_t kMaxFileName = 255;

std::vector<std::string> directoryEntries(const std::string& dir) {
    std::vector<std::string> names;
    DIR* handle = opendir(dir.c_str());
    if (handle == nullptr) {
        return names;
    }
    while (dirent* entry = readdir(handle)) {
        names.emplace_back(entry->d_name);
    }
    closedir(handle);
    std::sort(names.begin(), names.end());
    return names;
}

bool isRegularFile(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool readFile(const std::string& path, std::string* text) {
    if (!isRegularFile(path)) {
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    std::string content(static_cast<std::size_t>(kMaxEntrySize), '\0');
    in.read(content.data(), kMaxEntrySize);
    content.resize(static_cast<std::size_t>(in.gcount()));
    *text = std::move(content);
    return true;
}

bool makeFolders(const std::string& dir) {
    for (std::size_t pos = 1; pos <= dir.size(); ++pos) {
        if (pos == dir.size() || dir[pos] == '/') {
            std::string part = dir.substr(0, pos);
            if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) {
                return false;
            }
        }
    }
    return true;
}

bool writeAll(int fd, const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

std::string escapeDesktopString(std::string_view text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            case ' ':
                out += "\\s";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string unescapeDesktopString(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char next = text[++i];
        switch (next) {
            case 's':
                out += ' ';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case '\\':
                out += '\\';
                break;
            // Other escapes (";" in lists, the Exec quoting's "\"") stay for the next layer.
            default:
                out += '\\';
                out += next;
        }
    }
    return out;
}

std::string quoteExecProgram(std::string_view path) {
    std::string out = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '%') {
            out += "%%";  // a lone % would start a field code
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

std::string resolveProgramPath(const std::string& path) {
    std::size_t slash = path.find_last_of("/\\");
    if (slash == std::string::npos || slash == 0) {
        return path;
    }
    std::string folder = path.substr(0, slash);
    std::string stem = path.substr(slash + 1);
    bool windowsStyle = path[slash] == '\\' || endsWithIgnoreCase(stem, ".exe");
    if (endsWithIgnoreCase(stem, ".exe")) {
        stem.resize(stem.size() - 4);
    }
    // A plain Linux path names its program exactly; only Windows-style ones are guessed.
    if (!windowsStyle || stem.empty()) {
        return path;
    }
    std::string found;
    for (const std::string& name : directoryEntries(folder)) {
        if (!equalsIgnoreCase(name, stem) || !isRegularFile(folder + "/" + name)) {
            continue;
        }
        if (name == stem) {
            return folder + "/" + name;
        }
        if (found.empty()) {
            found = name;
        }
    }
    return found.empty() ? path : folder + "/" + found;
}

std::string desktopEntryText(std::string_view name, std::string_view path, std::uint32_t type,
                             std::string_view program) {
    std::string text = "[Desktop Entry]\nType=Application\nName=" + escapeDesktopString(name) +
                       "\nExec=" + escapeDesktopString(quoteExecProgram(program)) + "\n" +
                       std::string(kDataKey) + "=" + escapeDesktopString(path) + "\n";
    if (type != REG_SZ) {
        text += std::string(kTypeKey) + "=" + std::to_string(type) + "\n";
    }
    return text;
}

DesktopEntry parseDesktopEntry(std::string_view text) {
    DesktopEntry entry;
    bool inMainGroup = false;
    std::istringstream lines{std::string(text)};
    std::string line;
    while (std::getline(lines, line)) {
        std::string trimmed = trimWhitespace(line);
        if (trimmed.empty() || trimmed[0] == '#') {
            continue;
        }
        if (trimmed[0] == '[') {
            inMainGroup = trimmed == "[Desktop Entry]";
            continue;
        }
        std::size_t equals = trimmed.find('=');
        if (!inMainGroup || equals == std::string::npos) {
            continue;
        }
        std::string key = trimWhitespace(std::string_view(trimmed).substr(0, equals));
        std::string value = unescapeDesktopString(trimWhitespace(trimmed.substr(equals + 1)));
        if (key == "Hidden") {
            entry.hidden = value == "true";
        } else if (key == "Exec") {
            entry.exec = value;
        } else if (key == kDataKey) {
            entry.hasRegistryData = true;
            entry.registryData = value;
        } else if (key == kTypeKey) {
            entry.registryType = value == "2" ? REG_EXPAND_SZ : REG_SZ;
        }
    }
    return entry;
}

AutostartFolder::AutostartFolder(std::string dir) : dir_(std::move(dir)) {
    while (dir_.size() > 1 && dir_.back() == '/') {
        dir_.pop_back();
    }
}

std::string AutostartFolder::findFile(const std::string& name) const {
    std::string exact = name + std::string(kSuffix);
    std::string found;
    for (const std::string& file : directoryEntries(dir_)) {
        if (file == exact) {
            return file;
        }
        if (found.empty() && equalsIgnoreCase(file, exact)) {
            found = file;
        }
    }
    return found;
}

long AutostartFolder::checkWrite(const std::string& name, std::uint32_t type,
                                 const std::vector<std::uint8_t>& data) const {
    // A line break would end the Name line of the file and export as a broken .reg line.
    bool badName = name.empty() || name[0] == '.' ||
                   name.find_first_of(std::string_view("/\r\n\0", 4)) != std::string::npos ||
                   name.size() + kSuffix.size() > kMaxFileName || !isValidUtf8(name);
    if (badName || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return ERROR_INVALID_PARAMETER;
    }
    auto end = data.end();
    while (end != data.begin() && *(end - 1) == 0) {
        --end;
    }
    // A NUL inside the text cannot be carried by a desktop file.
    bool text = std::find(data.begin(), end, 0) == end &&
                isValidUtf8(std::string_view(reinterpret_cast<const char*>(data.data()),
                                             static_cast<std::size_t>(end - data.begin())));
    return text ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
}

const AutostartFolder::Change* AutostartFolder::pendingChange(const std::string& name) const {
    for (auto change = pending_.rbegin(); change != pending_.rend(); ++change) {
        if (equalsIgnoreCase(change->name, name)) {
            return &*change;
        }
    }
    return nullptr;
}

long AutostartFolder::read(const std::string& name, std::uint32_t* type,
                           std::vector<std::uint8_t>* data) const {
    const Change* change = pendingChange(name);
    if (change == nullptr) {
        return readFolder(name, type, data);
    }
    if (change->remove) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (type != nullptr) {
        *type = change->type;
    }
    if (data != nullptr) {
        data->assign(change->path.begin(), change->path.end());
    }
    return ERROR_SUCCESS;
}

long AutostartFolder::readFolder(const std::string& name, std::uint32_t* type,
                                 std::vector<std::uint8_t>* data) const {
    if (name.empty() || name[0] == '.' || name.find('/') != std::string::npos) {
        return ERROR_FILE_NOT_FOUND;
    }
    std::string file = findFile(name);
    std::string text;
    if (file.empty() || !readFile(dir_ + "/" + file, &text)) {
        return ERROR_FILE_NOT_FOUND;
    }
    DesktopEntry entry = parseDesktopEntry(text);
    if (entry.hidden) {
        return ERROR_FILE_NOT_FOUND;
    }
    const std::string& value = entry.hasRegistryData ? entry.registryData : entry.exec;
    if (type != nullptr) {
        *type = entry.hasRegistryData ? entry.registryType : REG_SZ;
    }
    if (data != nullptr) {
        data->assign(value.begin(), value.end());
    }
    return ERROR_SUCCESS;
}

long AutostartFolder::write(const std::string& name, std::uint32_t type,
                            const std::vector<std::uint8_t>& data) {
    if (long check = checkWrite(name, type, data); check != ERROR_SUCCESS) {
        return check;
    }
    std::string path(data.begin(), std::find(data.begin(), data.end(), 0));
    if (batching_) {
        pending_.push_back({name, false, type, path, {}, {}});
        return ERROR_SUCCESS;
    }
    return writeNow(name, type, path);
}

long AutostartFolder::writeTemp(const std::string& file, std::uint32_t type,
                                const std::string& path, std::string* temp) {
    std::string text = desktopEntryText(file.substr(0, file.size() - kSuffix.size()), path, type,
                                        resolveProgramPath(path));
    if (!makeFolders(dir_)) {
        return ERROR_ACCESS_DENIED;
    }
    // A leading dot keeps a left-over file out of the listing.
    *temp = dir_ + "/.tolvane-XXXXXX";
    int fd = mkstemp(temp->data());
    if (fd < 0) {
        temp->clear();
        return ERROR_ACCESS_DENIED;
    }
    bool ok = fchmod(fd, 0644) == 0 && writeAll(fd, text) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (!ok) {
        unlink(temp->c_str());
        temp->clear();
        return ERROR_ACCESS_DENIED;
    }
    return ERROR_SUCCESS;
}

long AutostartFolder::writeNow(const std::string& name, std::uint32_t type,
                               const std::string& path) {
    // Overwriting keeps the case the entry was created with.
    std::string file = findFile(name);
    if (file.empty()) {
        file = name + std::string(kSuffix);
    }
    std::string temp;
    if (long rc = writeTemp(file, type, path, &temp); rc != ERROR_SUCCESS) {
        return rc;
    }
    if (rename(temp.c_str(), (dir_ + "/" + file).c_str()) != 0) {
        unlink(temp.c_str());
        return ERROR_ACCESS_DENIED;
    }
    return ERROR_SUCCESS;
}

long AutostartFolder::remove(const std::string& name) {
    if (read(name, nullptr, nullptr) != ERROR_SUCCESS) {
        return ERROR_FILE_NOT_FOUND;
    }
    if (batching_) {
        pending_.push_back({name, true, 0, {}, {}, {}});
        return ERROR_SUCCESS;
    }
    return removeNow(name);
}

long AutostartFolder::removeNow(const std::string& name) {
    std::string file = findFile(name);
    if (file.empty() || unlink((dir_ + "/" + file).c_str()) != 0) {
        return file.empty() || errno == ENOENT ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED;
    }
    return ERROR_SUCCESS;
}

void AutostartFolder::beginBatch() {
    abortBatch();
    batching_ = true;
}

long AutostartFolder::prepareBatch() {
    for (std::size_t i = 0; i < pending_.size(); ++i) {
        Change& change = pending_[i];
        if (change.remove) {
            if (access(dir_.c_str(), W_OK) != 0) {
                return ERROR_ACCESS_DENIED;
            }
            continue;
        }
        // Overwriting keeps the case the entry was created with, also within the batch.
        change.file = findFile(change.name);
        for (std::size_t earlier = 0; earlier < i && change.file.empty(); ++earlier) {
            if (!pending_[earlier].remove &&
                equalsIgnoreCase(pending_[earlier].name, change.name)) {
                change.file = pending_[earlier].file;
            }
        }
        if (change.file.empty()) {
            change.file = change.name + std::string(kSuffix);
        }
        if (long rc = writeTemp(change.file, change.type, change.path, &change.temp);
            rc != ERROR_SUCCESS) {
            return rc;
        }
    }
    return ERROR_SUCCESS;
}

long AutostartFolder::commitBatch() {
    long result = ERROR_SUCCESS;
    for (Change& change : pending_) {
        long rc = ERROR_SUCCESS;
        if (!change.remove) {
            if (rename(change.temp.c_str(), (dir_ + "/" + change.file).c_str()) != 0) {
                rc = ERROR_ACCESS_DENIED;
                unlink(change.temp.c_str());
            }
            change.temp.clear();
        } else if (rc = removeNow(change.name); rc == ERROR_FILE_NOT_FOUND) {
            rc = ERROR_SUCCESS;  // written and removed within the batch
        }
        if (result == ERROR_SUCCESS) {
            result = rc;
        }
    }
    pending_.clear();
    batching_ = false;
    return result;
}

void AutostartFolder::abortBatch() {
    for (const Change& change : pending_) {
        if (!change.temp.empty()) {
            unlink(change.temp.c_str());
        }
    }
    pending_.clear();
    batching_ = false;
}

std::vector<std::string> AutostartFolder::list() const {
    std::vector<std::string> names;
    for (const std::string& file : directoryEntries(dir_)) {
        std::string text;
        if (file.empty() || file[0] == '.' || !file.ends_with(kSuffix) ||
            !readFile(dir_ + "/" + file, &text) || parseDesktopEntry(text).hidden) {
            continue;
        }
        names.push_back(file.substr(0, file.size() - kSuffix.size()));
    }
    if (pending_.empty()) {
        return names;
    }
    // The batch's changes as they will be: removed names go, written ones come.
    std::vector<std::string> changed;
    for (const std::string& name : names) {
        if (read(name, nullptr, nullptr) == ERROR_SUCCESS) {
            changed.push_back(name);
        }
    }
    for (const Change& change : pending_) {
        bool listed = std::any_of(changed.begin(), changed.end(), [&](const std::string& name) {
            return equalsIgnoreCase(name, change.name);
        });
        if (!listed && read(change.name, nullptr, nullptr) == ERROR_SUCCESS) {
            changed.push_back(change.name);
        }
    }
    std::sort(changed.begin(), changed.end());
    return changed;
}

long AutostartFolder::enumerate(std::uint32_t index, std::string* name, std::uint32_t* type,
                                std::vector<std::uint8_t>* data) const {
    std::vector<std::string> names = list();
    if (index >= names.size()) {
        return ERROR_NO_MORE_ITEMS;
    }
    if (name != nullptr) {
        *name = names[index];
    }
    return read(names[index], type, data);
}

}  // namespace tv
