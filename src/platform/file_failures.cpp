#include "platform/file_failures.h"

#include <cerrno>

namespace orcalc::ui {
namespace {

struct ErrorText {
  int error_number;
  const char* text;
};

// The reasons a user can meet when opening or saving a file.
constexpr ErrorText kErrorTexts[] = {
    {ENOSPC, "设备上没有剩余空间"},
    {EDQUOT, "超出磁盘限额"},
    {EACCES, "权限不够"},
    {EPERM, "不允许的操作"},
    {EROFS, "只读文件系统"},
    {ENOENT, "没有那个文件或目录"},
    {ENOTDIR, "路径中有一部分不是文件夹"},
    {EISDIR, "这是一个文件夹"},
    {ENAMETOOLONG, "文件名过长"},
    {ELOOP, "符号链接的层数过多"},
    {EIO, "输入/输出错误"},
    {EFBIG, "文件过大"},
    {EMFILE, "打开的文件过多"},
    {ENFILE, "系统中打开的文件过多"},
    {ENOMEM, "内存不足"},
    {EXDEV, "不能跨设备替换文件"},
    {EBUSY, "设备或资源忙"},
    {ETXTBSY, "文件正被使用"},
    {EAGAIN, "资源暂时不可用"},
    {ENXIO, "没有那个设备或地址"},
    {ENODEV, "没有那个设备"},
    {EINVAL, "无效的参数"},
    {ESTALE, "网络文件句柄已失效"},
};

QString atLine(long line, const QString& what) {
  return QStringLiteral("第 %1 行：").arg(line) + what;
}

QString textFaultText(const SheetFileResult& result) {
  switch (result.fault) {
    case SheetTextFault::UnclosedQuote:
      return atLine(result.line, QStringLiteral("引号中的字段没有结束"));
    case SheetTextFault::TextAfterQuote:
      return atLine(result.line, QStringLiteral("结束的引号后面还有文字"));
    case SheetTextFault::QuoteInField:
      return atLine(result.line, QStringLiteral("没有引号的字段中出现了引号"));
    case SheetTextFault::BadUtf16:
      return atLine(result.line, QStringLiteral("文件不是有效的 UTF-16 文本"));
    case SheetTextFault::BadUtf8:
      return atLine(result.line, QStringLiteral("文件不是有效的 UTF-8 文本"));
    case SheetTextFault::NeitherUtf8NorGbk:
      return atLine(result.line, QStringLiteral("文件既不是 UTF-8 文本，也不是 GB18030 文本"));
    case SheetTextFault::NoConverter:
      return QStringLiteral("系统中没有 GB18030 编码转换器");
    case SheetTextFault::None:
      break;
  }
  return QStringLiteral("文件不是表格文件所用的文本");
}

}  // namespace

QString systemErrorText(int error_number) {
  for (const ErrorText& known : kErrorTexts) {
    if (known.error_number == error_number) return QString::fromUtf8(known.text);
  }
  return QStringLiteral("系统错误（错误号 %1）").arg(error_number);
}

QString writeFailureText(const files::WriteOutcome& outcome) {
  using files::WriteStep;
  const auto reason_or = [&](const char* step) {
    return outcome.error_number != 0 ? systemErrorText(outcome.error_number)
                                     : QString::fromUtf8(step);
  };
  switch (outcome.step) {
    case WriteStep::None:
      return {};
    case WriteStep::NotRegular:
      return QStringLiteral("它不是普通文件");
    case WriteStep::ReadOnly:
      return QStringLiteral("文件是只读的");
    case WriteStep::Create:
      return reason_or("无法在它的文件夹中创建文件");
    case WriteStep::Produce:
      return QStringLiteral("内存不足");
    case WriteStep::Write:
      return reason_or("写入时出错");
    case WriteStep::Flush:
      return reason_or("写入磁盘时出错");
    case WriteStep::Close:
      return reason_or("关闭文件时出错");
    case WriteStep::Replace:
      return reason_or("无法用新文件替换原文件");
  }
  return {};
}

QString sheetFileFailureText(const SheetFileResult& result) {
  if (result.ok) return {};
  switch (result.problem) {
    case SheetFileProblem::NotText:
      return textFaultText(result);
    case SheetFileProblem::Empty:
      return QStringLiteral("文件是空的，没有任何记录");
    case SheetFileProblem::TooLarge:
      return QStringLiteral("文件大于 64 MB（%1 字节），表格文件最多只能这么大")
          .arg(kSheetFileMaxBytes);
    case SheetFileProblem::TooManyRecords:
      return atLine(result.line, QStringLiteral("文件的记录多于 %1 条，表格文件最多只能有这么多")
                                     .arg(kSheetFileMaxRecords));
    case SheetFileProblem::TooManyFields:
      return atLine(result.line,
                    QStringLiteral("一条记录的字段多于 %1 个，表格文件的一条记录最多只能有这么多")
                        .arg(kSheetFileMaxFields));
    case SheetFileProblem::ReadFailed:
      return result.error_number != 0 ? systemErrorText(result.error_number)
                                      : QStringLiteral("读取时出错");
    case SheetFileProblem::OpenFailed:
      return result.error_number != 0 ? systemErrorText(result.error_number)
                                      : QStringLiteral("无法打开文件");
    case SheetFileProblem::NotRegular:
      return QStringLiteral("它不是普通文件（而是文件夹、设备、管道或套接字）");
    case SheetFileProblem::None:
      break;
  }
  return QStringLiteral("无法读取文件");
}

}  // namespace orcalc::ui
