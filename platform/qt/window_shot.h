#pragma once
// Screenshots of the programs' windows for the docs. Qt's offscreen platform draws no
// frames, so a grabbed window gets a plain title bar that shows its caption and icon.

#include <QDir>
#include <QImage>
#include <QWidget>

namespace tv {

inline constexpr int kShotTitleHeight = 22;
inline constexpr int kShotBorder = 1;

QImage framedWindow(QWidget& window);
// Saves the picture and prints its path; on failure says so on stderr, naming the tool.
bool saveShot(const QImage& image, const QDir& dir, const QString& name, const char* tool);

}  // namespace tv
