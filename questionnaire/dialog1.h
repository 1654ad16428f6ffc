// The second question: does the machine print?
#pragma once

#include "questionnaire/question_window.h"

namespace qelvane {

class Dialog1 : public QuestionWindow {
public:
    static Dialog1& Instance();

protected:
    void OKButton_Click() override;
    void CancelButton_Click() override;

private:
    Dialog1();
};

}  // namespace qelvane
