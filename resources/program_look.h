// The program's icon and hand cursor, shown by all its windows alike.
#pragma once

#include "resources/resource_ids.h"
#include "winui/layout.h"

namespace qelvane {

inline constexpr winui::ProgramLook kProgramLook{IDI_QELVANE, IDC_HANDPOINT, L"QelvaneParking"};

}  // namespace qelvane
