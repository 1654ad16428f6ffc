#include "app/form1.h"

#include "resources/site_info.h"
#include "help/help_window.h"
#include "profiles/profiles.h"
#include "questionnaire/dialog.h"
#include "runner/module1.h"
#include "resources/program_look.h"
#include "resources/resource_ids.h"
#include "runner/list_window.h"
#include "runner/window_host.h"
#include "winui/held_launch.h"
#include "winui/launch.h"

namespace qelvane {

namespace {

using namespace winui;

const std::wstring kLinkCaption = L"最新免费版下载地址" + std::wstring(kDownloadAddress);

const ControlDesc kControls[] = {
    {ControlKind::Button, Form1::Command1, L"按提问优化(建议)", 840, 120, 3495, 495, 0, kSongTi105},
    {ControlKind::Label, Form1::Label1, L"根据软件的提问一步一步进行优化，优化效果最佳!", 840, 720, 3495, 615, 3,
     kWindowFont, kTransparent},
    {ControlKind::Button, Form1::Command2, L"自动优化", 840, 1200, 3495, 495, 1, kSongTi105},
    {ControlKind::Label, Form1::Label2, L"软件自动进行优化，适合对系统服务不熟悉的用户!", 840, 1800, 3495, 615, 4,
     kWindowFont, kTransparent},
    {ControlKind::Button, Form1::Command3, L"恢复系统默认", 840, 2280, 3495, 495, 2, kSongTi105},
    {ControlKind::Label, Form1::Label3, L"对优化的服务恢复到系统默认状态！", 840, 2880, 3495, 375, 5, kWindowFont,
     kTransparent},
    {ControlKind::Picture, Form1::Image1, L"", 240, 3320, 4110, 525, kNoTabStop, kWindowFont,
     kHandCursor | kClickable, kDefaultColour, kDefaultColour, IDR_BANNER},
    {ControlKind::Button, Form1::Command5, L"帮助", 4440, 3330, 735, 375, 8},
    {ControlKind::Button, Form1::Command4, L"退出", 4440, 3780, 735, 390, 6},
    {ControlKind::Label, Form1::Label4, kLinkCaption, 240, 3920, 4095, 255, 7, kSongTi105,
     kCentred | kHandCursor | kClickable, kDefaultColour, RGB(255, 255, 0)},
};

const FormDesc kForm{&kProgramLook, L"QelvaneForm1", L"Qelvane1.2", 5250, 4230, Border::FixedSingle,
                     /*minimizeButton=*/true, /*taskbarButton=*/true, /*centred=*/true, 0, 0,
                     IDR_BACKGROUND, kControls, std::size(kControls)};

void Run(const Profile& profile) {
    WindowRunnerHost host;
    ExecuteProfile(profile, Module1::answers, host);
}

}  // namespace

Form1::Form1() : Form(kForm) {}

Form1& Form1::Instance() {
    static Form1 instance;
    return instance;
}

void Form1::OptimizeByQuestions() { Run(GuidedProfile()); }
void Form1::OptimizeAutomatically() { Run(AutomaticProfile()); }
void Form1::RestoreDefaults() { Run(RestoreProfile()); }

void Form1::OnClick(int controlId) {
    switch (controlId) {
    case Command1: Command1_Click(); break;
    case Command2: Command2_Click(); break;
    case Command3: Command3_Click(); break;
    case Command4: Command4_Click(); break;
    case Command5: Command5_Click(); break;
    case Image1: Image1_Click(); break;
    case Label4: Label4_Click(); break;
    default: break;
    }
}

void Form1::Command1_Click() { Dialog::Instance().Show(); }

void Form1::Command2_Click() {
    list::Instance().Show();
    OptimizeAutomatically();
}

void Form1::Command3_Click() {
    list::Instance().Show();
    RestoreDefaults();
}

void Form1::Command4_Click() { Unload(); }

void Form1::Command5_Click() { help::Instance().Show(); }

void Form1::Image1_Click() { LaunchDownloadPage(); }

void Form1::Label4_Click() { LaunchDownloadPage(); }

void Form1::Form_Unload() {
    // Ends the program at once, from wherever the unload came, runs included; no other
    // window's unload handler runs, nor any DLL's detach code. A held command is let go
    // first, so that every launched command still runs.
    winui::ReleaseAllHeld();
    TerminateProcess(GetCurrentProcess(), 0);
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENDSESSION && wParam) {
        Unload();
        return 0;
    }
    return Form::HandleMessage(message, wParam, lParam);
}

std::wstring DownloadPageCommandLine() { return L"explorer " + std::wstring(kDownloadAddress); }

void LaunchDownloadPage() {
    const std::wstring windows = winui::WindowsFolder();
    if (windows.empty()) return;  // no explorer.exe to be sure of
    winui::LaunchProcess(windows + L"\\explorer.exe", DownloadPageCommandLine(), windows, SW_SHOWMINIMIZED,
                         nullptr);
}

}  // namespace qelvane
