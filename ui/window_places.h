#pragma once
// Where the windows open: beside or below the main window without covering its toolbar,
// always within the screen, and where the user left them last time.

#include <QString>

class QWidget;

namespace nimbra {

// The window's place and size as last remembered under key; false when none is.
bool RestorePlace(QWidget& window, const QString& key);
void RememberPlace(const QWidget& window, const QString& key);

// To the right of the main window, level with its top; to its left when the screen
// has no room on the right; below it, as wide as it, when there is room on neither side.
void PlaceBeside(QWidget& window, const QWidget& mainWindow);
// Right below above, left edges in line, its size kept; false when it does not fit on the
// screen there.
bool PlaceUnder(QWidget& window, const QWidget& above);
// Right below the main window, as wide as it.
void PlaceBelow(QWidget& window, const QWidget& mainWindow, int height);
// Shrinks and moves the window so that the whole of it is on its screen.
void KeepOnScreen(QWidget& window);
// Places the window beside the main window when it would cover any of it, wherever the
// window was put before (a place remembered on another screen, a main window moved since).
void KeepClearOf(QWidget& window, const QWidget& mainWindow);

}  // namespace nimbra
