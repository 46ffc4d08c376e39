#pragma once
// MyMod: the temporary files the scheme manager's command output travels through,
// and the loaders that turn them into list entries.

#include <string>
#include <vector>

#include "platform/files.h"
#include "runtime/controls.h"
#include "runtime/forms.h"
#include "schemes/power_services.h"

namespace tv {

// A directory search that admits hidden and system files (mask 6).
bool FileExists(FileSystem& files, const std::string& path);

// The save step: the box's whole text and one CR LF, replacing any earlier file.
bool saveTextToFile(FileSystem& files, const std::string& path, const std::string& text);

// Whole lines: a line ends at CR LF, LF or CR, and the break is not part of it.
std::vector<std::string> splitLines(const std::string& text);

// Sequential field input: a field ends at a comma or at the end of a line; blanks at
// its start are skipped; a field that begins with a double quote runs to the next
// double quote on the same line, without the quotes; an empty line is an empty field.
std::vector<std::string> readFields(const std::string& text);

// Empties the list, then adds every line of the file; a missing file adds nothing.
void CopyFileToBox(FileSystem& files, const std::string& SourceFile, ListControl& DestBox);

// Adds the file's fields that hold neither "-" nor "Value", yielding after each, then
// removes the empty entries of lstSchemes (always that list).
void FillListFromFile(FormRuntime& runtime, FileSystem& files, ListControl& list,
                      const std::string& path, ListControl& lstSchemes);

void RemoveEmptyItems(ListControl& list);
// Removes every entry that is empty or holds "-" anywhere.
void CleanSchemeList(ListControl& box);

// Sets the sideways scroll extent of the list from its longest entry (the earlier one
// on equal length) followed by one blank, in whole pixels.
void SetListScrollWidth(ListBox& lstSchemes, TextMeasure& measure);

}  // namespace tv
