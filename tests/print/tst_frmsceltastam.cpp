// The print destination dialog driven headless: printer grid from scripted printers, bin and
// paper lists, destinations, the file dialog filters, controls writing the record, the
// closing checks, the save and delete panel, the run-in-progress mode. With KEM_SCREENSHOT set
// to a file name, the screenshot test grabs the dialog into it (run under a real display).
#include "print/frmsalvaopzsta.h"
#include "print/frmsceltastam.h"
#include "print/optionsini.h"
#include "platform/printlib/printoptions.h"
#include "tests/print/printtestsupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

using namespace kem;
using kemtest::PrintFixture;

namespace {

const QString kAbsent = QStringLiteral("<absent>");
const QString kDefaultItem = QStringLiteral("Nessuna impostazione - Default");

QString iniValue(const QString &file, const QString &section, const QString &key)
{
    QString v;
    IniRead(file, section, key, kAbsent, v);
    return v;
}

QStringList comboTexts(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out.append(box->itemText(i));
    return out;
}

// A fixture with three printers, "Ufficio" the default, bins and sizes for every printer.
struct DialogFixture : PrintFixture {
    PrintOptions options;
    ScriptedSpreadsheetApp spreadsheet;

    DialogFixture()
    {
        printers.add(QStringLiteral("Ufficio"), QStringLiteral("ipp://srv/printers/ufficio"), QStringLiteral("HP LaserJet"));
        printers.add(QStringLiteral("Magazzino"), QStringLiteral("usb://Epson/LX-350"), QStringLiteral("Epson LX-350"));
        printers.add(QStringLiteral("PDFCreator"), QStringLiteral("cups-pdf:/"), QStringLiteral("Generic PDF"));
        printers.defaultPrinter = QStringLiteral("Ufficio");
        printers.sources = {PaperChoice{1, QStringLiteral("Superiore")}, PaperChoice{15, QStringLiteral("Manuale")},
                            PaperChoice{257, QStringLiteral("Vassoio 2")}};
        printers.sizes = {PaperChoice{9, QStringLiteral("A4")}, PaperChoice{8, QStringLiteral("A3")}};
        options.SectionKey = QStringLiteral("DIBA01");
    }
    std::unique_ptr<FrmSceltaStam> open(bool printActive = false)
    {
        return std::make_unique<FrmSceltaStam>(env, options, printActive, &spreadsheet);
    }
    int rowOf(const FrmSceltaStam &d, const QString &printer) const
    {
        for (int r = 0; r < d.GriPri->rowCount(); ++r)
            if (d.GriPri->item(r, 1)->text() == printer)
                return r;
        return -1;
    }
};

} // namespace

class TestFrmSceltaStam : public QObject {
    Q_OBJECT
private slots:
    void captions()
    {
        DialogFixture f;
        auto d = f.open();
        QCOMPARE(d->windowTitle(), QStringLiteral("Scelta della modalità di stampa"));
        const QStringList dest = {"&Stampante", "&Video", "&File", "File/stam. a &lung. fissa"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(d->OptStampaSu[i]->text(), dest[i]);
        const QStringList sep = {"&Spazio", "Ta&bulatore", "&Punto e virgola", "&Virgola"};
        for (int i = 0; i < 4; ++i)
            QCOMPARE(d->OptSepCampi[i]->text(), sep[i]);
        const QStringList delim = {"&Nessuno", "' S&ingolo apice", "\" &Doppio apice"};
        for (int i = 0; i < 3; ++i)
            QCOMPARE(d->OptDelimStr[i]->text(), delim[i]);
        QCOMPARE(d->ComUsaDef->text(), QStringLiteral("Stampante predefinita"));
        QCOMPARE(d->ComPaperSize->text(), QStringLiteral("PaperSize"));
        QCOMPARE(d->CheForzaVert->text(),
                 QStringLiteral("Forza la stampa in verticale (Da utilizzarsi solo in caso di foglio più grande  dell' A4)"));
        QCOMPARE(d->CheNumPag->text(), QStringLiteral("Mess.Numero pagine"));
        QCOMPARE(d->CheNumNoForm->text(), QStringLiteral("Tolgo il formato nei campi numerici"));
        QCOMPARE(d->ComOpzFile->text(), QStringLiteral("Cambia"));
        QCOMPARE(d->ComOpzFis->text(), QStringLiteral("&Nome File"));
        QCOMPARE(d->CheFisUtilComp->text(), QStringLiteral("Stampo in compresso"));
        QCOMPARE(d->ComSalOpz->text(), QStringLiteral("Salva op&zioni stampa"));
        QCOMPARE(d->ComCancOpz->text(), QStringLiteral("Canc. op&zioni stampa"));
        QCOMPARE(d->ComChiudi->text(), QStringLiteral("&Chiudi"));
        QCOMPARE(d->ChePdfAutom->text(), QStringLiteral("Nome file Pdf autom."));
        QCOMPARE(d->CheInviaEmail->text(), QStringLiteral("Invia per Email"));
        QStringList labels;
        for (const QLabel *l : d->findChildren<QLabel *>())
            labels.append(l->text());
        for (const char *caption : {"Cassetto:", "Tipo carta:", "Stampa Pagine da:", "File di stampa:", "Formato:",
                                    "Righe vuote in alto:", "Righe vuote in basso:", "Colonne:", "Righe per pagina:",
                                    "Inizio compresso:", "Fine compresso:"})
            QVERIFY2(labels.contains(QString::fromUtf8(caption)), caption);
    }

    void printerGrid_data()
    {
        QTest::addColumn<QString>("nomeStampante");
        QTest::addColumn<int>("selectedRow");
        QTest::newRow("default printer") << "" << 0;
        QTest::newRow("chosen printer") << "Magazzino" << 1;
        QTest::newRow("printer not installed") << "Sparita" << -1;
    }
    void printerGrid()
    {
        QFETCH(QString, nomeStampante);
        QFETCH(int, selectedRow);
        DialogFixture f;
        f.options.NomeStampante = nomeStampante;
        auto d = f.open();
        QTableWidget *g = d->GriPri;
        QCOMPARE(g->columnCount(), 3);
        QCOMPARE(g->horizontalHeaderItem(0)->text(), QStringLiteral("N."));
        QCOMPARE(g->horizontalHeaderItem(1)->text(), QStringLiteral("Nome"));
        QCOMPARE(g->horizontalHeaderItem(2)->text(), QStringLiteral("Porta"));
        QCOMPARE(g->rowCount(), 3);
        const QList<SystemPrinter> &ps = f.printers.printers;
        for (int r = 0; r < 3; ++r) {
            QCOMPARE(g->item(r, 0)->text(), QString::number(r + 1));
            QCOMPARE(g->item(r, 1)->text(), ps[r].name);
            QCOMPARE(g->item(r, 2)->text(), ps[r].port);
        }
        QVERIFY(g->columnWidth(0) >= g->fontMetrics().horizontalAdvance(QStringLiteral("9999")));
        const QList<QTableWidgetItem *> sel = g->selectedItems();
        if (selectedRow < 0) {
            QVERIFY(sel.isEmpty());
        } else {
            QVERIFY(!sel.isEmpty());
            QCOMPARE(sel.first()->row(), selectedRow);
        }
    }

    void emptyPrinterSystem()
    {
        DialogFixture f;
        f.printers.printers.clear();
        f.printers.defaultPrinter.clear();
        auto d = f.open();
        QCOMPARE(d->GriPri->rowCount(), 0);
        QCOMPARE(comboTexts(d->cboCassetti), QStringList{kDefaultItem});
        QCOMPARE(comboTexts(d->cboTipoCarta), QStringList{kDefaultItem});
        QCOMPARE(f.sink.messages.size(), 0);
    }

    void binList_data()
    {
        QTest::addColumn<QString>("noBins");
        QTest::addColumn<QString>("printer");
        QTest::addColumn<int>("numCassetto");
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<int>("current");
        const QStringList all = {kDefaultItem, "     1 - Superiore", "    15 - Manuale", "   257 - Vassoio 2"};
        QTest::newRow("bins of the printer") << "" << "Ufficio" << 15 << all << 2;
        QTest::newRow("no bin chosen") << "" << "Ufficio" << 0 << all << 0;
        QTest::newRow("other printer without bins") << "Magazzino" << "Ufficio" << 1 << all << 1;
        QTest::newRow("printer without bins") << "Ufficio,Magazzino" << "Magazzino" << 0 << QStringList{kDefaultItem} << 0;
        QTest::newRow("tutte") << "TUTTE" << "Ufficio" << 0 << QStringList{kDefaultItem} << 0;
        QTest::newRow("stored bin not offered") << "" << "Ufficio" << 4 << all << -1;
    }
    void binList()
    {
        QFETCH(QString, noBins);
        QFETCH(QString, printer);
        QFETCH(int, numCassetto);
        QFETCH(QStringList, items);
        QFETCH(int, current);
        DialogFixture f;
        f.ini(QStringLiteral("Tutti"), QStringLiteral("StampantiNoCassetti"), noBins);
        f.options.NomeStampante = printer;
        f.options.ParamSet(QStringLiteral("NumCassetto"), PrintOptions::ParamInteger, numCassetto);
        auto d = f.open();
        QCOMPARE(comboTexts(d->cboCassetti), items);
        QCOMPARE(d->cboCassetti->currentIndex(), current);
        // Showing the list does not change the stored bin.
        QCOMPARE(f.options.ParamInt(QStringLiteral("NumCassetto")), numCassetto);
        QCOMPARE(comboTexts(d->cboTipoCarta), (QStringList{kDefaultItem, "A4", "A3"}));
    }

    void choosingPaper()
    {
        DialogFixture f;
        auto d = f.open();
        emit d->cboCassetti->activated(2);
        QCOMPARE(f.options.ParamInt(QStringLiteral("NumCassetto")), 15);
        emit d->cboTipoCarta->activated(2);
        QCOMPARE(f.options.ParamInt(QStringLiteral("NumTipoCarta")), 8);
        emit d->cboCassetti->activated(0);
        QCOMPARE(f.options.ParamInt(QStringLiteral("NumCassetto")), 0);
    }

    void choosingPrinterResetsPaper()
    {
        DialogFixture f;
        f.ini(QStringLiteral("Tutti"), QStringLiteral("StampantiNoCassetti"), QStringLiteral("Magazzino"));
        f.options.ParamSet(QStringLiteral("NumCassetto"), PrintOptions::ParamInteger, 15);
        f.options.ParamSet(QStringLiteral("NumTipoCarta"), PrintOptions::ParamInteger, 9);
        auto d = f.open();
        QCOMPARE(d->cboCassetti->count(), 4);
        const int row = f.rowOf(*d, QStringLiteral("Magazzino"));
        emit d->GriPri->cellClicked(row, 1);
        QCOMPARE(f.options.NomeStampante, QStringLiteral("Magazzino"));
        QCOMPARE(f.options.NomePorta, QStringLiteral("usb://Epson/LX-350"));
        QCOMPARE(f.options.ParamInt(QStringLiteral("NumCassetto")), 0);
        QCOMPARE(f.options.ParamInt(QStringLiteral("NumTipoCarta")), 0);
        QCOMPARE(comboTexts(d->cboCassetti), QStringList{kDefaultItem});
        QCOMPARE(d->cboTipoCarta->currentIndex(), 0);
        QCOMPARE(d->GriPorte->rowCount(), 1);
        QCOMPARE(d->GriPorte->item(0, 0)->text(), QStringLiteral("usb://Epson/LX-350"));
        f.options.NomePorta.clear();
        emit d->GriPorte->cellClicked(0, 0);
        QCOMPARE(f.options.NomePorta, QStringLiteral("usb://Epson/LX-350"));
        QCOMPARE(d->labStaAttuale->text(), QStringLiteral("Stampante attuale: Magazzino"));
        QCOMPARE(f.sink.messages.size(), 0);
    }

    void printerOfOtherSessionRefused()
    {
        DialogFixture f;
        f.env.terminalSession = 3;
        f.ini(QStringLiteral("Stampanti"), QStringLiteral("TermSessAggNome"), QStringLiteral(" (da %§)"));
        f.printers.add(QStringLiteral("Laser (da 5)"), QStringLiteral("ipp://remote"));
        f.options.NomeStampante = QStringLiteral("Ufficio");
        auto d = f.open();
        d->GriPri_Click(f.rowOf(*d, QStringLiteral("Laser (da 5)")));
        QCOMPARE(f.sink.texts(), QStringList{QStringLiteral("La stampante (Laser (da 5)) predefinita appartiene ad un'altra sessione\r\n"
                                                           "Scegliere una stampante o cambiare la stampante predefinita")});
        QCOMPARE(f.options.NomeStampante, QStringLiteral("Ufficio"));
        QCOMPARE(d->GriPri->selectedItems().first()->row(), f.rowOf(*d, QStringLiteral("Ufficio")));
    }

    void defaultPrinterButton()
    {
        DialogFixture f;
        f.options.NomeStampante = QStringLiteral("Magazzino");
        f.options.ParamSet(QStringLiteral("NumCassetto"), PrintOptions::ParamInteger, 15);
        auto d = f.open();
        d->ComUsaDef->click();
        QCOMPARE(f.options.NomeStampante, QStringLiteral("Ufficio"));
        QCOMPARE(f.options.NomePorta, QStringLiteral("ipp://srv/printers/ufficio"));
        QCOMPARE(f.options.ParamInt(QStringLiteral("NumCassetto")), 0);

        f.printers.defaultPrinter.clear();
        d->ComUsaDef->click();
        QCOMPARE(f.sink.texts(), QStringList{QStringLiteral(
                                     "Stampante di default non disponibile\r\n"
                                     "Andare in selezione stampanti per scegliere una o impostare la stampante di default da windows")});
        QCOMPARE(f.options.NomeStampante, QStringLiteral("Ufficio"));
    }

    void paperSizeButton()
    {
        DialogFixture f;
        f.options.ParamSet(QStringLiteral("NumTipoCarta"), PrintOptions::ParamInteger, 9);
        auto d = f.open();
        d->ComPaperSize->click();
        QCOMPARE(f.sink.texts(), QStringList{QStringLiteral("Formati disponibili \r\nA4 (ATTUALE)\r\nA3")});
    }

    void paperSizeDriverError()
    {
        DialogFixture f;
        f.options.NomeStampante = QStringLiteral("Sparita");  // not a system printer
        auto d = f.open();
        QVERIFY(f.sink.texts().contains(QStringLiteral("Errore nel driver nella ricerca informazioni Papersize")));
        f.sink.messages.clear();
        d->ComPaperSize->click();
        QCOMPARE(f.sink.texts(), QStringList{QStringLiteral("Errore nel driver nella ricerca informazioni Papersize")});
    }

    void destination_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("label");
        QTest::newRow("printer") << 0 << "Stampante attuale: Ufficio";
        QTest::newRow("preview") << 1 << "Stampante attuale: Video";
        QTest::newRow("file") << 2 << "Stampante attuale: File out.csv";
        QTest::newRow("fixed width") << 3 << "Stampante attuale: Fissa fis.txt";
    }
    void destination()
    {
        QFETCH(int, index);
        QFETCH(QString, label);
        DialogFixture f;
        f.options.FileName = QStringLiteral("out.csv");
        f.options.FisFileName = QStringLiteral("fis.txt");
        f.options.StaVid = index == 0 ? 1 : 0;
        auto d = f.open();
        d->OptStampaSu[index]->click();
        QCOMPARE(f.options.StaVid, index);
        QCOMPARE(f.options.PreviewFlag, index == 1);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(d->FraStampaSu[i]->isEnabled(), i == index);
        QCOMPARE(d->labStaAttuale->text(), label);
    }

    void loadFillsControls()
    {
        DialogFixture f;
        f.ini(QStringLiteral("Opzioni Stampa"), QStringLiteral("MostraNumPag"), QStringLiteral("S"));
        f.options.StaVid = PrintOptions::File;
        f.options.FileName = QStringLiteral("/tmp/distinta.txt");
        f.options.FileForm = PrintOptions::PlainText;
        f.options.SepCampi = PrintOptions::SepTab;
        f.options.DelimStr = PrintOptions::QualNone;
        f.options.NumNoForm = true;
        f.options.ForzaVert = 1;
        f.options.FisRighe = 72;
        f.options.FisCodIniComp = QStringLiteral("ESC(s16.66H");
        f.options.ParamSet(QStringLiteral("PaginaDa"), PrintOptions::ParamInteger, 2);
        auto d = f.open();
        QVERIFY(d->OptStampaSu[2]->isChecked());
        QVERIFY(d->FraStampaSu[2]->isEnabled());
        QVERIFY(!d->FraStampaSu[0]->isEnabled());
        QVERIFY(d->OptSepCampi[1]->isChecked());
        QVERIFY(d->OptDelimStr[0]->isChecked());
        QVERIFY(d->CheNumNoForm->isChecked());
        QVERIFY(d->CheForzaVert->isChecked());
        QVERIFY(d->CheNumPag->isChecked());
        QCOMPARE(d->TxtFisRighe->text(), QStringLiteral("72"));
        QCOMPARE(d->TxtFisCodIniComp->text(), QStringLiteral("ESC(s16.66H"));
        QCOMPARE(d->TxtPaginaDa->text(), QStringLiteral("2"));
        QCOMPARE(d->TxtPaginaA->text(), QString());
        QCOMPARE(d->LabFileName->text(), QStringLiteral("/tmp/distinta.txt"));
        QCOMPARE(d->LabFileForm->text(), QStringLiteral("Testo"));
        QCOMPARE(d->labStaAttuale->text(), QStringLiteral("Stampante attuale: File /tmp/distinta.txt"));
    }

    void controlsWriteTheRecord()
    {
        DialogFixture f;
        auto d = f.open();
        d->CheForzaVert->click();
        QCOMPARE(f.options.ForzaVert, 1);
        d->CheForzaVert->click();
        QCOMPARE(f.options.ForzaVert, 0);
        // The file options answer only while the file is the destination.
        d->OptSepCampi[3]->click();
        QCOMPARE(f.options.SepCampi, qint32(PrintOptions::SepSemicolon));
        d->OptStampaSu[2]->click();
        d->OptSepCampi[3]->click();
        QCOMPARE(f.options.SepCampi, qint32(PrintOptions::SepComma));
        d->OptDelimStr[1]->click();
        QCOMPARE(f.options.DelimStr, qint32(PrintOptions::QualSingle));
        d->CheNumNoForm->click();
        QVERIFY(f.options.NumNoForm);
        d->OptStampaSu[3]->click();
        d->CheFisUtilComp->click();
        QVERIFY(f.options.FisUtilComp);
        d->TxtFisColonne->clear();
        QTest::keyClicks(d->TxtFisColonne, QStringLiteral("80"));
        QCOMPARE(f.options.FisColonne, 80);
        QTest::keyClicks(d->TxtFisMrAlt, QStringLiteral("x"));  // refused by the box
        QCOMPARE(f.options.FisMrAlt, 0);
        d->TxtFisMrBas->clear();
        QTest::keyClicks(d->TxtFisMrBas, QStringLiteral("3"));
        QCOMPARE(f.options.FisMrBas, 3);
        d->TxtFisRighe->clear();
        QCOMPARE(f.options.FisRighe, 0);
        QTest::keyClicks(d->TxtFisCodFinComp, QStringLiteral("ESC(s10H"));
        QCOMPARE(f.options.FisCodFinComp, QStringLiteral("ESC(s10H"));
        QTest::keyClicks(d->TxtPaginaDa, QStringLiteral("4"));
        QTest::keyClicks(d->TxtPaginaA, QStringLiteral("12"));
        QCOMPARE(f.options.ParamInt(QStringLiteral("PaginaDa")), 4);
        QCOMPARE(f.options.ParamInt(QStringLiteral("PaginaA")), 12);
        d->CheNumPag->click();
        QVERIFY(f.options.ParamGet(QStringLiteral("MostraNumPag")).toBool());
        QCOMPARE(iniValue(f.env.mainIni, QStringLiteral("DIBA01"), QStringLiteral("MostraNumPag")), QStringLiteral("-1"));
        d->CheNumPag->click();
        QCOMPARE(iniValue(f.env.mainIni, QStringLiteral("DIBA01"), QStringLiteral("MostraNumPag")), QStringLiteral("0"));
    }

    void fileDialog_data()
    {
        QTest::addColumn<int>("version");
        QTest::addColumn<int>("filter");
        QTest::addColumn<QStringList>("filters");
        QTest::addColumn<int>("fileForm");
        const QStringList with = {"Formato Excel (*.xlsx)", "Compatibile Excel (*.csv *.txt)", "Testo (*.txt)"};
        const QStringList without = {"Compatibile Excel (*.csv *.txt)", "Testo (*.txt)"};
        QTest::newRow("workbook") << 16 << 1 << with << 2;
        QTest::newRow("compatible, suite installed") << 16 << 2 << with << 0;
        QTest::newRow("text, suite installed") << 16 << 3 << with << 1;
        QTest::newRow("old version") << 11 << 1 << QStringList{"Formato Excel (*.xls)", with[1], with[2]} << 2;
        QTest::newRow("compatible, no suite") << 0 << 1 << without << 0;
        QTest::newRow("text, no suite") << 0 << 2 << without << 1;
    }
    void fileDialog()
    {
        QFETCH(int, version);
        QFETCH(int, filter);
        QFETCH(QStringList, filters);
        QFETCH(int, fileForm);
        DialogFixture f;
        f.spreadsheet.version = version;
        f.options.PathDefault = QStringLiteral("/srv/stampe");
        f.options.PreviewFlag = true;
        f.options.FileForm = 3;
        auto d = f.open();
        FileNameRequest asked;
        d->askFileName = [&](const FileNameRequest &rq, FileNameAnswer *a) {
            asked = rq;
            a->fileName = QStringLiteral("/srv/stampe/distinta.out");
            a->filter = filter;
            return true;
        };
        d->OptStampaSu[2]->click();
        d->ComOpzFile->click();
        QCOMPARE(asked.title, QStringLiteral("Nome del file di stampa"));
        QCOMPARE(asked.folder, QStringLiteral("/srv/stampe"));
        QCOMPARE(asked.filters, filters);
        QCOMPARE(f.options.FileName, QStringLiteral("/srv/stampe/distinta.out"));
        QCOMPARE(f.options.FileForm, fileForm);
        QVERIFY(!f.options.PreviewFlag);
        QCOMPARE(d->LabFileName->text(), QStringLiteral("/srv/stampe/distinta.out"));
    }

    void fileDialogCancelled()
    {
        DialogFixture f;
        f.options.FileName = QStringLiteral("keep.csv");
        f.options.FileForm = 1;
        auto d = f.open();
        bool asked = false;
        d->askFileName = [&asked](const FileNameRequest &, FileNameAnswer *) { return asked = true, false; };
        d->OptStampaSu[2]->click();
        d->ComOpzFile->click();
        QVERIFY(asked);
        QCOMPARE(f.options.FileName, QStringLiteral("keep.csv"));
        QCOMPARE(f.options.FileForm, 1);
    }

    void fixedWidthFileDialog()
    {
        DialogFixture f;
        f.spreadsheet.version = 16;
        auto d = f.open();
        QStringList filters;
        d->askFileName = [&](const FileNameRequest &rq, FileNameAnswer *a) {
            filters = rq.filters;
            a->fileName = QStringLiteral("/tmp/fissa.txt");
            return true;
        };
        d->OptStampaSu[3]->click();
        d->ComOpzFis->click();
        QCOMPARE(filters, QStringList{QStringLiteral("Testo (*.txt)")});
        QCOMPARE(f.options.FisFileName, QStringLiteral("/tmp/fissa.txt"));
        QCOMPARE(f.options.FileName, QString());
        QCOMPARE(d->LabFileStampaFis->text(), QStringLiteral("/tmp/fissa.txt"));
    }

    void closing_data()
    {
        QTest::addColumn<int>("staVid");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("fisFileName");
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("message");
        const QString noFile = QStringLiteral("In caso di stampa su file è obbligatorio specificare il nome file.");
        QTest::newRow("file without name") << 2 << "" << "" << "" << "" << noFile;
        QTest::newRow("fixed without name") << 3 << "a.csv" << "" << "" << "" << noFile;
        QTest::newRow("pages reversed") << 1 << "" << "" << "7" << "2" << "Selezione Pagina Da maggiore di Pagina A";
        QTest::newRow("printer") << 0 << "" << "" << "2" << "7" << "";
        QTest::newRow("file with name") << 2 << "a.csv" << "" << "" << "" << "";
    }
    void closing()
    {
        QFETCH(int, staVid);
        QFETCH(QString, fileName);
        QFETCH(QString, fisFileName);
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, message);
        DialogFixture f;
        f.options.FileName = fileName;
        f.options.FisFileName = fisFileName;
        auto d = f.open();
        d->OptStampaSu[staVid]->click();
        QTest::keyClicks(d->TxtPaginaDa, from);
        QTest::keyClicks(d->TxtPaginaA, to);
        QSignalSpy finished(d.get(), &QDialog::finished);
        d->show();
        d->ComChiudi->click();
        if (message.isEmpty()) {
            QCOMPARE(finished.count(), 1);
            QVERIFY(f.sink.messages.isEmpty());
            QVERIFY(!d->isVisible());
        } else {
            QCOMPARE(finished.count(), 0);
            QCOMPARE(f.sink.texts(), QStringList{message});
            QVERIFY(d->isVisible());
            // Escape goes through the same check.
            d->reject();
            QCOMPARE(finished.count(), 0);
        }
    }

    void printActive()
    {
        DialogFixture f;
        f.options.StaVid = PrintOptions::File;  // without a file name: closing is not refused now
        auto d = f.open(true);
        QCOMPARE(f.sink.texts(),
                 QStringList{QStringLiteral("C'è una stampa in esecuzione. Non è possibile variare i parametri di stampa")});
        for (QRadioButton *o : d->OptStampaSu)
            QVERIFY(!o->isEnabled());
        QVERIFY(!d->TxtPaginaDa->isEnabled());
        QVERIFY(!d->CheNumPag->isEnabled());
        QVERIFY(!d->ComSalOpz->isEnabled());
        QVERIFY(!d->ComCancOpz->isEnabled());
        QVERIFY(d->ComChiudi->isEnabled());
        QVERIFY(!f.options.ParamExists(QStringLiteral("MostraNumPag")));
        QSignalSpy finished(d.get(), &QDialog::finished);
        d->ComChiudi->click();
        QCOMPARE(finished.count(), 1);
        QCOMPARE(f.options.StaVid, int(PrintOptions::File));
    }

    void pdfBoxes_data()
    {
        QTest::addColumn<QString>("usaPdfCreator");
        QTest::addColumn<QString>("usaPdf995");
        QTest::addColumn<QString>("stampeEmail");
        QTest::addColumn<bool>("pdfShown");
        QTest::addColumn<bool>("emailShown");
        QTest::newRow("none") << "N" << "N" << "N" << false << false;
        QTest::newRow("PDFCreator") << "S" << "" << "" << true << false;
        QTest::newRow("PDF995 lower case") << "" << "s" << "" << true << false;
        QTest::newRow("e-mail only") << "" << "" << "S" << false << true;
    }
    void pdfBoxes()
    {
        QFETCH(QString, usaPdfCreator);
        QFETCH(QString, usaPdf995);
        QFETCH(QString, stampeEmail);
        QFETCH(bool, pdfShown);
        QFETCH(bool, emailShown);
        DialogFixture f;
        f.menu.setVar(QStringLiteral("UsaPdfCreator"), usaPdfCreator);
        f.menu.setVar(QStringLiteral("UsaPdf995"), usaPdf995);
        f.menu.setVar(QStringLiteral("StampeEmail"), stampeEmail);
        auto d = f.open();
        QCOMPARE(!d->ChePdfAutom->isHidden(), pdfShown);
        QCOMPARE(!d->CheInviaEmail->isHidden(), emailShown);
    }

    void printerChoiceAndAutomaticPdf_data()
    {
        QTest::addColumn<QString>("printer");
        QTest::addColumn<bool>("pdfKept");
        QTest::newRow("PDF printer") << "PDFCreator" << true;
        QTest::newRow("other printer") << "Magazzino" << false;
    }
    void printerChoiceAndAutomaticPdf()
    {
        QFETCH(QString, printer);
        QFETCH(bool, pdfKept);
        DialogFixture f;
        f.menu.setVar(QStringLiteral("UsaPdfCreator"), QStringLiteral("S"));
        f.menu.setVar(QStringLiteral("StampeEmail"), QStringLiteral("S"));
        f.options.ParamSet(QStringLiteral("PdfAutomAbil"), PrintOptions::ParamAny, true);
        f.options.ParamSet(QStringLiteral("EmailInvia"), PrintOptions::ParamAny, true);
        auto d = f.open();
        QVERIFY(d->ChePdfAutom->isChecked());
        d->GriPri_Click(f.rowOf(*d, printer));
        QCOMPARE(f.options.ParamGet(QStringLiteral("PdfAutomAbil")).toBool(), pdfKept);
        QCOMPARE(f.options.ParamGet(QStringLiteral("EmailInvia")).toBool(), pdfKept);
        QCOMPARE(d->ChePdfAutom->isChecked(), pdfKept);
        QCOMPARE(d->CheInviaEmail->isEnabled(), pdfKept);
    }

    void panelCaptions_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("button");
        QTest::newRow("save") << true << "Dove salvare" << "&Salvare";
        QTest::newRow("delete") << false << "Dove cancellare" << "&Cancellare";
    }
    void panelCaptions()
    {
        QFETCH(bool, save);
        QFETCH(QString, title);
        QFETCH(QString, button);
        DialogFixture f;
        f.options.ParamSet(QStringLiteral("NumCassetto"), PrintOptions::ParamInteger, 15);
        auto d = f.open();
        bool ran = false;
        d->runPanel = [&](FrmSalvaOpzSta &p) {
            ran = true;
            [&] {
                QCOMPARE(p.windowTitle(), title);
                QCOMPARE(p.FraDove->title(), title);
                QCOMPARE(p.ComConferma->text(), button);
                QCOMPARE(p.ComAnnulla->text(), QStringLiteral("Annu&lla"));
                QCOMPARE(p.ComSelTutto->text(), QStringLiteral("Seleziona &tutto"));
                QCOMPARE(p.ComDeselTutto->text(), QStringLiteral("Deseleziona t&utto"));
                QCOMPARE(p.OptFile[0]->text(), QStringLiteral("Parametri di questo terminale"));
                QCOMPARE(p.OptFile[1]->text(), QStringLiteral("Parametri comuni a tutti i terminali"));
                QCOMPARE(p.OptSezione[0]->text(), QStringLiteral("Nei valori di default"));
                QCOMPARE(p.OptSezione[1]->text(), QStringLiteral("Solo per questa stampa"));
                const QList<SaveRow> &rows = SavePanelRows();
                QCOMPARE(p.CheOpz.size(), rows.size());
                for (int i = 0; i < rows.size(); ++i) {
                    QCOMPARE(p.CheOpz[i]->text(), rows[i].label);
                    QVERIFY(!p.CheOpz[i]->isChecked());
                }
                QCOMPARE(p.LabValore[0]->text(), QStringLiteral("Stampante"));
                QCOMPARE(p.LabValore[21]->text(), QStringLiteral("15"));  // "Cassetto:"
                p.ComSelTutto->click();
                for (QCheckBox *c : p.CheOpz)
                    QVERIFY(c->isChecked());
                p.ComDeselTutto->click();
                for (QCheckBox *c : p.CheOpz)
                    QVERIFY(!c->isChecked());
            }();
            return 0;
        };
        (save ? d->ComSalOpz : d->ComCancOpz)->click();
        QVERIFY(ran);
        QVERIFY(!QFile::exists(f.env.mainIni) || iniValue(f.env.mainIni, QStringLiteral("DIBA01"), QStringLiteral("StaVid")) == kAbsent);
    }

    void panelSavesTickedKeys_data()
    {
        QTest::addColumn<int>("file");     // 0 this terminal, 1 common
        QTest::addColumn<int>("section");  // 0 "Opzioni Stampa", 1 report
        QTest::newRow("terminal, report") << 0 << 1;
        QTest::newRow("terminal, defaults") << 0 << 0;
        QTest::newRow("common, report") << 1 << 1;
        QTest::newRow("common, defaults") << 1 << 0;
    }
    void panelSavesTickedKeys()
    {
        QFETCH(int, file);
        QFETCH(int, section);
        DialogFixture f;
        f.env.companyIni = QStringLiteral("azienda.ini");
        f.options.FileName = QStringLiteral("out.csv");
        auto d = f.open();
        d->OptStampaSu[2]->click();
        const QStringList ticked = {"StaVid", "FileName", "SepCampi"};
        int result = -1;
        d->runPanel = [&](FrmSalvaOpzSta &p) {
            p.OptFile[file]->click();
            p.OptSezione[section]->click();
            for (QCheckBox *c : p.CheOpz)
                for (const QString &k : ticked)
                    if (c->objectName() == QStringLiteral("CheOpz_") + k)
                        c->setChecked(true);
            p.ComConferma->click();
            result = p.result();
            return result;
        };
        d->ComSalOpz->click();
        QCOMPARE(result, int(QDialog::Accepted));
        const QString path = file == 1 ? f.path(QStringLiteral("azienda.ini")) : f.env.mainIni;
        const QString sect = section == 1 ? QStringLiteral("DIBA01") : QStringLiteral("Opzioni Stampa");
        QCOMPARE(iniValue(path, sect, QStringLiteral("StaVid")), QStringLiteral("2"));
        QCOMPARE(iniValue(path, sect, QStringLiteral("FileName")), QStringLiteral("out.csv"));
        QCOMPARE(iniValue(path, sect, QStringLiteral("SepCampi")), QStringLiteral("2"));
        QCOMPARE(iniValue(path, sect, QStringLiteral("FileForm")), kAbsent);
        QCOMPARE(iniValue(path, sect, QStringLiteral("NomeStampante")), kAbsent);
        QVERIFY(f.sink.messages.isEmpty());
    }

    void panelDeletesTickedKeys()
    {
        DialogFixture f;
        f.ini(QStringLiteral("DIBA01"), QStringLiteral("StaVid"), QStringLiteral("2"));
        f.ini(QStringLiteral("DIBA01"), QStringLiteral("FileName"), QStringLiteral("x.csv"));
        f.ini(QStringLiteral("DIBA01"), QStringLiteral("MostraNumPag"), QStringLiteral("-1"));
        auto d = f.open();
        d->runPanel = [&](FrmSalvaOpzSta &p) {
            p.CheOpz[0]->setChecked(true);  // "Dove stampare:"
            p.ComConferma->click();
            return p.result();
        };
        d->ComCancOpz->click();
        QCOMPARE(iniValue(f.env.mainIni, QStringLiteral("DIBA01"), QStringLiteral("StaVid")), kAbsent);
        QCOMPARE(iniValue(f.env.mainIni, QStringLiteral("DIBA01"), QStringLiteral("FileName")), QStringLiteral("x.csv"));

        d->runPanel = [&](FrmSalvaOpzSta &p) {
            p.ComSelTutto->click();
            p.ComConferma->click();
            return p.result();
        };
        d->ComCancOpz->click();
        QCOMPARE(iniValue(f.env.mainIni, QStringLiteral("DIBA01"), QStringLiteral("FileName")), kAbsent);
        QCOMPARE(iniValue(f.env.mainIni, QStringLiteral("DIBA01"), QStringLiteral("MostraNumPag")), kAbsent);
    }

    void panelWithoutTicksStaysOpen()
    {
        DialogFixture f;
        auto d = f.open();
        int result = -1;
        d->runPanel = [&](FrmSalvaOpzSta &p) {
            p.show();
            p.ComConferma->click();
            result = p.isVisible() ? 1000 : p.result();
            return result;
        };
        d->ComSalOpz->click();
        QCOMPARE(result, 1000);
        QCOMPARE(f.sink.texts(), QStringList{QStringLiteral("Nessuna opzione selezionata")});
        QVERIFY(!QFile::exists(f.env.mainIni));
    }

    void screenshot()
    {
        const QString out = qEnvironmentVariable("KEM_SCREENSHOT");
        if (out.isEmpty())
            QSKIP("KEM_SCREENSHOT not set");
        DialogFixture f;
        f.printers.add(QStringLiteral("Ufficio-Colore"), QStringLiteral("ipp://srv/printers/colore"));
        f.printers.add(QStringLiteral("Etichette"), QStringLiteral("usb://Zebra/GK420d"));
        f.menu.setVar(QStringLiteral("UsaPdfCreator"), QStringLiteral("S"));
        f.menu.setVar(QStringLiteral("StampeEmail"), QStringLiteral("S"));
        f.options.ParamSet(QStringLiteral("NumCassetto"), PrintOptions::ParamInteger, 15);
        f.options.ParamSet(QStringLiteral("NumTipoCarta"), PrintOptions::ParamInteger, 9);
        f.options.FileName = QStringLiteral("/home/utente/stampe/distinta.csv");
        f.options.FisFileName = QStringLiteral("/home/utente/stampe/distinta.txt");
        auto d = f.open();
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
        QTest::qWait(200);
        QVERIFY(d->grab().save(out));
        // The save panel beside it: "frmsceltastam.png" gives "frmsalvaopzsta.png".
        const QString panelOut = QFileInfo(out).dir().filePath(QStringLiteral("frmsalvaopzsta.png"));
        d->runPanel = [&](FrmSalvaOpzSta &p) {
            p.CheOpz[0]->setChecked(true);
            p.CheOpz[21]->setChecked(true);
            p.show();
            if (QTest::qWaitForWindowExposed(&p))
                QTest::qWait(200);
            return p.grab().save(panelOut) ? 1 : 0;
        };
        d->ComSalOpz->click();
        QVERIFY(QFile::exists(panelOut));
    }
};

QTEST_MAIN(TestFrmSceltaStam)
#include "tst_frmsceltastam.moc"
