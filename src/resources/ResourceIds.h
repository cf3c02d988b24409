#pragma once

namespace sekreta {

// Numbers shared by the resources and the code: commands, menus, dialogs and their controls.
enum ResourceId : unsigned {
    IDR_MAINFRAME = 128,
    IDR_CONTEXTMENU = 132,

    IDD_ABOUTBOX = 100,
    IDD_ENTRY = 129,
    IDD_PASSPHRASE = 130,
    IDD_GENERATOR = 131,

    ID_EDIT_ADD = 32771,
    ID_EDIT_MODIFY = 32772,
    ID_EDIT_DELETE = 32773,
    ID_FILE_PASSPHRASE = 32774,
    ID_EDIT_COPYURL = 32775,
    ID_EDIT_COPYPASSWORD = 32777,
    ID_TOOLS_GOTOURL = 32778,
    ID_TOOLS_GENERATEPASSWORD = 32779,
    ID_EDIT_COPYUSERNAME = 32780,
};

}  // namespace sekreta
