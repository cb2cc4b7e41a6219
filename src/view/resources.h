// Tool-bar icons and mouse cursors of the editor, drawn as SVG resources.
#pragma once

#include "view/tooltable.h"

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace qorv {

// Every tool-bar button that has an icon, spelled as the controls are named ("B_Punto", "Sel").
const QStringList& toolButtonNames();

// Buttons of the viewer bar and second copies of a button that show another button's icon
// ("B_visor_zoom" shows "B_zoom").
const QStringList& toolButtonAliases();

// Resource path of a button's icon (the name is matched without regard to case); empty when the
// button has no icon.
QString toolIconPath(const QString& buttonName);

// The button's icon, scalable; a null icon when the button has none.
QIcon toolIcon(const QString& buttonName);

// Cursors are numbered 1..26 as the tool modes use them (Cursor::...).
constexpr int toolCursorCount = Cursor::Count;
constexpr int toolCursorSize = 32;

// Resource name of a cursor ("CON" for 1); empty outside 1..26.
QString toolCursorName(int number);

// Resource path of a cursor image; empty outside 1..26.
QString toolCursorPath(int number);

// The pixel of the cursor image that points (the crosshair centre, the arrow tip ...).
QPoint toolCursorHotSpot(int number);

// The cursor image rendered into a 32 x 32 ARGB pixmap; null outside 1..26.
QPixmap toolCursorPixmap(int number);

// The cursor itself; the plain arrow outside 1..26.
QCursor toolCursor(int number);

} // namespace qorv
