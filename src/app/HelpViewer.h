#pragma once

#include <QDialog>
#include <QString>

#include <functional>

class QPushButton;
class QTextBrowser;
class QUrl;

// The program's own help viewer: the help file (HTML in UTF-8, whatever its extension) shown right to left
// in a window of its own that stays open beside the program. Links inside the file move within it; a link to
// a web address (http, https) goes to the desktop through the opener; every other address (a local file, a
// program) is refused, so a link can never run or open anything on the machine.
class HelpViewer : public QDialog
{
    Q_OBJECT
public:
    using UrlOpener = std::function<bool(const QUrl&)>;

    explicit HelpViewer(UrlOpener opener, QWidget* parent = nullptr);

    QTextBrowser* Browser;
    QPushButton* ContentsButton; // back to the contents at the top of the file
    QPushButton* CloseButton;

    // Reads and shows the file, at its beginning, under its <title>. On failure the viewer is left as it was
    // and `error` receives the text to tell the user.
    bool setFile(const QString& path, QString* error = nullptr);

    // What a click on a link does.
    void followLink(const QUrl& url);
    void showContents();

private:
    UrlOpener m_opener;
};
