#include "core/files/SystemErrorText.h"

#include <cerrno>

namespace portiqa {

QString systemErrorText(int code) {
    switch (code) {
    case EACCES:
    case EPERM:
        return QStringLiteral("没有权限写入这个位置");
    case ENOENT:
        return QStringLiteral("文件夹不存在");
    case ENOTDIR:
        return QStringLiteral("路径中有一项不是文件夹");
    case EISDIR:
        return QStringLiteral("已有同名的文件夹");
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return QStringLiteral("磁盘空间不足");
    case EROFS:
        return QStringLiteral("磁盘是只读的");
    case ENAMETOOLONG:
        return QStringLiteral("文件名太长");
    case EIO:
        return QStringLiteral("磁盘读写出错");
    case EMFILE:
    case ENFILE:
        return QStringLiteral("打开的文件太多");
    case EBUSY:
    case ETXTBSY:
        return QStringLiteral("文件正被其他程序使用");
    case 0:
        return QStringLiteral("无法写入文件");
    default:
        return QStringLiteral("系统错误（代码 %1）").arg(code);
    }
}

QString fileErrorText(const QFileDevice& file) {
    const int code = errno;
    if (file.error() == QFileDevice::PermissionsError) {
        return systemErrorText(EACCES);
    }
    if (code != 0) {
        return systemErrorText(code);
    }
    return file.error() == QFileDevice::ReadError || file.error() == QFileDevice::OpenError
               ? QStringLiteral("无法读取文件")
               : QStringLiteral("无法写入文件");
}

} // namespace portiqa
