#pragma once

class QWidget;

namespace codes {

// Places a window of this subsystem before it is shown: centred on the window that owns it, or
// on the screen when it has no owner.
void CentreOnOwner(QWidget *form);

} // namespace codes
