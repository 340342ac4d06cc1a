// The main frame of a single-document program and the document it shows.
#pragma once
#include "framework/dialog.h"

#include <memory>
#include <string>

namespace fw {

class CDocument : public CCmdTarget {
public:
    // Prepares the document for a fresh start; false refuses the new document.
    virtual bool OnNewDocument() { return true; }
    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title);

private:
    std::string m_strTitle;
};

class CFrameWnd : public CWnd {
public:
    ~CFrameWnd() override;

    // Creates the frame with the menu, icon, accelerators and title of resource nIDResource,
    // and the view as its only child.
    bool LoadFrame(UINT nIDResource, std::unique_ptr<CFormView> view);
    CFormView* GetActiveView() const { return m_pView.get(); }
    // Shows "document title - application title" in the caption.
    void UpdateFrameTitle(const std::string& documentTitle) const;
    // Keyboard handling before dispatch: context-help mode, accelerators, dialog keys of the form.
    bool PreTranslateMessage(MSG& msg);
    bool OnCmdMsg(UINT id, UINT code) override;

protected:
    virtual void PreCreateWindow(CREATESTRUCTA& cs) { (void)cs; }

private:
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    friend LRESULT CALLBACK ObjectWindowProc<CFrameWnd>(HWND, UINT, WPARAM, LPARAM);

    void OnHelp();
    void OnHelpFinder();
    void OnContextHelp();
    void OnEditCopy();
    void OnEditCut();
    void OnEditPaste();
    void OnEditUndo();
    void EndContextHelp();
    void ShowHelpAt(POINT clientPoint);

    std::unique_ptr<CFormView> m_pView;
    UINT m_nIDResource = 0;
    HACCEL m_hAccelTable = nullptr;
    std::string m_strTitle;
    bool m_bHelpMode = false;

    static const CommandEntry s_commands[];
};

} // namespace fw
