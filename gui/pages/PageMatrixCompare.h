#pragma once
// The "Match Matrix" page: compares two chromatograms, "this" and "other", and shows the forward comparison
// peak by peak: the numeric table (one column per "this" peak, one row per "other" peak in the RT search
// range) with the overall details as its hover text, and beside it, across a splitter, the matrix display with
// its colour scale. It prints the matrix report ("Match Matrix ..."), copies the display to the clipboard and
// sends a hovered peak's spectrum to NIST MS Search or to the spectral list. Reading, comparing and the table
// come from the engine's match matrix (engine/views/MatchMatrix.h); a build runs on the page's job worker, its
// button reading "Stop" meanwhile, and the shown matrix stays until the new one is handed over.
#include <QString>
#include <QStringList>
#include <string>

#include "engine/views/MatchMatrix.h"
#include "gui/pages/MainPage.h"
#include "gui/pages/PageHandOffs.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSplitter;

namespace corvelin {

class CColorScale;
class CHtmlToolTip;
class CLatestJob;
class CMatrixDisplay;
class COdorListCtrl;
struct CMatrixReportTexts;

class CPageMatrixCompare : public CMainPage, public IMatrixTarget {
    Q_OBJECT
public:
    explicit CPageMatrixCompare(CSearchOptions& options, QWidget* parent = nullptr);
    ~CPageMatrixCompare() override;

    // The two paths, bound to the file name edits.
    std::string ThisPath;
    std::string OtherPath;

    bool StoreControls() override;
    void RefreshControls() override;

    // From the library search: both paths, then the build.
    void SetPathsAndBuild(const std::string& thisPath, const std::string& otherPath) override;
    void SetPaths(const std::string& thisPath, const std::string& otherPath);

    // "Build comparism matrix": starts the build of the paths shown. A build that runs is superseded: it ends
    // without handing over, and the new one starts after it.
    void OnBuild();
    // "Stop" (the build button while a build runs): the build ends without a new matrix.
    void OnStop();
    // From OnBuild until the build's end has been handled.
    bool IsBusy() const noexcept;
    // How the last build that ended went (Built before the first).
    MatchMatrixBuildEnd LastBuildEnd() const noexcept { return m_lastEnd; }
    QPushButton* BuildButton() const noexcept { return m_build; }
    void OnBrowseThis();
    void OnBrowseOther();
    void OnAdvanced();
    void OnOpenParameters();
    void OnSaveParameters();
    // Files dropped on the page: one goes to the edit with the keyboard focus ("this") or else to "other"; two
    // become "this" and "other"; three or more are ignored.
    void OnDropFiles(const QStringList& paths);
    // A link of the matrix display's hover text.
    void OnPeakLink(const QString& message);

    // Whether a matrix was built ("Match Matrix ..." and "Copy graphic to clipboard" need one).
    bool HasMatrix() const noexcept { return m_matrix.Built; }
    // "Match Matrix ...": the print dialog (or, without a printer, the PDF file ReportPdfPath()).
    void OnPrintMatrix();
    // "Copy graphic to clipboard": the matrix display's picture as a bitmap.
    void OnCopyGraphic();
    bool CanCopyGraphic() const override { return HasMatrix(); }
    void CopyGraphic() override { OnCopyGraphic(); }
    // The report's document name: the program's title, a blank and the page's caption.
    QString ReportDocumentName() const;
    // Where the report goes on a machine without printers: beside the "this" file, "<name> Match Matrix.pdf".
    QString ReportPdfPath() const;
    // The texts of the report's file blocks.
    CMatrixReportTexts ReportTexts() const;

    const CMatchMatrix& Matrix() const noexcept { return m_matrix; }
    COdorListCtrl* List() const noexcept { return m_list; }
    CMatrixDisplay* Display() const noexcept { return m_display; }
    CColorScale* Scale() const noexcept { return m_scale; }
    QLineEdit* ThisEdit() const noexcept { return m_thisEdit; }
    QLineEdit* OtherEdit() const noexcept { return m_otherEdit; }
    QSplitter* Splitter() const noexcept { return m_splitter; }
    // The table's hover text: the overall details of the last build (empty before).
    QString DetailsTip() const;
    CHtmlToolTip* DetailsToolTip() const noexcept { return m_detailsTip; }

protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool Browse(std::string& path);
    void ShowTable();

    CMatchMatrix m_matrix;
    CLatestJob* m_buildJob = nullptr;
    MatchMatrixBuildEnd m_lastEnd = MatchMatrixBuildEnd::Built;
    QLineEdit* m_thisEdit = nullptr;
    QLineEdit* m_otherEdit = nullptr;
    QPushButton* m_browseThis = nullptr;
    QPushButton* m_browseOther = nullptr;
    QCheckBox* m_ms = nullptr;
    QCheckBox* m_rt = nullptr;
    QCheckBox* m_ri = nullptr;
    QCheckBox* m_area = nullptr;
    QCheckBox* m_height = nullptr;
    QPushButton* m_advanced = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_save = nullptr;
    QPushButton* m_build = nullptr;
    QSplitter* m_splitter = nullptr;
    COdorListCtrl* m_list = nullptr;
    CMatrixDisplay* m_display = nullptr;
    CColorScale* m_scale = nullptr;
    CHtmlToolTip* m_detailsTip = nullptr;
};

} // namespace corvelin
