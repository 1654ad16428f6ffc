#include "questionnaire/dialog2.h"

#include "questionnaire/dialog3.h"
#include "runner/module1.h"
#include "runner/list_window.h"

namespace qelvane {

namespace {

using namespace question;

const winui::ControlDesc kControls[] = {
    Label(L"这台电脑是否要连接摄像头、扫描仪或照像机？", 480, 840, 4455, 495, 2),
    YesButton(480, 1800, 1),
    NoButton(2040, 1800, 0),
    ExitButton(3600, 1800, 3),
};

const winui::FormDesc kForm = Frame(L"QelvaneDialog2", 5280, 2595, kControls);

}  // namespace

Dialog2::Dialog2() : QuestionWindow(kForm) {}

Dialog2& Dialog2::Instance() {
    static Dialog2 instance;
    return instance;
}

// Unlike the first two questions, this one shows the next window before it hides itself.
void Dialog2::OKButton_Click() {
    Dialog3::Instance().Show();
    Hide();
    Module1::answers.UsesImagingDevice = true;
}

// "否" alone brings the progress window up one question early, in front of Dialog3.
void Dialog2::CancelButton_Click() {
    Dialog3::Instance().Show();
    Hide();
    Module1::answers.UsesImagingDevice = false;
    list::Instance().Show();
}

// Asks to unload the window that is being unloaded; the window layer ignores
// such a nested request, so the one unload in progress completes as usual.
void Dialog2::Form_Unload() { Unload(); }

}  // namespace qelvane
