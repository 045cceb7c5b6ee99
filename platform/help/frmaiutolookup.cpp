#include "platform/help/frmaiutolookup.h"

#include "platform/util/kemutil.h"

#include <QBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QSortFilterProxyModel>
#include <QStandardItemModel>
#include <QTableView>

namespace kem {

// Rows whose code or description starts with the typed text (any case).
class LookupFilterModel : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;
    void setText(const QString &text)
    {
        text_ = text.trimmed();
        invalidateFilter();
    }
protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        if (text_.isEmpty())
            return true;
        const QString code = sourceModel()->index(row, 0, parent).data().toString();
        const QString desc = sourceModel()->index(row, 1, parent).data().toString();
        return code.startsWith(text_, Qt::CaseInsensitive) || desc.startsWith(text_, Qt::CaseInsensitive);
    }
private:
    QString text_;
};

FrmAiutoLookup::FrmAiutoLookup(QWidget *parent)
    : QDialog(parent), txtFiltro(new QLineEdit(this)), GriLista(new QTableView(this)),
      PicImmagine(new QLabel(this)), labStato(new QLabel(this)), model_(new QStandardItemModel(this)),
      proxy_(new LookupFilterModel(this))
{
    setWindowTitle(QStringLiteral("Aiuto"));
    setObjectName(QStringLiteral("FrmAiutoLookup"));
    txtFiltro->setObjectName(QStringLiteral("txtFiltro"));
    GriLista->setObjectName(QStringLiteral("GriLista"));
    PicImmagine->setObjectName(QStringLiteral("PicImmagine"));
    proxy_->setSourceModel(model_);
    GriLista->setModel(proxy_);
    GriLista->setSelectionBehavior(QAbstractItemView::SelectRows);
    GriLista->setSelectionMode(QAbstractItemView::SingleSelection);
    GriLista->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GriLista->verticalHeader()->hide();
    GriLista->horizontalHeader()->setStretchLastSection(true);
    PicImmagine->setAlignment(Qt::AlignCenter);
    PicImmagine->hide();

    auto *listBox = new QVBoxLayout;
    listBox->addWidget(txtFiltro);
    listBox->addWidget(GriLista, 1);
    listBox->addWidget(labStato);
    labStato->setObjectName(QStringLiteral("labStato"));
    layout_ = new QBoxLayout(QBoxLayout::LeftToRight, this);
    layout_->addLayout(listBox, 1);
    layout_->addWidget(PicImmagine);

    txtFiltro->installEventFilter(this);
    GriLista->installEventFilter(this);
    connect(txtFiltro, &QLineEdit::textChanged, this, [this] { refreshFilter(); });
    connect(GriLista, &QTableView::doubleClicked, this, [this] { choose(); });
    connect(GriLista->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { showImageOfCurrent(); });
    resize(640, 420);
}

FrmAiutoLookup::~FrmAiutoLookup() = default;

void FrmAiutoLookup::setRows(const QList<LookupRow> &rows, const QStringList &extraHeaders)
{
    source_ = nullptr;
    headers_ = extraHeaders;
    fillModel(rows);
    refreshFilter();
}

void FrmAiutoLookup::setRowSource(RowSource source, int limit, const QStringList &extraHeaders)
{
    source_ = std::move(source);
    limit_ = limit;
    headers_ = extraHeaders;
    refreshFilter();
}

void FrmAiutoLookup::fillModel(const QList<LookupRow> &rows)
{
    rows_ = rows;
    model_->clear();
    QStringList headers{QStringLiteral("Codice"), QStringLiteral("Descrizione")};
    headers += headers_;
    model_->setHorizontalHeaderLabels(headers);
    for (int i = 0; i < rows.size(); ++i) {
        QList<QStandardItem *> items{new QStandardItem(rows.at(i).code),
                                     new QStandardItem(rows.at(i).description)};
        items.first()->setData(i, Qt::UserRole);
        for (const QString &e : rows.at(i).extra)
            items.append(new QStandardItem(e));
        model_->appendRow(items);
    }
}

void FrmAiutoLookup::setFilterText(const QString &text)
{
    txtFiltro->setText(text);
    refreshFilter();
}

void FrmAiutoLookup::setImageOptions(const LookupImageOptions &options)
{
    image_ = options;
    const bool vertical = options.where.compare(QLatin1String("A"), Qt::CaseInsensitive) == 0 ||
                          options.where.compare(QLatin1String("B"), Qt::CaseInsensitive) == 0;
    layout_->removeWidget(PicImmagine);
    if (options.where.compare(QLatin1String("A"), Qt::CaseInsensitive) == 0) {
        layout_->setDirection(QBoxLayout::BottomToTop);
    } else {
        layout_->setDirection(vertical ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
    }
    layout_->addWidget(PicImmagine, 0, Qt::AlignCenter);
    const int space = qMax(options.spacePixels, 40);
    const double ratio = options.ratio > 0 ? options.ratio : 1.0;
    if (vertical)
        PicImmagine->setFixedSize(qMax(40, int(space / ratio)), space);
    else
        PicImmagine->setFixedSize(space, qMax(40, int(space * ratio)));
    PicImmagine->setVisible(options.show);
    showImageOfCurrent();
}

void FrmAiutoLookup::setRowColour(const QColor &colour)
{
    if (!colour.isValid())
        return;
    QPalette p = GriLista->palette();
    p.setColor(QPalette::Base, colour);
    GriLista->setPalette(p);
}

void FrmAiutoLookup::setListMargins(int left, int top, int right, int bottom)
{
    layout_->setContentsMargins(left, top, right, bottom);
}

int FrmAiutoLookup::visibleRowCount() const
{
    return proxy_->rowCount();
}

int FrmAiutoLookup::currentRow() const
{
    const QModelIndex i = GriLista->currentIndex();
    return i.isValid() ? i.row() : -1;
}

QString FrmAiutoLookup::currentCode() const
{
    const int r = currentRow();
    return r < 0 ? QString() : proxy_->index(r, 0).data().toString();
}

bool FrmAiutoLookup::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || (watched != txtFiltro && watched != GriLista))
        return QDialog::eventFilter(watched, event);
    auto *key = static_cast<QKeyEvent *>(event);
    const int page = qMax(1, GriLista->viewport()->height() / qMax(1, GriLista->rowHeight(0)) - 1);
    switch (key->key()) {
    case Qt::Key_Down: moveCurrent(1); return true;
    case Qt::Key_Up: moveCurrent(-1); return true;
    case Qt::Key_PageDown: moveCurrent(page); return true;
    case Qt::Key_PageUp: moveCurrent(-page); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: choose(); return true;
    case Qt::Key_Escape: reject(); return true;
    default: break;
    }
    if (watched == txtFiltro && (key->key() == Qt::Key_Home || key->key() == Qt::Key_End) &&
        (key->modifiers() & Qt::ControlModifier)) {
        moveCurrent(key->key() == Qt::Key_Home ? -proxy_->rowCount() : proxy_->rowCount());
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void FrmAiutoLookup::moveCurrent(int delta)
{
    const int n = proxy_->rowCount();
    if (n == 0)
        return;
    const int row = qBound(0, (currentRow() < 0 ? (delta > 0 ? -1 : n) : currentRow()) + delta, n - 1);
    GriLista->setCurrentIndex(proxy_->index(row, 0));
    GriLista->selectRow(row);
}

void FrmAiutoLookup::choose()
{
    const int r = currentRow();
    if (r < 0)
        return;
    chosenCode_ = proxy_->index(r, 0).data().toString();
    chosenDescription_ = proxy_->index(r, 1).data().toString();
    accept();
}

void FrmAiutoLookup::refreshFilter()
{
    if (source_) {
        try {
            fillModel(source_(txtFiltro->text()));
            labStato->setText(limit_ > 0 && rows_.size() >= limit_
                                  ? QStringLiteral("Mostrati i primi %1 codici: digitare altri caratteri per restringere").arg(limit_)
                                  : QString());
        } catch (const std::exception &e) {
            fillModel({});
            labStato->setText(QStringLiteral("Errore: ") + QString::fromStdString(e.what()));
        }
        proxy_->setText(QString());
    } else {
        proxy_->setText(txtFiltro->text());
    }
    if (proxy_->rowCount() > 0) {
        GriLista->setCurrentIndex(proxy_->index(0, 0));
        GriLista->selectRow(0);
    } else {
        GriLista->setCurrentIndex({});
    }
    showImageOfCurrent();
}

void FrmAiutoLookup::showImageOfCurrent()
{
    shownImage_.clear();
    PicImmagine->clear();
    if (!image_.show)
        return;
    const int r = currentRow();
    if (r < 0)
        return;
    const int source = proxy_->index(r, 0).data(Qt::UserRole).toInt();
    const QString name = rows_.value(source).image.trimmed();
    if (name.isEmpty())
        return;
    const QString path = PathJoin(name, image_.directory, QString());
    QPixmap pix;
    if (path == QLatin1String("\\") || !pix.load(path)) {
        PicImmagine->setText(QStringLiteral("Immagine non trovata"));
        return;
    }
    const QSize box = PicImmagine->size();
    if (!(image_.realSize && pix.width() <= box.width() && pix.height() <= box.height()))
        pix = pix.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    PicImmagine->setPixmap(pix);
    shownImage_ = path;
}

} // namespace kem
