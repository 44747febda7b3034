#include "app/main_commands.h"
#include "app/row_texts.h"
#include "filelist/main_model.h"
#include "platform/file_identity.h"
#include "platform/pending_events.h"
#include "rename/journal_format.h"
#include "rename/rename_history.h"
#include "rename/rename_journal.h"
#include "temp_directory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

using namespace renaming;

namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::string>;

const std::string kId = "R18C0A1B2C3D-4F2-1";
filelist::NoProgress quietly;
const std::string kTime = "2026-12-10 12:34:56";

platform::FileIdentity some_file(std::uint64_t index) { return {0x1A2B3C4D, index, 1024 + index, 0x01DB4A5C7E8F9A00}; }

std::vector<JournalStep> three_steps() {
    return {
        {"p7.jpg", "A007.jpg", some_file(1)}, {"照片 8.jpg", "A008.jpg", some_file(2)}, {"c", "A009", some_file(3)}};
}

// A whole journal of one run: plan, two outcomes, the end, one undo.
std::string small_journal(const std::string& directory) {
    return journal_header() + plan_text(kId, kTime, directory, three_steps()) + outcome_line(kId, 0, true) +
           outcome_line(kId, 1, false) + end_line(kId) + undo_line(kId, 0, true);
}

struct JournalDirectory : ::testing::Test {
    TempDirectory dir;
    std::string directory = dir.path() + "/";
    std::vector<std::string> paths = {dir.path("journal.txt")};

    void files(const Texts& names) {
        for (const std::string& name : names) dir.write(name, name);
    }
    JournalStep step(const std::string& from, const std::string& to) {
        return {from, to, platform::entry_identity(dir.path(from))->identity};
    }
    void rename(const std::string& from, const std::string& to) { fs::rename(dir.path(from), dir.path(to)); }
    Texts names() const {
        Texts out;
        for (const auto& entry : fs::directory_iterator(dir.path()))
            if (entry.path().filename().string().rfind("journal.txt", 0) != 0)
                out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    std::string journal() const { return dir.read("journal.txt"); }
};

}  // namespace

TEST(JournalFormat, APlanItsOutcomesAndUndosReadBackAsWritten) {
    const std::string text = small_journal("/photos/");
    std::vector<JournalRun> runs = scan_journal(text);
    ASSERT_EQ(runs.size(), 1u);
    const JournalRun& run = runs[0];
    EXPECT_EQ(run.id, kId);
    EXPECT_EQ(run.time, kTime);
    EXPECT_EQ(run.directory, "/photos/");
    EXPECT_TRUE(run.plan_whole);
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.outcomes,
              (std::vector<StepOutcome>{StepOutcome::Renamed, StepOutcome::Failed, StepOutcome::Unknown}));
    EXPECT_EQ(run.undos, (std::vector<UndoOutcome>{UndoOutcome::Undone, UndoOutcome::None, UndoOutcome::None}));
    std::optional<std::vector<JournalStep>> steps = read_plan(text, run);
    ASSERT_TRUE(steps);
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ((*steps)[k].from, three_steps()[k].from);
        EXPECT_EQ((*steps)[k].to, three_steps()[k].to);
        EXPECT_EQ((*steps)[k].file, three_steps()[k].file);
    }
    // One rename a line, as a person reads it.
    EXPECT_NE(text.find("\t1\tp7.jpg\t→\tA007.jpg\t"), std::string::npos);
}

TEST(JournalFormat, AJournalCutAtAnyByteNeverTrustsWhatItCannotRead) {
    const std::string text = small_journal("/photos/");
    const std::size_t plan_end = text.find("计划完");
    const std::size_t plan_line_end = text.find('\n', plan_end) + 1;
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        std::string_view part(text.data(), cut);
        std::vector<JournalRun> runs = scan_journal(part);
        ASSERT_LE(runs.size(), 1u) << cut;
        if (runs.empty()) continue;
        // A plan is whole only once its closing line is.
        EXPECT_EQ(runs[0].plan_whole, cut >= plan_line_end) << cut;
        if (!runs[0].plan_whole) {
            EXPECT_FALSE(read_plan(part, runs[0])) << cut;
        }
    }
}

TEST(JournalFormat, DamagedPlansAreNeverWhole) {
    const std::string plan = plan_text(kId, kTime, "/photos/", three_steps());
    auto edited = [&](const std::string& from, const std::string& to) {
        std::string changed = plan;
        changed.replace(changed.find(from), from.size(), to);
        return changed;
    };
    // A plan written with its checksum, naming what no run of the program names.
    auto written = [](const std::string& from, const std::string& to, const std::string& directory = "/photos/") {
        return plan_text(kId, kTime, directory, {{from, to, some_file(1)}});
    };
    struct Case {
        const char* what;
        std::string text;
        bool whole;
    };
    std::mt19937 random(7);
    std::string garbage(4000, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    const Case cases[] = {
        {"as written", plan, true},
        {"garbage lines around it", garbage + "\n" + plan + garbage + "\n", true},
        {"a name changed", edited("p7.jpg", "p8.jpg"), false},
        {"a step missing", edited("\t2\t", "\t4\t"), false},
        {"a name reaching up", written("../p7.jpg", "A007.jpg"), false},
        {"a name reaching up the Windows way", written("..\\p7.jpg", "A007.jpg"), false},
        {"a name on another drive", written("p7.jpg", "C:p7.jpg"), false},
        {"a device name", written("p7.jpg", "CON.jpg"), false},
        {"a name that is no UTF-8", written("p\xFF.jpg", "A007.jpg"), false},
        {"a directory that is not absolute", written("p7.jpg", "A007.jpg", "photos/"), false},
        {"a directory reaching up", written("p7.jpg", "A007.jpg", "/photos/../etc/"), false},
        {"two plans under one id", plan + plan, false},
    };
    for (const Case& c : cases) {
        std::vector<JournalRun> runs = scan_journal(c.text);
        ASSERT_EQ(runs.size(), 1u) << c.what;
        // Never trusted: its steps cannot be read, so nothing is renamed from them.
        EXPECT_EQ(read_plan(c.text, runs[0]).has_value(), c.whole) << c.what;
    }
}

TEST(JournalFormat, TrimmingDropsTheOldestRunsWhole) {
    std::string text = journal_header();
    for (int i = 0; i < 60; ++i) {
        std::string id = "R" + std::to_string(1000 + i);
        text += plan_text(id, kTime, "/photos/", three_steps()) + outcome_line(id, 0, true);
    }
    text += outcome_line("R1003", 1, true);  // a late line of an old run goes with it
    std::optional<std::string> kept = trimmed_journal(text, 50, 1u << 20);
    ASSERT_TRUE(kept);
    std::vector<JournalRun> runs = scan_journal(*kept);
    ASSERT_EQ(runs.size(), 50u);
    EXPECT_EQ(runs.front().id, "R1010");
    EXPECT_EQ(runs.back().id, "R1059");
    EXPECT_EQ(kept->find("R1003"), std::string::npos);
    for (const JournalRun& run : runs) EXPECT_TRUE(run.plan_whole);

    // By size: as many of the newest as fit, and the newest always.
    std::optional<std::string> small = trimmed_journal(text, 50, 2000);
    ASSERT_TRUE(small);
    EXPECT_LE(small->size(), 2000u);
    EXPECT_GE(scan_journal(*small).size(), 1u);
    EXPECT_EQ(scan_journal(*small).back().id, "R1059");
    EXPECT_FALSE(trimmed_journal(text, 100, 1u << 20));
}

TEST_F(JournalDirectory, ARunIsRecordedAndItsUndoToo) {
    files({"a.jpg", "b.jpg"});
    filelist::MainModel model;
    app::MainCommands commands(model, {}, paths);
    model.state.batch.fill_list(directory, {"a.jpg", "b.jpg"});
    model.state.batch.set_new_name(0, "A001");
    model.state.batch.set_new_name(1, "A002");
    model.state.rule_confirmed = 1;
    commands.rename_files();
    commands.undo_last_run();

    RenameHistory history(commands.journal());
    history.load();
    ASSERT_EQ(history.runs().size(), 1u);
    EXPECT_EQ(history.runs()[0].status, RunStatus::Undone);
    EXPECT_EQ(history.runs()[0].files_renamed, 2u);
    EXPECT_EQ(history.runs()[0].directory, directory);
    const auto& files = history.files(0);
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].old_name, "a.jpg");
    EXPECT_EQ(files[0].new_name, "A001.jpg");
    EXPECT_EQ(files[0].place, FilePlace::PutBack);
}

TEST_F(JournalDirectory, WithNoJournalToWriteTheRunAsksAndRenamesNothingOnNo) {
    files({"a.jpg"});
    fs::create_directory(dir.path("journal.txt"));  // a directory where the journal belongs
    fs::create_directory(dir.path("other"));
    paths.push_back(dir.path("other/journal.txt"));
    fs::create_directory(dir.path("other/journal.txt"));
    for (bool go_on : {false, true}) {
        int asked = 0;
        filelist::MainModel model;
        app::MainCommands commands(model, {nullptr,
                                           [&] {
                                               ++asked;
                                               return go_on;
                                           }},
                                   paths);
        model.state.batch.fill_list(directory, {"a.jpg"});
        model.state.batch.set_new_name(0, "A001");
        model.state.rule_confirmed = 1;
        commands.rename_files();
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(names(), (Texts{go_on ? "A001.jpg" : "a.jpg", "other"})) << go_on;
    }
}

TEST_F(JournalDirectory, AJournalThatCannotBeWrittenBesideTheProgramGoesToTheSecondPlace) {
    files({"a.jpg"});
    fs::create_directory(dir.path("journal.txt"));
    fs::create_directory(dir.path("data"));
    paths.push_back(dir.path("data/journal.txt"));
    RenameJournal journal(paths);
    ASSERT_TRUE(journal.begin_run(directory, {step("a.jpg", "b.jpg")}));
    EXPECT_EQ(journal.run_place(), 1u);
    journal.end_run();
    RenameHistory history(journal);
    history.load();
    ASSERT_EQ(history.runs().size(), 1u);
    EXPECT_EQ(history.runs()[0].status, RunStatus::Done);
}

// A run the program did not finish (killed, power lost): its plan is whole,
// its outcomes stop somewhere, possibly mid-line. How far it got comes from
// them and then from where its files are now.
TEST_F(JournalDirectory, AnInterruptedRunIsReadAsFarAsItGotAndUndoneWhole) {
    struct Case {
        const char* what;
        Texts files;
        std::vector<std::pair<std::string, std::string>> plan;  // in the order the run renames
        std::size_t done;                                       // renames made before the end
        std::size_t recorded;                                   // of those, outcome lines written
        bool cut_mid_line;
        std::size_t files_renamed;
    };
    const std::string tmp = std::string(kTemporaryNamePrefix) + "1.jpg";
    const Case cases[] = {
        {"a shift up, cut after two of three",
         {"A1.jpg", "A2.jpg", "A3.jpg"},
         {{"A3.jpg", "A4.jpg"}, {"A2.jpg", "A3.jpg"}, {"A1.jpg", "A2.jpg"}},
         2,
         0,
         false,
         2},
        {"a shift up, all done, outcomes cut mid-line",
         {"A1.jpg", "A2.jpg"},
         {{"A2.jpg", "A3.jpg"}, {"A1.jpg", "A2.jpg"}},
         2,
         1,
         true,
         2},
        {"a shift down, one done", {"A2.jpg", "A3.jpg"}, {{"A2.jpg", "A1.jpg"}, {"A3.jpg", "A2.jpg"}}, 1, 1, false, 1},
        {"a swap cut with one file under its temporary name",
         {"x.jpg", "y.jpg"},
         {{"x.jpg", tmp}, {"y.jpg", "x.jpg"}, {tmp, "y.jpg"}},
         2,
         1,
         false,
         2},
        {"a swap done but not ended",
         {"x.jpg", "y.jpg"},
         {{"x.jpg", tmp}, {"y.jpg", "x.jpg"}, {tmp, "y.jpg"}},
         3,
         0,
         false,
         2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const auto& entry : fs::directory_iterator(dir.path())) fs::remove_all(entry.path());
        files(c.files);
        std::vector<JournalStep> steps;
        {
            // The identities, as the run lists them before its first rename.
            std::map<std::string, platform::FileIdentity> at;
            for (const std::string& name : c.files) at[name] = platform::entry_identity(dir.path(name))->identity;
            for (const auto& [from, to] : c.plan) {
                steps.push_back({from, to, at.at(from)});
                at[to] = at.at(from);
            }
        }
        std::string text = journal_header() + plan_text(kId, kTime, directory, steps);
        for (std::size_t k = 0; k < c.done; ++k) rename(c.plan[k].first, c.plan[k].second);
        for (std::size_t k = 0; k < c.recorded; ++k) text += outcome_line(kId, k, true);
        if (c.cut_mid_line) text += outcome_line(kId, c.recorded, true).substr(0, 20);
        dir.write("journal.txt", text);

        RenameJournal journal(paths);
        RenameHistory history(journal);
        history.load();
        ASSERT_EQ(history.runs().size(), 1u);
        EXPECT_EQ(history.runs()[0].status, RunStatus::Unfinished);
        EXPECT_EQ(history.runs()[0].files_renamed, c.files_renamed);
        ASSERT_TRUE(history.unasked_unfinished_run());

        history.undo(0, quietly);
        Texts expected = c.files;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(names(), expected);
        for (const std::string& name : c.files) EXPECT_EQ(dir.read(name), name);
        EXPECT_EQ(history.runs()[0].status, RunStatus::Undone);
    }
}

TEST_F(JournalDirectory, NothingIsEverRenamedFromADamagedRun) {
    files({"A001.jpg"});
    // A plan that would move a file out of its directory, checksum and all.
    const platform::FileIdentity file = platform::entry_identity(dir.path("A001.jpg"))->identity;
    dir.write("journal.txt", journal_header() + plan_text(kId, kTime, directory, {{"../a.jpg", "A001.jpg", file}}));
    RenameJournal journal(paths);
    RenameHistory history(journal);
    history.load();
    ASSERT_EQ(history.runs().size(), 1u);
    EXPECT_EQ(history.runs()[0].status, RunStatus::Damaged);
    EXPECT_FALSE(history.unasked_unfinished_run());
    history.undo(0, quietly);
    EXPECT_EQ(names(), Texts{"A001.jpg"});
    EXPECT_FALSE(fs::exists(dir.path("../a.jpg")));
}

TEST(JournalFormat, TrimmingCountsOnlyTheRunsItKeeps) {
    std::string text = journal_header();
    for (int i = 0; i < 3; ++i) {
        std::string id = "R" + std::to_string(2000 + i);
        text += plan_text(id, kTime, "/photos/", three_steps()) + outcome_line(id, 0, true) + end_line(id);
    }
    for (int i = 0; i < 2000; ++i) text += "no record of any run, line " + std::to_string(i) + "\r\n";
    std::optional<std::string> kept = trimmed_journal(text, 50, 20000);
    ASSERT_TRUE(kept);  // the lines of no run go
    EXPECT_EQ(scan_journal(*kept).size(), 3u);
    EXPECT_EQ(kept->find("no record"), std::string::npos);
}

TEST_F(JournalDirectory, ARunAnotherCopyHoldsIsInProgressNeitherAskedAboutNorUndone) {
    files({"a.jpg"});
    {
        RenameJournal first(paths);  // a copy renaming now
        ASSERT_TRUE(first.begin_run(directory, {step("a.jpg", "A001.jpg")}));
        rename("a.jpg", "A001.jpg");
        RenameJournal second(paths);
        RenameHistory history(second);
        history.load();
        ASSERT_EQ(history.runs().size(), 1u);
        EXPECT_EQ(history.runs()[0].status, RunStatus::InProgress);
        EXPECT_FALSE(history.unasked_unfinished_run());
        history.undo(0, quietly);
        EXPECT_EQ(names(), Texts{"A001.jpg"});
    }  // the first copy is gone, killed before its run ended
    RenameJournal journal(paths);
    RenameHistory history(journal);
    history.load();
    EXPECT_EQ(history.runs()[0].status, RunStatus::Unfinished);
    EXPECT_TRUE(history.unasked_unfinished_run());
}

TEST_F(JournalDirectory, AFileAnotherProgramMovesOnDuringTheRunStaysRenamedAndItsUndoFails) {
    files({"a.jpg", "b.jpg"});
    filelist::MainModel model;
    app::MainCommands commands(model, {}, paths);
    model.state.batch.fill_list(directory, {"a.jpg", "b.jpg"});
    model.state.batch.set_new_name(0, "A001");
    model.state.batch.set_new_name(1, "A002");
    model.state.rule_confirmed = 1;
    platform::set_pending_events_hook([&] {
        if (fs::exists(dir.path("A001.jpg"))) rename("A001.jpg", "synced.jpg");
    });
    commands.rename_files();
    platform::set_pending_events_hook(nullptr);
    EXPECT_EQ(app::result_text(model.state.batch.result(0)), "改名成功");
    EXPECT_NE(dir.read("journal.txt").find("\t1\t成功"), std::string::npos);

    commands.undo_last_run();
    EXPECT_EQ(names(), (Texts{"b.jpg", "synced.jpg"}));
    RenameHistory history(commands.journal());
    history.load();
    EXPECT_EQ(history.runs()[0].status, RunStatus::PartlyUndone);
}

TEST_F(JournalDirectory, AStepWhoseFileIsBackAlreadyCountsAsUndone) {
    files({"a.jpg", "b.jpg", "c.jpg"});
    const std::vector<JournalStep> steps = {step("a.jpg", "A001.jpg"), step("b.jpg", "A002.jpg"),
                                            step("c.jpg", "A003.jpg")};
    std::string text = journal_header() + plan_text(kId, kTime, directory, steps);
    for (std::size_t k = 0; k < 3; ++k) text += outcome_line(kId, k, true);
    text += end_line(kId) + undo_line(kId, 2, true);
    // An undo killed after it put two files back and wrote one of them.
    dir.write("journal.txt", text);
    rename("a.jpg", "A001.jpg");

    RenameJournal journal(paths);
    RenameHistory history(journal);
    history.load();
    history.undo(0, quietly);
    EXPECT_EQ(names(), (Texts{"a.jpg", "b.jpg", "c.jpg"}));
    EXPECT_EQ(history.runs()[0].status, RunStatus::Undone);
    const auto& files = history.files(0);
    for (const HistoryFile& file : files) EXPECT_EQ(file.place, FilePlace::PutBack) << file.old_name;
    EXPECT_EQ(files[0].undo.kind, filelist::Outcome::Undone);
}

TEST_F(JournalDirectory, AJournalThatCannotBeClearedIsNamedAndKeepsItsRuns) {
    dir.write("journal.txt", small_journal(directory));
    fs::create_directory(dir.path("journal.txt.lock"));  // a lock that no copy holds, and never goes
    fs::create_directory(dir.path("data"));
    paths.push_back(dir.path("data/journal.txt"));
    dir.write("data/journal.txt", journal_header() + plan_text("R99", kTime, directory, three_steps()));
    RenameJournal journal(paths);
    RenameHistory history(journal);
    history.load();
    ASSERT_EQ(history.runs().size(), 2u);
    EXPECT_EQ(history.clear(), Texts{paths[0]});
    ASSERT_EQ(history.runs().size(), 1u);
    EXPECT_EQ(history.runs()[0].id, kId);
}
