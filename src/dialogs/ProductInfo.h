#pragma once

#include <string_view>

namespace sekreta {

// What the About box tells of the program and how to reach its maker. The About command puts
// the e-mail address, two blanks and the web address together as the contact line.
inline constexpr std::string_view kVersionLine = "Tavisto Sekreta V1.0.1";
inline constexpr std::string_view kMakerEmail = "sekreta@tavisto.example.com";
inline constexpr std::string_view kMakerWebAddress = "https://tavisto.example.com";

}  // namespace sekreta
