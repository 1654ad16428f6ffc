#include "runner/list_window.h"

#include "resources/program_look.h"

namespace qelvane {

namespace {

using namespace winui;

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kDarkGreen = RGB(0, 128, 0);

const ControlDesc kControls[] = {
    {ControlKind::Label, list::Label1, L"正在优化系统服务，请稍等......", 480, 240, 4455, 375, 0, kSongTi12Bold, 0, kRed},
    {ControlKind::TextBox, list::Text1, L"", 480, 720, 6015, 3375, 1, kWindowFont, kMultiLine, kDarkGreen},
    {ControlKind::Button, list::Command1, L"退出", 2760, 4320, 1215, 375, 2, kWindowFont, kDisabled},
};

const FormDesc kForm{&kProgramLook, L"QelvaneList", L"正在优化系统服务...", 7140, 4800, Border::FixedSingle,
                     /*minimizeButton=*/false, /*taskbarButton=*/true, /*centred=*/true, 0, 0,
                     /*backgroundResource=*/0, kControls, std::size(kControls)};

}  // namespace

list::list() : Form(kForm) {}

list& list::Instance() {
    static list instance;
    return instance;
}

void list::OnClick(int controlId) {
    if (controlId == Command1) Command1_Click();
}

void list::Command1_Click() { Unload(); }

}  // namespace qelvane
