#pragma once

#include <string>
#include <vector>

namespace tolvane {

// The database parameter block for connection parameters of the form "name=value", in their
// order: isc_dpb_version1, then per parameter its item, one length byte and the value (the text
// after the first "=", untrimmed, in the ANSI character set). The names the system uses are
// "user_name" and "password"; another name, or a value longer than 255 bytes, is an
// EIBClientError.
std::string MontarDpb(const std::vector<std::string>& AParametros);

// The transaction parameter block: isc_tpb_version3, then one item per name in order. The names
// the system uses are "read_committed", "rec_version" and "nowait"; another is an EIBClientError.
std::string MontarTpb(const std::vector<std::string>& AParametros);

}  // namespace tolvane
