#include "app/history_window.h"

#include "app/row_texts.h"
#include "platform/win32/message_box.h"
#include "platform/win32/list_view.h"
#include "platform/win32/text.h"
#include "platform/win32/window_layout.h"

#include <algorithm>
#include <array>

namespace app {
namespace {

using platform::win32::ControlKind;
using platform::win32::ControlLayout;
using platform::win32::FontStyle;

constexpr ControlLayout kLayout[] = {
    {ControlKind::ListView, kRunList, "", 8, 8, 616, 168, LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL},
    {ControlKind::ListView, kRunFileList, "", 8, 184, 616, 208, LVS_OWNERDATA | LVS_SHOWSELALWAYS | LVS_SINGLESEL},
    {ControlKind::PushButton, kUndoSelectedButton, "撤销所选", 344, 400, 88, 28},
    {ControlKind::PushButton, kClearHistoryButton, "清除记录", 440, 400, 88, 28},
    {ControlKind::PushButton, kCloseHistoryButton, "关闭", 536, 400, 88, 28},
};

constexpr platform::win32::WindowDesign kDesign{
    L"BatchRenameHistoryWindow", "改名记录", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, 0, 0, 650, 480, kLayout,
    FontStyle{L"宋体", 12},
};

// Where the window opens, from the owner's top-left corner, at 96 DPI.
constexpr POINT kOffsetFromOwner{40, 40};

constexpr std::array<platform::win32::ListColumn, 4> kRunColumns = {
    {{"时间", 140}, {"目录", 300}, {"文件数", 60}, {"状态", 90}}};
constexpr std::array<platform::win32::ListColumn, 3> kFileColumns = {
    {{"原名称", 220}, {"新名称", 220}, {"现在位置", 150}}};

void add_columns(HWND list, std::span<const platform::win32::ListColumn> columns, int dpi) {
    platform::win32::add_list_view_columns(list, columns, dpi, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
}

void copy_out(const std::string& utf8, NMLVDISPINFOW& info) {
    if (info.item.mask & LVIF_TEXT) platform::win32::copy_to_list_view(utf8, info.item.pszText, info.item.cchTextMax);
}

}  // namespace

HistoryWindow::HistoryWindow(MainCommands& commands) : commands_(commands), history_(commands.journal()) {}

bool HistoryWindow::create(HWND owner, const std::string& select_run_id) {
    select_run_id_ = select_run_id;
    return create_window(kDesign, owner, SW_SHOW, kOffsetFromOwner);
}

void HistoryWindow::on_create() {
    add_columns(control(kRunList), kRunColumns, dpi());
    add_columns(control(kRunFileList), kFileColumns, dpi());
    columns_dpi_ = dpi();
    history_.load();
    std::size_t selected = 0;
    const auto& runs = history_.runs();
    auto wanted = std::find_if(runs.begin(), runs.end(), [&](const auto& run) { return run.id == select_run_id_; });
    if (wanted != runs.end()) selected = static_cast<std::size_t>(wanted - runs.begin());
    show_runs(selected);
    SetFocus(control(kRunList));
}

void HistoryWindow::on_dpi_changed(int dpi) {
    for (int list : {kRunList, kRunFileList}) {
        HWND view = control(list);
        HWND header = ListView_GetHeader(view);
        int count = header ? Header_GetItemCount(header) : 0;
        for (int i = 0; i < count; ++i)
            ListView_SetColumnWidth(view, i, MulDiv(ListView_GetColumnWidth(view, i), dpi, columns_dpi_));
    }
    columns_dpi_ = dpi;
}

void HistoryWindow::on_command(int id, int code) {
    // While files are being put back, nothing else starts here.
    if (busy_ && id != IDCANCEL && id != kCloseHistoryButton) return;
    switch (id) {
        case kUndoSelectedButton:
            if (code == BN_CLICKED) on_undo_selected_clicked();
            break;
        case kClearHistoryButton:
            if (code == BN_CLICKED) on_clear_history_clicked();
            break;
        case kCloseHistoryButton:
        case IDCANCEL:  // Esc
            if (is_open()) DestroyWindow(hwnd());
            break;
        default:
            break;
    }
}

LRESULT HistoryWindow::on_notify(const NMHDR& header) {
    auto& info = reinterpret_cast<NMLVDISPINFOW&>(const_cast<NMHDR&>(header));
    if (header.idFrom == kRunList) {
        if (header.code == LVN_GETDISPINFOW) {
            const auto& runs = history_.runs();
            const auto row = static_cast<std::size_t>(info.item.iItem);
            if (row >= runs.size()) return 0;
            const renaming::HistoryRun& run = runs[row];
            switch (info.item.iSubItem) {
                case 0:
                    copy_out(run.time, info);
                    break;
                case 1:
                    copy_out(run.directory, info);
                    break;
                case 2:
                    copy_out(std::to_string(run.files_renamed), info);
                    break;
                default:
                    copy_out(run_status_text(run.status), info);
                    break;
            }
        } else if (header.code == LVN_ITEMCHANGED) {
            const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
            if ((change.uChanged & LVIF_STATE) && ((change.uNewState ^ change.uOldState) & LVIS_SELECTED)) {
                on_run_selected();
            }
        }
    } else if (header.idFrom == kRunFileList && header.code == LVN_GETDISPINFOW) {
        int run = selected_run();
        if (run < 0) return 0;
        const auto& files = history_.files(static_cast<std::size_t>(run));
        const auto row = static_cast<std::size_t>(info.item.iItem);
        if (row >= files.size()) return 0;
        const renaming::HistoryFile& file = files[row];
        switch (info.item.iSubItem) {
            case 0:
                copy_out(file.old_name, info);
                break;
            case 1:
                copy_out(file.new_name, info);
                break;
            default:
                copy_out(file.undo.kind == filelist::Outcome::None ? place_text(file.place) : undo_outcome_text(file.undo),
                         info);
                break;
        }
    }
    return 0;
}

int HistoryWindow::selected_run() const { return ListView_GetNextItem(control(kRunList), -1, LVNI_SELECTED); }

void HistoryWindow::show_runs(std::size_t selected) {
    HWND list = control(kRunList);
    ListView_SetItemCountEx(list, static_cast<int>(history_.runs().size()), 0);
    if (selected < history_.runs().size()) {
        ListView_SetItemState(list, static_cast<int>(selected), LVIS_SELECTED | LVIS_FOCUSED,
                              LVIS_SELECTED | LVIS_FOCUSED);
        ListView_EnsureVisible(list, static_cast<int>(selected), FALSE);
    }
    InvalidateRect(list, nullptr, TRUE);
    show_files();
}

void HistoryWindow::on_run_selected() { show_files(); }

void HistoryWindow::show_files() {
    int run = selected_run();
    std::size_t count = run < 0 ? 0 : history_.files(static_cast<std::size_t>(run)).size();
    HWND list = control(kRunFileList);
    ListView_SetItemCountEx(list, static_cast<int>(count), 0);
    InvalidateRect(list, nullptr, TRUE);
    const renaming::RunStatus status =
        run >= 0 ? history_.runs()[static_cast<std::size_t>(run)].status : renaming::RunStatus::Damaged;
    const bool undoable = status != renaming::RunStatus::Damaged && status != renaming::RunStatus::Undone &&
                          status != renaming::RunStatus::InProgress;
    EnableWindow(control(kUndoSelectedButton), undoable);
}

void HistoryWindow::on_undo_selected_clicked() {
    int run = selected_run();
    if (run < 0) return;
    busy_ = true;
    commands_.undo_from_history(history_, static_cast<std::size_t>(run));
    busy_ = false;
    // The window may have been closed from its title bar meanwhile.
    if (!is_open()) return;
    InvalidateRect(control(kRunList), nullptr, FALSE);
    show_files();
}

void HistoryWindow::on_clear_history_clicked() {
    if (!platform::win32::ask_yes_no(hwnd(), "要清除全部改名记录吗？")) return;
    std::vector<std::string> kept = history_.clear();
    show_runs(0);
    if (kept.empty()) return;
    std::string text = "以下改名记录未能清除：";
    for (const std::string& path : kept) text += "\n" + path;
    platform::win32::show_message(hwnd(), text, platform::win32::MessageKind::Warning);
}

}  // namespace app
