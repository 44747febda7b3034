#include "naming/numbering_rule.h"
#include "naming/sequential_names.h"

namespace naming {

bool confirm_rule(filelist::AppState& state, const RuleChoice& choice,
                  const CaptureDateBuilder& build_capture_date_names) {
    if (state.busy()) return false;
    state.rule_confirmed = 1;
    // A single row is named too: left without a name it would be renamed to
    // its bare extension.
    if (state.batch.empty()) return true;
    filelist::ActivityScope building(state.activity, filelist::Activity::BuildingNames);
    if (choice.capture_date) {
        if (build_capture_date_names) build_capture_date_names();
        return true;
    }
    state.rule_fields = choice.fields;
    build_sequential_names(state.batch, state.rule_fields);
    return true;
}

void cancel_rule(filelist::AppState& state) {
    state.rule_confirmed = 0;
    state.rule_fields = {};
}

}  // namespace naming
