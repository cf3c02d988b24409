#pragma once

#include "platform/Resources.h"

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

namespace sekreta {

// Numbers of the framework's own texts.
enum FrameworkString : unsigned {
    IDS_OPEN_TITLE = 61440,
    IDS_SAVE_AS_TITLE = 61441,
    IDS_ALL_FILTER = 61442,
    IDS_UNTITLED = 61443,
    IDS_UNNAMED_FILE = 61446,
    IDP_INVALID_FILENAME = 61696,
    IDP_FAILED_TO_OPEN_DOC = 61697,
    IDP_FAILED_TO_SAVE_DOC = 61698,
    IDP_ASK_TO_SAVE = 61699,
    IDP_FAILED_TO_CREATE_DOC = 61700,
    IDP_FAILED_TO_LAUNCH_HELP = 61703,
    IDP_REGISTRY_REMOVED = 61707,
    IDP_PARSE_UINT = 61714,
    IDP_PARSE_INT_RANGE = 61716,
    IDP_FAILED_INVALID_FORMAT = 61728,
    IDP_FILE_CHANGED_ON_DISK = 61740,  // %1 the file, %2 the program's name
    IDP_FILE_NONE = 61856,  // the file failure causes follow, one text per cause
};

// Every message, prompt and title by number: the framework's own, then the program's.
class StringTable {
public:
    // The program's texts, sorted by number; they must outlive every lookup.
    static void SetProgramStrings(std::span<const platform::StringResource> strings);
    // The text with that number, or an empty text when there is none.
    static std::string Load(unsigned id);
    // The text with "%1", "%2", ... replaced by the arguments in order.
    static std::string Format(unsigned id, std::initializer_list<std::string_view> arguments);
    static std::string FormatText(std::string_view pattern, std::initializer_list<std::string_view> arguments);
};

}  // namespace sekreta
