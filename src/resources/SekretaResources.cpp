#include "resources/SekretaResources.h"

#include "framework/FrameworkIds.h"
#include "resources/DialogTemplates.h"
#include "resources/Images.h"
#include "resources/ResourceIds.h"

namespace sekreta {

namespace {

using platform::Accelerator;
using platform::Key;
using platform::MenuItemTemplate;
using platform::MenuTemplate;
using platform::PopupTemplate;
using platform::StringResource;

// Sorted by number.
constexpr StringResource kStrings[] = {
    {IDR_MAINFRAME, "Sekreta\n\nSekreta\nSekreta Files (*.sek)\n.sek\nSekreta.Document\nSekreta Document"},
    {ID_EDIT_ADD, "Add a new password\nAdd"},
    {ID_EDIT_MODIFY, "Modify the selected password\nModify"},
    {ID_EDIT_DELETE, "Delete the selected password\nDelete"},
    {ID_FILE_PASSPHRASE, "Change the pass phrase\nChaneg pass phrase"},
    {ID_EDIT_COPYURL, "Copy the URL to the clipboard\nCopy URL"},
    {ID_EDIT_COPYPASSWORD, "Copy account password to clipboard\nCopy password"},
    {ID_TOOLS_GOTOURL, "Go to URL\nGo to URL"},
    {ID_EDIT_COPYUSERNAME, "Copy account username to clipboard\nCopy username"},
    {IDS_APP_TITLE, "Sekreta"},
    {IDS_IDLE_MESSAGE, "Ready"},
    {ID_FILE_NEW, "Create a new document\nNew"},
    {ID_FILE_OPEN, "Open an existing document\nOpen"},
    {ID_FILE_SAVE, "Save the active document\nSave"},
    {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
    {ID_FILE_MRU_FILE1 + 0, "Open this document"},
    {ID_FILE_MRU_FILE1 + 1, "Open this document"},
    {ID_FILE_MRU_FILE1 + 2, "Open this document"},
    {ID_FILE_MRU_FILE1 + 3, "Open this document"},
    {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
    {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
    {ID_HELP_FINDER, "List Help topics\nHelp Topics"},
    {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
    {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},
    {IDS_SCSIZE, "Change the window size"},
    {IDS_SCMOVE, "Change the window position"},
    {IDS_SCMINIMIZE, "Reduce the window to an icon"},
    {IDS_SCMAXIMIZE, "Enlarge the window to full size"},
    {IDS_SCNEXTWINDOW, "Switch to the next document window"},
    {IDS_SCPREVWINDOW, "Switch to the previous document window"},
    {IDS_SCCLOSE, "Close the active window and prompts to save the documents"},
    {IDS_SCRESTORE, "Restore the window to normal size"},
    {IDS_SCTASKLIST, "Activate Task List"},
};

constexpr MenuItemTemplate kFileMenu[] = {
    {ID_FILE_NEW, "&New\tCtrl+N"},
    {ID_FILE_OPEN, "&Open...\tCtrl+O"},
    {ID_FILE_SAVE, "&Save\tCtrl+S"},
    {ID_FILE_SAVE_AS, "Save &As..."},
    {0, ""},
    {ID_FILE_PASSPHRASE, "&Pass Phrase..."},
    {0, ""},
    {ID_FILE_MRU_FILE1, "Recent File", true},
    {0, ""},
    {ID_APP_EXIT, "E&xit"},
};

constexpr MenuItemTemplate kEditMenu[] = {
    {ID_EDIT_ADD, "&Add"},
    {ID_EDIT_MODIFY, "&Modify\tEnter"},
    {ID_EDIT_DELETE, "&Delete\tCtrl+D"},
    {0, ""},
    {ID_EDIT_COPYURL, "Copy &URL\tCtrl+W"},
    {ID_EDIT_COPYUSERNAME, "Copy User&name\tCtrl+U"},
    {ID_EDIT_COPYPASSWORD, "Copy &Password\tCtrl+P"},
};

constexpr MenuItemTemplate kViewMenu[] = {
    {ID_VIEW_TOOLBAR, "&Toolbar"},
    {ID_VIEW_STATUS_BAR, "&Status Bar"},
};

constexpr MenuItemTemplate kToolsMenu[] = {
    {ID_TOOLS_GOTOURL, "&Goto URL\tCtrl+G"},
    {0, ""},
    {ID_TOOLS_GENERATEPASSWORD, "Generate &Password..."},
};

constexpr MenuItemTemplate kHelpMenu[] = {
    {ID_HELP_FINDER, "&Help Topics"},
    {0, ""},
    {ID_APP_ABOUT, "&About Sekreta..."},
};

constexpr PopupTemplate kMainMenu[] = {
    {"&File", kFileMenu},
    {"&Edit", kEditMenu},
    {"&View", kViewMenu},
    {"&Tools", kToolsMenu},
    {"&Help", kHelpMenu},
};

constexpr MenuItemTemplate kContextItems[] = {
    {ID_EDIT_MODIFY, "&Modify\tEnter"},
    {ID_EDIT_DELETE, "&Delete\tCtrl+D"},
    {0, ""},
    {ID_EDIT_COPYURL, "Copy &URL\tCtrl+W"},
    {ID_EDIT_COPYUSERNAME, "Copy User&name\tCtrl+U"},
    {ID_EDIT_COPYPASSWORD, "Copy &Password\tCtrl+P"},
    {0, ""},
    {ID_TOOLS_GOTOURL, "&Goto URL\tCtrl+G"},
};

constexpr PopupTemplate kContextMenu[] = {
    {"", kContextItems},
};

constexpr MenuTemplate kMenus[] = {
    {IDR_MAINFRAME, kMainMenu},
    {IDR_CONTEXTMENU, kContextMenu},
};

constexpr Accelerator kMainKeys[] = {
    {Key::N, platform::Control, ID_FILE_NEW},
    {Key::O, platform::Control, ID_FILE_OPEN},
    {Key::S, platform::Control, ID_FILE_SAVE},
    {Key::Return, platform::NoModifier, ID_EDIT_MODIFY},
    {Key::D, platform::Control, ID_EDIT_DELETE},
    {Key::W, platform::Control, ID_EDIT_COPYURL},
    {Key::U, platform::Control, ID_EDIT_COPYUSERNAME},
    {Key::P, platform::Control, ID_EDIT_COPYPASSWORD},
    {Key::G, platform::Control, ID_TOOLS_GOTOURL},
    {Key::C, platform::Control, ID_EDIT_COPY},
    {Key::Insert, platform::Control, ID_EDIT_COPY},
    {Key::V, platform::Control, ID_EDIT_PASTE},
    {Key::Insert, platform::Shift, ID_EDIT_PASTE},
    {Key::X, platform::Control, ID_EDIT_CUT},
    {Key::Delete, platform::Shift, ID_EDIT_CUT},
    {Key::Z, platform::Control, ID_EDIT_UNDO},
    {Key::Backspace, platform::Alt, ID_EDIT_UNDO},
    {Key::F6, platform::NoModifier, ID_NEXT_PANE},
    {Key::F6, platform::Shift, ID_PREV_PANE},
};

constexpr platform::AcceleratorTable kAccelerators[] = {
    {IDR_MAINFRAME, kMainKeys},
};

const platform::ToolBarButton kToolBarButtons[] = {
    {ID_FILE_NEW, kImageNew},
    {ID_FILE_OPEN, kImageOpen},
    {ID_FILE_SAVE, kImageSave},
    {0, {}},
    {ID_EDIT_ADD, kImageAdd},
    {ID_EDIT_MODIFY, kImageModify},
    {ID_EDIT_DELETE, kImageDelete},
    {ID_EDIT_COPYUSERNAME, kImageCopyUser},
    {ID_EDIT_COPYURL, kImageCopyUrl},
    {ID_EDIT_COPYPASSWORD, kImageCopyPassword},
    {0, {}},
    {ID_TOOLS_GOTOURL, kImageGotoUrl},
    {0, {}},
    {ID_APP_ABOUT, kImageAbout},
};

const platform::ToolBarTemplate kToolBars[] = {
    {IDR_MAINFRAME, 16, 15, 23, 22, kToolBarButtons},
};

const platform::IconResource kIcons[] = {
    {IDR_MAINFRAME, kImageApp},
};

}  // namespace

const platform::ResourceSet& SekretaResources()
{
    static const platform::ResourceSet resources {
        kMenus, kAccelerators, kToolBars, DialogTemplates(), kStrings, kIcons};
    return resources;
}

}  // namespace sekreta
