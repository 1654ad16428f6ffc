#include "questionnaire/dialog.h"

#include "questionnaire/dialog1.h"
#include "runner/module1.h"

namespace qelvane {

namespace {

using namespace question;

const winui::ControlDesc kControls[] = {
    Label(L"您是否使用刻录机刻光盘？", 1680, 720, 2895, 495, 2),
    YesButton(720, 1560, 0),
    NoButton(2280, 1560, 1),
    ExitButton(3840, 1560, 3),
};

const winui::FormDesc kForm = Frame(L"QelvaneDialog", 5565, 2340, kControls);

}  // namespace

Dialog::Dialog() : QuestionWindow(kForm) {}

Dialog& Dialog::Instance() {
    static Dialog instance;
    return instance;
}

void Dialog::OKButton_Click() {
    Hide();
    Dialog1::Instance().Show();
    Module1::answers.UsesDiscBurner = true;
}

void Dialog::CancelButton_Click() {
    Hide();
    Dialog1::Instance().Show();
    Module1::answers.UsesDiscBurner = false;
}

}  // namespace qelvane
