#pragma once

// The programs' icons, pictures and cursors, looked up by resource name the way the
// windows ask for them ("OK", "Warning", 101).

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QStringList>

#include <string_view>

namespace tv {

// The pointing hand shown over links and the manager's information picture.
inline constexpr int kHandCursor = 101;

// Every name that loadIcon and loadPicture know, in upper case.
QStringList resourceNames();

// The icon for a resource name, matched without regard to case; a null icon for an
// unknown name. It draws from the design made for the nearest size, so it stays sharp
// at 16, 22, 24, 32, 48 and 64 pixels and at whole-number screen scales.
QIcon loadIcon(std::string_view name);

// The picture for a resource name as a size x size pixmap in logical pixels, backed by
// size * devicePixelRatio device pixels; a null pixmap for an unknown name or a size
// below 1.
QPixmap loadPicture(std::string_view name, int size, qreal devicePixelRatio = 1.0);

// Cursor resource by number: kHandCursor is a 32 x 32 hand with its hot spot at the
// fingertip (6, 0), drawn for the application's screen scale (or the one given). Any
// other number gives the standard arrow, as the window framework does when a cursor
// resource is missing.
QCursor loadCursor(int id);
QCursor loadCursor(int id, qreal devicePixelRatio);

}  // namespace tv
