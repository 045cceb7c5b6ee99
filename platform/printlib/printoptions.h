#pragma once
// Options object of a report run (`ogOpzSta`): where and how the next run prints. The report
// forms own one each and hand it to every run; loading it from ini files is not done here.
#include <QHash>
#include <QString>
#include <QVariant>

namespace kem {

class PrintOptions {
public:
    // Destinations (`StaVid`).
    enum Destination { Printer = 0, Preview = 1, File = 2, FixedWidth = 3 };
    // File formats (`FileForm`). 3 (PDF file) is this library's own addition.
    enum FileFormat { SpreadsheetText = 0, PlainText = 1, Xlsx = 2, PdfFile = 3 };
    // Field separators (`SepCampi`), in the order the destination dialog offers them.
    enum Separator { SepSpace = 0, SepTab = 1, SepSemicolon = 2, SepComma = 3 };
    // Text qualifiers (`DelimStr`).
    enum Qualifier { QualNone = 0, QualSingle = 1, QualDouble = 2 };
    // Type codes of the named parameters.
    enum ParamType { ParamInteger = 2, ParamAny = 12 };

    QString SectionKey;          // ini section of this report
    int StaVid = Printer;
    int ForzaVert = 0;           // 1 forces portrait
    int FileForm = SpreadsheetText;
    QString FileName;
    QString PathDefault;
    qint32 SepCampi = SepSemicolon;
    qint32 DelimStr = QualDouble;
    bool NumNoForm = false;      // numbers written to files without formatting
    bool RadSepCampo = false;    // kept with the separator options; no effect on output
    bool PreviewFlag = false;    // set when the preview was chosen
    float Fatt = 1.0f;           // preview scale factor
    int MemVid = 0;
    QString FisFileName;
    bool FisStampante = false;   // fixed-width output to the printer instead of a file
    int FisMrAlt = 0;            // blank lines at the top of a fixed-width page
    int FisMrBas = 0;            // blank lines at the bottom
    int FisColonne = 132;        // columns per fixed-width line
    int FisRighe = 66;           // lines per fixed-width page
    QString FisCodIniComp;       // sequence that starts compressed print
    QString FisCodFinComp;       // sequence that ends it
    bool FisUtilComp = false;
    // E-mail fields of one run, cleared at every load and filled per run by e-mail delivery.
    int EmailRunMode = 0;
    QString EmailRunTo;
    QString EmailRunSubject;
    QString EmailRunText;
    QString NomeStampante;       // empty: the system default printer
    QString NomePorta;

    void EmailRunClear();

    // Named parameters ("NumCassetto", "NumTipoCarta", "PdfAutomAbil", "EmailInvia",
    // "StampaCaption", "StampaDescPrg", ...), by name without regard to case. Type 2 stores
    // and returns an integer: a value that is not a whole number is refused (false, error set).
    bool ParamSet(const QString &name, int type, const QVariant &value, QString *error = nullptr);
    // A missing parameter gives 0 for type 2 and an invalid QVariant for type 12.
    QVariant ParamGet(const QString &name, int type = ParamAny) const;
    bool ParamExists(const QString &name) const;
    int ParamInt(const QString &name) const { return ParamGet(name, ParamInteger).toInt(); }

    // The separator and qualifier characters chosen by SepCampi and DelimStr; false (and an
    // error text) for a choice outside the tables.
    bool SeparatorChar(QChar *out, QString *error = nullptr) const;
    bool QualifierChar(QChar *out, QString *error = nullptr) const;  // QChar() for none

private:
    QHash<QString, QVariant> m_params;  // keys in lower case
};

} // namespace kem
