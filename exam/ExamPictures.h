#pragma once

#include <QPixmap>

class QWidget;

// The exam window's pictures, drawn rather than shipped so that they stay crisp and ours.
namespace ExamPictures {
QPixmap welcomeIllustration(const QSize &size); // Image1
QPixmap titleBanner(const QSize &size);         // Image2
QPixmap siteLogo(int site, const QSize &size);  // Image3..Image5, site 0..2
QPixmap stopwatch(const QSize &size);           // image_time
QIcon windowIcon();
// Puts each picture on its label (by name) under window; labels that are missing are left out.
void placeOn(QWidget *window);
} // namespace ExamPictures
