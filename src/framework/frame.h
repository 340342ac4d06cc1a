// The main frame of a single-document program and the document it shows.
#pragma once
#include "framework/dialog.h"

#include <memory>
#include <string>

namespace fw {

class CDocument : public CCmdTarget {
public:
    // Called for each new document, to prepare it; false refuses it. An override calls this one
    // first.
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
    // The text of a part of the status bar, when the frame has one.
    void SetStatusText(int part, const std::string& text) const;
    // Called once, before the frame is first shown with nCmdShow, which it may change: to put
    // itself where it was. The base does nothing.
    virtual void OnFirstShow(int& nCmdShow) { (void)nCmdShow; }

protected:
    // Called just before the frame is created, to change its styles; the base does nothing.
    virtual void PreCreateWindow(CREATESTRUCTW& cs) { (void)cs; }
    // Called when the frame is asked to close, before it is destroyed; the base does nothing.
    virtual void OnClosing() {}

    // Parts of a status bar along the frame's bottom, each as wide as its text; none when 0.
    int m_nStatusParts = 0;

private:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
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

    void Layout(int width, int height) const;
    void LayoutStatusParts() const;

    std::unique_ptr<CFormView> m_pView;
    HWND m_hStatusBar = nullptr;
    UINT m_nIDResource = 0;
    HACCEL m_hAccelTable = nullptr;
    std::string m_strTitle;
    bool m_bHelpMode = false;

    static const CommandEntry s_commands[];
};

} // namespace fw
