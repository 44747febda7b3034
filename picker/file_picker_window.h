#pragma once

#include "filelist/main_model.h"
#include "picker/file_picker_model.h"
#include "picker/picker_steps.h"
#include "platform/win32/handles.h"
#include "platform/win32/window_base.h"

#include <windows.h>

#include <string>
#include <vector>

namespace picker {

// Control ids of the file picker, named after what they are.
enum FilePickerControl : int {
    kDriveBox = 100,   // 驱动器框1
    kDirectoryBox,     // 目录框1
    kFileListBox,      // 列表框1
    kCountLabel,       // 标签2
    kTypeList,         // 组合框1
    kCustomTypeLabel,  // 标签1
    kCustomTypeEdit,   // 编辑框1
    kAddTypeButton,    // 按钮4 增加
    kSelectAllButton,  // 按钮3 全选
    kConfirmButton,    // 按钮1 确定
    kCancelButton,     // 按钮2 取消
};

// "选择改名文件": browses drives and directories, lists a directory's files
// of one type, and hands the selected ones to the main table. Built afresh
// from its layout at every opening; closes itself on "确定" and "取消".
class FilePickerWindow : public platform::win32::WindowBase {
public:
    explicit FilePickerWindow(filelist::MainModel& main);

    // Creates and shows the window, owned by owner; the remembered
    // directory is restored as it is created.
    bool create(HWND owner);
    // The same, showing this directory rather than the remembered one, as a
    // directory the user moved to.
    bool create_at(HWND owner, const std::string& directory);

private:
    // WindowBase
    void on_create() override;
    void on_command(int id, int code) override;
    void on_dpi_changed(int dpi) override;
    bool on_key(const platform::win32::KeyPress& key) override;
    bool on_measure_item(MEASUREITEMSTRUCT& item) override;
    bool on_draw_item(const DRAWITEMSTRUCT& item) override;

    // Handlers, one per control event.
    void on_drive_selected();          // 驱动器框1 selection
    void on_directory_opened();        // 目录框1 double click or Enter
    void on_type_selected();           // 组合框1 selection
    void on_add_type_clicked();        // 按钮4 增加
    void on_file_selection_changed();  // 列表框1 selection
    void on_select_all_clicked();      // 按钮3 全选
    void on_confirm_clicked();         // 按钮1 确定

    // Showing the model in the controls.
    void show_drive();
    void show_tree();
    void show_files();
    void show_count();
    void show_directory_change();
    std::vector<std::size_t> selected_files() const;

    filelist::MainModel& main_;
    std::string start_directory_;
    FilePickerModel model_;
    platform::win32::UniqueBrush folder_brush_;
    platform::win32::UniqueBrush open_folder_brush_;
    platform::win32::UniqueBrush outline_brush_;
};

}  // namespace picker
