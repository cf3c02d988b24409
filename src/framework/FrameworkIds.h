#pragma once

namespace sekreta {

// Numbers of the framework's commands, windows and texts.
enum FrameworkId : unsigned {
    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT_DIRECT = 57608,
    ID_FILE_MRU_FILE1 = 57616,
    ID_FILE_MRU_LAST = 57631,
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP_FINDER = 57667,
    ID_HELP_CONTENTS = 57671,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
    ID_VIEW_TOOLBAR = 59392,
    ID_VIEW_STATUS_BAR = 59393,
    AFX_IDW_PANE_FIRST = 59648,
    IDS_APP_TITLE = 57344,
    IDS_IDLE_MESSAGE = 57345,
    // The prompts of the window menu's items.
    IDS_SCSIZE = 61184,
    IDS_SCMOVE = 61185,
    IDS_SCMINIMIZE = 61186,
    IDS_SCMAXIMIZE = 61187,
    IDS_SCNEXTWINDOW = 61188,
    IDS_SCPREVWINDOW = 61189,
    IDS_SCCLOSE = 61190,
    IDS_SCRESTORE = 61202,
    IDS_SCTASKLIST = 61203,
};

}  // namespace sekreta
