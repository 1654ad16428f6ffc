#include "help/help_window.h"

#include <iterator>

#include "resources/program_look.h"
#include "resources/site_info.h"

namespace qelvane {

namespace {

using namespace winui;

// Thirteen hard-wrapped lines, each ended by CR LF.
std::wstring HelpText() {
    const std::wstring lines[] = {
        L"",
        L"    对XP系统服务进行优化的软件，这个软件是免费的，你可以无偿获",
        L"取，下载网址为" + std::wstring(kDownloadHost) + L"，它对系统常用的近百个服务进行优化，",
        L"大大提高系统运行速度，对于未优化过的系统来说，开机速度可以提高",
        L"20%以上，并减少内存的占用。建议使用“按提问优化”以达到最好效果",
        L"，对于不懂电脑的人来说，可以使用“自动优化”，另外，“恢复默认",
        L"设置”可以恢复到优化前的系统默认状态，可能对解决一些系统问题有",
        L"帮助！",
        L"",
        std::wstring(kSiteName) + std::wstring(kDownloadAddress),
        L"QQ:" + std::wstring(kMessengerAccount),
        L"mail:" + std::wstring(kMailAddress),
        L"当前版本:v1.2",
    };
    std::wstring text;
    for (const std::wstring& line : lines) text += line + L"\r\n";
    return text;
}

const std::wstring kHelpText = HelpText();

const ControlDesc kControls[] = {
    {ControlKind::TextBox, help::Text1, kHelpText, 120, 240, 6975, 5055, 1, kSongTi105, kMultiLine, kDefaultColour,
     RGB(242, 242, 242)},
    {ControlKind::Button, help::OKButton, L"退出", 5880, 5400, 1215, 375, 0},
};

// Not centred: the client area always opens at the same place of the screen.
const FormDesc kForm{&kProgramLook, L"QelvaneHelp", L"帮助", 7260, 5880, Border::FixedDialog,
                     /*minimizeButton=*/false, /*taskbarButton=*/false, /*centred=*/false, 2760, 3750,
                     /*backgroundResource=*/0, kControls, std::size(kControls)};

}  // namespace

help::help() : Form(kForm) {}

help& help::Instance() {
    static help instance;
    return instance;
}

void help::OnClick(int controlId) {
    if (controlId == OKButton) OKButton_Click();
}

// Unloading drops whatever was typed into the text; the next show loads it afresh.
void help::OKButton_Click() { Unload(); }

}  // namespace qelvane
