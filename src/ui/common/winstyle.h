// The look Longhand gives its number boxes and the About picture.
#pragma once

class QWidget;

namespace longhand {

// Gives the widget a sunken frame and brings it to the top of its
// siblings; its position and size stay as they are. Null is ignored.
void setSunkenFrame(QWidget* widget);

} // namespace longhand
