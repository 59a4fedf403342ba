#include "app/out_of_memory.h"

#include <QString>
#include <new>

#include "platform/platform.h"

namespace orcalc::ui {

const char* const kOutOfMemoryMessage = "内存不足，无法完成这项操作！表格中的数据没有改变。";

void runGuarded(QWidget* window, const std::function<void()>& command) {
  try {
    command();
  } catch (const std::bad_alloc&) {
    Platform::current().showMessage(window, QString::fromUtf8(kOutOfMemoryMessage));
  }
}

}  // namespace orcalc::ui
