#include "picker/file_picker_window.h"

#include "picker/picker_steps.h"
#include "platform/win32/text.h"
#include "platform/win32/window_layout.h"

#include <algorithm>
#include <utility>

namespace picker {

namespace {

using platform::win32::ControlKind;
using platform::win32::ControlLayout;
using platform::win32::FontStyle;
using platform::win32::set_window_text;
using platform::win32::widen;

constexpr ControlLayout kLayout[] = {
    {ControlKind::DropDownList, kDriveBox, "", 8, 7, 172, 22},
    {ControlKind::ListBox, kDirectoryBox, "", 8, 29, 172, 323, LBS_OWNERDRAWFIXED | LBS_HASSTRINGS},
    {ControlKind::ListBox, kFileListBox, "", 186, 7, 316, 346, LBS_EXTENDEDSEL},
    {ControlKind::Label, kCountLabel, "", 186, 355, 316, 18},
    {ControlKind::DropDownList, kTypeList, "", 16, 360, 167, 20},
    {ControlKind::Label, kCustomTypeLabel, "自定义 文件类型", 17, 382, 154, 16},
    {ControlKind::Edit, kCustomTypeEdit, "*.*", 16, 399, 96, 21},
    {ControlKind::PushButton, kAddTypeButton, "增加", 116, 400, 67, 21},
    {ControlKind::PushButton, kSelectAllButton, "全选", 209, 382, 80, 28},
    {ControlKind::PushButton, kConfirmButton, "确定", 309, 382, 80, 28},
    {ControlKind::PushButton, kCancelButton, "取消", 409, 381, 80, 28},
};

constexpr int kTreeLineHeight = 16;
constexpr int kTreeIndent = 8;
constexpr int kFolderWidth = 14;
constexpr int kFolderHeight = 11;

constexpr platform::win32::WindowDesign kDesign{
    L"BatchRenameFilePicker", "选择改名文件", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 50, 50, 515, 463, kLayout,
    FontStyle{L"宋体", 12},
};

}  // namespace

FilePickerWindow::FilePickerWindow(filelist::MainModel& main) : main_(main) {}

bool FilePickerWindow::create(HWND owner) { return create_window(kDesign, owner, SW_SHOW); }

bool FilePickerWindow::create_at(HWND owner, const std::string& directory) {
    start_directory_ = directory;
    return create(owner);
}

void FilePickerWindow::on_create() {
    folder_brush_.reset(CreateSolidBrush(RGB(240, 200, 90)));
    open_folder_brush_.reset(CreateSolidBrush(RGB(255, 230, 150)));
    outline_brush_.reset(CreateSolidBrush(RGB(150, 110, 30)));

    for (const std::string& type : model_.types) {
        SendMessageW(control(kTypeList), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(type).c_str()));
    }
    SendMessageW(control(kTypeList), CB_SETCURSEL, model_.selected_type, 0);

    restore(model_, main_.state.last_directory);
    if (!start_directory_.empty()) change_directory(model_, main_.state.last_directory, start_directory_);
    for (const std::string& drive : model_.drives) {
        SendMessageW(control(kDriveBox), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(drive + ":").c_str()));
    }
    show_directory_change();
}

void FilePickerWindow::on_dpi_changed(int) {
    SendMessageW(control(kDirectoryBox), LB_SETITEMHEIGHT, 0, scaled(kTreeLineHeight));
}

bool FilePickerWindow::on_key(const platform::win32::KeyPress& key) {
    // Ctrl+A in the file list selects every file, as 全选 does.
    if (key.key == 'A' && key.ctrl && key.focus == control(kFileListBox)) {
        on_select_all_clicked();
        return true;
    }
    return false;
}

bool FilePickerWindow::on_measure_item(MEASUREITEMSTRUCT& item) {
    if (item.CtlID != kDirectoryBox) return false;
    item.itemHeight = static_cast<UINT>(scaled(kTreeLineHeight));
    return true;
}

void FilePickerWindow::on_command(int id, int code) {
    switch (id) {
        case kDriveBox:
            if (code == CBN_SELCHANGE) on_drive_selected();
            break;
        case kDirectoryBox:
            if (code == LBN_DBLCLK) on_directory_opened();
            break;
        case kTypeList:
            if (code == CBN_SELCHANGE) on_type_selected();
            break;
        case kFileListBox:
            if (code == LBN_SELCHANGE) on_file_selection_changed();
            break;
        case kAddTypeButton:
            if (code == BN_CLICKED) on_add_type_clicked();
            break;
        case kSelectAllButton:
            if (code == BN_CLICKED) on_select_all_clicked();
            break;
        case kConfirmButton:
            if (code == BN_CLICKED) on_confirm_clicked();
            break;
        case kCancelButton:
        case IDCANCEL:  // Esc
            // Cancelling changes nothing: the main table keeps what it shows.
            DestroyWindow(hwnd());
            break;
        case IDOK:  // Enter: opens a directory, adds a typed type, else confirms
            if (GetFocus() == control(kDirectoryBox)) {
                on_directory_opened();
            } else if (GetFocus() == control(kCustomTypeEdit)) {
                on_add_type_clicked();
            } else {
                on_confirm_clicked();
            }
            break;
        default:
            break;
    }
}

void FilePickerWindow::on_drive_selected() {
    int index = static_cast<int>(SendMessageW(control(kDriveBox), CB_GETCURSEL, 0, 0));
    if (index < 0 || static_cast<std::size_t>(index) >= model_.drives.size()) return;
    // A drive that is not ready keeps the drive and directory shown.
    if (change_drive(model_, main_.state.last_directory, model_.drives[static_cast<std::size_t>(index)])) {
        show_directory_change();
    } else {
        show_drive();
    }
}

void FilePickerWindow::on_directory_opened() {
    int index = static_cast<int>(SendMessageW(control(kDirectoryBox), LB_GETCURSEL, 0, 0));
    if (index < 0 || static_cast<std::size_t>(index) >= model_.tree.lines.size()) return;
    std::string path = model_.tree.lines[static_cast<std::size_t>(index)].path;
    change_directory(model_, main_.state.last_directory, path);
    show_directory_change();
}

void FilePickerWindow::on_type_selected() {
    int index = static_cast<int>(SendMessageW(control(kTypeList), CB_GETCURSEL, 0, 0));
    if (index < 0) return;
    select_type(model_, static_cast<std::size_t>(index));
    show_files();
    show_count();
}

void FilePickerWindow::on_add_type_clicked() {
    model_.custom_type = platform::win32::window_text(control(kCustomTypeEdit));
    add_type(model_);
    SendMessageW(control(kTypeList), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(model_.types.back()).c_str()));
}

void FilePickerWindow::on_file_selection_changed() {
    set_selection(model_, selected_files());
    show_count();
}

void FilePickerWindow::on_select_all_clicked() {
    select_all(model_);
    show_count();
    if (!model_.files.empty()) SendMessageW(control(kFileListBox), LB_SETSEL, TRUE, -1);
}

void FilePickerWindow::on_confirm_clicked() {
    set_selection(model_, selected_files());
    confirm(model_, main_);
    DestroyWindow(hwnd());
}

std::vector<std::size_t> FilePickerWindow::selected_files() const {
    HWND box = control(kFileListBox);
    int count = static_cast<int>(SendMessageW(box, LB_GETSELCOUNT, 0, 0));
    std::vector<int> items(static_cast<std::size_t>(std::max(count, 0)));
    if (count > 0) {
        count = static_cast<int>(SendMessageW(box, LB_GETSELITEMS, count, reinterpret_cast<LPARAM>(items.data())));
        items.resize(static_cast<std::size_t>(std::max(count, 0)));
    }
    return std::vector<std::size_t>(items.begin(), items.end());
}

void FilePickerWindow::show_directory_change() {
    show_drive();
    show_tree();
    show_files();
    show_count();
}

void FilePickerWindow::show_drive() {
    auto found = std::find(model_.drives.begin(), model_.drives.end(), model_.drive);
    int index = found == model_.drives.end() ? -1 : static_cast<int>(found - model_.drives.begin());
    SendMessageW(control(kDriveBox), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void FilePickerWindow::show_tree() {
    HWND box = control(kDirectoryBox);
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    SendMessageW(box, LB_RESETCONTENT, 0, 0);
    SendMessageW(box, LB_INITSTORAGE, model_.tree.lines.size(), model_.tree.lines.size() * 32);
    for (const DirectoryTreeLine& line : model_.tree.lines) {
        SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(line.label).c_str()));
    }
    if (!model_.tree.lines.empty()) SendMessageW(box, LB_SETCURSEL, model_.tree.current, 0);
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
}

void FilePickerWindow::show_files() {
    HWND box = control(kFileListBox);
    // Drawing and sorting stay off while the box fills: the names come sorted.
    SendMessageW(box, WM_SETREDRAW, FALSE, 0);
    SendMessageW(box, LB_RESETCONTENT, 0, 0);
    SendMessageW(box, LB_INITSTORAGE, model_.files.size(), model_.files.text_size() * sizeof(wchar_t));
    std::wstring name;
    for (std::size_t i = 0; i < model_.files.size(); ++i) {
        name = widen(model_.files[i]);
        SendMessageW(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    SendMessageW(box, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(box, nullptr, TRUE);
}

void FilePickerWindow::show_count() { set_window_text(control(kCountLabel), model_.count_text); }

bool FilePickerWindow::on_draw_item(const DRAWITEMSTRUCT& item) {
    if (item.CtlID != kDirectoryBox) return false;
    if (item.itemID == static_cast<UINT>(-1) || item.itemID >= model_.tree.lines.size()) return true;
    const DirectoryTreeLine& line = model_.tree.lines[item.itemID];
    HDC dc = item.hDC;
    RECT row = item.rcItem;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &row, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));

    // A small folder, open for the directories on the way down, drawn at
    // 96-DPI sizes scaled to the window's.
    auto px = [this](int design) { return scaled(design); };
    int x = row.left + px(2 + line.depth * kTreeIndent);
    int y = row.top + (row.bottom - row.top - px(kFolderHeight)) / 2;
    RECT tab{x, y, x + px(6), y + px(3)};
    RECT body{x, y + px(2), x + px(kFolderWidth), y + px(kFolderHeight)};
    FillRect(dc, &tab, folder_brush_.get());
    FrameRect(dc, &tab, outline_brush_.get());
    FillRect(dc, &body, folder_brush_.get());
    FrameRect(dc, &body, outline_brush_.get());
    if (line.open) {
        RECT flap{x + px(3), y + px(5), x + px(kFolderWidth), y + px(kFolderHeight)};
        FillRect(dc, &flap, open_folder_brush_.get());
        FrameRect(dc, &flap, outline_brush_.get());
    }

    RECT text = row;
    text.left = x + px(kFolderWidth + 4);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    std::wstring label = widen(line.label);
    DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &row);
    return true;
}

}  // namespace picker
