#pragma once
// Context help: the application help file opened at a context number or on an index keyword.
#include <QString>

namespace kem {

// Opens help. The program uses DesktopHelpOpener; tests record what would be opened.
class HelpOpener {
public:
    virtual ~HelpOpener() = default;
    // file may carry a window name as "file>window".
    virtual void openContext(const QString &file, int contextId) = 0;
    virtual void openIndex(const QString &file, const QString &keyword) = 0;
};

// Opens the help file with the desktop's handler (xdg-open) and logs the context number or
// keyword, which a desktop viewer cannot be handed. A missing file or a viewer that cannot be
// started is logged and otherwise ignored.
class DesktopHelpOpener : public HelpOpener {
public:
    void openContext(const QString &file, int contextId) override;
    void openIndex(const QString &file, const QString &keyword) override;
};

// True when the file is a compiled HTML help file (its name ends with ".chm", any case).
bool IsHtmlHelpFile(const QString &file);
// The file part of "file>window".
QString HelpFilePart(const QString &fileWithWindow);

// Help topic and help index: open file (with ">" + windowName appended when a window name is
// given) at a context number or on a keyword.
void HelpTopic(HelpOpener &opener, const QString &file, int contextId, const QString &windowName = {});
void HelpIndex(HelpOpener &opener, const QString &file, const QString &keyword,
               const QString &windowName = {});

} // namespace kem
