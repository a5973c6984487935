#include "gui/options/SearchOptionsPage.h"

#include "gui/options/ParameterFileDialogs.h"
#include "gui/options/SearchOptionsUI.h"

namespace corvelin {

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

} // namespace corvelin
