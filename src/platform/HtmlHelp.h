#pragma once

// The help function of the platform. A help file "<folder>/Kestro.chm" names
// the program's help: on this platform its pages are plain HTML files in
// that folder ("index.html" the contents, "<topic>.html" the topics), opened
// in the user's browser. Without the folder help does nothing.

#include <cstdint>
#include <functional>

#include <QString>

// The commands the program sends.
inline constexpr int HH_DISPLAY_TOPIC = 0;   // file "<help file>::/<topic>"
inline constexpr int HH_DISPLAY_TOC = 1;
inline constexpr int HH_DISPLAY_INDEX = 2;   // data: the keyword (ignored: the index page is shown)
inline constexpr int HH_HELP_CONTEXT = 15;   // data: the context number, page "<number>.html"
inline constexpr int HH_CLOSE_ALL = 18;      // pages shown in the browser stay with the browser

using THtmlHelpFunction = std::function<void(const QString& file, int command, std::uintptr_t data)>;

// The help function; a page that is missing shows the contents instead.
void HtmlHelp(const QString& file, int command, std::uintptr_t data);

// The help function as the help viewer loads it at start.
THtmlHelpFunction LoadHtmlHelp();

// Opens a page; by default in the user's browser. Tests put a fake in its
// place so that nothing opens. An empty opener brings back the browser.
// Returns the opener it replaced.
using THelpPageOpener = std::function<void(const QString& page)>;
THelpPageOpener SetHelpPageOpener(THelpPageOpener opener);
