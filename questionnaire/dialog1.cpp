#include "questionnaire/dialog1.h"

#include "questionnaire/dialog2.h"
#include "runner/module1.h"

namespace qelvane {

namespace {

using namespace question;

const winui::ControlDesc kControls[] = {
    Label(L"您是否使用打印机打印文档？", 1320, 720, 2895, 495, 2),
    YesButton(600, 1680, 1),
    NoButton(2160, 1680, 0),
    ExitButton(3720, 1680, 3),
};

const winui::FormDesc kForm = Frame(L"QelvaneDialog1", 5460, 2460, kControls);

}  // namespace

Dialog1::Dialog1() : QuestionWindow(kForm) {}

Dialog1& Dialog1::Instance() {
    static Dialog1 instance;
    return instance;
}

void Dialog1::OKButton_Click() {
    Hide();
    Dialog2::Instance().Show();
    Module1::answers.UsesPrinter = true;
}

void Dialog1::CancelButton_Click() {
    Hide();
    Dialog2::Instance().Show();
    Module1::answers.UsesPrinter = false;
}

}  // namespace qelvane
