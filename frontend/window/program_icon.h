// The program's icon, drawn rather than shipped as an image file.
#pragma once

#include <QIcon>

namespace corvane::window {

QIcon program_icon();

}  // namespace corvane::window
