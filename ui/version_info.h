// The program's version record, in one place. The about line's version is
// separate and differs from it.
#pragma once

namespace version_info {

inline constexpr const char* kFileVersion = "1.0.0.0";
inline constexpr const char* kProductVersion = "1.0.0.0";
inline constexpr const char* kOriginalFilename = "standora";
inline constexpr const char* kCompanyName = "Ostwerk";
inline constexpr const char* kLegalCopyright = "Copyright 2026 Ostwerk";

inline constexpr const char* kAboutVersion = "V1.2.0";
inline constexpr const char* kMakerPage =
    "http://www.ostwerk.example/software.html";

}  // namespace version_info
