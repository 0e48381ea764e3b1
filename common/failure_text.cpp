// SPDX-License-Identifier: MIT
#include "failure_text.h"

#include <cerrno>

namespace desk {

QString ReasonText(int error, const QString& fallback) {
  switch (error) {
    case ENOENT:
      return QStringLiteral("文件不存在");
    case EACCES:
    case EPERM:
      return QStringLiteral("没有访问权限");
    case EROFS:
      return QStringLiteral("磁盘是只读的");
    case ENOSPC:
      return QStringLiteral("磁盘已满");
    case EFBIG:
      return QStringLiteral("文件超出允许的大小");
    case EISDIR:
      return QStringLiteral("这是一个文件夹，不是文件");
    case ESPIPE:
      return QStringLiteral("这不是普通文件，而是管道或设备");
    case ENOTDIR:
      return QStringLiteral("路径中有一部分不是文件夹");
    case ELOOP:
      return QStringLiteral("路径中的符号链接绕成了一个圈");
    case EILSEQ:
      return QStringLiteral("有文字无法用简体中文编码保存");
    case ENOEXEC:
      return QStringLiteral("这不是可以运行的程序");
    default:
      return fallback;
  }
}

}  // namespace desk
