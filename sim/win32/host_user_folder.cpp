// Kept apart from the Windows headers, whose character-set macros would
// rename the headless platform's methods.
#include "host_user_folder.h"

#include "platform/headless/headless_platform.h"

namespace qta1::host {

std::string ScriptedUserFolder() { return HeadlessPlatform::kUserFolder; }
std::string ScriptedUserName() { return HeadlessPlatform::kUserName; }

}  // namespace qta1::host
