#include "common/risvid.h"

#include <QFont>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QWidget>
#include <cmath>

namespace kem {

namespace {

int Scaled(int v, double f) { return static_cast<int>(std::lround(v * f)); }

QFont ScaledFont(QFont font, double f)
{
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() * f);
    else if (font.pixelSize() > 0)
        font.setPixelSize(std::max(1, Scaled(font.pixelSize(), f)));
    return font;
}

bool InParentLayout(const QWidget *w)
{
    const QWidget *parent = w->parentWidget();
    return parent && parent->layout() && parent->layout()->indexOf(const_cast<QWidget *>(w)) >= 0;
}

// Fixed sizes of a control placed by a layout.
void ScaleSizeLimits(QWidget *w, double f)
{
    const QSize min = w->minimumSize(), max = w->maximumSize();
    if (min.width() > 0 || min.height() > 0)
        w->setMinimumSize(Scaled(min.width(), f), Scaled(min.height(), f));
    if (max.width() < QWIDGETSIZE_MAX)
        w->setMaximumWidth(Scaled(max.width(), f));
    if (max.height() < QWIDGETSIZE_MAX)
        w->setMaximumHeight(Scaled(max.height(), f));
}

struct Original {
    QWidget *widget;
    QFont font;
    QRect geometry;
    bool excluded;
};

} // namespace

void RisVid(QWidget *form, bool skip, double &factor, const QStringList &exclusions,
            const ScreenSettings &settings)
{
    if (!form)
        return;
    form->setProperty("odRisVidVal", 1.0);
    if (factor == -2) {
        const QVariant keySec = form->property("osKeySec");
        factor = ResolveFormFactor(settings, form->property("osRisVidKey").toString(),
                                   keySec.isValid() ? std::optional<QString>(keySec.toString())
                                                    : std::nullopt);
    }
    if (skip || factor == 1 || !(factor > 0) || !std::isfinite(factor))
        return;
    const double f = factor;

    // Record everything first: fonts are inherited, so a parent scaled first would otherwise
    // scale its children twice.
    QList<Original> items;
    const auto excluded = [&](const QWidget *w) {
        return !w->objectName().isEmpty()
               && exclusions.contains(w->objectName(), Qt::CaseInsensitive);
    };
    items.append({form, form->font(), form->geometry(), false});
    for (QWidget *w : form->findChildren<QWidget *>())
        items.append({w, w->font(), w->geometry(), excluded(w)});

    for (const Original &o : items)
        o.widget->setFont(o.excluded ? o.font : ScaledFont(o.font, f));

    for (const Original &o : items) {
        if (o.excluded)
            continue;
        QWidget *w = o.widget;
        if (auto *header = qobject_cast<QHeaderView *>(w)) {
            // Changing the default size may move sections that had it: read them all first.
            QList<int> sizes;
            for (int i = 0; i < header->count(); ++i)
                sizes << header->sectionSize(i);
            header->setMinimumSectionSize(Scaled(header->minimumSectionSize(), f));
            header->setDefaultSectionSize(Scaled(header->defaultSectionSize(), f));
            for (int i = 0; i < sizes.size(); ++i)
                header->resizeSection(i, Scaled(sizes[i], f));
        }
        if (auto *label = qobject_cast<QLabel *>(w); label && !label->pixmap().isNull())
            label->setScaledContents(true);
        const QRect g = o.geometry;
        const QRect scaled(Scaled(g.x(), f), Scaled(g.y(), f), Scaled(g.width(), f),
                           Scaled(g.height(), f));
        if (w == form || !InParentLayout(w)) {
            // Fixed limits would clamp the new size.
            if (w->minimumSize() != QSize(0, 0) || w->maximumSize() != QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX))
                ScaleSizeLimits(w, f);
            w->setGeometry(scaled);
        } else {
            ScaleSizeLimits(w, f);
        }
    }
    form->setProperty("odRisVidVal", f);
}

} // namespace kem
