#pragma once
// Small pieces the monitor's views share: picture mirroring and the artwork behind
// the logic's picture names.

#include <QLabel>
#include <QString>
#include <functional>
#include <string>

#include "platform/controls.h"
#include "platform/qt/click_label.h"

namespace tv {

// The artwork for a picture the logic names: its own names where the program has
// them, and the drawings made for the window icon and the mains picture.
QString artworkFor(const std::string& picture);

// Shows the named picture at size x size pixels; only reloads when the name changes.
void syncPicture(QLabel& widget, const PictureBox& picture, int size);

// A label's text with the platform's line breaks made plain.
QString plainLines(const std::string& text);
// syncLabel for captions with line breaks ("\r\n").
void syncLinesLabel(QLabel& widget, const Label& label);

}  // namespace tv
