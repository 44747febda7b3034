#include "app/main_commands.h"
#include "app/row_texts.h"
#include "filelist/main_model.h"
#include "image_builders.h"
#include "media_builders.h"
#include "naming/capture_date_names.h"
#include "naming/numbering_rule.h"
#include "platform/pending_events.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace filelist;
using namespace naming;
using namespace imaging;

namespace ti = test_images;

namespace {

std::string text_of(const ti::Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string photo_taken(std::string_view date, bool big_endian = false) {
    return text_of(ti::jpeg_file({ti::exif_app1(ti::exif_with_date(date, big_endian))}, 640, 480));
}

// As the windows' own: pending events run at every step and row.
struct EventsProgress final : filelist::Progress {
    void on_step() override { platform::process_pending_events(); }
    bool on_row(std::size_t, const filelist::RowOutcome&) override {
        platform::process_pending_events();
        return true;
    }
};

struct CaptureDateTest : ::testing::Test {
    TempDirectory dir;
    MainModel model;
    CaptureDateNamer namer;
    EventsProgress progress;
    int notices = 0;
    ImageLoadFailureNotice notice = [this] { ++notices; };

    void build() { namer.build_capture_date_names(model.state.batch, notice, progress); }
    std::string result(std::size_t row) const { return app::result_text(model.state.batch.result(row)); }
    // The run through the main window's command.
    void rename() {
        TempDirectory journal;
        model.state.rule_confirmed = 1;
        app::MainCommands(model, {}, {journal.path("journal.txt")}).rename_files();
    }

    void TearDown() override { platform::set_pending_events_hook(nullptr); }

    void choose(const std::vector<std::string>& names) { model.state.batch.fill_list(dir.path() + "/", names); }
    std::string name_of(const std::string& file) {
        return namer.capture_date_name(dir.path() + "/", file, notice, progress);
    }
};

}  // namespace

TEST_F(CaptureDateTest, PhotosAreNamedAfterTheirCaptureDate) {
    dir.write("IMG_0001.JPG", photo_taken("2008:05:17 14:23:45"));
    dir.write("big-endian.tif", text_of(ti::TiffBuilder(true)
                                            .add(ti::Ifd::Zero, ti::shorts(0x0100, {64}))  // a TIFF needs its size
                                            .add(ti::Ifd::Zero, ti::shorts(0x0101, {48}))
                                            .add(ti::Ifd::Exif, ti::ascii(ti::kDateTimeOriginal, "2011:12:31 23:59:59"))
                                            .build()
                                            .bytes));
    ti::HeifOptions heif;
    heif.exif = ti::exif_with_date("2023:07:01 08:00:00");
    dir.write("phone.heic", text_of(ti::heif_file(heif)));

    EXPECT_EQ(name_of("IMG_0001.JPG"), "20080517 142345");
    EXPECT_EQ(name_of("big-endian.tif"), "20111231 235959");
    EXPECT_EQ(name_of("phone.heic"), "20230701 080000");
    EXPECT_EQ(notices, 0);
    // Each image was let go again, so the files can be renamed.
    EXPECT_FALSE(namer.release_image());
}

TEST_F(CaptureDateTest, FilesWithoutAUsableDateKeepTheirBaseName) {
    dir.write("no-exif.jpg", text_of(ti::jpeg_file({}, 64, 64)));
    dir.write(
        "no-date.jpg",
        text_of(ti::jpeg_file(
            {ti::exif_app1(ti::TiffBuilder().add(ti::Ifd::Zero, ti::ascii(0x010F, "Nikon")).build().bytes)}, 64, 64)));
    dir.write("zeros.jpg", photo_taken("0000:00:00 00:00:00"));
    dir.write("blanks.jpg", photo_taken("                   "));
    dir.write("empty-date.jpg", photo_taken(""));
    // Only the thumbnail carries a date: it is not the photo's.
    dir.write("thumb-date.jpg",
              text_of(ti::jpeg_file(
                  {ti::exif_app1(ti::TiffBuilder()
                                     .add(ti::Ifd::Zero, ti::ascii(0x010F, "Nikon"))
                                     .add(ti::Ifd::One, ti::ascii(ti::kDateTimeOriginal, "2001:01:01 00:00:00"))
                                     .build()
                                     .bytes)},
                  64, 64)));
    for (const char* file :
         {"no-exif.jpg", "no-date.jpg", "zeros.jpg", "blanks.jpg", "empty-date.jpg", "thumb-date.jpg"}) {
        EXPECT_EQ(name_of(file), std::filesystem::path(file).stem().string()) << file;
    }
    EXPECT_EQ(notices, 0);
}

TEST_F(CaptureDateTest, FilesThatAreNoImagesAreReportedOnceEachAndKeepTheirName) {
    dir.write("notes.txt", "not a picture");
    dir.write("fake.jpg", "plain text with an image extension");
    dir.write("empty.jpg", "");
    std::filesystem::create_directory(dir.path("folder.jpg"));
    EXPECT_EQ(name_of("notes.txt"), "notes");
    EXPECT_EQ(name_of("fake.jpg"), "fake");
    EXPECT_EQ(name_of("empty.jpg"), "empty");
    EXPECT_EQ(name_of("folder.jpg"), "folder");
    EXPECT_EQ(name_of("gone.jpg"), "gone");
    EXPECT_EQ(notices, 5);
}

TEST_F(CaptureDateTest, BuilderNamesEveryRowFromTheChosenDirectory) {
    dir.write("a.jpg", photo_taken("2008:05:17 14:23:45"));
    dir.write("b.txt", "text");
    dir.write("c.jpg", text_of(ti::jpeg_file({}, 8, 8)));
    dir.write("d.jpg", photo_taken("2008:05:17 14:23:45"));
    choose({"a.jpg", "b.txt", "c.jpg", "d.jpg"});
    // The picker showed another directory last; the files are read where they were chosen.
    model.state.last_directory.restore("/nonexistent");

    build();
    const std::vector<std::string> expected = {"20080517 142345", "b", "c", "20080517 142345"};
    EXPECT_EQ(model.state.batch.new_names(), expected);
    for (std::size_t k = 0; k < expected.size(); ++k)
        EXPECT_EQ(model.state.batch.cell(k, Batch::kNewName), expected[k]);
    EXPECT_EQ(notices, 1);

    // The run: the first photo takes the date, the second finds it taken,
    // files keeping their name need no change.
    rename();
    EXPECT_EQ(result(0), "改名成功");
    EXPECT_EQ(result(1), "不需改名");
    EXPECT_EQ(result(2), "不需改名");
    EXPECT_EQ(result(3), "改名失败");
    EXPECT_TRUE(dir.exists("20080517 142345.jpg"));
    EXPECT_TRUE(dir.exists("d.jpg"));
}

TEST_F(CaptureDateTest, OneRowIsNamedThroughTheRuleToo) {
    dir.write("a.jpg", photo_taken("2020:02:29 12:00:00"));
    choose({"a.jpg"});
    RuleChoice choice;
    choice.capture_date = true;
    confirm_rule(model.state, choice, [this] { build(); });
    EXPECT_EQ(model.state.rule_confirmed, 1);
    EXPECT_EQ(model.state.batch.cell(0, Batch::kNewName), "20200229 120000");
}

TEST_F(CaptureDateTest, DatesThatAreNoPlainFileNameNeverMoveAFile) {
    dir.write("a.jpg", photo_taken("2008/05/17 14:23:45"));
    dir.write("b.jpg", photo_taken("..\\..\\evil:00:00"));
    dir.write("c.jpg", photo_taken("2008:05:17 14\x01"
                                   "23:45"));
    choose({"a.jpg", "b.jpg", "c.jpg"});
    build();
    rename();
    for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(result(k), "改名失败") << k;
    EXPECT_TRUE(dir.exists("a.jpg"));
    EXPECT_TRUE(dir.exists("b.jpg"));
    EXPECT_TRUE(dir.exists("c.jpg"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);
}

TEST_F(CaptureDateTest, BuilderStopsWhenAnotherChoiceReplacesTheTable) {
    for (const char* file : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) dir.write(file, photo_taken("2008:05:17 14:23:45"));
    choose({"a.jpg", "b.jpg", "c.jpg", "d.jpg"});
    int events = 0;
    platform::set_pending_events_hook([&] {
        // A new pick arrives while the first file is being read.
        if (++events == 2) choose({"x.png"});
    });
    build();
    EXPECT_EQ(model.state.batch.row_count(), 1u);
    EXPECT_EQ(model.state.batch.cell(0, Batch::kNewName), "");
    EXPECT_EQ(model.state.batch.new_names(), std::vector<std::string>{""});
}

// RAW files and videos get their dates without a notice, readable by the
// image library or not; only a file of no kind the program knows gets one.
TEST_F(CaptureDateTest, RawFilesAndVideosAreNamedWithoutANotice) {
    setenv("TZ", "UTC", 1);
    tzset();
    test_media::MovieOptions movie;
    movie.created = test_media::movie_time(1325375999);
    dir.write("IMG_0001.CR2", text_of(test_media::raw_tiff("2011:12:31 23:59:59")));
    dir.write("clip.mov", text_of(test_media::movie_file(movie)));
    dir.write("undated.mp4", text_of(test_media::movie_file({})));
    dir.write("notes.txt", "not a picture");
    choose({"IMG_0001.CR2", "clip.mov", "undated.mp4", "notes.txt"});
    build();
    EXPECT_EQ(model.state.batch.new_names(),
              (std::vector<std::string>{"20111231 235959", "20111231 235959", "undated", "notes"}));
    EXPECT_EQ(notices, 1);

    // A sort reads the same times, silently, and each file once.
    dir.write("clip.mov", "changed since");
    EXPECT_EQ(namer.capture_times(model.state.batch, progress),
              (std::vector<std::string>{"20111231 235959", "20111231 235959", "", ""}));
    EXPECT_EQ(notices, 1);
    unsetenv("TZ");
    tzset();
}
