// The fourth question: does the machine host a web site? Its answer starts the guided run.
#pragma once

#include "questionnaire/question_window.h"

namespace qelvane {

class Dialog3 : public QuestionWindow {
public:
    static Dialog3& Instance();

protected:
    void OKButton_Click() override;
    void CancelButton_Click() override;

private:
    Dialog3();
};

}  // namespace qelvane
