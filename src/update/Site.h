// The product's web site: its base address and the pages the program opens.
#pragma once

#include <string>

namespace update {

// The site's base address, without a trailing "/". Set when the program is built (the CMake
// cache variable QUENLAR_SITE; the tests' builds use QUENLAR_TEST_SITE, a local server).
extern const char* const kSiteBase;

constexpr const char* kVersionFilePath = "/product/qnl_curver.txt";
constexpr const char* kDownloadPagePath = "/product/qnl.html";
constexpr const char* kDonatePagePath = "/product/donate.html";

// The base address followed by a path ("" for the home page).
inline std::string SiteAddress(const std::string& path = {}) { return kSiteBase + path; }

}  // namespace update
