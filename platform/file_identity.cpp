#include "platform/file_identity.h"

namespace platform {

bool is_same_file(const FileIdentity& a, const FileIdentity& b) { return a == b; }

}  // namespace platform
