#pragma once
// The start-up key's values as XDG autostart entries: value NAME with data PATH is the
// file DIR/NAME.desktop whose Exec runs PATH. The data written is kept verbatim in the
// file, so reading gives back exactly what was written; entries made by other programs
// read as their Exec command. Entries marked Hidden=true count as absent, as desktop
// sessions treat them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tv {

class AutostartFolder {
  public:
    explicit AutostartFolder(std::string dir);

    const std::string& dir() const { return dir_; }

    // ERROR_SUCCESS when NAME may be written with this type and data; names that would
    // leave the folder or hide the file, names with a line break, names or text that are
    // not UTF-8 (desktop files are), types other than REG_SZ/REG_EXPAND_SZ and text with
    // a NUL inside are ERROR_INVALID_PARAMETER.
    long checkWrite(const std::string& name, std::uint32_t type,
                    const std::vector<std::uint8_t>& data) const;
    // Data comes back without a terminating NUL.
    long read(const std::string& name, std::uint32_t* type, std::vector<std::uint8_t>* data) const;
    // Replaces the entry atomically (temporary file, then rename); mode 0644.
    long write(const std::string& name, std::uint32_t type, const std::vector<std::uint8_t>& data);
    long remove(const std::string& name);

    // A batch runs inside a database transaction. Its writes and removals are checked at
    // once against the folder as the earlier changes of the batch leave it, and reads see
    // those changes. prepareBatch() writes the new entries to temporary files (before
    // the database commits, so a folder that cannot be written fails the whole
    // transaction); commitBatch() then puts them in place and removes entries, in the
    // order they were made; abortBatch() drops everything.
    void beginBatch();
    long prepareBatch();
    long commitBatch();
    void abortBatch();
    // Value names of the visible entries, sorted.
    std::vector<std::string> list() const;
    // The index-th entry of list(), as registry enumeration returns it.
    long enumerate(std::uint32_t index, std::string* name, std::uint32_t* type,
                   std::vector<std::uint8_t>* data) const;

  private:
    // File name (with ".desktop") of the entry matching name without regard to case.
    std::string findFile(const std::string& name) const;

    struct Change {
        std::string name;
        bool remove = false;
        std::uint32_t type = 0;
        std::string path;
        std::string file;  // the entry's file name, for writes
        std::string temp;  // the prepared file, for writes
    };

    // The batch's last change of NAME, if any.
    const Change* pendingChange(const std::string& name) const;
    long readFolder(const std::string& name, std::uint32_t* type,
                    std::vector<std::uint8_t>* data) const;
    // Writes the entry to a temporary file in the folder; its path in *temp.
    long writeTemp(const std::string& file, std::uint32_t type, const std::string& path,
                   std::string* temp);
    long writeNow(const std::string& name, std::uint32_t type, const std::string& path);
    long removeNow(const std::string& name);

    std::string dir_;
    bool batching_ = false;
    std::vector<Change> pending_;
};

// Desktop Entry string escapes (\\ \n \t \r \s); spaces are escaped too so values
// survive parsers that trim.
std::string escapeDesktopString(std::string_view text);
std::string unescapeDesktopString(std::string_view text);

// Exec value (before string escaping) running the program at path with no arguments.
std::string quoteExecProgram(std::string_view path);

// "FOLDER\X.exe", "FOLDER/X.exe" or "FOLDER\X" as a program on this system: the file in
// FOLDER whose name equals X without regard to case (exact case preferred); path
// unchanged when there is none, and for plain paths like "/usr/bin/x".
std::string resolveProgramPath(const std::string& path);

// Text of a desktop file entry for value NAME holding data path.
std::string desktopEntryText(std::string_view name, std::string_view path, std::uint32_t type,
                             std::string_view program);

struct DesktopEntry {
    bool hidden = false;
    bool hasRegistryData = false;
    std::string registryData;
    std::uint32_t registryType = 1;
    std::string exec;
};

// Reads the [Desktop Entry] group, values unescaped.
DesktopEntry parseDesktopEntry(std::string_view text);

}  // namespace tv
