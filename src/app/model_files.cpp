#include "app/model_files.h"

#include <QByteArray>
#include <QFile>

#include "app/sheet_files.h"
#include "integer/variable_types.h"
#include "models/model_reading.h"
#include "models/model_sheet.h"
#include "models/model_writer.h"

namespace orcalc::ui {

ImportedModel importModelFile(const QString& path) {
  ImportedModel imported;
  const std::string name = QFile::encodeName(path).toStdString();
  const models::ModelFormat format =
      models::ModelFormatOfName(name).value_or(models::ModelFormat::Mps);
  const models::ModelReadResult read =
      models::ReadModelFileAt(name, format, files::Source::RegularFileOnly);
  if (!read.ok) {
    imported.error = QString::fromStdString(read.error);
    return imported;
  }
  models::ModelSheet model = models::ConvertModelToSheet(read.model);
  if (!model.ok) {
    imported.error = QString::fromStdString(models::ModelError(name, 0, model.error));
    return imported;
  }
  imported.sheet = std::move(model.sheet);
  if (integer::AnyWhole(model.types))
    imported.variable_types = integer::VariableTypeFields(model.types);
  for (const std::string& notice : model.notices)
    imported.notices.push_back(QString::fromStdString(notice));
  return imported;
}

QString modelOpenFilter() {
  return QStringLiteral("模型文件 (*.mps *.lp *.MPS *.LP);;所有文件 (*)");
}

QString modelSaveFilter() { return QStringLiteral("CPLEX LP 模型 (*.lp);;MPS 模型 (*.mps)"); }

QString exportModelFile(const QString& path, const lp::LpProblem& problem) {
  if (const auto refusal = models::ExportRefusal(problem)) return QString::fromStdString(*refusal);
  const bool mps = path.endsWith(QStringLiteral(".mps"), Qt::CaseInsensitive);
  const std::string text = mps ? models::FreeMpsText(problem) : models::CplexLpText(problem);
  return writeFileAtomically(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace orcalc::ui
