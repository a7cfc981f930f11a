#pragma once

// The main toolbar's button table and its dispatch. Indices count separators, so they match
// the toolbar as the operator sees it: 0 | 打开 保存 | 放大 缩小 顺转 逆转 编辑 | 拍摄 帮助 主页.

#include <QString>

#include <array>

namespace portiqa {

class MainCommands;

struct ToolbarEntry {
    const char16_t* caption; // nullptr for a separator
    const char16_t* tooltip;
    const char* iconName; // name of the drawn icon
};

inline constexpr int kToolbarEntryCount = 13;
const std::array<ToolbarEntry, kToolbarEntryCount>& toolbarEntries();

// Runs the command of toolbar button `index`; separators and indices outside 0..12 do nothing.
void dispatchToolbar(int index, MainCommands& commands);

} // namespace portiqa
