#pragma once
// Small pieces the monitor's views share: labels whose captions have line breaks.

#include <QLabel>
#include <QString>
#include <functional>
#include <string>

#include "platform/qt/artwork.h"
#include "platform/qt/click_label.h"
#include "runtime/controls.h"

namespace tv {

// A label's text with the platform's line breaks made plain.
QString plainLines(const std::string& text);
// syncLabel for captions with line breaks ("\r\n").
void syncLinesLabel(QLabel& widget, const Label& label);

}  // namespace tv
