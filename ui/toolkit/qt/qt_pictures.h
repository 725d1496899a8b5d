#pragma once

#include <QIcon>

namespace identstrip::ui::qt {

// The project's pictures, drawn from the SVG files built into the program.
// A picture that cannot be read gives an empty icon.
QIcon OpenFolderPicture(int side);
QIcon ApplicationIcon();

}  // namespace identstrip::ui::qt
