#pragma once
// tarvel-mdf export-csv and import-csv: a mine document to and from the CSV files
// spreadsheets and scripts work with (core's NetworkCsv says what the files hold).
#include "ToolMain.h"

namespace CsvCommands {

// Each returns the exit code; file and value errors come out as AppError.
int Export(const ToolMain::TInvocation &in);
int Import(const ToolMain::TInvocation &in);

} // namespace CsvCommands
