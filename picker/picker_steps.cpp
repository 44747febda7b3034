#include "picker/picker_steps.h"

#include "picker/choose_batch.h"
#include "picker/directory_path.h"
#include "platform/directory_search.h"
#include "platform/path.h"
#include "text/wildcard.h"

#include <algorithm>
#include <numeric>

namespace picker {

namespace {

// The directory itself when it can be read, else the nearest one above it;
// empty when not even the root can be read (a drive that is not ready).
std::string nearest_listable_directory(const std::string& directory) {
    std::string path = picker::tidy_directory(platform::full_path(directory));
    while (!path.empty()) {
        if (platform::is_listable_directory(path)) return path;
        path = picker::parent_directory(path);
    }
    return {};
}

void show_directory(FilePickerModel& picker, const std::string& directory) {
    picker.directory = directory;
    picker.drive = picker::drive_of(directory);
    picker.tree = directory_tree(directory);
}

bool holds_separator(const std::string& type) {
    return type.find('/') != std::string::npos || type.find(platform::kPathSeparator) != std::string::npos;
}

}  // namespace

std::string selection_count_text(std::size_t n) { return "共选中 " + std::to_string(n) + " 个文件"; }

// The wildcards of a type: "*.jpg;*.heic" holds two, as in Windows' own file
// dialogs; blanks around each are no part of it.
std::vector<std::string> wildcards_of(const std::string& type) {
    std::vector<std::string> wildcards;
    std::size_t start = 0;
    while (start <= type.size()) {
        std::size_t end = std::min(type.find(';', start), type.size());
        std::size_t first = type.find_first_not_of(' ', start);
        std::size_t last = type.find_last_not_of(' ', end == 0 ? 0 : end - 1);
        if (first < end && last != std::string::npos && last >= first) {
            wildcards.push_back(type.substr(first, last - first + 1));
        }
        start = end + 1;
    }
    return wildcards;
}

void list_matching_files(const std::string& directory, const std::string& type, text::NameList& files,
                         text::NaturalSorter& sorter) {
    // A wildcard reaching into another directory lists nothing, and neither
    // does a type holding one.
    if (!holds_separator(type)) {
        std::vector<std::string> wildcards =
            type.find(';') == std::string::npos ? std::vector<std::string>{type} : wildcards_of(type);
        if (wildcards.size() == 1) {
            text::WildcardPattern pattern(wildcards[0]);
            platform::find_files(directory, [&](std::string_view name) { return pattern.matches(name); },
                                 [&](std::string_view name) { files.push_back(name); });
        } else if (!wildcards.empty()) {
            // One pass over the directory: a file that matches several
            // wildcards is listed once.
            std::vector<text::WildcardPattern> patterns(wildcards.begin(), wildcards.end());
            auto any_pattern = [&](std::string_view name) {
                return std::any_of(patterns.begin(), patterns.end(),
                                   [&](const text::WildcardPattern& p) { return p.matches(name); });
            };
            platform::find_files(directory, any_pattern, [&](std::string_view name) { files.push_back(name); });
        }
    }
    sorter.sort(files);
}

void refill_file_box(FilePickerModel& picker) {
    const std::string& type = picker.selected_type < picker.types.size() ? picker.types[picker.selected_type] : "";
    picker.files.clear();
    list_matching_files(picker.directory, type, picker.files, picker.file_sorter);
    // The refill drops the selection; a count of the files no longer
    // selected would be stale.
    if (!picker.selection.empty()) {
        picker.selection.clear();
        picker.count_text = selection_count_text(0);
    }
}

void restore(FilePickerModel& picker, filelist::RememberedDirectory& remembered) {
    picker.drives = platform::list_drives();
    std::string current = picker::tidy_directory(platform::current_directory());
    if (remembered.empty()) {
        show_directory(picker, current);
        return;
    }
    std::string directory = picker::tidy_directory(platform::full_path(remembered.value()));
    if (platform::is_listable_directory(directory)) {
        change_directory(picker, remembered, directory);
        return;
    }
    // A card reader without its card, a share that is not reachable now: the
    // picker shows the nearest directory it can, and the remembered one stays
    // remembered until the user moves somewhere.
    std::string shown = nearest_listable_directory(remembered.value());
    if (shown.empty()) shown = nearest_listable_directory(current);
    if (shown.empty()) {
        show_directory(picker, current);
        return;
    }
    show_directory(picker, shown);
    refill_file_box(picker);
}

bool change_directory(FilePickerModel& picker, filelist::RememberedDirectory& remembered,
                      const std::string& directory) {
    std::string shown = nearest_listable_directory(directory);
    if (shown.empty()) return false;
    show_directory(picker, shown);
    refill_file_box(picker);
    remembered.move_to(picker.directory);
    return true;
}

bool change_drive(FilePickerModel& picker, filelist::RememberedDirectory& remembered, const std::string& drive) {
    // The drive's current directory may be gone; the nearest one above it
    // on the same drive then shows.
    std::string directory = nearest_listable_directory(platform::drive_current_directory(drive));
    if (directory.empty() || picker::drive_of(directory) != picker::drive_of(drive + ":")) return false;
    return change_directory(picker, remembered, directory);
}

void select_type(FilePickerModel& picker, std::size_t index) {
    if (index >= picker.types.size()) return;
    picker.selected_type = index;
    refill_file_box(picker);
}

void add_type(FilePickerModel& picker) { picker.types.push_back(picker.custom_type); }

void set_selection(FilePickerModel& picker, std::vector<std::size_t> indexes) {
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    indexes.erase(std::lower_bound(indexes.begin(), indexes.end(), picker.files.size()), indexes.end());
    picker.selection = std::move(indexes);
    picker.count_text = selection_count_text(picker.selection.size());
}

void select_all(FilePickerModel& picker) {
    picker.selection.resize(picker.files.size());
    std::iota(picker.selection.begin(), picker.selection.end(), std::size_t{0});
    picker.count_text = selection_count_text(picker.selection.size());
}

void confirm(const FilePickerModel& picker, filelist::MainModel& main) {
    std::vector<std::string> names;
    names.reserve(picker.selection.size());
    for (std::size_t index : picker.selection) {
        if (index < picker.files.size()) names.emplace_back(picker.files[index]);
    }
    choose_batch(main, picker.directory, std::move(names));
}

}  // namespace picker
