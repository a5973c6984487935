#pragma once
// Base of the pages of the search options sheet: each edits the sheet's working copy of the options.
#include <QWidget>

namespace corvelin {

class CSearchOptions;
class CSearchOptionsUI;

class CSearchOptionsPage : public QWidget {
    Q_OBJECT
public:
    CSearchOptionsPage(CSearchOptions& record, const QString& title, QWidget* parent = nullptr)
        : QWidget(parent), m_record(record), m_title(title)
    {
    }

    const QString& Title() const noexcept { return m_title; }
    // Validates the controls and stores them into the record; false after a message (page stays).
    virtual bool StoreData() = 0;
    // Refreshes the controls from the record.
    virtual void LoadData() = 0;
    // The page becomes active / is left (false refuses leaving).
    virtual void OnSetActive() {}
    virtual bool OnKillActive() { return StoreData(); }
    // OK of the sheet: store what the page holds into the record.
    virtual bool OnOK() { return StoreData(); }

    // The sheet the page is on, or nullptr (the open/save buttons act only on a sheet).
    CSearchOptionsUI* Sheet() const;

protected:
    // The open and save buttons of every page (search parameter files).
    void OpenParameterFile(bool storeFirst);
    void SaveParameterFile();

    CSearchOptions& m_record;

private:
    QString m_title;
};

} // namespace corvelin
