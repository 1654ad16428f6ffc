#include "questionnaire/dialog3.h"

#include "app/form1.h"
#include "runner/module1.h"
#include "runner/list_window.h"

namespace qelvane {

namespace {

using namespace question;

const winui::ControlDesc kControls[] = {
    Label(L"这台电脑是否开启IIS服务以架设网站服务器？(建议选否，不架设网站服务器)", 600, 600, 4455, 495, 3),
    YesButton(600, 1680, 1),
    NoButton(2160, 1680, 2),
    ExitButton(3720, 1680, 0),
};

const winui::FormDesc kForm = Frame(L"QelvaneDialog3", 5655, 2520, kControls);

}  // namespace

Dialog3::Dialog3() : QuestionWindow(kForm) {}

Dialog3& Dialog3::Instance() {
    static Dialog3 instance;
    return instance;
}

// The answer is stored before anything is shown or hidden, so the run sees it.
// The run stays inside this click until it has completed; nothing here touches
// the window afterwards, since a pump of the run may have unloaded it.
void Dialog3::OKButton_Click() {
    Module1::answers.HostsWebServer = true;
    list::Instance().Show();
    Hide();
    Form1::Instance().OptimizeByQuestions();
}

void Dialog3::CancelButton_Click() {
    Module1::answers.HostsWebServer = false;
    list::Instance().Show();
    Hide();
    Form1::Instance().OptimizeByQuestions();
}

}  // namespace qelvane
