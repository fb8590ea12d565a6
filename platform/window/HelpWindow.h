#pragma once
#include <QDialog>

class QTextBrowser;

// The user manual in a window of the program's own, for a desktop with no
// browser: the Markdown pages as they are, their pictures and links followed.
class HelpWindow : public QDialog {
    Q_OBJECT
public:
    // first: the manual's first page (HelpDocument::manualPath()).
    explicit HelpWindow(const QString &first, QWidget *parent = nullptr);

    QTextBrowser *browser;
};
