// What the four question windows share: the question in Label1, the buttons
// "是", "否" and "退出", and a frame that is alike in all four.
#pragma once

#include <cstddef>
#include <string_view>

#include "resources/program_look.h"
#include "winui/form.h"

namespace qelvane {

class QuestionWindow : public winui::Form {
public:
    enum ControlId { Label1 = 101, OKButton, CancelButton, Command1 };

protected:
    explicit QuestionWindow(const winui::FormDesc& desc) : Form(desc) {}
    void OnClick(int controlId) override;
    virtual void OKButton_Click() = 0;
    virtual void CancelButton_Click() = 0;
    // Abandons the questionnaire here: nothing is answered, no run starts.
    void Command1_Click() { Unload(); }
};

namespace question {

inline constexpr std::wstring_view kCaption = L"按提问优化(建议)";

constexpr winui::ControlDesc Label(std::wstring_view question, int left, int top, int width, int height,
                                   int tabIndex) {
    return {winui::ControlKind::Label, QuestionWindow::Label1, question, left, top, width, height, tabIndex,
            winui::kSongTi105};
}

constexpr winui::ControlDesc Button(int id, std::wstring_view caption, int left, int top, int tabIndex) {
    return {winui::ControlKind::Button, id, caption, left, top, 1215, 375, tabIndex};
}

constexpr winui::ControlDesc YesButton(int left, int top, int tabIndex) {
    return Button(QuestionWindow::OKButton, L"是", left, top, tabIndex);
}
constexpr winui::ControlDesc NoButton(int left, int top, int tabIndex) {
    return Button(QuestionWindow::CancelButton, L"否", left, top, tabIndex);
}
constexpr winui::ControlDesc ExitButton(int left, int top, int tabIndex) {
    return Button(QuestionWindow::Command1, L"退出", left, top, tabIndex);
}

// Fixed dialog frame, close box only, centred, and no taskbar button.
template <std::size_t N>
constexpr winui::FormDesc Frame(const wchar_t* className, int clientWidth, int clientHeight,
                                const winui::ControlDesc (&controls)[N]) {
    return {&kProgramLook, className, kCaption, clientWidth, clientHeight, winui::Border::FixedDialog,
            /*minimizeButton=*/false, /*taskbarButton=*/false, /*centred=*/true, 0, 0,
            /*backgroundResource=*/0, controls, N};
}

}  // namespace question

}  // namespace qelvane
