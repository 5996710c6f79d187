// CDialog: a dialog from a dialog template, run modally (DoModal: the object lives on the caller's stack for the
// run, the window is destroyed when the run ends) or created modeless (Create: the object owns the window and
// destroys it with itself). The modal loop is the framework's own, so that frames inside the dialog see their
// accelerators and modeless dialogs their keys.
#pragma once

#include "framework/Window.h"

class CDialog : public CWnd {
public:
    // The resource type of a template's initialisation data: list entries sent to its controls before
    // OnInitDialog, as records of WORD control id, WORD message, DWORD byte count and that many bytes of text.
    static constexpr WORD kInitDataType = 240;

    // parent is looked up when the window is made: its object may exist long before its window.
    explicit CDialog(UINT templateId, CWnd* parent = nullptr) noexcept;

    // Runs the dialog until EndDialog; returns its result, or -1 when the window could not be created.
    virtual INT_PTR DoModal();
    // Creates the window modeless and not owned by any loop.
    bool Create();
    // Ends a modal run with result; a modeless dialog is only hidden, as the system does.
    void EndDialog(INT_PTR result);
    bool IsModal() const noexcept { return modal_; }

    bool PreTranslateMessage(MSG& message) override;
    bool OnCommand(UINT id, UINT code, HWND control) override;

protected:
    // After the controls exist; return FALSE when the focus was set here.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    std::optional<LRESULT> HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    HWND ParentHandle() const noexcept;
    void ExecuteDlgInit() const;
    void RunModalLoop();

    UINT templateId_;
    CWnd* parent_;
    bool modal_ = false;
    bool continueModal_ = false;
    INT_PTR result_ = -1;
};
