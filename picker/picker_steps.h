#pragma once

#include "filelist/main_model.h"
#include "filelist/remembered_directory.h"
#include "picker/file_picker_model.h"

#include <cstddef>
#include <string>
#include <vector>

namespace picker {

// The file picker's steps, each run by one trigger of its window. They work
// on the picker's model and on the program-wide state; the window only shows
// the result. "取消" has no step: cancelling changes nothing.

// Appends the files of directory that match the wildcard type ("*.jpg", or
// several separated by ';': "*.jpg;*.heic") to files, each file once, then
// puts files in name order. Directories never appear. A type
// that holds a path separator would search another directory than the one
// shown, and matches nothing.
void list_matching_files(const std::string& directory, const std::string& type, text::NameList& files, text::NaturalSorter& sorter);

// Refill: lists the selected type's files of the directory shown. Drops the
// selection; when there was one, the count line says so.
void refill_file_box(FilePickerModel& picker);

// Restore (window created): the drives; then the directory the picker showed
// last, with its files of the first type. When it cannot be read now, the
// nearest one above it that can, or the current directory, shows instead
// while the remembered one stays remembered. Without a remembered directory
// the current directory shows with no files listed.
void restore(FilePickerModel& picker, filelist::RememberedDirectory& remembered);

// Directory change (a directory opened in the directory box): shows it, or
// the nearest one above it that can be read, refills, and remembers it.
// False, with nothing changed, when not even its root can be read.
bool change_directory(FilePickerModel& picker, filelist::RememberedDirectory& remembered, const std::string& directory);

// Drive change (a drive chosen in the drive box): shows that drive's current
// directory as a directory change does. False, with the previous drive and
// directory kept, for a drive that is not ready.
bool change_drive(FilePickerModel& picker, filelist::RememberedDirectory& remembered, const std::string& drive);

// A type chosen in the type list: refills with it.
void select_type(FilePickerModel& picker, std::size_t index);

// "增加": the custom type becomes a new last type, unchecked; the selected
// type stays and nothing is refilled.
void add_type(FilePickerModel& picker);

// Count: the file list's selection changed to these indexes (any order).
void set_selection(FilePickerModel& picker, std::vector<std::size_t> indexes);

// "全选": every listed file selected, and counted.
void select_all(FilePickerModel& picker);

// "确定": the selected files, in list order, become the file list of the main
// table, with the directory shown as their directory.
void confirm(const FilePickerModel& picker, filelist::MainModel& main);

// The count line's text for n selected files.
std::string selection_count_text(std::size_t n);

}  // namespace picker
