#pragma once
// What the run asks of its print-in-progress window: show the page being produced. The
// window (a widget of kem_print_ui) implements it; headless code finds it through the report
// object's ProgressFormGet().
#include <QObject>

namespace kem {

class PrintProgressView {
public:
    virtual ~PrintProgressView() = default;
    virtual void PageShow(int page) = 0;
};

} // namespace kem

Q_DECLARE_INTERFACE(kem::PrintProgressView, "kem.PrintProgressView/1.0")

namespace kem {
// The progress window bound to a run, or nullptr.
inline PrintProgressView *ProgressViewOf(QObject *form)
{
    return qobject_cast<PrintProgressView *>(form);
}
} // namespace kem
