#pragma once
// tarvel-mdf export-csv and import-csv: the node and branch lists to and from the two CSV files
// spreadsheets and scripts work with (core's NetworkCsv says what the files hold).
#include <QString>
#include <QStringList>

namespace CsvCommands {

// args: the command and its operands, as typed. Returns the exit code; a usage error returns
// with problem filled in for main to report. File and value errors come out as AppError.
int Run(const QStringList &args, QString &problem);

} // namespace CsvCommands
