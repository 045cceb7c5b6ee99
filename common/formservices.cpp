#include "common/formservices.h"

#include "common/aziendautil.h"
#include "common/codefieldwidgets.h"
#include "common/companyparams.h"
#include "common/funvarie.h"
#include "common/helpkey.h"
#include "common/messages.h"
#include "common/risvid.h"
#include "platform/db/kemdb.h"
#include "platform/menu/menuserver.h"
#include "platform/util/kemutil.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextEdit>
#include <QWidget>

namespace kem {

namespace {

bool SameText(const QString &a, const QString &b)
{
    return a.trimmed().compare(b, Qt::CaseInsensitive) == 0;
}

bool IsArticleKind(const QString &kind)
{
    const DecodeKind *k = FindDecodeKind(kind);
    return k && k->name == QLatin1String("Articolo");
}

bool IsMultiLine(const QWidget *w)
{
    return qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QTextEdit *>(w);
}

bool IsTextBox(const QWidget *w)
{
    return qobject_cast<const QLineEdit *>(w) || IsMultiLine(w);
}

QString ControlName(const QWidget *w)
{
    return w->objectName().isEmpty() ? QStringLiteral("0x%1").arg(quintptr(w), 0, 16) : w->objectName();
}

// Text and selection of a one-line or multi-line box, for find and replace.
struct BoxText {
    QString text;
    int selStart = 0;
    int selEnd = 0;
};

BoxText ReadBox(QWidget *box)
{
    BoxText b;
    if (auto *le = qobject_cast<QLineEdit *>(box)) {
        b.text = le->text();
        if (le->hasSelectedText()) {
            b.selStart = le->selectionStart();
            b.selEnd = b.selStart + int(le->selectedText().size());
        } else {
            b.selStart = b.selEnd = le->cursorPosition();
        }
    } else if (auto *pe = qobject_cast<QPlainTextEdit *>(box)) {
        b.text = pe->toPlainText();
        b.selStart = pe->textCursor().selectionStart();
        b.selEnd = pe->textCursor().selectionEnd();
    } else if (auto *te = qobject_cast<QTextEdit *>(box)) {
        b.text = te->toPlainText();
        b.selStart = te->textCursor().selectionStart();
        b.selEnd = te->textCursor().selectionEnd();
    }
    return b;
}

void SelectInBox(QWidget *box, int start, int length)
{
    if (auto *le = qobject_cast<QLineEdit *>(box)) {
        le->setSelection(start, length);
        return;
    }
    auto select = [&](QTextCursor c) {
        c.setPosition(start);
        c.setPosition(start + length, QTextCursor::KeepAnchor);
        return c;
    };
    if (auto *pe = qobject_cast<QPlainTextEdit *>(box))
        pe->setTextCursor(select(pe->textCursor()));
    else if (auto *te = qobject_cast<QTextEdit *>(box))
        te->setTextCursor(select(te->textCursor()));
}

void ReplaceSelection(QWidget *box, const QString &with)
{
    if (auto *le = qobject_cast<QLineEdit *>(box))
        le->insert(with);
    else if (auto *pe = qobject_cast<QPlainTextEdit *>(box))
        pe->textCursor().insertText(with);
    else if (auto *te = qobject_cast<QTextEdit *>(box))
        te->textCursor().insertText(with);
}

} // namespace

FormServices::FormServices(CompanyParams &params, MenuServer &menu, MessageSink &sink, KemAiutoDecod &aiuto,
                           CodeFieldParams &codeParams, TextPrompter &prompter, const QString &minimumDate)
    : params_(params), menu_(menu), sink_(sink), aiuto_(aiuto), codeParams_(codeParams), prompter_(prompter),
      minDate_(ParseFieldDate(minimumDate))
{
    if (!minDate_.isValid())
        minDate_ = QDate(1900, 1, 1);
}

// ------------------------------------------------------------------------------ focus colours

void FormServices::TxtGotFocus(QWidget *form, QLineEdit *box)
{
    if (!box)
        return;
    box->selectAll();
    if (params_.colBackGotFocus != params_.colBackLostFocus && form) {
        for (QLineEdit *other : form->findChildren<QLineEdit *>()) {
            if (other != box && other->objectName().startsWith(QLatin1String("txt"), Qt::CaseInsensitive) &&
                BackColour(other, params_.colBackNormal) == params_.colBackGotFocus)
                SetBackColour(other, params_.colBackLostFocus);
        }
    }
    if (!IsInError(box))
        SetBackColour(box, params_.colBackGotFocus);
}

void FormServices::TxtLostFocusColours(QLineEdit *box)
{
    if (box && !IsInError(box))
        SetBackColour(box, params_.colBackLostFocus);
}

bool FormServices::IsInError(const QWidget *control) const
{
    return BackColour(control, params_.colBackNormal) == params_.colErr;
}

// ------------------------------------------------------------------------------ lookups

LookupResult FormServices::ApriHelp(const QString &kind, QLineEdit *box, QLabel *label, int keyCode,
                                    const QString &where, const QStringList &extraColumns)
{
    LookupResult result;
    if (!KemAiutoDecod::AcceptsKeyCode(keyCode)) {
        result.outcome = LookupOutcome::NotOpened;
        return result;
    }
    const QColor colBackOk = aiuto_.olColBackOk();
    try {
        if (SameText(kind, QStringLiteral("Conto"))) {
            aiuto_.ovLeggiPar(QStringLiteral("CFHelpRic11"), codeParams_.cfHelpRic(QStringLiteral("CFHelpRic11")));
            aiuto_.ovLeggiPar(QStringLiteral("CFHelpRic12"), codeParams_.cfHelpRic(QStringLiteral("CFHelpRic12")));
        }
        aiuto_.ovLeggiPar(QStringLiteral("Campi"), LookupColumnList(codeParams_.columnList(kind)));
        ComLin &comlin = aiuto_.ogComlin();
        comlin.ovLeggiPar(QStringLiteral("ForzaPassThrough"), codeParams_.passThrough(kind));
        for (const char *m : {"MargSopra", "MargSotto", "MargSin", "MargDestra"}) {
            const QString name = QString::fromLatin1(m);
            comlin.ovLeggiPar(name, TextToInt(codeParams_.personal(QStringLiteral("Help"), name, QStringLiteral("0"))));
        }
        if (IsArticleKind(kind)) {
            const ArticleImageSettings img = codeParams_.articleImages();
            aiuto_.ovLeggiPar(QStringLiteral("Immagini"), img.show ? QStringLiteral("S") : QStringLiteral("N"));
            aiuto_.ovLeggiPar(QStringLiteral("DirImmagini"), img.directory);
            aiuto_.ovLeggiPar(QStringLiteral("ImgRapVertOriz"), img.ratio);
            aiuto_.ovLeggiPar(QStringLiteral("ImgDimReali"), img.realSize);
            aiuto_.ovLeggiPar(QStringLiteral("ImgDove"), img.where);
            aiuto_.ovLeggiPar(QStringLiteral("ImgSpazio"), img.space);
            aiuto_.ovLeggiPar(QStringLiteral("MostraImg"), img.mostraImg);
            aiuto_.ovLeggiPar(QStringLiteral("DoveMostraImg"), img.doveMostraImg);
            aiuto_.ovLeggiPar(QStringLiteral("NomeColImg"), QStringLiteral("Immagine"));
        }
        result = aiuto_.Lookup(kind, box, label, keyCode, where, extraColumns);
    } catch (...) {
        const ErrorInfo e = CurrentErrorInfo();
        sink_.MsgErrfrm(e.number, ErrorDescription(e.description, e.source));
        result.outcome = LookupOutcome::Cancelled;
    }
    aiuto_.setOlColBackOk(colBackOk);
    return result;
}

LookupResult FormServices::CodeFieldKeyUp(const QString &kind, QLineEdit *box, QLabel *label, int keyCode,
                                          int shift, const QString &where, const QStringList &extraColumns)
{
    if (keyCode < 113 || keyCode > 116 || shift != 0) {
        LookupResult none;
        none.outcome = LookupOutcome::NotOpened;
        return none;
    }
    return ApriHelp(kind, box, label, keyCode, where, extraColumns);
}

void FormServices::ComHlpClick(QLineEdit *box, int keyCode, const std::function<void(int, int)> &keyUp)
{
    if (box)
        box->setFocus(Qt::OtherFocusReason);
    QCoreApplication::processEvents();
    if (keyUp)
        keyUp(keyCode, 0);
}

// ------------------------------------------------------------------------------ decoding

LookupResult FormServices::Decodifica(const QString &kind, QLineEdit *box, QLabel *label, const QString &where,
                                      bool directDecode, bool directDecode2, const QString &defaultText,
                                      int keyCode)
{
    LookupResult result;
    if (!box)
        return result;
    auto markMissing = [&] {
        if (label)
            label->setText(InesistenteText);
        SetBackColour(box, params_.colErr);
    };
    auto clearError = [&] {
        if (IsInError(box))
            SetBackColour(box, box->hasFocus() ? params_.colBackGotFocus : params_.colBackLostFocus);
    };
    try {
        QString w = where;
        if (SameText(kind, QStringLiteral("Articolo")) && codeParams_.noDecInattivi())
            w = AddWhereClause(w, InactiveArticleFilter);
        if (box->text().trimmed().isEmpty() && !defaultText.isEmpty())
            box->setText(defaultText);
        const bool blank = box->text().trimmed().isEmpty();
        if (blank || directDecode || directDecode2) {
            aiuto_.ovLeggiPar(QStringLiteral("RetZeroRec"), true);
            result = aiuto_.Decode(kind, box, label, w);
            if (result.outcome == LookupOutcome::Found || blank)
                clearError();
            else
                markMissing();
            return result;
        }
        if (SameText(kind, QStringLiteral("Conto")))
            box->setText(aiuto_.FormatConto(box->text()));
        for (int opened = 0;; ++opened) {
            aiuto_.ovLeggiPar(QStringLiteral("RetZeroRec"), true);
            result = aiuto_.Decode(kind, box, label, w);
            if (result.outcome == LookupOutcome::Found) {
                clearError();
                return result;
            }
            markMissing();
            if (opened >= 3)
                return result;
            int key = LookupRetryKeyCode(codeParams_.retryKeyValue(kind), keyCode);
            if (!KemAiutoDecod::AcceptsKeyCode(key) && SameText(params_.decodHelpAbil, QStringLiteral("S")))
                key = 113;
            const LookupResult chosen = ApriHelp(kind, box, label, key, w);
            if (chosen.outcome != LookupOutcome::Found) {
                if (label)
                    label->setText(InesistenteText);
                return result;
            }
        }
    } catch (...) {
        const ErrorInfo e = CurrentErrorInfo();
        sink_.MsgErrfrm(e.number, ErrorDescription(e.description, e.source));
        markMissing();
        result = LookupResult();
    }
    return result;
}

// ------------------------------------------------------------------------------ checks

bool FormServices::ControllaData(QLineEdit *box, int mode, std::optional<quint32> validColour, bool message)
{
    if (!box)
        return false;
    const QString name = ControlName(box);
    const DateCheck check = CheckFieldDate(box->text(), minDate_);
    if (check == DateCheck::Valid || check == DateCheck::Blank) {
        reported_.remove(name);
        SetBackColour(box, validColour.value_or(params_.colBackNormal));
        return true;
    }
    if (check == DateCheck::TooSmall && message && !reported_.contains(name)) {
        reported_.add(name);
        sink_.msgCom(QStringLiteral("Data troppo piccola"), {QStringLiteral("&Ok")});
    }
    if (mode == 1 || mode == 3)
        SetBackColour(box, params_.colErr);
    if (mode > 1)
        box->setFocus(Qt::OtherFocusReason);
    return false;
}

bool FormServices::CampoObbligatorio(QWidget *control, const QString &caption, bool focus, const QVariant &value)
{
    const bool numeric = value.typeId() == QMetaType::Int || value.typeId() == QMetaType::Double ||
                         value.typeId() == QMetaType::LongLong;
    if (!IsBlank(value, numeric ? VarKind::Double : VarKind::Text))
        return true;
    sink_.msgCom(caption + QStringLiteral(" Obbligatorio"), {QStringLiteral("&Ok")});
    if (focus && control)
        control->setFocus(Qt::OtherFocusReason);
    return false;
}

// ------------------------------------------------------------------------------ keys

int FormServices::FormKeyDown(int keyCode, int shift, QWidget *form)
{
    lastKeyCode_ = keyCode;
    lastShift_ = shift;
    try {
        if (!form)
            return 0;
        if (helpOpener_) {
            bool handled = false;
            if (HelpKey(keyCode, shift, form, handled, helpFile_, *helpOpener_) && handled)
                return 1;
        }
        QWidget *active = form->focusWidget();
        if ((shift == 2 || shift == 3) && keyCode != 0) {
            const QString reply = menu_.MenuCall(QStringLiteral("TastiCtrl"), QStringLiteral("Tutti"),
                                                 shift == 2 ? keyCode : -keyCode).toString();
            if (TextToInt(reply) == 1)
                return 1;
            if (reply.startsWith(QLatin1Char('D')) || reply.startsWith(QLatin1Char('N'))) {
                if (IsTextBox(active)) {
                    typeIntoBox(active, reply.mid(1).trimmed());
                    return 1;
                }
            }
            return 0;
        }
        if (shift == 6 || shift == 7) {
            if (keyCode == 92) {
                searchCase_ = shift == 6 ? Qt::CaseInsensitive : Qt::CaseSensitive;
                return 1;
            }
            if (!IsTextBox(active))
                return 0;
            if (keyCode == 70) {
                const std::optional<QString> s = prompter_.InputBox(QStringLiteral("Stringa da cercare"), searchText_);
                if (s && !s->isEmpty()) {
                    searchText_ = *s;
                    findInBox(active, true);
                }
                return 1;
            }
            if (keyCode == 83) {
                replaceInBox(active);
                return 1;
            }
            if (keyCode == 33 || keyCode == 34) {
                if (searchText_.isEmpty()) {
                    const std::optional<QString> s = prompter_.InputBox(QStringLiteral("Stringa da cercare"), searchText_);
                    if (!s || s->isEmpty())
                        return 1;
                    searchText_ = *s;
                }
                findInBox(active, keyCode == 34);
                return 1;
            }
            return 0;
        }
        if (keyCode == 13 && (shift == 0 || shift == 1)) {
            if (IsMultiLine(active))
                return 0;
            if (QWidget *next = NextInTabOrder(form, active)) {
                next->setFocus(Qt::TabFocusReason);
                return 1;
            }
        }
    } catch (...) {
        // The user keeps typing: a failing macro or search is not worth a message.
    }
    return 0;
}

int FormServices::FormKeyPress(int keyAscii)
{
    if (keyAscii == '.' && lastKeyCode_ == 110 && lastShift_ == 0 &&
        SameText(params_.tastierinoVirgola, QStringLiteral("S")))
        return ',';
    if ((keyAscii == 13 || keyAscii == 27) && !enterFlag_)
        return 0;
    return keyAscii;
}

bool FormServices::findInBox(QWidget *box, bool forward)
{
    const BoxText b = ReadBox(box);
    const int at = FindInText(b.text, searchText_, forward ? b.selEnd : b.selStart, forward, searchCase_);
    if (at < 0) {
        prompter_.MsgBox(QStringLiteral("Testo non trovato"));
        return false;
    }
    SelectInBox(box, at, int(searchText_.size()));
    return true;
}

bool FormServices::replaceInBox(QWidget *box)
{
    const std::optional<QString> s = prompter_.InputBox(QStringLiteral("Stringa da cercare"), searchText_);
    if (!s || s->isEmpty())
        return false;
    searchText_ = *s;
    const std::optional<QString> with = prompter_.InputBox(QStringLiteral("Sostituire con"), QString());
    if (!with)
        return false;
    const BoxText b = ReadBox(box);
    const int at = FindInText(b.text, searchText_, b.selStart, true, searchCase_);
    if (at < 0) {
        prompter_.MsgBox(QStringLiteral("Testo non trovato"));
        return false;
    }
    SelectInBox(box, at, int(searchText_.size()));
    ReplaceSelection(box, *with);
    SelectInBox(box, at, int(with->size()));
    return true;
}

void FormServices::typeIntoBox(QWidget *box, const QString &text)
{
    if (auto *le = qobject_cast<QLineEdit *>(box))
        le->setText(text);
    else if (auto *pe = qobject_cast<QPlainTextEdit *>(box))
        pe->insertPlainText(text);
    else if (auto *te = qobject_cast<QTextEdit *>(box))
        te->insertPlainText(text);
}

QWidget *FormServices::NextInTabOrder(QWidget *form, QWidget *from)
{
    QWidget *start = from ? from : form;
    for (QWidget *w = start->nextInFocusChain(); w && w != start; w = w->nextInFocusChain()) {
        if (w != form && form->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isVisible() &&
            w->isEnabled() && !w->focusProxy())
            return w;
    }
    return nullptr;
}

// ------------------------------------------------------------------------------ form routines

void FormServices::FormLoad(QWidget *form, FormLoadOptions &options)
{
    if (!form)
        return;
    auto excluded = [&](const QWidget *w) {
        for (const QString &n : options.colourExclusions)
            if (n.trimmed().compare(w->objectName(), Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    if (params_.colBackForm != 0) {
        const quint32 formColour = quint32(params_.colBackForm);
        if (BackColour(form, params_.colBackNormal) == params_.colBackNormal)
            SetBackColour(form, formColour);
        for (QWidget *w : form->findChildren<QWidget *>()) {
            if (!excluded(w) && w->parentWidget() && !w->isWindow() &&
                BackColour(w, params_.colBackNormal) == params_.colBackNormal)
                SetBackColour(w, formColour);
        }
    }
    if (!options.noSplash && showSplash_)
        showSplash_(form->windowTitle());
    for (QLabel *l : form->findChildren<QLabel *>()) {
        l->setProperty("UseMnemonic", false);
        l->setBuddy(nullptr); // without a buddy an "&" shows as written
    }
    form->setWindowTitle(form->windowTitle() + " - " +
                         (options.captionText.isEmpty() ? params_.descAzie : options.captionText));
    if (options.applyReadOnly) {
        bool readOnly = false;
        for (const QString &t : options.osParam.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            readOnly = readOnly || t.compare(QLatin1String("/RO"), Qt::CaseInsensitive) == 0;
        form->setProperty("oiAbilRW", readOnly ? 0 : 1);
    }
    if (options.scale)
        RisVid(form, false, options.factor, options.colourExclusions, options.screen);
}

void FormServices::FormActivate(QWidget *form, const FormActivateOptions &options)
{
    if (!form)
        return;
    bool ok = false;
    const int state = params_.windowState.trimmed().toInt(&ok);
    if (ok) {
        if (state == 2)
            form->setWindowState(form->windowState() | Qt::WindowMaximized);
        else if (state == 1)
            form->setWindowState(form->windowState() | Qt::WindowMinimized);
    }
    if (options.currentRecord >= 0) {
        if (auto *riga = form->findChild<QLineEdit *>(QStringLiteral("txtRiga")))
            riga->setText(QString::number(options.currentRecord) + " / " + QString::number(options.totalRecords));
    }
    if (!options.keepSplash && hideSplash_)
        hideSplash_();
}

void FormServices::MessaggioPromozione(ResultSets &rs, const QString &handle)
{
    if (!SameText(rs.RsField(handle, QStringLiteral("MessProm")).toString(), QStringLiteral("S")))
        return;
    sink_.msgCom(QStringLiteral("Articolo con prezzo in promozione: ") + "\n" +
                     rs.RsField(handle, QStringLiteral("Descrizione")).toString(),
                 {QStringLiteral("&Ok")});
}

// ------------------------------------------------------------------------------ key filter

FormKeyFilter::FormKeyFilter(QWidget *form, FormServices &services)
    : QObject(form), form_(form), services_(services)
{
    QCoreApplication::instance()->installEventFilter(this);
}

bool FormKeyFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType())
        return false;
    auto *w = static_cast<QWidget *>(watched);
    if (w != form_ && !form_->isAncestorOf(w))
        return false;
    // A key that a control ignores travels on to its parents: handle it once, at the first
    // receiver (a later event may reuse the address, but not on an ancestor of the receiver).
    if (event == lastEvent_ && lastReceiver_ && w != lastReceiver_ && w->isAncestorOf(lastReceiver_))
        return false;
    lastEvent_ = event;
    lastReceiver_ = w;
    auto *key = static_cast<QKeyEvent *>(event);
    if (services_.FormKeyDown(VbKeyCode(key), VbShift(key->modifiers()), form_) == 1)
        return true;
    const QString text = key->text();
    if (text.size() != 1 || IsMultiLine(w))
        return false;
    const int kept = services_.FormKeyPress(text.at(0).unicode());
    if (kept == 0)
        return true;
    if (kept != text.at(0).unicode()) {
        if (auto *le = qobject_cast<QLineEdit *>(w))
            le->insert(QString(QChar(kept)));
        return true;
    }
    return false;
}

// ------------------------------------------------------------------------------ code field

CodeFieldBinding::CodeFieldBinding(FormServices &services, QWidget *form, QLineEdit *box, QLabel *label,
                                   QString kind, std::function<QString()> where)
    : QObject(box), services_(services), form_(form), box_(box), label_(label), kind_(std::move(kind)),
      where_(std::move(where))
{
    box->installEventFilter(this);
}

bool CodeFieldBinding::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != box_ || inLookup_)
        return false;
    const QString where = where_ ? where_() : QString();
    switch (event->type()) {
    case QEvent::FocusIn:
        services_.TxtGotFocus(form_, box_);
        break;
    case QEvent::FocusOut: {
        const auto reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
            break;
        inLookup_ = true;
        services_.TxtLostFocusColours(box_);
        last_ = services_.Decodifica(kind_, box_, label_, where);
        inLookup_ = false;
        break;
    }
    case QEvent::KeyRelease: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->isAutoRepeat())
            break;
        inLookup_ = true;
        last_ = services_.CodeFieldKeyUp(kind_, box_, label_, VbKeyCode(key), VbShift(key->modifiers()), where);
        inLookup_ = false;
        break;
    }
    default:
        break;
    }
    return false;
}

} // namespace kem
