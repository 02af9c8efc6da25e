#pragma once

#include <string>

namespace tolvane {

// The information window's version text: "Versão: " + the executable's modification time as the
// two-second file date sees it, written as the short date and the time to the minute in the
// user's regional settings (a 12-hour clock keeps its designator; midnight shows "00:00").
// Throws EConvertError "Invalid argument to date encode" when the time cannot be read as a file
// date (unreadable file, or a year outside 1980..2107).
std::string TextoVersao(const std::string& AExeName);

}  // namespace tolvane
