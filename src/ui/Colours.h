#pragma once

#include <QColor>

// The few colours the windows add to the desktop's palette, kept in one place.
namespace ui::colours {

// The back of text past a limit: the body's excess, a long title's end.
inline const QColor Excess{0xff, 0xcc, 0xcc};
// The count's text near the limit and over it; each keeps 4.5:1 against the status bar.
inline const QColor CountNear{0x8a, 0x5a, 0x00};
inline const QColor CountOver{0xb0, 0x00, 0x00};
// The banner over the status bar once the body is past its limit.
inline const QColor BannerBack{0xff, 0xff, 0x80};
inline const QColor BannerText{0xc0, 0x00, 0x00};

} // namespace ui::colours
