#pragma once
// Page navigation rules of the preview window, without widgets: which page a move shows and
// which page must be asked of the running report first. Pages are numbered from 1; the page
// range ("PaginaDa", "PaginaA") limits the pages the preview shows, 0 meaning no limit.
#include <QString>

namespace kem {

class PreviewPager {
public:
    // Indexes of the navigation images.
    enum Move { Previous = 1, First = 2, Next = 3, Last = 4 };

    // What a move does: the page to show (0: none) or the page to ask the report for (0: none).
    struct Step {
        int show = 0;
        int request = 0;
        bool operator==(const Step &o) const { return show == o.show && request == o.request; }
    };

    // Where the run is: the page on the canvas (0: none yet), the newest page produced and
    // whether the run has ended.
    struct RunState {
        int shown = 0;
        int produced = 0;
        bool ended = false;
    };

    void RangeSet(int pageFrom, int pageTo);
    int PageFrom() const { return m_from; }
    int PageTo() const { return m_to; }

    // The first page the preview shows: the larger of 1 and "PaginaDa".
    int FirstAllowed() const;
    // The last page that may be shown with `produced` pages done ("PaginaA" caps it).
    int LastAllowed(int produced) const;

    // The step of a move; a move that is not possible gives an empty step.
    Step Plan(Move move, const RunState &s) const;
    // Whether the move would change anything (arrow enabled or greyed).
    bool Possible(Move move, const RunState &s) const;
    // The first page to show when nothing is shown yet.
    Step Start(const RunState &s) const;
    // Going to a page: within the range, shown when produced, else asked for while the run
    // goes on; nothing for a page outside the range or beyond the end of an ended run.
    Step GoTo(int page, const RunState &s) const;

    // "Pag." + page formatted "000".
    static QString PageCaption(int page);

private:
    int m_from = 0;
    int m_to = 0;
};

} // namespace kem
