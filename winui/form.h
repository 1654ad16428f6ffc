// A window with exactly one instance: loaded from its design-time description on
// first reference, destroyed on unload, and loaded afresh on the next reference.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "winui/handles.h"
#include "winui/layout.h"
#include "winui/picture.h"

namespace winui {

class Form {
public:
    explicit Form(const FormDesc& desc);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    bool IsLoaded() const { return hwnd_ != nullptr; }
    // Any reference to the window loads it, hidden, when it is not loaded.
    HWND Hwnd();
    HWND Control(int id);

    void Show();
    void Hide();
    void Unload();

    std::wstring Caption();
    void SetCaption(std::wstring_view caption);
    std::wstring ControlText(int id);
    void SetControlText(int id, std::wstring_view text);
    void EnableControl(int id, bool enabled);

    const FormDesc& Desc() const { return desc_; }

protected:
    virtual void OnClick(int /*controlId*/) {}
    // Runs while the window is being unloaded, before it is destroyed.
    virtual void Form_Unload() {}
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static void RegisterClassOnce(const wchar_t* className);
    void Load();
    void CreateControls();
    const ControlDesc* FindControl(int id) const;
    HFONT FontFor(const FontSpec& wanted);
    LRESULT OnCtlColor(HDC dc, HWND control);
    bool OnSetCursor(HWND under);
    void OnDrawPicture(const DRAWITEMSTRUCT& item);
    void OnActivate(bool active);
    void OnEnterKey();
    void PaintBackground(HDC dc);

    const FormDesc& desc_;
    HWND hwnd_ = nullptr;
    HWND lastFocus_ = nullptr;
    bool unloading_ = false;
    std::vector<UniqueFont> fonts_;
    std::vector<Picture> pictures_;  // by control index; empty for non-pictures
    Picture background_;  // drawn from the top-left corner, under transparent labels too
    std::vector<UniqueBrush> solidBrushes_;  // by control index
};

// The single event pump: processes every pending message and returns when the
// queue is empty, without sleeping. A WM_QUIT met here is posted again.
void PumpEvents();
// The program's message loop, until WM_QUIT.
int RunMessageLoop();

// Starts `commandLine` through `application` with the given show state, in
// `directory`, and returns at once with both handles closed. On failure returns
// the system's reason.
bool LaunchProcess(const std::wstring& application, const std::wstring& commandLine,
                   const std::wstring& directory, WORD showWindow, std::wstring* reason);
std::wstring SystemFolder();
std::wstring WindowsFolder();
std::wstring SystemErrorText(DWORD error);

}  // namespace winui
