// Dialogs on templates: the modal CDialog and the CFormView that fills a frame.
#pragma once
#include "framework/data_exchange.h"

#include <utility>
#include <vector>

namespace fw {

// What every window built from a dialog template shares: its procedure, command dispatch and
// data exchange.
class CDialogBase : public CWnd {
public:
    explicit CDialogBase(UINT nIDTemplate) : m_nIDTemplate(nIDTemplate) {}

    UINT GetTemplateId() const { return m_nIDTemplate; }
    // Runs DoDataExchange in one direction; false when a field failed its rule. Notifications
    // that the controls send meanwhile are not delivered to the command table.
    bool UpdateData(bool saveAndValidate = true);

protected:
    // An edit box and the list below it, kept in step: typing selects the first entry that begins
    // with the typed text (in any letter case), and choosing an entry fills the box. Neither
    // raises the other's notification, so the box keeps exactly what the user typed.
    void FollowTypedPrefix(std::string& value, const CListBox& list);
    void TakeSelectedEntry(std::string& value, const CListBox& list);
    // Called by UpdateData, to exchange the window's fields in the order it lists them; the base
    // exchanges nothing.
    virtual void DoDataExchange(CDataExchange&) {}
    // Called once the window and its controls exist; TRUE puts the focus on the first tab stop.
    // An override calls the base first.
    virtual BOOL OnInitDialog() { return TRUE; }
    // Called for every command that the command table does not take; true when it was handled.
    // An override calls the base for what it does not handle.
    virtual bool OnUnhandledCommand(UINT id, UINT code);
    // Called for every message of the window; an override calls the base for what it does not
    // handle.
    virtual INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam);

    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    const UINT m_nIDTemplate;
    bool m_bInUpdateData = false;
};

class CDialog : public CDialogBase {
public:
    // With no parent the main window owns the dialog. A template placed at 0,0 is centred
    // over its owner.
    explicit CDialog(UINT nIDTemplate, HWND parent = nullptr)
        : CDialogBase(nIDTemplate), m_hParent(parent) {}

    // Runs the dialog and returns the identifier it ended with (IDOK, IDCANCEL, …).
    INT_PTR DoModal();
    void EndDialog(INT_PTR result) const { ::EndDialog(m_hWnd, result); }

protected:
    // The exchange towards the controls.
    BOOL OnInitDialog() override;
    // Called for OK (IDOK): the exchange back, then the end of the dialog when it succeeded. An
    // override calls the base to end the dialog.
    virtual void OnOK();
    // Called for Cancel, Escape and the close box: ends the dialog with IDCANCEL.
    virtual void OnCancel();
    bool OnUnhandledCommand(UINT id, UINT code) override;
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void ShowHelp() const;

    HWND m_hParent;
};

// How a control of a form follows the form as it grows: its left edge, its width, its height.
struct Anchor {
    int id;
    bool moveX, growX, growY;
};

// A child dialog that fills its frame's client area.
class CFormView : public CDialogBase {
public:
    using CDialogBase::CDialogBase;

    bool Create(HWND parentFrame);
    // Called for each new document once the form exists; the base runs the exchange towards the
    // controls. An override calls the base first.
    virtual void OnInitialUpdate() { UpdateData(false); }
    // Resizes the parent frame so that the form shows exactly at its template's size, besides
    // what the frame keeps for itself (a status bar); with growOnly a larger form stays as it is.
    void ResizeParentToFit(bool growOnly = false) const;
    // The template's size in pixels, at the form's scale: the least it shows whole in.
    SIZE TemplateSize() const;

protected:
    // The controls that follow the form as it grows beyond its template; the others keep their
    // places. The base has none.
    virtual std::vector<Anchor> GetAnchors() const { return {}; }
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void Layout();

    // Each anchored control and its place in the template, in dialog units: the same at every
    // scale.
    std::vector<std::pair<HWND, RECT>> m_placed;
};

} // namespace fw
