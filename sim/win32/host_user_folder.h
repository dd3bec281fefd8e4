// The technician's own folder in scripted runs: the headless sheet's, so that
// traces name the same backup files on both sheets.
#pragma once

#include <string>

namespace qta1::host {

std::string ScriptedUserFolder();
// The technician of scripted runs, as the headless sheet names them.
std::string ScriptedUserName();

}  // namespace qta1::host
