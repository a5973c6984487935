#pragma once
// The file dialogs around the search parameter file: "Read Search Parameter File" and "Save Search Parameter
// File", starting in the remembered folder ("MRUParamPath") and storing the chosen file's folder back before
// the file is read or written.
#include <QDialog>

class QWidget;

namespace corvelin {

class CSearchOptions;

// Shows the open dialog, then reads the chosen file into options. Returns QDialog::Accepted after a read.
int ReadParameterFileDialog(QWidget* parent, CSearchOptions& options);
// Shows the save dialog, then writes options to the chosen file (wait cursor meanwhile).
int WriteParameterFileDialog(QWidget* parent, const CSearchOptions& options);
// The save path of the options pages: any result other than OK shows "Could not save search parameter file"
// (caption "Search Parameters", stop icon). Returns whether the file was written.
bool SaveParameterFileFromPage(QWidget* parent, const CSearchOptions& options);

// The folder part of a path: the text before the later of its last "\" and last "/"; empty without either.
QString FolderOfPath(const QString& path);

} // namespace corvelin
