// The first question: does the machine burn discs?
#pragma once

#include "questionnaire/question_window.h"

namespace qelvane {

class Dialog : public QuestionWindow {
public:
    static Dialog& Instance();

protected:
    void OKButton_Click() override;
    void CancelButton_Click() override;

private:
    Dialog();
};

}  // namespace qelvane
