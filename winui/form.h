// A window with exactly one instance: loaded from its design-time description on
// first reference, destroyed on unload, and loaded afresh on the next reference.
#pragma once

#include <windows.h>

#include <exception>
#include <string>
#include <string_view>

#include "winui/controls.h"
#include "winui/dialog_keys.h"
#include "winui/font_cache.h"
#include "winui/layout.h"
#include "winui/picture.h"

namespace winui {

// A window that could not be created: the action that referred to it ends there,
// the way a launch that cannot start does; the next reference tries again.
class WindowNotCreated : public std::exception {
public:
    const char* what() const noexcept override { return "window not created"; }
};

class Form {
public:
    explicit Form(const FormDesc& desc);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    bool IsLoaded() const { return hwnd_ != nullptr; }
    // Any reference to the window loads it, hidden, when it is not loaded; throws
    // WindowNotCreated when it cannot be.
    HWND Hwnd();
    HWND Control(int id);

    void Show();
    void Hide();
    void Unload();

    std::wstring Caption();
    void SetCaption(std::wstring_view caption);
    std::wstring ControlText(int id);
    void SetControlText(int id, std::wstring_view text);
    // Adds `text` at the end of an edit box's text, leaving what it holds untouched, and
    // shows the box from its first line with the caret at the start, as setting its
    // whole text does.
    void AppendControlText(int id, std::wstring_view text);
    void EnableControl(int id, bool enabled);

    const FormDesc& Desc() const { return desc_; }

protected:
    virtual void OnClick(int /*controlId*/) {}
    // Runs while the window is being unloaded, before it is destroyed.
    virtual void Form_Unload() {}
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool RegisterClassOnce();
    void Load();
    bool OnCreate();
    void ReleaseResources();
    LRESULT OnCtlColor(UINT message, HDC dc, HWND control);
    bool OnSetCursor(HWND under);
    void OnDrawPicture(const DRAWITEMSTRUCT& item);
    void PaintBackground(HDC dc);

    const FormDesc& desc_;
    HWND hwnd_ = nullptr;
    bool unloading_ = false;
    FontCache fonts_;
    Controls controls_;
    Picture background_;  // drawn from the top-left corner, under transparent labels too
    DialogKeys keys_;
};

}  // namespace winui
