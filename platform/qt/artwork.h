#pragma once
// The artwork behind the picture names the window logic uses, for both programs.

#include <QLabel>
#include <QString>
#include <string>

#include "runtime/controls.h"

namespace tv {

// The drawing for a picture the logic names: its own name where the artwork has one
// (matched without regard to case), and the drawings made for the names it lacks
// (the window icon, the mains picture, the information picture).
QString artworkFor(const std::string& picture);

// Shows the named picture at size x size pixels (only reloading when the name
// changes), with the picture's visibility and tooltip.
void syncPicture(QLabel& widget, const PictureBox& picture, int size);

}  // namespace tv
