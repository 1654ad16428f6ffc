#include "questionnaire/question_window.h"

namespace qelvane {

void QuestionWindow::OnClick(int controlId) {
    switch (controlId) {
    case OKButton: OKButton_Click(); break;
    case CancelButton: CancelButton_Click(); break;
    case Command1: Command1_Click(); break;
    default: break;
    }
}

}  // namespace qelvane
