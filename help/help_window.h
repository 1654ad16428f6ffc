// The help window: what the program does, which run to choose, where to get it
// and whom to write to.
#pragma once

#include <string>

#include "winui/form.h"

namespace qelvane {

class help : public winui::Form {
public:
    enum ControlId { Text1 = 101, OKButton };

    static help& Instance();

protected:
    void OnClick(int controlId) override;

private:
    help();
    void OKButton_Click();
};

}  // namespace qelvane
