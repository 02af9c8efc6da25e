#pragma once

#include "core/regional.h"

namespace tolvane {

// The user's current regional settings for dates and times, read at each call (Linux: the
// LC_TIME category of the environment; Windows: the user's locale).
ConfiguracaoRegional LerConfiguracaoRegional();

}  // namespace tolvane
