// The look Longhand gives its number boxes and some pictures.
#pragma once

class QWidget;

namespace longhand {

// Gives the control a sunken frame and brings it to the top of its
// siblings; its position and size stay as they are. Null is ignored.
void setExStyle(QWidget* window);

} // namespace longhand
