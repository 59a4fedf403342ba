#include "app/variable_types_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace orcalc::ui {
namespace {

constexpr integer::VariableType kChoices[] = {integer::VariableType::Continuous,
                                              integer::VariableType::Integer,
                                              integer::VariableType::Binary};

int ChoiceIndex(integer::VariableType type) {
  for (int k = 0; k < 3; ++k)
    if (kChoices[k] == type) return k;
  return 0;
}

}  // namespace

VariableTypesDialog::VariableTypesDialog(const std::vector<integer::VariableType>& types,
                                         QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("variableTypesDialog"));
  setWindowTitle(QStringLiteral("变量类型"));
  auto* list = new QWidget;
  auto* form = new QFormLayout(list);
  for (std::size_t j = 0; j < types.size(); ++j) {
    auto* dropDown = new QComboBox;
    for (integer::VariableType choice : kChoices)
      dropDown->addItem(
          QString::fromUtf8(integer::VariableTypeText(choice).data(),
                            static_cast<qsizetype>(integer::VariableTypeText(choice).size())));
    dropDown->setCurrentIndex(ChoiceIndex(types[j]));
    form->addRow(QStringLiteral("χ%1").arg(j + 1), dropDown);
    dropDowns_.push_back(dropDown);
  }
  auto* scroll = new QScrollArea;
  scroll->setWidget(list);
  scroll->setWidgetResizable(true);

  allInteger_ = new QPushButton(QStringLiteral("全部整数"));
  allContinuous_ = new QPushButton(QStringLiteral("全部连续"));
  connect(allInteger_, &QPushButton::clicked, this,
          [this] { setAll(integer::VariableType::Integer); });
  connect(allContinuous_, &QPushButton::clicked, this,
          [this] { setAll(integer::VariableType::Continuous); });
  auto* shortcuts = new QHBoxLayout;
  shortcuts->addWidget(allInteger_);
  shortcuts->addWidget(allContinuous_);
  shortcuts->addStretch();

  auto* buttons = new QDialogButtonBox;
  buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(scroll);
  layout->addLayout(shortcuts);
  layout->addWidget(buttons);
}

std::vector<integer::VariableType> VariableTypesDialog::types() const {
  std::vector<integer::VariableType> chosen;
  chosen.reserve(dropDowns_.size());
  for (const QComboBox* dropDown : dropDowns_) {
    const int index = dropDown->currentIndex();
    chosen.push_back(kChoices[index >= 0 && index < 3 ? index : 0]);
  }
  return chosen;
}

void VariableTypesDialog::setAll(integer::VariableType type) {
  for (QComboBox* dropDown : dropDowns_) dropDown->setCurrentIndex(ChoiceIndex(type));
}

}  // namespace orcalc::ui
