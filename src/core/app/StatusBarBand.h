#pragma once

// The batch crop switch in the main status bar reacts to the mouse only inside a band of the
// bar measured from the window's effective width, both ends included.

namespace portiqa {

inline int batchSwitchBandLeft(int effectiveWidth) {
    return effectiveWidth - 160;
}
inline int batchSwitchBandRight(int effectiveWidth) {
    return effectiveWidth - 45;
}

inline bool inBatchSwitchBand(int x, int effectiveWidth) {
    return x >= batchSwitchBandLeft(effectiveWidth) && x <= batchSwitchBandRight(effectiveWidth);
}

// Width of the hint panel: the rest of the bar belongs to the switch.
inline int hintPanelWidth(int effectiveWidth) {
    return effectiveWidth - 162;
}

} // namespace portiqa
