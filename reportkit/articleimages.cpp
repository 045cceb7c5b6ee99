#include "reportkit/articleimages.h"

#include "common/messages.h"
#include "platform/printlib/printreport.h"
#include "platform/util/kemutil.h"
#include "print/printenv.h"

#include <QDir>
#include <QImage>

namespace kem {

void ArticleImageSettings::ParseNumRighe(const QString &text, qint16 &numRighe, bool &destra)
{
    QString t = text.trimmed();
    destra = t.startsWith(QLatin1Char('D'), Qt::CaseInsensitive);
    if (destra)
        t = t.mid(1).trimmed();
    bool ok = false;
    const int n = t.toInt(&ok);
    numRighe = ok && n > 0 ? static_cast<qint16>(std::min(n, 99)) : 0;
}

ArticleImageSettings ArticleImageSettings::Read(const PrintEnv &env)
{
    ArticleImageSettings s;
    s.immagini = env.menuVar(QStringLiteral("Articoli.Immagini")).trimmed().compare(QLatin1String("S"), Qt::CaseInsensitive) == 0;
    if (!s.immagini)
        return s;
    QString dir = env.ini(QStringLiteral("Base"), QStringLiteral("DirImgArt"));
    if (dir.isEmpty())
        dir = env.ini(QStringLiteral("Base"), QStringLiteral("DirImmagini"));
    const bool relative = !dir.isEmpty() && dir.mid(1, 1) != QLatin1String(":") && !dir.startsWith(QLatin1Char('\\'))
        && !dir.startsWith(QLatin1Char('/'));
    if (relative) {
        const QString drive = env.iniPath(QStringLiteral("Base"), QStringLiteral("DriveDB"));
        // Without a base the folder is the ini file's own, as every relative path of the company.
        dir = drive.isEmpty() ? IniPathResolve(dir, env.mainIni) : PathJoin(dir, drive, QString());
    }
    s.directory = dir;
    QString numRighe = env.menuVar(QStringLiteral("DiBa.StaImgNumRighe"));
    if (numRighe.trimmed().isEmpty())
        numRighe = QStringLiteral("3");
    ParseNumRighe(numRighe, s.numRighe, s.destra);
    return s;
}

void ArticleImages::BeginRun(const ArticleImageSettings &settings)
{
    settings_ = settings;
    told_.clear();
}

QString ArticleImages::PathOf(const QString &name) const
{
    if (name.trimmed().isEmpty())
        return {};
    const QString path = PathJoin(name.trimmed(), QString(), settings_.directory);
    return path == QLatin1String("\\") ? QString() : path;
}

bool ArticleImages::load(const QString &name, QImage &out)
{
    const QString path = PathOf(name);
    if (path.isEmpty())
        return false;
    out = QImage(path);
    if (!out.isNull())
        return true;
    if (!told_.contains(path)) {
        told_.insert(path);
        sink_.msgCom(QStringLiteral("Immagine dell'articolo mancante o non leggibile: %1\r\n"
                                    "Le righe che la usano vengono stampate senza immagine.")
                         .arg(QDir::toNativeSeparators(path)),
                     {QStringLiteral("&Ok")});
    }
    return false;
}

float ArticleImages::CalcLimAlt(PrintReport &report, qint16 numRighe)
{
    if (!report.DrawsPages())
        return 0;
    const double y0 = report.VertPosGet();
    report.LineEnd();
    const double y1 = report.VertPosGet();
    report.VertPosLet(y0);
    return float((y1 - y0) * numRighe);
}

namespace {

// The natural size of a picture in millimetres.
QSizeF NaturalSize(const QImage &img)
{
    const double dpmX = img.dotsPerMeterX() > 0 ? img.dotsPerMeterX() : 96 / 0.0254;
    const double dpmY = img.dotsPerMeterY() > 0 ? img.dotsPerMeterY() : 96 / 0.0254;
    return {img.width() * 1000.0 / dpmX, img.height() * 1000.0 / dpmY};
}

} // namespace

bool ArticleImages::StaImg(PrintReport &report, int column, const QString &name, bool destra, float limAlt)
{
    if (!settings_.immagini || !report.DrawsPages())
        return false;
    const ColumnDef *col = report.ColumnGet(column);
    if (!col)
        return false;
    QImage img;
    if (!load(name, img))
        return false;
    double available = col->right - col->left;
    if (available <= 0)
        available = report.PageWidthGet() - report.MarginRightGet() - col->left;
    const QSizeF natural = NaturalSize(img);
    double x = col->left, width = 0, height = 0;
    if (natural.width() > 0 && natural.height() > 0) {
        const double byWidth = available / natural.width();
        const double byHeight = limAlt / natural.height();
        const double ratio = byHeight != 0 && byHeight < byWidth ? byHeight : byWidth;
        width = natural.width() * ratio;
        height = natural.height() * ratio;
        if (destra)
            x = col->left + available - width;
    }
    return report.PicturePrint(img, x, report.VertPosGet(), width, height);
}

bool ArticleImages::StaImgFinePagina(PrintReport &report, const QString &name)
{
    if (!settings_.immagini || !report.DrawsPages())
        return false;
    QImage img;
    if (!load(name, img))
        return false;
    const QSizeF natural = NaturalSize(img);
    const double y = report.VertPosGet();
    const double availableH = report.PageHeightGet() - y - report.MarginBottomGet();
    const double availableW = report.PageWidthGet() - report.MarginRightGet() - report.MarginLeftGet();
    if (availableH <= 0 || availableW <= 0 || natural.width() <= 0 || natural.height() <= 0)
        return false;
    double width = availableW;
    double height = availableW / natural.width() * natural.height();
    if (height > availableH) {
        height = availableH;
        width = availableH / natural.height() * natural.width();
    }
    return report.PicturePrint(img, report.MarginLeftGet(), y, width, height);
}

} // namespace kem
