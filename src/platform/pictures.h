#pragma once
// The program's own pictures, drawn with QPainter: window icon, cursor,
// toolbar faces, word buttons and the two emblems.

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <functional>

namespace tav::pictures {

// Every picture here (and the lesson figures) is drawn once and kept across
// loads: none changes between loads, and the keys come from the design (a
// picture and its size), so the store is bounded by the design and does not
// grow with visits.
QPixmap kept(const QString& key, const std::function<QPixmap()>& draw);
// Tests: with true, every picture (and every kept lesson text) is drawn
// anew and nothing is kept, to compare the kept pictures with fresh ones.
void setDrawAnew(bool on);
bool drawingAnew();

QPixmap beetle();           // 32x32 window icon: red and blue beetle on yellow
QPixmap hand();             // 32x32 pointing hand with blue cuff (hot spot 12, 1)
QPixmap exitFace();         // 32x32 green sad face
QPixmap chart(bool greyed); // 32x32 bar chart
QPixmap document(bool greyed);
QPixmap indexArrow(); // bar with a left-pointing triangle
QPixmap backArrow();
QPixmap nextArrow();
QPixmap printer();
QPixmap floppy();
QPixmap emblemRound(); // 60x60
QPixmap emblemWide();  // 99x54
// A word in black on an olive-yellow gradient (72x24 unless told).
QPixmap word(const QString& text, int width = 72, int height = 24);

} // namespace tav::pictures

namespace tav {
QIcon windowIcon();
QCursor handCursor();
} // namespace tav
