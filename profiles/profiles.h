// The three fixed profile tables. Each ends with the row that FinishRun executes.
#pragma once

#include "runner/step_runner.h"

namespace qelvane {

const Profile& GuidedProfile();
const Profile& AutomaticProfile();
const Profile& RestoreProfile();

}  // namespace qelvane
