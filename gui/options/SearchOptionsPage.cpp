#include "options/SearchOptionsPage.h"

#include "options/ParameterFileDialogs.h"
#include "options/SearchOptionsUI.h"

CSearchOptionsUI* CSearchOptionsPage::Sheet() const
{
    for (QObject* p = parent(); p; p = p->parent())
        if (auto* sheet = qobject_cast<CSearchOptionsUI*>(p))
            return sheet;
    return nullptr;
}

void CSearchOptionsPage::OpenParameterFile(bool storeFirst)
{
    if (storeFirst && !StoreData())
        return;
    if (!Sheet())
        return;
    if (ReadParameterFileDialog(this, m_record) == QDialog::Accepted)
        LoadData();
}

void CSearchOptionsPage::SaveParameterFile()
{
    if (!StoreData() || !Sheet())
        return;
    SaveParameterFileFromPage(this, m_record);
}
