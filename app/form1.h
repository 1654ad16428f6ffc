// The main window: the three run buttons with their explanations, help, exit,
// and the banner and link that open the download page.
#pragma once

#include <string>

#include "winui/form.h"

namespace qelvane {

class Form1 : public winui::Form {
public:
    enum ControlId {
        Command1 = 101, Label1, Command2, Label2, Command3, Label3, Image1, Command5, Command4, Label4
    };

    static Form1& Instance();

    // The three runs; each returns when its last row is done.
    void OptimizeByQuestions();
    void OptimizeAutomatically();
    void RestoreDefaults();

protected:
    void OnClick(int controlId) override;
    void Form_Unload() override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Form1();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Image1_Click();
    void Label4_Click();
};

// The command line handed to explorer for the download page.
std::wstring DownloadPageCommandLine();
void LaunchDownloadPage();

}  // namespace qelvane
