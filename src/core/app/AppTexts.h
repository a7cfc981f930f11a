#pragma once

// Fixed texts of the main window: title, hints and about lines. Kept in one place because
// several objects compare against them (a hint is only written when it changes).

#include "core/app/BuildInfo.h"

#include <QString>

namespace portiqa::texts {

inline QString windowTitle() {
    return QStringLiteral("Portiqa V2.7");
}
inline QString defaultHint() {
    return QStringLiteral("您可以打开一图片文件或通过拍照来采集头像");
}
inline QString zoomHint() {
    return QStringLiteral("滚动鼠标滚轮可缩放图片");
}
inline QString batchKeysHint() {
    return QStringLiteral("A键或S键：下一图片   D键或F键：上一图片");
}
inline QString batchKeysZoomHint() {
    return QStringLiteral("A键或S键：下一图片   D键或F键：上一图片        滚动鼠标滚轮可缩放图片");
}
inline QString batchSwitchHint() {
    return QStringLiteral("勾选、右击此选择框可弹出批量截图设置窗口。");
}
inline QString batchSwitchText() {
    return QStringLiteral("使用批量截图模式");
}

inline QString aboutCaption() {
    return QStringLiteral("关于本软件：");
}
// Set when the build is configured (PORTIQA_HOMEPAGE, PORTIQA_CONTACT).
inline QString homepage() {
    return QString::fromUtf8(build::homepage);
}
inline QString contactAddress() {
    return QString::fromUtf8(build::contact);
}
inline QString aboutText() {
    return QStringLiteral("当前版本：V2.7\r\n"
                          "软件作者：Portiqa 开发组\r\n"
                          "电子邮箱：") +
           contactAddress() + QStringLiteral("\r\n软件主页：") + homepage();
}

inline QString settingsFolderName() {
    return QStringLiteral("头像采集设置");
}
inline QString helpFileName() {
    return QStringLiteral("Portiqa使用帮助.html");
}

} // namespace portiqa::texts
