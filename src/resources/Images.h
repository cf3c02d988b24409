#pragma once

#include <string_view>

namespace sekreta {

// The program's pictures as SVG, from the files of images/.
extern const std::string_view kImageApp;
extern const std::string_view kImageNew;
extern const std::string_view kImageOpen;
extern const std::string_view kImageSave;
extern const std::string_view kImageAdd;
extern const std::string_view kImageModify;
extern const std::string_view kImageDelete;
extern const std::string_view kImageCopyUser;
extern const std::string_view kImageCopyUrl;
extern const std::string_view kImageCopyPassword;
extern const std::string_view kImageGotoUrl;
extern const std::string_view kImageAbout;

}  // namespace sekreta
