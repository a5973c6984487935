#pragma once
// "Mass Spec Options": the spectral include/exclude list with its mode and fit threshold; entries are added
// from spectra files through the plug-ins (unchecked), renamed in place, ticked active, removed; the
// selected entry's spectrum is drawn.
#include "gui/options/SearchOptionsPage.h"

class QLineEdit;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace corvelin {
class CSpectrumDraw;

class CSearchMassspecs : public CSearchOptionsPage {
    Q_OBJECT
public:
    explicit CSearchMassspecs(CSearchOptions& record, QWidget* parent = nullptr);

    bool StoreData() override;
    void LoadData() override;
    void OnSetActive() override;
    bool OnKillActive() override;
    bool OnOK() override;

    // "Add ...": the file dialog, then AddFromFile.
    void OnAdd();
    // Reads the spectra of a file through the plug-ins and appends them, unchecked.
    void AddFromFile(const std::string& path);
    void OnRemove();
    // The in-place rename of row i.
    void Rename(int row, const std::string& name);

    QTreeWidget* List() const noexcept { return m_list; }
    CSpectrumDraw* SpectrumView() const noexcept { return m_spectrum; }

private:
    bool Exchange(bool store);
    void FillList();
    void StoreCheckMarks();
    void OnItemChanged(QTreeWidgetItem* item, int column);
    void OnSelectionChanged();

    QRadioButton* m_modes[3] = {};
    QLineEdit* m_fit = nullptr;
    QTreeWidget* m_list = nullptr;
    CSpectrumDraw* m_spectrum = nullptr;
    bool m_filling = false;
};

} // namespace corvelin
