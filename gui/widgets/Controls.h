#pragma once

#include <QColor>
#include <QLabel>
#include <QRect>
#include <QString>

#include <string_view>

// Building blocks of the windows: every control is placed at a fixed spot and
// carries the name the tests and tools find it by.
QLabel* MakeLabel(const QString& objectName, const QRect& geometry, QWidget* parent);
QLabel* MakePicture(const QString& objectName, const QString& resource, const QRect& geometry, QWidget* parent);
QWidget* MakePanel(const QString& objectName, const QRect& geometry, QWidget* parent);
// A panel that paints itself white, as the holders of texts, trees and scroll bars.
QWidget* MakeWhitePanel(const QString& objectName, const QRect& geometry, QWidget* parent);
void SetTextColour(QLabel* label, const QColor& colour);

// A message of the system as a label shows it: every "\r" breaks the line.
QString DisplayText(std::u16string_view text);

// The windows' font names, mapped to installed fonts with every Polish letter.
void SubstituteFonts();
