#pragma once
// The list-print object: prints the rows of a grid's model through a report object of the
// print library, with all columns or the visible ones only, portrait or landscape, in a
// chosen font, each page with the standard header and the column headings.
#include "platform/printlib/printfont.h"
#include "platform/printlib/printreport.h"

#include <QList>
#include <QString>

class QAbstractItemModel;

namespace kem {

class AziendaUtilStampe;

class GridListPrint : public PrintOwner {
public:
    enum Orientation { Vertical = 1, Horizontal = 2 };

    explicit GridListPrint(AziendaUtilStampe &util);
    ~GridListPrint() override;

    // The report object of the runs (options, progress window and submitter are set on it).
    PrintReport &ogSta() { return m_report; }

    // type "T" all columns, "V" only those whose `visible` entry is true (missing entries
    // count as visible). False with *error when the run could not be done; a run stopped from
    // the progress window is not an error.
    bool AvviaStampa(const QString &type, int orientation, const QAbstractItemModel &model,
                     const QList<bool> &visible, const PrintFont &font, const QString &title,
                     QString *error);

    void oiStaAttLet(qint16 value) override;

private:
    AziendaUtilStampe &m_util;
    PrintReport m_report;
};

} // namespace kem
