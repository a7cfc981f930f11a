#include "core/app/ToolbarDispatch.h"

#include "core/app/MainCommands.h"

namespace portiqa {

const std::array<ToolbarEntry, kToolbarEntryCount>& toolbarEntries() {
    static const std::array<ToolbarEntry, kToolbarEntryCount> entries = {{
        {nullptr, nullptr, nullptr},
        {u"打开", u"打开一幅图片", "open"},
        {u"保存", u"保存采集框内图片", "save"},
        {nullptr, nullptr, nullptr},
        {u"放大", u"放大显示", "zoom-in"},
        {u"缩小", u"缩小显示", "zoom-out"},
        {u"顺转", u"顺时针转90度", "turn-cw"},
        {u"逆转", u"逆时针转90度", "turn-ccw"},
        {u"编辑", u"编辑图象", "edit"},
        {nullptr, nullptr, nullptr},
        {u"拍摄", u"启动摄像头", "camera"},
        {u"帮助", u"使用帮助", "help"},
        {u"主页", u"软件主页", "home"},
    }};
    return entries;
}

void dispatchToolbar(int index, MainCommands& commands) {
    switch (index) {
    case 1:
        commands.openPicture();
        break;
    case 2:
        commands.savePicture();
        break;
    case 4:
        commands.zoomIn();
        break;
    case 5:
        commands.zoomOut();
        break;
    case 6:
        commands.turnClockwise();
        break;
    case 7:
        commands.turnAnticlockwise();
        break;
    case 8:
        commands.toggleEditor();
        break;
    case 10:
        commands.leaveBatchCropMode();
        commands.openCamera();
        break;
    case 11:
        commands.showHelpFile();
        break;
    case 12:
        commands.openHomepage();
        break;
    default:
        break; // separators and out-of-range indices
    }
}

} // namespace portiqa
