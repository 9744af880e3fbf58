// The product's name, its maker and home page: the one place that names them.
#pragma once

namespace product {
inline constexpr const char* kName = "Tivlo 2.3";  // also the caption of every message box
inline constexpr const char* kMakerLine = "Made by the Tivlo developers";
inline constexpr const char* kHomePage = "https://tivlo.invalid/";
// The help, in the program's folder; the build reads the name from this line.
inline constexpr const char* kHelpFile = "Tivlo 2.3 Full Version Help.chm";
}  // namespace product
