#pragma once
#include <QString>

// The program's help: the user manual, Markdown pages in docs/manual whose
// first page is index.md, turned into pages the desktop's browser shows.
namespace HelpDocument {

// The manual's first page installed beside the program
// (<prefix>/share/doc/quillmark/docs/manual), or the one of the source tree
// it was built from; empty when neither is there.
QString manualPath();

// What the user is told when there is no manual.
QString notInstalled();

// One page's Markdown as HTML whose pictures are found in folder and whose
// links to other pages of the manual lead to their HTML in pages.
QString pageHtml(const QString &markdown, const QString &folder, const QString &pages);

// Writes every page of the manual into the user's cache and returns the path
// of the first. Raises QuillError when there is no manual or a page cannot be
// written.
QString writeUserPage();

} // namespace HelpDocument
