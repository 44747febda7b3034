#include "picker/choose_batch.h"

#include "picker/directory_path.h"

namespace picker {

void choose_batch(filelist::MainModel& main, const std::string& directory, std::vector<std::string> names) {
    const std::size_t n = names.size();
    main.state.batch.fill_list(with_trailing_separator(directory), std::move(names));
    main.status.set_text("共选择 " + std::to_string(n) + " 个文件");
}

}  // namespace picker
