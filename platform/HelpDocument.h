#pragma once
#include <QString>

// The program's help: the user sections of its README (everything before the
// developers' part), turned into a page the desktop's browser shows.
namespace HelpDocument {

// The README installed beside the program (<prefix>/share/doc/quillmark), or
// the one of the source tree it was built from; empty when neither is there.
QString readmePath();

// The README's Markdown up to the developers' sections, as HTML whose pictures
// are found in folder.
QString userHtml(const QString &markdown, const QString &folder);

// Writes the page into the user's cache and returns its path. Raises
// QuillError when there is no README or the page cannot be written.
QString writeUserPage();

} // namespace HelpDocument
