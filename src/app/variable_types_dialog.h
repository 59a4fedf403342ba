// 分析 → 变量类型…: each variable's type, continuous, whole number or 0-1,
// chosen from a drop-down per variable.
#pragma once

#include <QDialog>
#include <vector>

#include "integer/variable_types.h"

class QComboBox;
class QPushButton;

namespace orcalc::ui {

class VariableTypesDialog : public QDialog {
  Q_OBJECT

 public:
  VariableTypesDialog(const std::vector<integer::VariableType>& types, QWidget* parent);

  // The types as the drop-downs show them.
  std::vector<integer::VariableType> types() const;
  QComboBox* dropDown(int variable) const {
    return dropDowns_.at(static_cast<std::size_t>(variable));
  }
  QPushButton* allIntegerButton() const { return allInteger_; }
  QPushButton* allContinuousButton() const { return allContinuous_; }

 private:
  void setAll(integer::VariableType type);

  std::vector<QComboBox*> dropDowns_;
  QPushButton* allInteger_ = nullptr;
  QPushButton* allContinuous_ = nullptr;
};

}  // namespace orcalc::ui
