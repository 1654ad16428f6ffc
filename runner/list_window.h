// The progress window `list`: a status line, the log box and the exit button.
#pragma once

#include "winui/form.h"

namespace qelvane {

class list : public winui::Form {
public:
    enum ControlId { Label1 = 101, Text1 = 102, Command1 = 103 };

    static list& Instance();

protected:
    void OnClick(int controlId) override;

private:
    list();
    void Command1_Click();
};

}  // namespace qelvane
