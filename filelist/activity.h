#pragma once

namespace filelist {

// The long loop under way, if any. Only one runs at a time: names are built,
// files renamed or a run undone, or capture times read for a sort. The window
// keeps answering the user between rows, so every command asks first.
enum class Activity { Idle, BuildingNames, Renaming, ReadingCaptureTimes };

// Marks an activity as going on for as long as it lives, also when its loop
// ends early.
class ActivityScope {
public:
    ActivityScope(Activity& activity, Activity now) : activity_(activity) { activity_ = now; }
    ~ActivityScope() { activity_ = Activity::Idle; }
    ActivityScope(const ActivityScope&) = delete;
    ActivityScope& operator=(const ActivityScope&) = delete;

private:
    Activity& activity_;
};

}  // namespace filelist
