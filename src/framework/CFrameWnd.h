#pragma once

#include "framework/CCmdTarget.h"
#include "platform/FrameWindow.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace sekreta {

class CDocument;
class CSingleDocTemplate;
class CView;

// The window about to be made: where it goes, in screen coordinates; none lets the platform choose.
struct CREATESTRUCT {
    std::optional<platform::Rect> windowRect;
};

// What a frame needs to make its view.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass;
    CDocument* m_pCurrentDoc;
    CSingleDocTemplate* m_pNewDocTemplate;
};

// A main window with its menus, keys, bars and the one view in its client area. It turns what
// the user does into commands and routes them: the active view, its document, the frame, the
// application.
class CFrameWnd : public CCmdTarget, public platform::FrameWindowEvents {
public:
    CFrameWnd() = default;
    ~CFrameWnd() override;
    CFrameWnd(const CFrameWnd&) = delete;
    CFrameWnd& operator=(const CFrameWnd&) = delete;

    static const CRuntimeClass classCFrameWnd;
    const CRuntimeClass* GetRuntimeClass() const override;
    static const CommandMap& ClassCommandMap();

    // Makes the window from the resources numbered resourceId and the view the context names;
    // false when any part of it cannot be made.
    virtual bool LoadFrame(unsigned resourceId, const CCreateContext& context);
    CView* GetActiveView() const { return m_view.get(); }
    CDocument* GetActiveDocument() const;
    platform::FrameWindow& Window() const { return *m_window; }

    // Caption: the document's title, " - ", the program's title.
    virtual void OnUpdateFrameTitle();
    // After a New or Open: the views' initial update, then the frame is shown: with showCommand
    // when it is not -1 (the first time), else restored if minimised.
    void InitialUpdateFrame(CDocument* document, bool makeVisible, int showCommand);
    virtual void ActivateFrame(int showCommand);

    bool OnCmdMsg(unsigned id, CommandCall call, CCmdUI* cmdUI) override;

    void OnCommand(unsigned id, platform::CommandSource source) override;
    void OnInitMenuPopup(platform::Menu& menu) override;
    void OnIdleUpdate(platform::CommandItems& toolBar) override;
    void OnClose() override;
    void OnListDoubleClick() override;
    void OnListContextMenu(platform::Point screenPoint) override;
    // Dropped files and requests go to the program, which carries them out in turn.
    void OnDropFiles(const std::vector<std::filesystem::path>& files) override;
    bool OnShellRequest(std::string_view request) override;
    void OnMenuSelect(unsigned id) override;
    std::string GetToolTipText(unsigned id) override;
    bool OnQueryEndSession() override;
    void OnEndSession() override;

    // The status bar prompt of a command: its text up to the line break; empty for none.
    std::string GetMessageString(unsigned id) const;

    // The bars' layout in the settings sections "<profile>-Summary" and "<profile>-Bar<n>".
    void SaveBarState(std::string_view profileName) const;
    void LoadBarState(std::string_view profileName);

    // View > Toolbar and View > Status Bar: show or hide the bar; checked while it shows.
    bool OnBarCheck(unsigned id);
    void OnUpdateControlBarMenu(CCmdUI* cmdUI);

protected:
    const CommandMap& GetCommandMap() const override;
    // Adjusts the window before it is first shown; false stops its making. Window() already
    // answers questions about the screen.
    virtual bool PreCreateWindow(CREATESTRUCT& cs);
    // Builds what the window holds beyond its view; false stops its making.
    virtual bool OnCreate();

private:
    void UpdateCommandItems(platform::CommandItems& items, platform::Menu* menu);

    std::string m_strTitle;
    std::unique_ptr<platform::FrameWindow> m_window;
    std::unique_ptr<CView> m_view;
};

}  // namespace sekreta
