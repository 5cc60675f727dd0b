#pragma once
// The product's web page, which the link at the bottom of the settings dialog opens:
// quorlane.html beside the programs (a build tree, a portable copy, the Windows zip), or in
// <prefix>/share/doc/quorlane/ for an installed copy, whose programs are in
// <prefix>/lib/quorlane.
#include <functional>
#include <string>

namespace quorlane {

inline constexpr const char* kProductPageName = "quorlane.html";

std::string productPagePath(const std::string& programFolder, bool installed);

// The page's address as a browser's address bar shows a local file: "file://" and the path
// with "/" between its names; the few characters that would end or change the path in an
// address ("%", "#", "?", a blank) escaped, every other character, Japanese ones too, as it
// reads. Windows: "C:\a\b" is file:///C:/a/b, a share "\\srv\a" file://srv/a.
std::string fileAddress(const std::string& path);

// The text whole when measure(text) fits width, else cut in the middle with "…" (whole UTF-8
// characters kept, the end a little longer than the start, so that a file name stays whole)
// to the longest that fits.
std::string elidedInMiddle(const std::string& text, int width,
                           const std::function<int(const std::string&)>& measure);

// The message when the page cannot be opened: missing, or nothing to open it with.
enum class PageProblem { Missing, NoOpener };
std::string productPageProblemMessage(PageProblem problem, const std::string& address);

}  // namespace quorlane
