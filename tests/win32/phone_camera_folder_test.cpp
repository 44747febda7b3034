// A phone's and a camera's folder through the real windows: photos, videos
// and RAW files named by when they were taken, the table sorted by a column
// or by capture time, then numbered in that order.
#include "image_builders.h"
#include "image_test_files.h"
#include "main_window_fixture.h"
#include "media_builders.h"
#include "menu_answerer.h"
#include "message_box_answerer.h"
#include "picker/file_picker_window.h"
#include "platform/pending_events.h"
#include "platform/win32/text.h"
#include "temp_directory.h"
#include "window_driver.h"

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

std::string text_of(const test_images::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string photo(std::string_view date) {
    return text_of(image_test::jpeg_photo(24, 16, test_images::exif_with_date(date)));
}

// A photo whose only date is in the segment put right after its start.
std::string photo_dated_by(const test_images::Bytes& segment) {
    test_images::Bytes jpeg = image_test::jpeg_photo(24, 16, {});
    jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    return text_of(jpeg);
}

std::string media_sample(const std::string& name) {
    std::ifstream in(std::string(MEDIA_SAMPLES_DIR) + "/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A video recorded by ffmpeg, Apple's creation date written by exiftool.
std::string iphone_video() { return media_sample("iphone.mov"); }

std::string apple_movie(const std::string& date) {
    test_media::MovieOptions movie;
    movie.created = test_media::movie_time(1325375999);
    movie.apple_date = date;
    return text_of(test_media::movie_file(movie));
}

struct PhoneCameraFolderTest : MainWindowFixture {
    TempDirectory folder;

    void write_all(const std::map<std::string, std::string>& files) {
        for (const auto& [name, content] : files) folder.write(name, content);
    }

    // A click on a column's header, as the pointer makes it.
    void click_header(int column) {
        HWND header = ListView_GetHeader(table());
        RECT rect{};
        Header_GetItemRect(header, column, &rect);
        LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
        SendMessageW(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(header, WM_LBUTTONUP, 0, at);
        driver::pump();
    }

    // Which arrow a header shows: 1 up, -1 down, 0 none.
    int arrow_of(int column) {
        HDITEMW item{};
        item.mask = HDI_FORMAT;
        Header_GetItem(ListView_GetHeader(table()), column, &item);
        return (item.fmt & HDF_SORTUP) ? 1 : (item.fmt & HDF_SORTDOWN) ? -1 : 0;
    }

    // 自动编号 in capture-date mode, confirmed: the messages it showed.
    Texts name_by_capture_date() {
        driver::click(control(kNumberingButton));
        HWND rule = driver::thread_window_of_class(kNumberingClass);
        if (!rule) return {"no numbering window"};
        driver::click(GetDlgItem(rule, kCaptureDateCheck));
        MessageBoxAnswerer watcher;
        driver::click(GetDlgItem(rule, kConfirmRuleButton));
        return watcher.texts();
    }

    // The table's menu from the keyboard, its item of this access key chosen.
    std::vector<MenuAnswerer::Item> choose_from_menu(wchar_t key) {
        MenuAnswerer answerer(key);
        driver::press_key(table(), VK_APPS);
        EXPECT_TRUE(driver::wait_until([&] { return answerer.menus_answered() == 1; }));
        driver::pump();
        return answerer.items();
    }
};

}  // namespace

TEST_F(PhoneCameraFolderTest, AMixedFolderIsNamedByDateWithOneBoxForTheTextFile) {
    write_all({
        {"IMG_0001.JPG", photo("2023:07:01 10:00:00")},
        {"IMG_0001.CR2", text_of(test_media::raw_tiff("2023:07:01 10:00:00"))},
        {"IMG_0002.CR3", text_of(test_media::cr3_file("2023:07:01 10:05:00"))},
        {"DSC_0003.NEF", text_of(test_media::raw_tiff("2023:07:01 10:10:00", std::string_view("*\0", 2), true))},
        {"IMG_5000.MOV", iphone_video()},
        {"clip.mp4", text_of(test_media::movie_file({"isom", 0, 0, "", false, false}))},  // no date at all
        {"说明.txt", "这不是图片"},
    });
    // Several types at once, typed into the picker's custom type box and added.
    model.state.last_directory.restore(folder.path());
    open_picker();
    HWND custom = picker_control(kCustomTypeEdit);
    SendMessageW(custom, EM_SETSEL, 0, -1);
    driver::type_text(custom, "*.jpg;*.cr2;*.cr3;*.nef;*.mov;*.mp4;*.txt;IMG_*.*");
    driver::click(picker_control(kAddTypeButton));
    HWND types = picker_control(kTypeList);
    driver::choose_combo_box_item(types, static_cast<int>(SendMessageW(types, CB_GETCOUNT, 0, 0)) - 1);
    EXPECT_EQ(driver::list_box_items(files()), (Texts{"clip.mp4", "DSC_0003.NEF", "IMG_0001.CR2", "IMG_0001.JPG",
                                                      "IMG_0002.CR3", "IMG_5000.MOV", "说明.txt"}));
    driver::click(picker_control(kSelectAllButton));
    driver::click(picker_control(kConfirmButton));
    ASSERT_EQ(driver::list_view_rows(table()), 7);

    EXPECT_EQ(name_by_capture_date(), Texts{"载入图片失败！"});
    EXPECT_EQ(column(Batch::kNewName), (Texts{"clip", "20230701 101000", "20230701 100000", "20230701 100000",
                                              "20230701 100500", "20230701 080000", "说明"}));
}

TEST_F(PhoneCameraFolderTest, PhotosDatedOutsideExifAreNamedAndASongIsNoVideo) {
    write_all({
        {"edited.jpg", photo_dated_by(test_images::xmp_app1(
                           "<rdf:Description exif:DateTimeOriginal='2024-07-01T14:23:45.5+08:00'/>"))},
        {"agency.jpg", photo_dated_by(test_images::iptc_app13("20190305", "081530+0800"))},
        {"song.m4a", media_sample("song.m4a")},
    });
    show_files({"agency.jpg", "edited.jpg", "song.m4a"}, folder.path(""));
    EXPECT_EQ(name_by_capture_date(), Texts{"载入图片失败！"});
    EXPECT_EQ(column(Batch::kNewName), (Texts{"20190305 081530", "20240701 142345", "song"}));
}

TEST_F(PhoneCameraFolderTest, AFolderIsNamedByDateWhileOneOfItsPhotosIsRemovedUnderIt) {
    // The last photo is far enough down that its header is not read yet when
    // the first row has its name: it is removed then.
    std::vector<std::string> names;
    for (int i = 0; i < 140; ++i) {
        names.push_back(std::string("P").append(std::to_string(1000 + i)).append(".jpg"));
        folder.write(names.back(), photo("2023:07:01 10:00:00"));
    }
    show_files(names, folder.path(""));
    const std::wstring last = platform::win32::widen(folder.path(names.back()));
    platform::set_pending_events_hook([&] {
        if (!model.state.batch.new_names().front().empty()) DeleteFileW(last.c_str());
    });
    EXPECT_EQ(name_by_capture_date(), Texts{"载入图片失败！"});
    platform::set_pending_events_hook(nullptr);
    Texts expected(names.size(), "20230701 100000");
    expected.back() = "P1139";
    EXPECT_EQ(column(Batch::kNewName), expected);
}

TEST_F(PhoneCameraFolderTest, ACameraAndAPhoneFolderSortedByDateIsNumberedInShootingOrder) {
    const std::map<std::string, std::string> files = {
        {"IMG_0001.CR2", text_of(test_media::raw_tiff("2023:07:01 10:00:00"))},
        {"IMG_0001.JPG", photo("2023:07:01 10:00:00")},
        {"IMG_0002.JPG", photo("2023:07:01 09:00:00")},
        {"IMG_5000.MOV", apple_movie("2023-07-01T08:00:00+0800")},
        {"IMG_5001.JPG", photo("2023:07:01 08:30:00")},
        {"readme.txt", "no date"},
    };
    write_all(files);
    std::vector<std::string> paths;
    for (const auto& entry : files) paths.push_back(folder.path(entry.first));
    driver::drop_files(window->hwnd(), paths);
    ASSERT_EQ(driver::list_view_rows(table()), 6);

    // By name, then the reverse; the arrow says which.
    click_header(Batch::kOriginalName);
    EXPECT_EQ(arrow_of(Batch::kOriginalName), 1);
    click_header(Batch::kOriginalName);
    EXPECT_EQ(arrow_of(Batch::kOriginalName), -1);
    EXPECT_EQ(column(Batch::kOriginalName),
              (Texts{"readme", "IMG_5001", "IMG_5000", "IMG_0002", "IMG_0001", "IMG_0001"}));
    EXPECT_EQ(column(Batch::kExtension), (Texts{".txt", ".JPG", ".MOV", ".JPG", ".JPG", ".CR2"}));

    // By capture time, silently; the menu offers it with no rule set.
    std::vector<MenuAnswerer::Item> items;
    {
        MessageBoxAnswerer watcher;
        items = choose_from_menu(L'T');
        EXPECT_TRUE(watcher.texts().empty());
    }
    auto sort_item = std::find_if(items.begin(), items.end(),
                                  [](const MenuAnswerer::Item& i) { return i.text == "按拍摄日期排序(&T)"; });
    ASSERT_NE(sort_item, items.end());
    EXPECT_TRUE(sort_item->enabled);
    EXPECT_EQ(arrow_of(Batch::kOriginalName), 0);
    EXPECT_EQ(column(Batch::kOriginalName),
              (Texts{"IMG_5000", "IMG_5001", "IMG_0002", "IMG_0001", "IMG_0001", "readme"}));
    EXPECT_EQ(column(Batch::kExtension), (Texts{".MOV", ".JPG", ".JPG", ".CR2", ".JPG", ".txt"}));
    EXPECT_EQ(column(Batch::kNumber), (Texts{"1", "2", "3", "4", "5", "6"}));

    // Numbered in that order, and renamed so.
    numbering_window_click(kConfirmRuleButton);
    EXPECT_EQ(column(Batch::kNewName), (Texts{"A001", "A002", "A003", "A004", "A005", "A006"}));
    driver::click(control(kRenameButton));
    const std::map<std::string, std::string> expected = {
        {"A001.MOV", files.at("IMG_5000.MOV")}, {"A002.JPG", files.at("IMG_5001.JPG")},
        {"A003.JPG", files.at("IMG_0002.JPG")}, {"A004.CR2", files.at("IMG_0001.CR2")},
        {"A005.JPG", files.at("IMG_0001.JPG")}, {"A006.txt", files.at("readme.txt")},
    };
    EXPECT_EQ(folder.contents(), expected);

    // The undo finds each file, wherever a sort has put its row.
    click_header(Batch::kOriginalName);
    driver::press_key(table(), 'Z', true);
    EXPECT_EQ(column(Batch::kResult), Texts(6, "已撤销"));
    EXPECT_EQ(folder.contents(), files);
}

// Run with --gtest_also_run_disabled_tests to look at a table sorted by name, reversed.
TEST_F(PhoneCameraFolderTest, DISABLED_Screenshot) {
    std::vector<std::string> paths;
    for (const char* name : {"IMG_0001.CR2", "IMG_0001.JPG", "IMG_0002.JPG", "IMG_5000.MOV", "readme.txt"}) {
        folder.write(name, name);
        paths.push_back(folder.path(name));
    }
    driver::drop_files(window->hwnd(), paths);
    click_header(Batch::kOriginalName);
    click_header(Batch::kOriginalName);
    driver::select_list_view_row(table(), 1);
    EXPECT_TRUE(driver::save_screenshot(L"sorted-table.bmp", window->hwnd()));
}
