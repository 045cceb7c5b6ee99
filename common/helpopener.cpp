#include "common/helpopener.h"

#include <QDebug>
#include <QFileInfo>
#include <QProcess>

namespace kem {

namespace {

void OpenWithDesktop(const QString &fileWithWindow, const QString &what)
{
    const QString file = HelpFilePart(fileWithWindow);
    qInfo().noquote() << "Guida:" << fileWithWindow << what;
    if (!QFileInfo(file).isFile()) {
        qWarning().noquote() << "Guida non trovata:" << file;
        return;
    }
    if (!QProcess::startDetached(QStringLiteral("xdg-open"), {file}))
        qWarning().noquote() << "Impossibile aprire la guida con xdg-open:" << file;
}

} // namespace

void DesktopHelpOpener::openContext(const QString &file, int contextId)
{
    OpenWithDesktop(file, QStringLiteral("contesto ") + QString::number(contextId));
}

void DesktopHelpOpener::openIndex(const QString &file, const QString &keyword)
{
    OpenWithDesktop(file, QStringLiteral("indice \"") + keyword + QStringLiteral("\""));
}

bool IsHtmlHelpFile(const QString &file)
{
    return HelpFilePart(file).trimmed().endsWith(QStringLiteral(".chm"), Qt::CaseInsensitive);
}

QString HelpFilePart(const QString &fileWithWindow)
{
    const qsizetype gt = fileWithWindow.indexOf(QLatin1Char('>'));
    return gt < 0 ? fileWithWindow : fileWithWindow.left(gt);
}

static QString WithWindow(const QString &file, const QString &windowName)
{
    return windowName.isEmpty() ? file : file + QLatin1Char('>') + windowName;
}

void HelpTopic(HelpOpener &opener, const QString &file, int contextId, const QString &windowName)
{
    opener.openContext(WithWindow(file, windowName), contextId);
}

void HelpIndex(HelpOpener &opener, const QString &file, const QString &keyword,
               const QString &windowName)
{
    opener.openIndex(WithWindow(file, windowName), keyword);
}

} // namespace kem
