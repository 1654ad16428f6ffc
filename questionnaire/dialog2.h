// The third question: cameras, scanners or other imaging devices.
#pragma once

#include "questionnaire/question_window.h"

namespace qelvane {

class Dialog2 : public QuestionWindow {
public:
    static Dialog2& Instance();

protected:
    void OKButton_Click() override;
    void CancelButton_Click() override;
    // Runs while Dialog2 is already being unloaded.
    void Form_Unload() override;

private:
    Dialog2();
};

}  // namespace qelvane
