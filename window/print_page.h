#pragma once

// The window as it goes on paper: drawn afresh as vectors and text from the controls' current
// state, so that the page is sharp at any printer resolution and its texts stay text.

class QPainter;
class QRectF;
class QWidget;

namespace window {

// The window's logical pixels per inch: 1440 twips to the inch, 15 twips to the pixel.
inline constexpr double windowPixelsPerInch = 96.0;

// Paints the client area as the screen shows it now: the form's background, the circuit picture
// and every control through its own style, in the window's logical pixels from the client area's
// top left. No title bar and no frame.
void paintWindow(QPainter &painter, const QWidget &window);

// Paints the client area at its true size on a page, at the top left of the printable area, which
// is given in the painter's coordinates.
void paintWindowOnPage(QPainter &painter, const QWidget &window, const QRectF &printable);

} // namespace window
